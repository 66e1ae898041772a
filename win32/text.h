#pragma once
// Texts are UTF-16 inside; they cross to the platform's ANSI functions through the system code page.
#include <string>
#include <string_view>

namespace pravik::win32 {

std::wstring AnsiToWide(std::string_view ansi, unsigned codePage = 0 /* CP_ACP */);
std::string WideToAnsi(std::wstring_view wide, unsigned codePage = 0 /* CP_ACP */);
std::wstring Utf8ToWide(std::string_view utf8);
std::string WideToUtf8(std::wstring_view wide);

}  // namespace pravik::win32
