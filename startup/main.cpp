#include <windows.h>

#include <optional>

#include "menu/dialog_keys.h"
#include "startup/single_instance.h"
#include "startup/start_button_window.h"
#include "startup/update_decision.h"
#include "win32/app_error.h"
#include "win32/com_ptr.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  // Load system DLLs from the system folder only, never from beside the program or the current folder.
  ::SetDefaultDllDirectories(LOAD_LIBRARY_SEARCH_SYSTEM32);
  ::SetDllDirectoryW(L"");

  // 1. Another instance running: end at once, nothing shown, nothing asked of the network.
  if (pravik::startup::AnotherInstanceRuns()) return 0;
  // Declared first, ended last: after the windows and the objects they hold.
  std::optional<pravik::win32::OleScope> ole;
  pravik::win32::Instance<pravik::startup::StartButtonWindow> startButton;
  std::optional<pravik::startup::UpdateDecision> update;
  bool running = false;
  pravik::win32::RunHandler([&] {
    // 2-3. The update server is asked, and what the button shows is prepared, while its window is
    // made and loads; both are awaited before it shows.
    startButton.BeginPreparing();
    update.emplace();
    if (!startButton.Create()) return;
    running = startButton.Load(*update);
    if (!running) return;
    startButton.Show();
    // OLE (the control library, the menu's browser control) once the button is on the screen.
    ole.emplace();
    startButton.ConnectControlLibrary();
  });
  if (!running) return 0;

  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (pravik::menu::DialogKeys::Translate(msg)) continue;
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  // Every loop has returned: the windows and their objects go now, in the destructors.
  return 0;
}
