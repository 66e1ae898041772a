#include <gtest/gtest.h>

#include <climits>

#include "core/button/colour.h"
#include "core/button/pixels.h"

namespace pravik::core::button {
namespace {

TEST(ButtonColour, ShiftRoundsAndLimitsBySign) {
  struct Case {
    Colour in;
    double a;
    Colour want;
  } cases[] = {
      {Hex(0x00B0F0), -0.12, Hex(0x0091D1)},  // 240 - 30.6 = 209.4 -> 209; 0 stays at 0
      {Hex(0xF0F0F0), 0.1, Hex(0xFFFFFF)},    // limited to 255
      {Hex(0x102030), 0.03, Hex(0x182838)},   // 7.65 -> 8
      {Hex(0x000000), -0.5, Hex(0x000000)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << std::hex << c.in << " by " << c.a);
    EXPECT_EQ(Shift(c.in, c.a), c.want);
  }
}

TEST(ButtonColour, MixRoundsHalvesToEven) {
  // (1 + 2) / 2 = 1.5 -> 2; (2 + 3) / 2 = 2.5 -> 2
  EXPECT_EQ(Mix(Rgb(1, 2, 255), Rgb(2, 3, 0)), Rgb(2, 2, 128));
  EXPECT_EQ(ToPixel(Hex(0x123456)), 0x123456u);
  EXPECT_EQ(FromPixel(0x123456u), Hex(0x123456));
}

TEST(ButtonGradient, OnePixelWidePaintsTheHalfSum) {
  PixelBuffer buf(3, 2, 0);
  auto v = buf.View();
  Gradient(v, 1, 0, 1, 2, Rgb(11, 100, 255), Rgb(20, 51, 1), 0);
  // 11/2 + 20/2 = 5 + 10; 100/2 + 51/2 = 50 + 25; 255/2 + 1/2 = 127 + 0
  EXPECT_EQ(buf.ColourAt(1, 0), Rgb(15, 75, 127));
  EXPECT_EQ(buf.ColourAt(1, 1), Rgb(15, 75, 127));
  EXPECT_EQ(buf.ColourAt(0, 0), 0u);
  EXPECT_EQ(buf.ColourAt(2, 1), 0u);
}

TEST(ButtonGradient, DirectionsUseTheRampByColumnRowAndDiagonal) {
  const Colour a = Rgb(0, 0, 0), b = Rgb(30, 60, 90);
  for (int dir = 0; dir < 4; ++dir) {
    SCOPED_TRACE(dir);
    PixelBuffer buf(4, 3, 0);
    auto v = buf.View();
    Gradient(v, 0, 0, 4, 3, a, b, dir);
    const int n = dir == 0 ? 3 : dir == 1 ? 2 : 5;
    const auto ramp = GradientRamp(a, b, n);
    for (int y = 0; y < 3; ++y) {
      for (int x = 0; x < 4; ++x) {
        const int i = dir == 0 ? x : dir == 1 ? y : dir == 2 ? x + y : x + (2 - y);
        EXPECT_EQ(buf.ColourAt(x, y), ramp[i]) << x << "," << y;
      }
    }
  }
  // The step truncates toward zero, descending too: 90 + trunc(-90 * 1 / 4) = 90 - 22
  EXPECT_EQ(GradientRamp(Rgb(90, 0, 0), Rgb(0, 0, 0), 4)[1], Rgb(68, 0, 0));
}

TEST(ButtonPrimitives, FrameLineAndCornersStayInsideAndExcludeEnds) {
  PixelBuffer buf(6, 5, 0);
  auto v = buf.View();
  Frame(v, 0, 0, 6, 5, kWhite);
  EXPECT_EQ(buf.ColourAt(5, 4), kWhite);
  EXPECT_EQ(buf.ColourAt(2, 2), 0u);
  Line(v, 1, 2, 4, 2, Rgb(1, 1, 1));
  EXPECT_EQ(buf.ColourAt(3, 2), Rgb(1, 1, 1));
  EXPECT_EQ(buf.ColourAt(4, 2), 0u);  // end point not drawn
  Corners(v, Rgb(9, 9, 9));
  EXPECT_EQ(buf.ColourAt(1, 1), Rgb(9, 9, 9));
  EXPECT_EQ(buf.ColourAt(4, 3), Rgb(9, 9, 9));
  // Far outside the buffer: clipped, no write out of bounds.
  Fill(v, {-100, -100, 100, 100}, Rgb(2, 2, 2));
  Gradient(v, -50, -50, 200, 200, kBlack, kWhite, 2);
  Line(v, -10, -10, 20, 20, kWhite);
  // Extreme sizes and places: clipped, bounded, no overflow (checked under the sanitizers).
  for (int dir = 0; dir < 4; ++dir) {
    Gradient(v, INT_MIN, INT_MIN, INT_MAX, INT_MAX, kBlack, kWhite, dir);
    Gradient(v, 2, 2, INT_MAX, INT_MAX, kBlack, kWhite, dir);
  }
  Line(v, INT_MIN, INT_MIN, INT_MAX, INT_MAX, kWhite);
  Frame(v, INT_MAX, INT_MAX, INT_MAX, INT_MAX, kWhite);  // found by fuzzing
  // Found by fuzzing: a buffer with no columns and a fill far to the right forms no pointer.
  PixelBuffer noColumns(0, 64);
  auto empty = noColumns.View();
  Fill(empty, {INT_MAX - 1, 0, INT_MAX, 64}, kWhite);
  const auto ramp = GradientRamp(kBlack, kWhite, INT_MAX);
  EXPECT_EQ(ramp.size(), static_cast<std::size_t>(kMaxRampSteps) + 1);
  EXPECT_EQ(ramp.back(), kWhite);
}

TEST(ButtonPrimitives, EdgeHasLightTopLeftAndDarkBottomRight) {
  SystemColours sys;
  PixelBuffer buf(5, 5, 0);
  auto v = buf.View();
  Edge(v, {0, 0, 5, 5}, EdgeKind::Raised, sys);
  EXPECT_EQ(buf.ColourAt(0, 0), sys.light3d);
  EXPECT_EQ(buf.ColourAt(4, 4), sys.darkShadow3d);
  EXPECT_EQ(buf.ColourAt(4, 0), sys.darkShadow3d);
  EXPECT_EQ(buf.ColourAt(1, 1), sys.highlight3d);
  EXPECT_EQ(buf.ColourAt(3, 3), sys.shadow3d);
  Edge(v, {0, 0, 5, 5}, EdgeKind::Sunken, sys);
  EXPECT_EQ(buf.ColourAt(0, 0), sys.shadow3d);
  EXPECT_EQ(buf.ColourAt(1, 1), sys.darkShadow3d);
}

}  // namespace
}  // namespace pravik::core::button
