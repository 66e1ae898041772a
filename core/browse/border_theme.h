#pragma once
// The control's colour schemes: which border style a scheme forces, and the flat border's colour.
#include <cstdint>
#include <string>
#include <string_view>

namespace pravik::core::browse {

enum BrowseTheme : std::int32_t { kThemeAuto = 0, kThemeClassic = 1, kThemeBlue = 2, kThemeHomeStead = 3, kThemeMetallic = 4, kThemeNone = 5 };

constexpr std::int32_t kAppearanceFlat = 0;
constexpr std::int32_t kAppearance3D = 1;
constexpr std::uint32_t kDisabledBorderColor = 0x00C0C0C0;

// The Appearance a refresh leaves: 3D without a visual style or under Classic, flat under any
// other scheme but None, and the requested one under None.
std::int32_t AppearanceForTheme(std::wstring_view themeName, std::int32_t theme, std::int32_t appearance);

// &H00BBGGRR colour of the flat border; 0 where a scheme has no colour of its own.
std::uint32_t BorderColor(std::int32_t theme, std::wstring_view themeName, bool enabled);

// The visual style's colour-scheme name as the platform reported it: nulls removed, "None" when
// nothing else is left.
std::wstring ThemeNameFromScheme(std::wstring_view scheme);

}  // namespace pravik::core::browse
