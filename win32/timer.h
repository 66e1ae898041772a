#pragma once
// A periodic timer of a window, with the toolkit's rules: it ticks on the window's thread as
// WM_TIMER with its own id; setting the interval while it runs starts the countdown anew.
#include <windows.h>

namespace pravik::win32 {

class Timer {
 public:
  Timer(UINT_PTR id, UINT intervalMs, bool enabled) noexcept : id_(id), interval_(intervalMs), enabled_(enabled) {}
  Timer(const Timer&) = delete;
  Timer& operator=(const Timer&) = delete;
  ~Timer() { Stop(); }

  // Binds to the window once it exists; a timer created enabled starts then.
  void Attach(HWND owner) noexcept;
  void Start() noexcept;
  void Stop() noexcept;
  void SetInterval(UINT intervalMs) noexcept;
  [[nodiscard]] bool enabled() const noexcept { return enabled_; }
  [[nodiscard]] UINT interval() const noexcept { return interval_; }
  [[nodiscard]] UINT_PTR id() const noexcept { return id_; }

 private:
  void Arm() noexcept;
  HWND owner_ = nullptr;
  UINT_PTR id_;
  UINT interval_;
  bool enabled_;
};

}  // namespace pravik::win32
