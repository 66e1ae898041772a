#pragma once
// A click as the toolkit's controls report it: a left press on the window, then the release over
// its client area (the window captures the mouse in between).
#include <windows.h>
#include <windowsx.h>

namespace pravik::win32 {

class ClickTracker {
 public:
  void Press(HWND hwnd) noexcept {
    pressed_ = true;
    ::SetCapture(hwnd);
  }
  // Ends the press; true when it makes a click.
  bool Release(HWND hwnd, LPARAM lParam) noexcept {
    const bool wasPressed = pressed_;
    pressed_ = false;
    if (::GetCapture() == hwnd) ::ReleaseCapture();
    return wasPressed && Inside(hwnd, lParam);
  }
  // The capture went elsewhere: no click comes of this press.
  void Cancel() noexcept { pressed_ = false; }
  [[nodiscard]] bool pressed() const noexcept { return pressed_; }
  // Whether a mouse message's position lies in the window's client area.
  static bool Inside(HWND hwnd, LPARAM lParam) noexcept {
    RECT client{};
    ::GetClientRect(hwnd, &client);
    const POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
    return ::PtInRect(&client, at) != FALSE;
  }

 private:
  bool pressed_ = false;
};

}  // namespace pravik::win32
