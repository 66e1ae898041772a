#pragma once
// Platform halves of the picker's helper functions, offered to hosts.
#include <windows.h>

#include <cstdint>
#include <string>

namespace pravik::controls::pickbox {

// A search for the path finds an entry whose attributes are not exactly "directory"; a directory
// with further attribute bits counts as existing. The search is always closed.
bool FileExists(const std::wstring& path);
// The path unchanged when FileExists, else with a trailing "\".
std::wstring QualifyPath(const std::wstring& path);
// TrimPathByLen measured with the given font (points at the screen's resolution).
std::wstring TrimPathByLen(const std::wstring& text, int width, const std::wstring& replacement,
                           const std::wstring& fontName, int fontSize);
// An OLE colour with the system-colour bit translated; -1 (0xFFFFFFFF) when it cannot be.
std::uint32_t TranslateColor(std::uint32_t color);
// An NT platform of version 5.1, build 2600 or later.
bool IsWinXP();
// The visual style's colour scheme name, empty when there is no active style.
std::wstring CurrentColorScheme();

}  // namespace pravik::controls::pickbox
