#include "menu/key_target.h"

#include "win32/window_hook.h"

namespace pravik::menu {
namespace {

// The element and what lies below it: a transparent element (the title link) leaves its focus
// mark behind otherwise.
void Repaint(HWND hwnd) {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  HWND parent = ::GetParent(hwnd);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  ::RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

}  // namespace

void MakeKeyTarget(HWND hwnd, KeyTarget target) {
  if (!hwnd) return;
  (void)win32::WindowHook::ForLifeOf(
      hwnd,
      [hwnd, target = std::move(target)](UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result) {
        switch (message) {
          case WM_GETDLGCODE: {
            // Enter and the arrows belong to the element; Tab and Esc stay with the window.
            const MSG* msg = reinterpret_cast<const MSG*>(lParam);
            result = DLGC_WANTARROWS;
            if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) result |= DLGC_WANTMESSAGE;
            return true;
          }
          case WM_KEYDOWN:
          case WM_SYSKEYDOWN:
            if (target.key && target.key(message, wParam)) return (result = 0, true);
            if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_SPACE) && target.activate) {
              target.activate();
              return (result = 0, true);
            }
            return false;
          case WM_SETFOCUS:
            if (target.focused) target.focused();
            Repaint(hwnd);
            return false;
          case WM_KILLFOCUS:
            Repaint(hwnd);
            return false;
          default:
            return false;
        }
      },
      [hwnd](UINT message, WPARAM, LPARAM, LRESULT&) {
        if (message != WM_PAINT || ::GetFocus() != hwnd) return;
        // The focus mark: a dotted frame just inside the element.
        RECT r;
        ::GetClientRect(hwnd, &r);
        ::InflateRect(&r, -1, -1);
        HDC dc = ::GetDC(hwnd);
        ::DrawFocusRect(dc, &r);
        ::ReleaseDC(hwnd, dc);
      });
}

}  // namespace pravik::menu
