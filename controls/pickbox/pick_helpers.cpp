#include "controls/pickbox/pick_helpers.h"

#include <olectl.h>
#include <uxtheme.h>

#include "core/pickbox/pick_paths.h"
#include "win32/handles.h"

namespace pravik::controls::pickbox {

bool FileExists(const std::wstring& path) {
  if (path.empty()) return false;
  WIN32_FIND_DATAW found{};
  win32::FindHandle search(::FindFirstFileW(path.c_str(), &found));
  return search.valid() && found.dwFileAttributes != FILE_ATTRIBUTE_DIRECTORY;
}

std::wstring QualifyPath(const std::wstring& path) {
  return core::pickbox::QualifyPath(path, [](const std::wstring& p) { return FileExists(p); });
}

std::wstring TrimPathByLen(const std::wstring& text, int width, const std::wstring& replacement,
                           const std::wstring& fontName, int fontSize) {
  win32::WindowDc screen(nullptr);
  if (!screen.get()) return text;
  const int height = -::MulDiv(fontSize, ::GetDeviceCaps(screen.get(), LOGPIXELSY), 72);
  win32::Font font(::CreateFontW(height, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                               CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY, DEFAULT_PITCH, fontName.c_str()));
  win32::SelectScope select(screen.get(), font.get());
  return core::pickbox::TrimPathByLen(text, width, replacement, [&](const std::wstring& t) {
    SIZE size{};
    ::GetTextExtentPoint32W(screen.get(), t.c_str(), static_cast<int>(t.size()), &size);
    return static_cast<int>(size.cx);
  });
}

std::uint32_t TranslateColor(std::uint32_t color) {
  COLORREF out = 0;
  return SUCCEEDED(::OleTranslateColor(color, nullptr, &out)) ? out : 0xFFFFFFFFu;
}

bool IsWinXP() {
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExW(&version)) return false;
#pragma GCC diagnostic pop
  return version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion == 5 &&
         version.dwMinorVersion == 1 && version.dwBuildNumber >= 2600;
}

std::wstring CurrentColorScheme() {
  if (!::IsThemeActive()) return {};
  wchar_t scheme[256] = {};
  if (FAILED(::GetCurrentThemeName(nullptr, 0, scheme, 255, nullptr, 0))) return {};
  return scheme;
}

}  // namespace pravik::controls::pickbox
