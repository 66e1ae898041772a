#include "win32/visual_style.h"

#include <windows.h>
#include <uxtheme.h>

namespace pravik::win32 {

std::optional<VisualStyle> CurrentVisualStyle() {
  wchar_t file[MAX_PATH] = {}, scheme[256] = {};
  if (FAILED(::GetCurrentThemeName(file, MAX_PATH, scheme, 256, nullptr, 0))) return std::nullopt;
  return VisualStyle{file, scheme};
}

std::wstring VisualStyleName(const std::wstring& file) {
  wchar_t name[256] = {};
  if (FAILED(::GetThemeDocumentationProperty(file.c_str(), L"ThemeName", name, 256))) return {};
  return name;
}

}  // namespace pravik::win32
