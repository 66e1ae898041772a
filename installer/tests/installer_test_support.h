#pragma once
// What the installer tests share: the built installers, the installed folder and its traces.
#include <windows.h>

#include <string>

namespace pravik::installer {

// A REG_SZ value; empty when the key or value is missing.
std::wstring RegistryText(HKEY hive, const wchar_t* key, const wchar_t* name);
bool KeyExists(HKEY hive, const wchar_t* key);
// Runs an installer or uninstaller with these arguments and waits; its exit code, or ~0u when it
// could not start or did not end within two minutes.
DWORD RunAndWait(const std::wstring& exe, const std::wstring& arguments);
// The visible start button, when a Pravik shows one; the pid of its process in *pid.
HWND VisibleStartButton(DWORD* pid = nullptr);
// Ends every Pravik that shows a start button (tests clean up after themselves this way).
void EndPravik();
// Registers the built tree's Quessel.ocx again: the other tests of this session use it.
void RegisterBuiltQuessel();

}  // namespace pravik::installer
