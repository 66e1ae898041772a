#pragma once
// lblLink: the click area on the title strip that opens the product's home page in the platform's
// web browser. It is a window of its own that paints nothing, so the title skin shows through.
#include <windows.h>

#include <functional>
#include <optional>
#include <string>

#include "win32/click_tracker.h"
#include "win32/window.h"

namespace pravik::menu {

// The system's program files folder + "\Internet Explorer\iexplore.exe " + the home host;
// nothing when the system names no such folder. `browserPath` receives the program part.
std::optional<std::wstring> HomeBrowserCommandLine(std::wstring* browserPath = nullptr);

enum class BrowserStart { kBrowser, kShellDefault, kNothing };

// Starts the browser in a normal window with the focus, with the user's normal rights (see
// win32::OpenAsUser; when those cannot be had the user is told and nothing starts). A missing
// program does not end anything: the shell's default browser is asked for the home page instead
// (`fallback`, replaceable for tests), and a failure there is reported nowhere.
BrowserStart StartHomeBrowser(const std::function<bool(const std::wstring& address)>& fallback = {}) noexcept;

// What a screen reader calls the title link: the words the title skin shows there.
inline constexpr wchar_t kTitleLinkName[] = L"홈페이지 바로가기";

class TitleLink : public win32::Window {
 public:

  // Creates the area inside PicTitle; a click starts the browser unless onClick replaces it.
  bool Create(HWND picTitle);
  std::function<void()> onClick;
  // What a click does: onClick, else the browser.
  void Activate();

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  win32::ClickTracker click_;
};

}  // namespace pravik::menu
