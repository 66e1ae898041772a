#include "win32/registry.h"

#include <cwchar>

#include "win32/handles.h"
#include "win32/text.h"

namespace pravik::win32 {

std::optional<std::wstring> ReadRegistryString(HKEY hive, const std::wstring& subKey, const std::wstring& valueName) {
  RegKey key;
  const std::string subKeyA = WideToAnsi(subKey);
  const std::string nameA = WideToAnsi(valueName);
  if (::RegOpenKeyExA(hive, subKeyA.c_str(), 0, KEY_QUERY_VALUE, key.put()) != ERROR_SUCCESS) return std::nullopt;

  DWORD type = 0;
  DWORD size = 0;
  if (::RegQueryValueExA(key.get(), nameA.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return std::nullopt;

  std::string buffer(size, ' ');
  type = 0;
  if (::RegQueryValueExA(key.get(), nameA.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(buffer.data()), &size) !=
      ERROR_SUCCESS)
    return std::nullopt;
  // The value may have grown between the two queries; never read past what the second one wrote.
  buffer.resize(std::min<size_t>(buffer.size(), size));
  const auto nul = buffer.find('\0');
  if (nul != std::string::npos) buffer.resize(nul);
  return AnsiToWide(buffer);
}

std::optional<std::wstring> ReadSystemString(HKEY hive, const std::wstring& subKey, const wchar_t* valueName) {
  DWORD bytes = 0;
  if (::RegGetValueW(hive, subKey.c_str(), valueName, RRF_RT_REG_SZ, nullptr, nullptr, &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  std::wstring value(bytes / sizeof(wchar_t) + 1, L'\0');
  bytes = static_cast<DWORD>(value.size() * sizeof(wchar_t));
  // Fails (ERROR_MORE_DATA) rather than cuts short when the value grew in between.
  if (::RegGetValueW(hive, subKey.c_str(), valueName, RRF_RT_REG_SZ, nullptr, value.data(), &bytes) != ERROR_SUCCESS)
    return std::nullopt;
  value.resize(std::wcslen(value.c_str()));
  return value;
}

}  // namespace pravik::win32
