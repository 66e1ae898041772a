#pragma once
// The HTTP transfer class that stands in for the platform's Internet transfer control, over WinINet.
// Every operation is bounded in time: a server that accepts and then says nothing, or drips a
// byte at a time, ends the fetch as a failure instead of holding the caller.
#include <chrono>
#include <cstddef>
#include <optional>
#include <string>

namespace pravik::win32::http {

struct FetchLimits {
  std::chrono::milliseconds total{4000};   // the whole fetch, connection to last byte
  std::size_t maxBytes = 64 * 1024;        // a larger body counts as a failed fetch
};

struct FetchResult {
  unsigned status = 0;  // HTTP status (not looked at by callers that take any body as content)
  std::string body;     // the body's bytes as served
};

// Fetches an address at once (the control's "open URL"): the whole body, or nothing when the
// server cannot be reached, the time runs out or the body exceeds the cap.
// A fetch whose time ran out leaves its worker to end on its own; the next fetch first waits for
// such workers (up to its own limit, failing if they still run), so threads do not pile up.
std::optional<FetchResult> FetchUrl(const std::wstring& url, const FetchLimits& limits = {});

// True while any fetch worker of this module still runs (a library must not be unloaded then).
bool TransfersRunning() noexcept;

}  // namespace pravik::win32::http
