#include <windows.h>

#include <commctrl.h>

#include "core/download/download_rules.h"
#include "updater/update_window.h"
#include "win32/app_error.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Load DLLs from the system folder only, never from beside the program or the current folder.
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  ::SetDllDirectoryW(L"");

  // The whole argument text is the address; without one there is nothing to do and nothing is shown.
  const std::wstring commandText = pravik::core::download::ArgumentText(::GetCommandLineW());
  if (commandText.empty()) return 0;

  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_PROGRESS_CLASS};
  ::InitCommonControlsEx(&icc);

  pravik::win32::Instance<pravik::updater::UpdateWindow> frmMain(commandText);
  bool loaded = false;
  pravik::win32::RunHandler([&] {
    loaded = frmMain.Load();
    if (loaded) ::ShowWindow(frmMain.hwnd(), SW_SHOWNORMAL);
  });
  if (!loaded) return 1;

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
