#include <gtest/gtest.h>

#include <cmath>

#include "core/geometry/rounding.h"
#include "core/geometry/taskbar.h"

namespace pravik::core::geometry {
namespace {

TEST(Rounding, HalvesGoToEven) {
  EXPECT_EQ(RoundHalfEven(22.5), 22);
  EXPECT_EQ(RoundHalfEven(23.5), 24);
  EXPECT_EQ(RoundHalfEven(-390.0), -390);
  EXPECT_EQ(RoundHalfEven(-2.5), -2);
  EXPECT_EQ(RoundHalfEven(2.4999), 2);
  EXPECT_EQ(TwipsToPixels(585, 15), 39);
  EXPECT_EQ(TwipsToPixels(45, 2), 22);   // 22.5
  EXPECT_EQ(TwipsToPixels(47, 2), 24);   // 23.5
  EXPECT_EQ(TwipsToPixels(1425, 15), 95);
  // Nothing a cast to int cannot hold reaches one.
  EXPECT_EQ(RoundHalfEven(std::nan("")), 0);
  EXPECT_EQ(RoundHalfEven(1e300), INT32_MAX);
  EXPECT_EQ(RoundHalfEven(-1e300), INT32_MIN);
  EXPECT_EQ(TwipsToPixels(100, 0.0), INT32_MAX);
}

// 1366 x 768 pixels at 15 twips per pixel: SW 20490, SH 11520; the start button is 585 x 1425.
constexpr ScreenMetrics kScreen{20490, 11520, 15, 15};

struct PlacementCase {
  const char* name;
  PixelRect taskbar;
  std::int32_t corner;
  TaskbarEdge edge;
  double top, left;
};

TEST(Placement, TaskbarOnEachEdge) {
  const PlacementCase cases[] = {
      {"bottom", {0, 728, 1366, 768}, 3, TaskbarEdge::Bottom, 9495, 0},
      {"left", {0, 0, 60, 768}, 3, TaskbarEdge::Left, 10095, 900},
      {"top", {0, 0, 1366, 40}, 3, TaskbarEdge::Top, 10095, 0},
      {"right", {1306, 0, 1366, 768}, 3, TaskbarEdge::Right, 10095, 0},
      {"right, bottom-right corner", {1306, 0, 1366, 768}, 4, TaskbarEdge::Right, 10095, 19005},
      {"top, top-left corner", {0, 0, 1366, 40}, 1, TaskbarEdge::Top, 600, 0},
      {"left, top-right corner", {0, 0, 60, 768}, 2, TaskbarEdge::Left, 0, 20490 - 585},
      {"no taskbar rectangle", {0, 0, 0, 0}, 3, TaskbarEdge::None, 10095, 0},
      {"partial strip", {100, 728, 900, 768}, 3, TaskbarEdge::None, 10095, 0},
      // Wine's shell answers a 1-pixel strip at the bottom: it still counts as a bottom taskbar.
      {"wine strip", {0, 767, 1366, 768}, 3, TaskbarEdge::Bottom, 11520 - 1425 - 15, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(DeriveTaskbarEdge(c.taskbar, kScreen), c.edge);
    auto p = PlaceInCorner(c.corner, c.taskbar, kScreen, 585, 1425);
    ASSERT_TRUE(p.has_value());
    EXPECT_DOUBLE_EQ(p->top, c.top);
    EXPECT_DOUBLE_EQ(p->left, c.left);
  }
}

TEST(Placement, CornerOutsideRangeLeavesWindow) {
  EXPECT_FALSE(PlaceInCorner(0, {0, 728, 1366, 768}, kScreen, 585, 1425));
  EXPECT_FALSE(PlaceInCorner(5, {0, 728, 1366, 768}, kScreen, 585, 1425));
}

TEST(Placement, BottomEdgeIsTestedWithHorizontalFactor) {
  // Vertical factor differs: the left-edge test converts r.bottom with the horizontal factor.
  const ScreenMetrics odd{20490, 768 * 12.0, 15, 12};
  EXPECT_EQ(DeriveTaskbarEdge({0, 0, 60, 768}, odd), TaskbarEdge::None);
  const ScreenMetrics fitting{20490, 768 * 15.0, 15, 12};
  EXPECT_EQ(DeriveTaskbarEdge({0, 0, 60, 768}, fitting), TaskbarEdge::Left);
}

}  // namespace
}  // namespace pravik::core::geometry
