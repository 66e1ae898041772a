#include <gtest/gtest.h>

#include <algorithm>

#include "core/shadow/shadow_strips.h"

namespace pravik::core::shadow {
namespace {

TEST(ShadowGeometry, StartMenuAtDepthFour) {
  // The start menu: 470 x 595 pixels at (100, 50), depth 4.
  EXPECT_EQ(RightStripRect(100, 50, 470, 595, 4), (StripRect{570, 54, 4, 595}));
  EXPECT_EQ(BottomStripRect(100, 50, 470, 595, 4), (StripRect{104, 645, 466, 4}));
}

std::uint8_t AlphaOf(std::uint32_t pixel) { return static_cast<std::uint8_t>(pixel >> 24); }

TEST(ShadowPixels, BottomStripRampsFromFormula) {
  const auto pixels = StripPixels(Strip::kBottom, 466, 4, 0, false);
  ASSERT_EQ(pixels.size(), 466u * 4u);
  struct Case { int i, j, alpha; } cases[] = {
      {0, 3, 0},      // left end fades in from nothing
      {1, 3, 47},     // r = 63, 63 * 3 \ 4
      {2, 2, 63},     // r = 127, 127 * 2 \ 4
      {3, 1, 47},     // r = 191, 191 \ 4
      {4, 3, 191},    // full ramp from column h on
      {465, 3, 191},  // densest row is next to the window (the top row)
      {200, 0, 0},    // clear at the lower edge
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "i=" << c.i << " j=" << c.j);
    EXPECT_EQ(AlphaOf(pixels[static_cast<std::size_t>(c.j * 466 + c.i)]), c.alpha);
  }
}

TEST(ShadowPixels, RightStripRampsFromFormula) {
  const auto pixels = StripPixels(Strip::kRight, 4, 595, 0, false);
  ASSERT_EQ(pixels.size(), 4u * 595u);
  struct Case { int i, j, alpha; } cases[] = {
      {0, 300, 255},  // next to the window, middle rows: full
      {3, 300, 63},   // fades to the right: (4 - 3) * 255 \ 4
      {0, 0, 0},      // lowest row (the corner) starts clear
      {0, 1, 63},     // r = 255 \ 4
      {1, 2, 95},     // r = 127, 3 * 127 \ 4
      {0, 590, 255},  // j < h - w
      {0, 591, 255},  // h - j = 4: 255
      {0, 594, 63},   // top row: (595 - 594) * 255 \ 4
      {2, 593, 63},   // r = 127, 2 * 127 \ 4
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "i=" << c.i << " j=" << c.j);
    EXPECT_EQ(AlphaOf(pixels[static_cast<std::size_t>(c.j * 4 + c.i)]), c.alpha);
  }
}

TEST(ShadowPixels, ColourIsPremultipliedByAlpha) {
  EXPECT_EQ(Premultiply(255, 128), 128);
  EXPECT_EQ(Premultiply(100, 140), 55);  // 54.9
  EXPECT_EQ(Premultiply(1, 128), 1);     // 0.502
  EXPECT_EQ(Premultiply(1, 127), 0);     // 0.498
  EXPECT_EQ(Premultiply(200, 0), 0);
  EXPECT_EQ(Premultiply(200, 255), 200);
  // 0x00BBGGRR in, 0xAARRGGBB out: red 0x40, green 0x80, blue 0xFF at the full middle of the right strip.
  const auto pixels = StripPixels(Strip::kRight, 4, 20, 0x00FF8040, false);
  EXPECT_EQ(pixels[10 * 4 + 0], 0xFF4080FFu);
  // Quarter alpha (63) at column 3.
  EXPECT_EQ(pixels[10 * 4 + 3], (63u << 24) | (std::uint32_t{Premultiply(0x40, 63)} << 16) |
                                    (std::uint32_t{Premultiply(0x80, 63)} << 8) | Premultiply(0xFF, 63));
}

TEST(ShadowPixels, LunaCutsTheTopRightCorner) {
  const auto plain = StripPixels(Strip::kRight, 4, 595, 0, false);
  const auto rounded = StripPixels(Strip::kRight, 4, 595, 0, true);
  int changed = 0;
  for (std::size_t k = 0; k < plain.size(); ++k) {
    if (plain[k] != rounded[k]) {
      ++changed;
      EXPECT_EQ(rounded[k], 0u);
    }
  }
  // 4 + 3 + 2 + 1 + 1: the fifth column of the top row lies outside a 4-pixel strip.
  EXPECT_EQ(changed, 11);
  // Top row (j = 594) loses all four; fourth and fifth rows only the rightmost.
  for (int i = 0; i < 4; ++i) EXPECT_EQ(rounded[594 * 4 + i], 0u);
  EXPECT_EQ(rounded[591 * 4 + 3], 0u);
  EXPECT_NE(rounded[591 * 4 + 2], 0u);
  EXPECT_EQ(rounded[590 * 4 + 3], 0u);
  EXPECT_NE(rounded[589 * 4 + 3], 0u);
  // The bottom strip never gets the corner.
  EXPECT_EQ(StripPixels(Strip::kBottom, 466, 4, 0, true), StripPixels(Strip::kBottom, 466, 4, 0, false));
}

TEST(ShadowPixels, DegenerateSizesGiveNoPixels) {
  EXPECT_TRUE(StripPixels(Strip::kRight, 0, 595, 0, true).empty());
  EXPECT_TRUE(StripPixels(Strip::kBottom, 466, 0, 0, false).empty());
  // A strip shorter than twice its width still stays within 0..255.
  const auto tiny = StripPixels(Strip::kRight, 7, 3, 0, true);
  EXPECT_EQ(tiny.size(), 21u);
  // Extreme window rectangles: no overflow, strips no larger than a screen, no huge buffers.
  const StripRect right = RightStripRect(INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX);
  EXPECT_EQ(right.x, INT32_MAX);
  EXPECT_LE(right.height, 1 << 15);
  const StripRect bottom = BottomStripRect(INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MAX);
  EXPECT_LE(bottom.width, 0);
  EXPECT_TRUE(StripPixels(Strip::kBottom, INT32_MAX, 4, 0, false).empty());
  EXPECT_EQ(RightStripAlpha(INT32_MIN, INT32_MAX - 1, INT32_MAX, INT32_MAX), 255);  // held to 255
  // Coordinates far outside a narrow strip: no ramp below zero that overflows the product.
  EXPECT_EQ(RightStripAlpha(INT32_MIN, INT32_MAX, 1, INT32_MIN), 0);
  EXPECT_EQ(BottomStripAlpha(INT32_MIN, INT32_MAX, 0, 1), 0);
}

TEST(ShadowCapability, PlatformAndDepth) {
  struct Case { const char* name; bool nt; unsigned major, minor; int bpp; bool capable, theme; } cases[] = {
      {"Windows 8, 32 bpp", true, 6, 2, 32, true, true},
      {"Windows 2000, 32 bpp", true, 5, 0, 32, true, false},
      {"16 bpp", true, 6, 2, 16, true, true},
      {"15 bpp", true, 6, 2, 15, false, true},
      {"8 bpp", true, 5, 1, 8, false, true},
      {"NT 4", true, 4, 0, 32, false, false},
      {"Windows 98", false, 4, 10, 32, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const Capability got = EvaluateCapability(c.nt, c.major, c.minor, c.bpp, false);
    EXPECT_EQ(got.capable, c.capable);
    EXPECT_EQ(got.themeMessages, c.theme);
  }
  EXPECT_TRUE(IsRoundedThemeName(L"Luna"));
  EXPECT_TRUE(IsRoundedThemeName(L"LUNA"));
  EXPECT_FALSE(IsRoundedThemeName(L"Lunar"));
  EXPECT_FALSE(IsRoundedThemeName(L""));
}

}  // namespace
}  // namespace pravik::core::shadow
