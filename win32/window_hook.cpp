#include "win32/window_hook.h"

#include <commctrl.h>

#include <new>

#include "win32/app_error.h"

namespace pravik::win32 {

bool WindowHook::Install(HWND hwnd, Before before, After after) noexcept {
  Remove();
  before_ = std::move(before);
  after_ = std::move(after);
  if (!::SetWindowSubclass(hwnd, &WindowHook::Proc, reinterpret_cast<UINT_PTR>(this),
                           reinterpret_cast<DWORD_PTR>(this)))
    return false;
  hwnd_ = hwnd;
  return true;
}

bool WindowHook::ForLifeOf(HWND hwnd, Before before, After after) noexcept {
  auto* hook = new (std::nothrow) WindowHook();
  if (!hook || !hook->Install(hwnd, std::move(before), std::move(after))) {
    delete hook;
    return false;
  }
  hook->ownedByWindow_ = true;
  return true;
}

void WindowHook::Remove() noexcept {
  if (!hwnd_) return;
  ::RemoveWindowSubclass(hwnd_, &WindowHook::Proc, reinterpret_cast<UINT_PTR>(this));
  hwnd_ = nullptr;
}

LRESULT CALLBACK WindowHook::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) noexcept {
  auto* self = reinterpret_cast<WindowHook*>(data);
  LRESULT result = 0;
  bool handled = false;
  if (self->before_) RunHandler([&] { handled = self->before_(message, wParam, lParam, result); });
  if (handled) return result;
  result = ::DefSubclassProc(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window is gone: the subclass must not outlive it.
    ::RemoveWindowSubclass(hwnd, &WindowHook::Proc, reinterpret_cast<UINT_PTR>(self));
    if (self->hwnd_ == hwnd) self->hwnd_ = nullptr;
    if (self->ownedByWindow_) delete self;
    return result;
  }
  if (self->after_) RunHandler([&] { self->after_(message, wParam, lParam, result); });
  return result;
}

}  // namespace pravik::win32
