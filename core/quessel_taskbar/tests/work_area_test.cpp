#include "core/quessel_taskbar/work_area.h"

#include <gtest/gtest.h>

namespace pravik::core::quessel_taskbar {
namespace {

struct Case {
  const char* name;
  TaskbarRect bar;
  TaskbarScreen screen;
  TaskbarWorkArea expected;
};

TEST(TaskbarWorkArea, EdgesAndUnrecognisedRectangles) {
  const TaskbarScreen hd{1920, 1080, 15, 15};
  const Case cases[] = {
      {"bottom 40", {0, 1040, 1920, 1080}, hd, {kTaskbarBottom, 0, 0, 1920, 1040}},
      {"top 40", {0, 0, 1920, 40}, hd, {kTaskbarTop, 0, 40, 1920, 1040}},
      {"left 62", {0, 0, 62, 1080}, hd, {kTaskbarLeft, 62, 0, 1858, 1080}},
      {"right 62", {1858, 0, 1920, 1080}, hd, {kTaskbarRight, 0, 0, 1858, 1080}},
      {"auto-hidden strip", {0, 1078, 1900, 1080}, hd, {}},
      {"floating", {100, 100, 300, 300}, hd, {}},
      {"wine strip", {0, 767, 1366, 768}, {1366, 768, 15, 15}, {kTaskbarBottom, 0, 0, 1366, 767}},
      // 120 dots per inch: t = 12, S(1920) = 1536, which no longer equals the width.
      {"bottom at 120 dpi", {0, 1040, 1920, 1080}, {1920, 1080, 12, 12}, {}},
      {"left at 120 dpi", {0, 0, 62, 1080}, {1920, 1080, 12, 12}, {}},
      // A horizontal factor that still matches while the vertical one scales the height.
      {"top, other vertical factor", {0, 0, 1920, 45}, {1920, 1080, 15, 10}, {kTaskbarTop, 0, 30, 1920, 1050}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const TaskbarWorkArea a = ComputeTaskbarWorkArea(c.bar, c.screen);
    EXPECT_EQ(a.type, c.expected.type);
    EXPECT_EQ(a.left, c.expected.left);
    EXPECT_EQ(a.top, c.expected.top);
    EXPECT_EQ(a.width, c.expected.width);
    EXPECT_EQ(a.height, c.expected.height);
  }
}

TEST(TaskbarWorkArea, VerticalTestUsesHorizontalFactorForBottom) {
  // Only the horizontal factor makes S(B) equal the height here; the vertical one would not.
  const TaskbarWorkArea a = ComputeTaskbarWorkArea({0, 0, 62, 1080}, {1920, 1080, 15, 12});
  EXPECT_EQ(a.type, kTaskbarLeft);
  const TaskbarWorkArea b = ComputeTaskbarWorkArea({0, 0, 62, 1080}, {1920, 1080, 12, 15});
  EXPECT_EQ(b.type, kTaskbarTop);
  EXPECT_EQ(b.height, 0);
}

TEST(TaskbarWorkArea, HalvesRoundToEven) {
  // t = 7.5: S(1) = 0.5 -> 0, S(3) = 1.5 -> 2, with a screen sized to pass the edge test.
  EXPECT_EQ(ComputeTaskbarWorkArea({0, 0, 30, 1}, {15, 100, 7.5, 7.5}).top, 0);
  EXPECT_EQ(ComputeTaskbarWorkArea({0, 0, 30, 3}, {15, 100, 7.5, 7.5}).top, 2);
}

TEST(TaskbarWorkArea, ExtremeRectanglesDoNotOverflow) {
  const TaskbarWorkArea bottom = ComputeTaskbarWorkArea({0, INT32_MIN, 1366, INT32_MAX}, {1366, 768, 15, 15});
  EXPECT_EQ(bottom.type, kTaskbarBottom);
  EXPECT_EQ(bottom.height, INT32_MIN);  // 768 - (2^32 - 1): held to the range
  const TaskbarWorkArea right = ComputeTaskbarWorkArea({INT32_MIN, 0, INT32_MAX, 768}, {1366, 768, 15, 15});
  EXPECT_EQ(right.type, kTaskbarRight);
  EXPECT_EQ(right.width, INT32_MIN);
}

}  // namespace
}  // namespace pravik::core::quessel_taskbar
