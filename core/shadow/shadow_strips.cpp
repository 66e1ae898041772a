#include "core/shadow/shadow_strips.h"

#include <algorithm>
#include <climits>
#include <cwctype>

namespace pravik::core::shadow {

namespace {

// Window rectangles come from the platform and may be extreme: the sums are made in 64 bits and
// held to the 32-bit range, and a strip is never larger than a screen could show.
constexpr std::int64_t kMaxSide = 1 << 15;
std::int32_t Clamp32(std::int64_t v) {
  return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, INT32_MAX));
}
std::int32_t Side(std::int64_t v) { return static_cast<std::int32_t>(std::clamp<std::int64_t>(v, INT32_MIN, kMaxSide)); }

}  // namespace

StripRect RightStripRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy, std::int32_t depth) {
  return {Clamp32(std::int64_t{x} + cx), Clamp32(std::int64_t{y} + depth), Side(depth), Side(cy)};
}

StripRect BottomStripRect(std::int32_t x, std::int32_t y, std::int32_t cx, std::int32_t cy, std::int32_t depth) {
  return {Clamp32(std::int64_t{x} + depth), Clamp32(std::int64_t{y} + cy), Side(std::int64_t{cx} - depth), Side(depth)};
}

std::uint8_t BottomStripAlpha(std::int32_t i, std::int32_t j, std::int32_t, std::int32_t h) {
  if (h <= 0) return 0;
  // Held to 0..255 so that coordinates outside the strip cannot overflow the product below.
  const std::int64_t ramp = i < h ? std::clamp<std::int64_t>(std::int64_t{i} * 255 / h, 0, 255) : 255;
  return static_cast<std::uint8_t>(std::clamp<std::int64_t>(ramp * j / h, 0, 255));
}

std::uint8_t RightStripAlpha(std::int32_t i, std::int32_t j, std::int32_t w, std::int32_t h) {
  if (w <= 0) return 0;
  std::int64_t ramp;
  if (j < w) {
    ramp = std::int64_t{j} * 255 / w;
  } else if (j < std::int64_t{h} - w) {
    ramp = 255;
  } else {
    ramp = (std::int64_t{h} - j) * 255 / w;
  }
  ramp = std::clamp<std::int64_t>(ramp, 0, 255);  // as in the bottom strip: no overflow outside the strip
  return static_cast<std::uint8_t>(std::clamp<std::int64_t>((std::int64_t{w} - i) * ramp / w, 0, 255));
}

std::uint8_t Premultiply(std::uint8_t channel, std::uint8_t alpha) {
  return static_cast<std::uint8_t>((2 * channel * alpha + 255) / 510);
}

namespace {

// Transparent pixels of the rounded corner: per row from the top, how many columns from the right.
constexpr std::int32_t kCornerCut[] = {5, 3, 2, 1, 1};

void CutRoundedCorner(std::vector<std::uint32_t>& pixels, std::int32_t w, std::int32_t h) {
  for (std::int32_t row = 0; row < 5 && row < h; ++row) {
    const std::int32_t j = h - 1 - row;  // bottom-up storage
    for (std::int32_t col = 0; col < kCornerCut[row] && col < w; ++col) {
      pixels[static_cast<std::size_t>(j) * static_cast<std::size_t>(w) + static_cast<std::size_t>(w - 1 - col)] = 0;
    }
  }
}

}  // namespace

std::vector<std::uint32_t> StripPixels(Strip strip, std::int32_t w, std::int32_t h, std::uint32_t color, bool rounded) {
  if (w <= 0 || h <= 0 || w > kMaxSide || h > kMaxSide) return {};
  const auto red = static_cast<std::uint8_t>(color & 0xFF);
  const auto green = static_cast<std::uint8_t>((color >> 8) & 0xFF);
  const auto blue = static_cast<std::uint8_t>((color >> 16) & 0xFF);
  std::vector<std::uint32_t> pixels(static_cast<std::size_t>(w) * static_cast<std::size_t>(h));
  for (std::int32_t j = 0; j < h; ++j) {
    for (std::int32_t i = 0; i < w; ++i) {
      const std::uint8_t a = strip == Strip::kBottom ? BottomStripAlpha(i, j, w, h) : RightStripAlpha(i, j, w, h);
      pixels[static_cast<std::size_t>(j) * static_cast<std::size_t>(w) + static_cast<std::size_t>(i)] = (std::uint32_t{a} << 24) |
                                                    (std::uint32_t{Premultiply(red, a)} << 16) |
                                                    (std::uint32_t{Premultiply(green, a)} << 8) |
                                                    std::uint32_t{Premultiply(blue, a)};
    }
  }
  if (strip == Strip::kRight && rounded) CutRoundedCorner(pixels, w, h);
  return pixels;
}

bool IsRoundedThemeName(std::wstring_view themeName) {
  constexpr std::wstring_view kLuna = L"luna";
  if (themeName.size() != kLuna.size()) return false;
  for (std::size_t k = 0; k < kLuna.size(); ++k) {
    if (static_cast<wchar_t>(std::towlower(static_cast<wint_t>(themeName[k]))) != kLuna[k]) return false;
  }
  return true;
}

Capability EvaluateCapability(bool ntFamily, std::uint32_t major, std::uint32_t minor, std::int32_t bitsPerPixel,
                              bool themeMessagesBefore) {
  Capability result;
  result.themeMessages = themeMessagesBefore;
  if (!ntFamily || major < 5) return result;
  if (minor > 0) result.themeMessages = true;
  result.capable = bitsPerPixel > 15;
  return result;
}

}  // namespace pravik::core::shadow
