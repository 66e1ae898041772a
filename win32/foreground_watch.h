#pragma once
// A watcher that wakes only when the foreground window changes: the platform's foreground event
// (out of context, so it costs the other programs nothing) posts a message to the owner window.
// Where that event cannot be had, a one-second timer of the owner stands in for it.
#include <windows.h>

#include "win32/timer.h"

namespace pravik::win32 {

class ForegroundWatch {
 public:
  // `fallbackTimerId` names the owner's WM_TIMER used only where the event is refused.
  explicit ForegroundWatch(UINT_PTR fallbackTimerId) noexcept : poll_(fallbackTimerId, 1000, false) {}
  ForegroundWatch(const ForegroundWatch&) = delete;
  ForegroundWatch& operator=(const ForegroundWatch&) = delete;
  ~ForegroundWatch() { Stop(); }

  // `message` is posted to `owner` after every foreground change while the watch is started.
  void Attach(HWND owner, UINT message) noexcept;
  void Start() noexcept;
  void Stop() noexcept;
  [[nodiscard]] bool enabled() const noexcept { return enabled_; }

 private:
  static void CALLBACK OnEvent(HWINEVENTHOOK hook, DWORD event, HWND, LONG, LONG, DWORD, DWORD) noexcept;

  Timer poll_;
  HWND owner_ = nullptr;
  UINT message_ = 0;
  HWINEVENTHOOK hook_ = nullptr;
  bool enabled_ = false;
};

}  // namespace pravik::win32
