#include "win32/text.h"

#include <windows.h>

namespace pravik::win32 {

std::wstring AnsiToWide(std::string_view ansi, unsigned codePage) {
  if (ansi.empty()) return {};
  const int n = ::MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()), nullptr, 0);
  std::wstring out(static_cast<size_t>(n), L'\0');
  ::MultiByteToWideChar(codePage, 0, ansi.data(), static_cast<int>(ansi.size()), out.data(), n);
  return out;
}

std::string WideToAnsi(std::wstring_view wide, unsigned codePage) {
  if (wide.empty()) return {};
  const int n = ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), nullptr, 0,
                                      nullptr, nullptr);
  std::string out(static_cast<size_t>(n), '\0');
  ::WideCharToMultiByte(codePage, 0, wide.data(), static_cast<int>(wide.size()), out.data(), n, nullptr, nullptr);
  return out;
}

std::wstring Utf8ToWide(std::string_view utf8) { return AnsiToWide(utf8, CP_UTF8); }
std::string WideToUtf8(std::wstring_view wide) { return WideToAnsi(wide, CP_UTF8); }

}  // namespace pravik::win32
