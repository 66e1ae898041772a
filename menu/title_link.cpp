#include "menu/title_link.h"

#include <shellapi.h>

#include "generated/win32/build_settings.h"
#include "menu/menu_element.h"
#include "menu/remote_setting.h"
#include "win32/app_error.h"
#include "win32/handles.h"
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
    std::wstring program;
    if (auto commandLine = HomeBrowserCommandLine(&program)) {
      STARTUPINFOW startup{};
      startup.cb = sizeof startup;
      startup.dwFlags = STARTF_USESHOWWINDOW;
      startup.wShowWindow = SW_SHOWNORMAL;
      PROCESS_INFORMATION started{};
      // The program is named apart from the command line: with "Program Files" unquoted the
      // platform would otherwise try "C:\Program.exe" first.
      if (::CreateProcessW(program.c_str(), commandLine->data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                           &startup, &started)) {
        win32::Handle process(started.hProcess);
        win32::Handle thread(started.hThread);
        return BrowserStart::kBrowser;
      }
    }
    const std::wstring home = HomePageAddress();
    const bool opened = fallback ? fallback(home)
                                 : reinterpret_cast<INT_PTR>(::ShellExecuteW(nullptr, L"open", home.c_str(), nullptr,
                                                                             nullptr, SW_SHOWNORMAL)) > 32;
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
