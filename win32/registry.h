#pragma once
#include <windows.h>

#include <optional>
#include <string>

namespace pravik::win32 {

// A REG_SZ value read through the ANSI interface, up to its first NUL (or whole when it has none).
// Nothing (the empty variant) for a missing key or value, another type, or a failed read.
std::optional<std::wstring> ReadRegistryString(HKEY hive, const std::wstring& subKey, const std::wstring& valueName);

}  // namespace pravik::win32
