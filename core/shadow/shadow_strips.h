#pragma once
// The drop shadow's two strips as pure arithmetic: where they sit beside the target window and
// the premultiplied pixels of each. The window side only hands these to the platform.
#include <cstdint>
#include <string_view>
#include <vector>

namespace pravik::core::shadow {

enum class Strip { kRight, kBottom };

struct StripRect {
  std::int32_t x = 0, y = 0, width = 0, height = 0;
  bool operator==(const StripRect&) const = default;
};

// For a target at (x, y) with outer size cx x cy: the right strip starts `depth` below the top
// and reaches `depth` below the bottom edge (it covers the corner); the bottom strip starts
// `depth` right of the left edge and ends at the right edge.
StripRect RightStripRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy, std::int32_t depth);
StripRect BottomStripRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy, std::int32_t depth);

// Alpha of one pixel of a w x h strip; column i from the left, row j from the bottom (j = 0).
std::uint8_t BottomStripAlpha(std::int32_t i, std::int32_t j, std::int32_t w, std::int32_t h);
std::uint8_t RightStripAlpha(std::int32_t i, std::int32_t j, std::int32_t w, std::int32_t h);

// One colour channel scaled by alpha, rounded to the nearest (255 is odd, so no exact halves).
std::uint8_t Premultiply(std::uint8_t channel, std::uint8_t alpha);

// The strip's 32-bit pixels as a bottom-up image (index j * w + i), each 0xAARRGGBB with the
// colour premultiplied. `color` is 0x00BBGGRR. With `rounded` (the "Luna" visual style) the
// right strip's top-right corner is cut away.
std::vector<std::uint32_t> StripPixels(Strip strip, std::int32_t w, std::int32_t h, std::uint32_t color, bool rounded);

// Whether the visual style's theme name asks for the rounded corner ("Luna", any letter case).
bool IsRoundedThemeName(std::wstring_view themeName);

struct Capability {
  bool capable = false;        // layered shadows are possible
  bool themeMessages = false;  // the theme-change message is watched
};
// NT family 5.0 or later with more than 15 bits per pixel; theme messages from minor version 1 on.
// Before 5.0 the theme flag keeps its earlier value, as does the rounded flag the caller holds.
Capability EvaluateCapability(bool ntFamily, std::uint32_t major, std::uint32_t minor, std::int32_t bitsPerPixel,
                              bool themeMessagesBefore);

}  // namespace pravik::core::shadow
