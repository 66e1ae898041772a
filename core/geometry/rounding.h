#pragma once
#include <cstdint>

namespace pravik::core::geometry {

// Conversions to whole numbers round to the nearest integer, halves to the even one
// (22.5 -> 22, 23.5 -> 24), as the stored layouts and the slide arithmetic expect. NaN gives 0
// and values past the 32-bit range give its nearest end.
std::int32_t RoundHalfEven(double value);

// Pixels from twips with the axis's twips-per-pixel factor (15 at 96 dots per inch).
std::int32_t TwipsToPixels(std::int32_t twips, double twipsPerPixel);

}  // namespace pravik::core::geometry
