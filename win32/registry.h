#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace pravik::win32 {

// A REG_SZ value read through the ANSI interface, up to its first NUL (or whole when it has none).
// Nothing (the empty variant) for a missing key or value, another type, or a failed read.
std::optional<std::wstring> ReadRegistryString(HKEY hive, const std::wstring& subKey, const std::wstring& valueName);

// A string the system writes (a class registration, a server's path) read through the Unicode
// interface, REG_EXPAND_SZ expanded; nullptr names the key's default value. Nothing for a missing
// key or value, another type, or a failed read.
std::optional<std::wstring> ReadSystemString(HKEY hive, const std::wstring& subKey, const wchar_t* valueName = nullptr);

}  // namespace pravik::win32
