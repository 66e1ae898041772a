#include "controllib/popup_menu.h"

#include <windows.h>

#include "controllib/module.h"
#include "win32/handles.h"

namespace pravik::controllib {
namespace {

bool IsSeparator(const std::wstring& item) {
  const std::size_t first = item.find_first_not_of(L' ');
  return first != std::wstring::npos && item.find_last_not_of(L' ') == first && item[first] == L'-';
}

// A menu can only be tracked for a window of the calling thread; when the foreground window
// belongs to another program, an invisible window of our own owns the menu instead.
class MenuOwner {
 public:
  MenuOwner() {
    const HWND foreground = ::GetForegroundWindow();
    if (foreground && ::GetWindowThreadProcessId(foreground, nullptr) == ::GetCurrentThreadId()) {
      hwnd_ = foreground;
      return;
    }
    own_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                             ModuleInstance(), nullptr);
    hwnd_ = own_;
    if (own_) ::SetForegroundWindow(own_);
  }
  MenuOwner(const MenuOwner&) = delete;
  MenuOwner& operator=(const MenuOwner&) = delete;
  ~MenuOwner() {
    if (own_) ::DestroyWindow(own_);
  }
  [[nodiscard]] HWND get() const noexcept { return hwnd_; }

 private:
  HWND hwnd_ = nullptr;
  HWND own_ = nullptr;
};

}  // namespace

std::size_t PopupItemCount(const std::vector<std::wstring>& texts) {
  const std::size_t n = texts.size() < 20 ? texts.size() : 20;
  for (std::size_t i = 1; i < n; ++i)
    if (texts[i].empty()) return i;
  return n;
}

long PopupMenu(const std::vector<std::wstring>& items) {
  POINT at{};
  ::GetCursorPos(&at);
  win32::Menu menu(::CreatePopupMenu());
  if (!menu) return 0;
  for (std::size_t k = 0; k < items.size(); ++k) {
    if (IsSeparator(items[k])) {
      ::AppendMenuW(menu.get(), MF_SEPARATOR, 0, nullptr);
    } else {
      ::AppendMenuW(menu.get(), MF_STRING, k + 1, items[k].c_str());
    }
  }
  MenuOwner owner;
  return static_cast<long>(::TrackPopupMenu(menu.get(), TPM_RIGHTBUTTON | TPM_NONOTIFY | TPM_RETURNCMD, at.x, at.y, 0,
                                            owner.get(), nullptr));
}

}  // namespace pravik::controllib
