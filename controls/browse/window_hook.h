#pragma once
// Watches chosen messages of a window of this thread through the platform's subclassing: the
// before handler may answer a message itself, the after handler sees (and may change) the
// previous procedure's result. Removing puts the previous procedure back.
#include <windows.h>

#include <functional>

namespace pravik::controls::browse {

class WindowHook {
 public:
  // True when the message was answered; the previous procedure then never sees it.
  using Before = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
  using After = std::function<void(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

  WindowHook() = default;
  WindowHook(const WindowHook&) = delete;
  WindowHook& operator=(const WindowHook&) = delete;
  ~WindowHook() { Remove(); }

  bool Install(HWND hwnd, Before before, After after) noexcept;
  // Safe from inside one of the handlers; the handlers stay alive until the next Install.
  void Remove() noexcept;
  [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) noexcept;
  HWND hwnd_ = nullptr;
  Before before_;
  After after_;
};

}  // namespace pravik::controls::browse
