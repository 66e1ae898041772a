#pragma once
// The step-by-step side of the Internet transfer control, as the updater drives it: set the
// address, execute (returns at once), poll "still executing", read a response header, take the
// body in chunks, cancel. A worker thread does the blocking WinINet calls; the caller waits on
// ChangeEvent() with whatever wait keeps its window live.
//
// Every network step is bounded: connecting, the wait for the headers and each wait for more body
// bytes end after `idle` without progress, so a server that accepts and stalls, or sends the
// headers and stalls, ends the transfer as failed instead of holding the caller.
#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace pravik::win32::http {

struct TransferLimits {
  std::chrono::milliseconds idle{15000};            // no headers or no body bytes for this long: failed
  std::chrono::milliseconds total{30 * 60 * 1000};  // the whole transfer, however steady
  std::uint64_t maxBody = 0x7FFFFFFF;               // a longer body fails (the engine counts in 32 bits)
};

// How the control waits for the worker: given the change event and a time-out, return when it is
// signalled or the time ran out. Return false to give up (the owning window is closing).
using TransferWait = std::function<bool(HANDLE changed, DWORD timeoutMs)>;

class InetControl {
 public:
  explicit InetControl(TransferLimits limits = {});
  ~InetControl();
  InetControl(const InetControl&) = delete;
  InetControl& operator=(const InetControl&) = delete;

  // Replaces the plain blocking wait (WaitForSingleObject) with the caller's own.
  void SetWait(TransferWait wait) { wait_ = std::move(wait); }

  // Stops any running request; harmless when idle.
  void Cancel() noexcept;
  void SetUrl(std::wstring url) { url_ = std::move(url); }
  [[nodiscard]] const std::wstring& url() const noexcept { return url_; }
  // Starts a GET of the set address and returns at once; false when it cannot even start.
  bool Execute();
  // True while the request waits for the response headers. Past the idle limit the request is
  // abandoned and this turns false with failed() set.
  [[nodiscard]] bool StillExecuting();
  // Blocks (through the wait) until the state may have changed or the idle limit passed.
  void WaitForChange();

  // True once the request failed: no connection, no answer, time-out, a broken body.
  [[nodiscard]] bool failed() const;
  // The response status (0 before the headers or after a failure without any).
  [[nodiscard]] unsigned status() const;
  // A response header's value; empty when absent. Names match without regard to case.
  [[nodiscard]] std::wstring GetHeader(const std::wstring& name) const;
  // The next part of the body, at most `size` bytes: waits until that many are there or the body
  // ended, or, given `partialAfter`, until that time passed with at least one byte there (so a
  // large piece on a slow line still reports progress). Empty at the end of the body; nothing when
  // the transfer failed or stalled.
  std::optional<std::vector<std::uint8_t>> GetChunk(std::size_t size,
                                                    std::optional<std::chrono::milliseconds> partialAfter = {});
  // True when the body ended cleanly (the server finished it, as far as HTTP can tell).
  [[nodiscard]] bool bodyEnded() const;

  struct Job;

 private:
  bool Wait(DWORD timeoutMs);
  TransferLimits limits_;
  TransferWait wait_;
  std::wstring url_;
  std::shared_ptr<Job> job_;
};

// A wait that keeps the calling thread's windows live: it dispatches messages while it waits and
// never spins. Gives up when WM_QUIT arrives (and posts it again for the outer loop).
bool WaitPumpingMessages(HANDLE changed, DWORD timeoutMs);

}  // namespace pravik::win32::http
