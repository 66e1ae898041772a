#include "controls/pickbox/pick_helpers.h"

#include <uxtheme.h>

#include "core/path/qualify_path.h"
#include "core/pickbox/pick_paths.h"
#include "win32/handles.h"
#include "win32/ole_colour.h"
#include "win32/os_version.h"
#include "win32/visual_style.h"

namespace pravik::controls::pickbox {

bool FileExists(const std::wstring& path) {
  if (path.empty()) return false;
  WIN32_FIND_DATAW found{};
  win32::FindHandle search(::FindFirstFileW(path.c_str(), &found));
  return search.valid() && found.dwFileAttributes != FILE_ATTRIBUTE_DIRECTORY;
}

std::wstring QualifyPath(const std::wstring& path) {
  // Anything that is not an existing file is taken for a folder.
  return core::path::QualifyPath(path, [](const std::wstring& p) { return !FileExists(p); });
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
  return win32::TranslateOleColour(color).value_or(0xFFFFFFFFu);
}

bool IsWinXP() {
  const auto version = win32::ReadWindowsVersion();
  return version && version->IsWindowsXp();
}

std::wstring CurrentColorScheme() {
  if (!::IsThemeActive()) return {};
  const auto style = win32::CurrentVisualStyle();
  return style ? style->colorScheme : std::wstring();
}

}  // namespace pravik::controls::pickbox
