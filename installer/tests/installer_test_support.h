#pragma once
// What the installer tests share: the built installers, the installed folder and its traces.
#include <windows.h>

#include <string>
#include <vector>

namespace pravik::installer {

// A REG_SZ value; empty when the key or value is missing.
std::wstring RegistryText(HKEY hive, const wchar_t* key, const wchar_t* name);
bool KeyExists(HKEY hive, const wchar_t* key);
// Runs an installer or uninstaller with these arguments and waits; its exit code, or ~0u when it
// could not start or did not end within two minutes.
DWORD RunAndWait(const std::wstring& exe, const std::wstring& arguments);
// A folder for one installation directly under C:\ (not made yet): the installer refuses folders
// inside user profiles, which the temp folder is.
std::wstring FreshInstallFolder(const std::wstring& hint);
// What a careless or hostile owner does: Everyone may change this file or folder.
bool GrantEveryoneFullControl(const std::wstring& path);
// The entries of this tree (the folder itself included) whose permissions let Everyone, Users or
// Authenticated Users change them; the tree is walked without following links.
std::vector<std::wstring> ChangeableByUsers(const std::wstring& folder);
// The visible start button, when a Pravik shows one; the pid of its process in *pid.
HWND VisibleStartButton(DWORD* pid = nullptr);
// The program file a process runs; empty when it cannot be told.
std::wstring ImageOf(DWORD pid);
// Ends every Pravik that shows a start button (tests clean up after themselves this way).
void EndPravik();
// Registers the built tree's Quessel.ocx again: the other tests of this session use it.
void RegisterBuiltQuessel();

}  // namespace pravik::installer
