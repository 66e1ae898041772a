#pragma once
// Which program owns a window, and what its title says. Both give an empty text when the window,
// its process or the process list is not available.
#include <windows.h>

#include <string>

namespace pravik::controllib {

// The executable file name (no folder, in the case the system records) of the window's process.
std::wstring WindowProgramName(HWND hwnd);
std::wstring WindowTitle(HWND hwnd);

}  // namespace pravik::controllib
