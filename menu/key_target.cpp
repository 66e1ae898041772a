#include "menu/key_target.h"

#include <commctrl.h>

#include "win32/app_error.h"

namespace pravik::menu {
namespace {

constexpr UINT_PTR kSubclassId = 0x4B54;

// The element and what lies below it: a transparent element (the title link) leaves its focus
// mark behind otherwise.
void Repaint(HWND hwnd) {
  RECT r;
  ::GetWindowRect(hwnd, &r);
  HWND parent = ::GetParent(hwnd);
  ::MapWindowPoints(nullptr, parent, reinterpret_cast<POINT*>(&r), 2);
  ::RedrawWindow(parent, &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
}

LRESULT CALLBACK KeyTargetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR, DWORD_PTR data) noexcept {
  auto* target = reinterpret_cast<KeyTarget*>(data);
  switch (message) {
    case WM_GETDLGCODE: {
      // Enter and the arrows belong to the element; Tab and Esc stay with the window.
      const MSG* msg = reinterpret_cast<const MSG*>(lParam);
      LRESULT code = DLGC_WANTARROWS;
      if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_RETURN) code |= DLGC_WANTMESSAGE;
      return code;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN: {
      bool handled = false;
      win32::RunHandler([&] {
        if (target->key && target->key(message, wParam)) {
          handled = true;
        } else if (message == WM_KEYDOWN && (wParam == VK_RETURN || wParam == VK_SPACE) && target->activate) {
          handled = true;
          target->activate();
        }
      });
      if (handled) return 0;
      break;
    }
    case WM_SETFOCUS:
      if (target->focused) win32::RunHandler([&] { target->focused(); });
      Repaint(hwnd);
      break;
    case WM_KILLFOCUS:
      Repaint(hwnd);
      break;
    case WM_PAINT: {
      const LRESULT result = ::DefSubclassProc(hwnd, message, wParam, lParam);
      if (::GetFocus() == hwnd) {
        // The focus mark: a dotted frame just inside the element.
        RECT r;
        ::GetClientRect(hwnd, &r);
        ::InflateRect(&r, -1, -1);
        HDC dc = ::GetDC(hwnd);
        ::DrawFocusRect(dc, &r);
        ::ReleaseDC(hwnd, dc);
      }
      return result;
    }
    case WM_NCDESTROY:
      ::RemoveWindowSubclass(hwnd, &KeyTargetProc, kSubclassId);
      delete target;
      break;
  }
  return ::DefSubclassProc(hwnd, message, wParam, lParam);
}

}  // namespace

void MakeKeyTarget(HWND hwnd, KeyTarget target) {
  if (!hwnd) return;
  ::SetWindowSubclass(hwnd, &KeyTargetProc, kSubclassId, reinterpret_cast<DWORD_PTR>(new KeyTarget(std::move(target))));
}

}  // namespace pravik::menu
