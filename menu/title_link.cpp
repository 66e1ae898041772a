#include "menu/title_link.h"

#include "generated/win32/build_settings.h"
#include "menu/menu_element.h"
#include "menu/remote_setting.h"
#include "win32/app_error.h"
#include "win32/launch.h"

namespace pravik::menu {

std::optional<std::wstring> HomeBrowserCommandLine(std::wstring* browserPath) {
  // From the system, not the variable: a user's HKCU\Environment could point it at any program.
  const auto folder = win32::ProgramFilesFolder();
  if (!folder) return std::nullopt;
  const std::wstring program = *folder + L"\\Internet Explorer\\iexplore.exe";
  if (browserPath) *browserPath = program;
  return program + L" " + PRAVIK_HOME_HOST;
}

BrowserStart StartHomeBrowser(const std::function<bool(const std::wstring&)>& fallback) noexcept {
  try {
    // Every start with the user's normal rights: a browser run as administrator would hand those
    // rights to any page. Refused (and the user told) when they cannot be had.
    std::wstring program;
    if (HomeBrowserCommandLine(&program) && ::GetFileAttributesW(program.c_str()) != INVALID_FILE_ATTRIBUTES) {
      const win32::UserStart start = win32::OpenAsUserOrTell(nullptr, program, PRAVIK_HOME_HOST);
      if (start == win32::UserStart::kStarted) return BrowserStart::kBrowser;
      if (start == win32::UserStart::kNoUserToken) return BrowserStart::kNothing;
    }
    const std::wstring home = HomePageAddress();
    const bool opened = fallback ? fallback(home)
                                 : win32::OpenAsUserOrTell(nullptr, home) == win32::UserStart::kStarted;
    return opened ? BrowserStart::kShellDefault : BrowserStart::kNothing;
  } catch (...) {
    return BrowserStart::kNothing;
  }
}

bool TitleLink::Create(HWND picTitle) {
  const auto area = Px(L"lblLink");  // in PicTitle
  return Window::Create(L"PravikTitleLink", L"", WS_CHILD | WS_VISIBLE, WS_EX_TRANSPARENT, area.left, area.top,
                        area.width, area.height, picTitle, nullptr, nullptr,
                        ::LoadCursorW(nullptr, IDC_HAND));
}

LRESULT TitleLink::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // the title skin below shows through
    case WM_PAINT: {
      PAINTSTRUCT ps;
      ::BeginPaint(hwnd(), &ps);
      ::EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_LBUTTONDOWN:
      click_.Press(hwnd());
      return 0;
    case WM_LBUTTONUP: {
      if (click_.Release(hwnd(), lParam)) {
        win32::RunHandler([this] { Activate(); });
      }
      return 0;
    }
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

void TitleLink::Activate() {
  if (onClick) {
    onClick();
  } else {
    (void)StartHomeBrowser();
  }
}

}  // namespace pravik::menu
