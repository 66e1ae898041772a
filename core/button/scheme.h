#pragma once
// How ButtonStyle and ColorScheme set the face colour and the style's other defaults.
#include <optional>

#include "core/button/colour.h"

namespace pravik::core::button {

constexpr int kStyleCount = 14;
constexpr int kCustomScheme = 3;

// The scheme a newly chosen style starts with (styles 5 and 11 to 13 keep the current one).
int SchemeAfterStyleChange(int style, int currentScheme) noexcept;

struct SchemeResult {
  std::optional<Colour> backColor;  // empty: BackColor unchanged
  Colour foreColor = 0;
  bool showFocusRect = false;
  bool picturePushOnHover = false;  // only ever switched on (style 4)
};
SchemeResult ApplyScheme(int style, int scheme, Colour systemButtonFace, Colour systemButtonText) noexcept;

// Style 4's fill and border colours by scheme.
struct FlatColours {
  Colour fill;
  Colour border;
};
FlatColours FlatSchemeColours(int scheme, Colour base) noexcept;

}  // namespace pravik::core::button
