#include "controls/browse/browse_platform.h"

#include <ole2.h>
#include <olectl.h>
#include <shlwapi.h>
#include <uxtheme.h>

#include "core/browse/border_theme.h"
#include "core/browse/qualify_path.h"
#include "win32/handles.h"

namespace pravik::controls::browse {
namespace {

bool VersionIs(DWORD major, DWORD minor, DWORD minBuild) noexcept {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof(info);
  if (!::GetVersionExW(&info)) return false;
  return info.dwPlatformId == VER_PLATFORM_WIN32_NT && info.dwMajorVersion == major &&
         info.dwMinorVersion == minor && info.dwBuildNumber >= minBuild;
}

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

bool IsWin2K() noexcept { return VersionIs(5, 0, 0); }
bool IsWinXP() noexcept { return VersionIs(5, 1, 2600); }

std::wstring GetThemeName() {
  if (!IsWinXP()) return L"None";
  wchar_t file[256] = {}, scheme[256] = {};
  if (FAILED(::GetCurrentThemeName(file, 255, scheme, 255, nullptr, 0))) return L"UxTheme_Error";
  return core::browse::ThemeNameFromScheme(std::wstring_view(scheme, 255));
}

std::int32_t TranslateColor(std::int32_t color) noexcept {
  COLORREF out = 0;
  if (FAILED(::OleTranslateColor(static_cast<OLE_COLOR>(color), nullptr, &out))) return -1;
  return static_cast<std::int32_t>(out);
}

std::wstring Version(bool withDateTime) {
  return withDateTime ? L"1.0.50 (10/28/2007 8:05:13 PM)" : L"1.0.50";
}

bool MouseLeaveTrackingAvailable() noexcept {
  return HasExport(L"user32.dll", "TrackMouseEvent") || HasExport(L"comctl32.dll", "_TrackMouseEvent");
}

std::wstring QualifyPath(const std::wstring& path) {
  return core::browse::QualifyPath(path, [](const std::wstring& p) { return IsFolder(p); });
}

}  // namespace pravik::controls::browse
