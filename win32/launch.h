#pragma once
// Every program Pravik and Molvane start goes through here. Both run as administrator, so what
// they start must not be chosen by anything a standard user controls: programs are named by full
// path (never resolved through the search path or the shell's open verb, which consults the
// user's HKCU\Software\Classes), and system locations come from the system, never from
// environment variables.
#include <windows.h>

#include <optional>
#include <string>

namespace pravik::win32 {

// The system folder (GetSystemDirectory). In builds made by the test commands, a test may point
// it at a folder of stand-ins (PRAVIK_TEST_SYSTEM_FOLDER); no other build has that seam.
std::wstring SystemFolder();
// A known folder's path (SHGetKnownFolderPath), nothing when the system has none.
std::optional<std::wstring> KnownFolderPath(const GUID& id);

// Starts exactly the program at fullPath with the argument text after its quoted path, in its
// own folder, in a normal window. False when it could not be started.
bool StartProgram(const std::wstring& fullPath, const std::wstring& arguments);

}  // namespace pravik::win32
