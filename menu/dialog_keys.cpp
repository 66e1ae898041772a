#include "menu/dialog_keys.h"

namespace pravik::menu {
namespace {

thread_local HWND g_root = nullptr;
thread_local HHOOK g_hook = nullptr;
thread_local bool g_inside = false;

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR || message == WM_SYSKEYDOWN ||
         message == WM_SYSCHAR;
}

}  // namespace

DialogKeys::~DialogKeys() { Remove(); }

bool DialogKeys::Install(HWND root) noexcept {
  Remove();
  hook_ = ::SetWindowsHookExW(WH_MSGFILTER, &DialogKeys::Filter, nullptr, ::GetCurrentThreadId());
  if (!hook_) return false;
  g_root = root;
  g_hook = hook_;
  return true;
}

void DialogKeys::Remove() noexcept {
  if (!hook_) return;
  ::UnhookWindowsHookEx(hook_);
  if (g_hook == hook_) {
    g_hook = nullptr;
    g_root = nullptr;
  }
  hook_ = nullptr;
}

bool DialogKeys::Translate(MSG& msg) noexcept {
  // The dialog manager calls the filter again itself: do not go round in circles.
  if (g_inside || !g_root || !IsKeyMessage(msg.message) || !::IsChild(g_root, msg.hwnd)) return false;
  g_inside = true;
  const bool handled = ::IsDialogMessageW(g_root, &msg) != FALSE;
  g_inside = false;
  return handled;
}

LRESULT CALLBACK DialogKeys::Filter(int code, WPARAM wParam, LPARAM lParam) noexcept {
  if (code >= 0 && lParam && Translate(*reinterpret_cast<MSG*>(lParam))) return TRUE;
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace pravik::menu
