#pragma once
// Colour arithmetic of the image button on OLE colours (0x00BBGGRR). Pixel buffers hold the
// device-independent order 0x00RRGGBB; ToPixel/FromPixel convert between the two.
#include <cstdint>

namespace pravik::core::button {

using Colour = std::uint32_t;  // OLE colour, 0x00BBGGRR
using Pixel = std::uint32_t;   // DIB pixel, 0x00RRGGBB

constexpr Colour Rgb(int r, int g, int b) noexcept {
  return static_cast<Colour>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
// Written #RRGGBB in the design, so constants read the same way here.
constexpr Colour Hex(std::uint32_t rrggbb) noexcept {
  return Rgb(static_cast<int>((rrggbb >> 16) & 0xFF), static_cast<int>((rrggbb >> 8) & 0xFF),
             static_cast<int>(rrggbb & 0xFF));
}
constexpr int Red(Colour c) noexcept { return static_cast<int>(c & 0xFF); }
constexpr int Green(Colour c) noexcept { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int Blue(Colour c) noexcept { return static_cast<int>((c >> 16) & 0xFF); }

constexpr Pixel ToPixel(Colour c) noexcept {
  return static_cast<Pixel>((Red(c) << 16) | (Green(c) << 8) | Blue(c));
}
constexpr Colour FromPixel(Pixel p) noexcept {
  return Rgb(static_cast<int>((p >> 16) & 0xFF), static_cast<int>((p >> 8) & 0xFF), static_cast<int>(p & 0xFF));
}

constexpr Colour kWhite = Rgb(255, 255, 255);
constexpr Colour kBlack = Rgb(0, 0, 0);

// Each channel v becomes round(v + a * 255), limited to 255 when a > 0 and to 0 otherwise.
Colour Shift(Colour c, double a) noexcept;
// Each channel becomes round((u + v) / 2).
Colour Mix(Colour c1, Colour c2) noexcept;

// True when the value names a system colour (top bit set, 0x800000nn).
constexpr bool IsSystemColour(std::uint32_t ole) noexcept { return (ole & 0x80000000u) != 0; }

}  // namespace pravik::core::button
