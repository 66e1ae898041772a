#include "menu/dialog_keys.h"

namespace pravik::menu {
namespace {

thread_local HWND g_root = nullptr;
thread_local HHOOK g_hook = nullptr;
thread_local bool g_inside = false;
thread_local DialogKeys::TabOrder* g_order = nullptr;

bool Reachable(HWND hwnd) { return hwnd && ::IsWindowVisible(hwnd) && ::IsWindowEnabled(hwnd); }

// Moves the focus to the next (or previous) reachable element of the order; the element holding
// the focus is the one that is or contains the focus window.
bool CycleTab(const std::vector<HWND>& order, bool back) {
  if (order.empty()) return false;
  const HWND focus = ::GetFocus();
  const int n = static_cast<int>(order.size());
  int at = -1;
  for (int i = 0; i < n && at < 0; ++i)
    if (order[static_cast<std::size_t>(i)] && (order[static_cast<std::size_t>(i)] == focus || ::IsChild(order[static_cast<std::size_t>(i)], focus)))
      at = i;
  for (int step = 1; step <= n; ++step) {
    const int i = at < 0 ? (back ? n - step : step - 1) : ((at + (back ? -step : step)) % n + n) % n;
    const HWND next = order[static_cast<std::size_t>(i)];
    if (Reachable(next)) {
      ::SetFocus(next);
      return true;
    }
  }
  return false;
}

bool IsKeyMessage(UINT message) {
  return message == WM_KEYDOWN || message == WM_KEYUP || message == WM_CHAR || message == WM_SYSKEYDOWN ||
         message == WM_SYSCHAR;
}

}  // namespace

DialogKeys::~DialogKeys() { Remove(); }

bool DialogKeys::Install(HWND root, TabOrder order) noexcept {
  Remove();
  order_ = std::move(order);
  hook_ = ::SetWindowsHookExW(WH_MSGFILTER, &DialogKeys::Filter, nullptr, ::GetCurrentThreadId());
  if (!hook_) return false;
  g_root = root;
  g_hook = hook_;
  g_order = order_ ? &order_ : nullptr;
  return true;
}

void DialogKeys::Remove() noexcept {
  if (!hook_) return;
  ::UnhookWindowsHookEx(hook_);
  if (g_hook == hook_) {
    g_hook = nullptr;
    g_root = nullptr;
    g_order = nullptr;
  }
  hook_ = nullptr;
}

bool DialogKeys::Translate(MSG& msg) noexcept {
  // The dialog manager calls the filter again itself: do not go round in circles.
  if (g_inside || !g_root || !IsKeyMessage(msg.message) || !::IsChild(g_root, msg.hwnd)) return false;
  // Tab goes through our order alone, with Ctrl held or not (a Ctrl the thread still takes for
  // down counts too): the dialog manager's order stops on the picture-box containers, where the
  // keyboard has nowhere to go.
  if (msg.message == WM_KEYDOWN && msg.wParam == VK_TAB && g_order)
    return CycleTab((*g_order)(), (::GetKeyState(VK_SHIFT) & 0x8000) != 0);
  g_inside = true;
  const bool handled = ::IsDialogMessageW(g_root, &msg) != FALSE;
  g_inside = false;
  return handled;
}

LRESULT CALLBACK DialogKeys::Filter(int code, WPARAM wParam, LPARAM lParam) noexcept {
  // Only the dialog loops' messages: inside a popup menu's loop the keys belong to the menu.
  if (code == MSGF_DIALOGBOX && lParam && Translate(*reinterpret_cast<MSG*>(lParam))) return TRUE;
  return ::CallNextHookEx(g_hook, code, wParam, lParam);
}

}  // namespace pravik::menu
