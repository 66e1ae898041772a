#include "core/browse/border_theme.h"

namespace pravik::core::browse {

std::int32_t AppearanceForTheme(std::wstring_view themeName, std::int32_t theme, std::int32_t appearance) {
  if (themeName == L"None" || theme == kThemeClassic) return kAppearance3D;
  if (theme != kThemeNone) return kAppearanceFlat;
  return appearance;
}

std::uint32_t BorderColor(std::int32_t theme, std::wstring_view themeName, bool enabled) {
  if (!enabled) return kDisabledBorderColor;
  switch (theme) {
    case kThemeAuto:
      if (themeName == L"None") return 0x00000000;
      if (themeName == L"NormalColor" || themeName == L"Metallic") return 0x00B99D7F;
      if (themeName == L"HomeStead") return 0x0069A18B;
      return 0;
    case kThemeClassic: return 0x00000000;
    case kThemeBlue: return 0x00B99D7F;
    case kThemeHomeStead: return 0x0069A18B;
    case kThemeMetallic: return 0x00B99D7F;
    default: return 0;
  }
}

std::wstring ThemeNameFromScheme(std::wstring_view scheme) {
  std::wstring name;
  for (wchar_t c : scheme)
    if (c != L'\0') name += c;
  if (name.find_first_not_of(L" \t") == std::wstring::npos) return L"None";
  return name;
}

}  // namespace pravik::core::browse
