#pragma once
// The folder tree control's questions to the platform: folder tests, version, visual style, colours.
#include <windows.h>

#include <cstdint>
#include <string>

namespace pravik::controls::browse {

// The platform's directory test; false on any error.
bool IsFolder(const std::wstring& path) noexcept;
inline bool IsFile(const std::wstring& path) noexcept { return !IsFolder(path); }
// NT 5.0 only.
bool IsWin2K() noexcept;
// NT 5.1 with build 2600 or higher only.
bool IsWinXP() noexcept;
// The visual style's colour-scheme name; "None" off 5.1 or without a style, "UxTheme_Error" on failure.
std::wstring GetThemeName();
// An OLE colour (possibly a system colour) as a plain RGB value; -1 when it cannot be translated.
std::int32_t TranslateColor(std::int32_t color) noexcept;
// "1.0.50", with the build stamp when asked.
std::wstring Version(bool withDateTime);
// Whether the platform offers mouse-leave tracking; without it the control stays inert.
bool MouseLeaveTrackingAvailable() noexcept;

// Folder path with a trailing "\" (platform folder test).
std::wstring QualifyPath(const std::wstring& path);

}  // namespace pravik::controls::browse
