#include "menu/search_use_counts.h"

#include <windows.h>

#include <algorithm>

#include "win32/handles.h"

namespace pravik::menu {
namespace {

std::uint32_t Clamped(DWORD type, DWORD size, DWORD value) {
  if (type != REG_DWORD || size != sizeof(DWORD)) return 0;
  return std::min<std::uint32_t>(value, kMaxUseCount);
}

}  // namespace

std::wstring UseCountName(const std::wstring& path) {
  std::wstring name = path;
  if (!name.empty()) ::CharLowerBuffW(name.data(), static_cast<DWORD>(name.size()));
  return name;
}

std::unordered_map<std::wstring, std::uint32_t> ReadUseCounts() {
  std::unordered_map<std::wstring, std::uint32_t> counts;
  win32::RegKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, kSearchUseCountKey, 0, KEY_READ, key.put()) != ERROR_SUCCESS) return counts;
  // Value names are at most 16383 characters; a planted flood of values is read only so far.
  std::wstring name(16384, L'\0');
  for (DWORD i = 0; i < 100000; ++i) {
    DWORD nameLength = static_cast<DWORD>(name.size()), type = 0, value = 0, size = sizeof value;
    const LONG status = ::RegEnumValueW(key.get(), i, name.data(), &nameLength, nullptr, &type,
                                        reinterpret_cast<BYTE*>(&value), &size);
    if (status == ERROR_NO_MORE_ITEMS) break;
    if (status != ERROR_SUCCESS) continue;
    if (const std::uint32_t count = Clamped(type, size, value)) counts[UseCountName(name.substr(0, nameLength))] = count;
  }
  return counts;
}

std::uint32_t AddUse(const std::wstring& path) {
  win32::RegKey key;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, kSearchUseCountKey, 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, key.put(),
                        nullptr) != ERROR_SUCCESS)
    return 0;
  const std::wstring name = UseCountName(path);
  DWORD type = 0, value = 0, size = sizeof value;
  std::uint32_t count = 0;
  if (::RegQueryValueExW(key.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&value), &size) == ERROR_SUCCESS)
    count = Clamped(type, size, value);
  if (count < kMaxUseCount) ++count;
  const DWORD stored = count;
  ::RegSetValueExW(key.get(), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&stored), sizeof stored);
  return count;
}

}  // namespace pravik::menu
