#include "win32/window_hook.h"

#include <commctrl.h>

#include <new>
#include <utility>

#include "win32/app_error.h"

namespace pravik::win32 {

// What the subclass calls. One reference belongs to the installed subclass and one to each call in
// progress (the window's thread only, so a plain count), so handlers released meanwhile stay
// whole until the last call using them has returned.
struct WindowHook::Handlers {
  HWND hwnd;
  Before before;
  After after;
  WindowHook* owner = nullptr;  // none for a hook for life
  int references = 1;
  bool installed = true;

  void Release() noexcept {
    if (--references == 0) delete this;
  }
};

WindowHook::Handlers* WindowHook::Hook(HWND hwnd, Before before, After after) noexcept {
  auto* handlers = new (std::nothrow) Handlers{hwnd, std::move(before), std::move(after)};
  if (handlers && !::SetWindowSubclass(hwnd, &WindowHook::Proc, reinterpret_cast<UINT_PTR>(handlers),
                                       reinterpret_cast<DWORD_PTR>(handlers))) {
    delete handlers;
    return nullptr;
  }
  return handlers;
}

bool WindowHook::Install(HWND hwnd, Before before, After after) noexcept {
  Remove();
  handlers_ = Hook(hwnd, std::move(before), std::move(after));
  if (!handlers_) return false;
  handlers_->owner = this;
  hwnd_ = hwnd;
  return true;
}

bool WindowHook::ForLifeOf(HWND hwnd, Before before, After after) noexcept {
  return Hook(hwnd, std::move(before), std::move(after)) != nullptr;
}

void WindowHook::Remove() noexcept {
  if (handlers_) Unhook(handlers_);
}

void WindowHook::Unhook(Handlers* handlers) noexcept {
  if (!handlers->installed) return;
  handlers->installed = false;
  ::RemoveWindowSubclass(handlers->hwnd, &WindowHook::Proc, reinterpret_cast<UINT_PTR>(handlers));
  if (WindowHook* owner = std::exchange(handlers->owner, nullptr)) {
    owner->hwnd_ = nullptr;
    owner->handlers_ = nullptr;
  }
  handlers->Release();
}

LRESULT CALLBACK WindowHook::Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR,
                                  DWORD_PTR data) noexcept {
  auto* handlers = reinterpret_cast<Handlers*>(data);
  ++handlers->references;
  LRESULT result = 0;
  bool handled = false;
  if (handlers->installed && handlers->before)
    RunHandler([&] { handled = handlers->before(message, wParam, lParam, result); });
  if (!handled) result = ::DefSubclassProc(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // The window is gone: the subclass must not outlive it.
    Unhook(handlers);
  } else if (!handled && handlers->installed && handlers->after) {
    RunHandler([&] { handlers->after(message, wParam, lParam, result); });
  }
  handlers->Release();
  return result;
}

}  // namespace pravik::win32
