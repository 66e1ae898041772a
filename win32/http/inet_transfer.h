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
std::optional<FetchResult> FetchUrl(const std::wstring& url, const FetchLimits& limits = {});

}  // namespace pravik::win32::http
