#pragma once
// Runs the real Pravik.exe from a private copy of the installed tree, against a loopback update
// server on the build-setting port, and reads its windows back.
#include <windows.h>

#include <string>
#include <vector>

#include "testsupport/http_test_server.h"
#include "testsupport/process.h"

namespace pravik::startup {

constexpr unsigned short kUpdatePort = 8731;

// A copy of Pravik.exe and Graphics\ in a fresh folder; `skip` names skin files left out.
std::wstring CopyInstalledTree(const std::wstring& hint, const std::vector<std::wstring>& skip = {});

struct WindowInfo {
  HWND hwnd = nullptr;
  RECT rect{};
  LONG_PTR style = 0, exStyle = 0;
  std::wstring title;
};
WindowInfo ReadWindow(HWND hwnd);

// The texts of a message box of a process (its caption and its static prompt), when one appears.
struct MessageBoxTexts {
  HWND hwnd = nullptr;
  std::wstring caption, prompt;
};
MessageBoxTexts WaitForMessageBox(DWORD pid, DWORD timeoutMs);

// Moves the pointer like a user would (absolute synthetic input) and clicks.
void MovePointer(int x, int y);
void ClickAt(int x, int y);

void SetInstalledVersion(const std::wstring* version);

// Waits until the menu window, loaded once the button shows, is ready: its root selector holds
// its 22 roots, the load's last step but one. Tests that measure or type start from there.
bool WaitForMenuPrepared(HWND menu, DWORD timeoutMs = 10000);

}  // namespace pravik::startup
