#include "controls/browse/browse_platform.h"

#include <shlwapi.h>

#include "core/browse/border_theme.h"
#include "core/path/qualify_path.h"
#include "win32/handles.h"
#include "win32/ole_colour.h"
#include "win32/os_version.h"
#include "win32/visual_style.h"

namespace pravik::controls::browse {
namespace {

// An export of a module, looked up without keeping a module loaded that was not loaded before.
bool HasExport(const wchar_t* module, const char* name) noexcept {
  if (HMODULE loaded = ::GetModuleHandleW(module)) return ::GetProcAddress(loaded, name) != nullptr;
  win32::Module library(::LoadLibraryExW(module, nullptr, LOAD_LIBRARY_SEARCH_SYSTEM32));
  return library && ::GetProcAddress(library.get(), name) != nullptr;
}

}  // namespace

bool IsFolder(const std::wstring& path) noexcept {
  if (path.empty()) return false;
  const BOOL answer = ::PathIsDirectoryW(path.c_str());
  return answer == FILE_ATTRIBUTE_DIRECTORY || answer == 1;
}

bool IsWin2K() noexcept {
  const auto version = win32::ReadWindowsVersion();
  return version && version->IsNtVersion(5, 0);
}
bool IsWinXP() noexcept {
  const auto version = win32::ReadWindowsVersion();
  return version && version->IsWindowsXp();
}

std::wstring GetThemeName() {
  if (!IsWinXP()) return L"None";
  const auto style = win32::CurrentVisualStyle();
  if (!style) return L"UxTheme_Error";
  return core::browse::ThemeNameFromScheme(style->colorScheme);
}

std::int32_t TranslateColor(std::int32_t color) noexcept {
  const auto rgb = win32::TranslateOleColour(static_cast<OLE_COLOR>(color));
  return rgb ? static_cast<std::int32_t>(*rgb) : -1;
}

std::wstring Version(bool withDateTime) {
  return withDateTime ? L"1.0.50 (10/28/2007 8:05:13 PM)" : L"1.0.50";
}

bool MouseLeaveTrackingAvailable() noexcept {
  return HasExport(L"user32.dll", "TrackMouseEvent") || HasExport(L"comctl32.dll", "_TrackMouseEvent");
}

std::wstring QualifyPath(const std::wstring& path) {
  return core::path::QualifyPath(path, [](const std::wstring& p) { return IsFolder(p); });
}

}  // namespace pravik::controls::browse
