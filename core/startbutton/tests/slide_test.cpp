#include <gtest/gtest.h>

#include <vector>

#include "core/startbutton/slide.h"

namespace pravik::core::startbutton {
namespace {

TEST(Slide, HiddenPosition) {
  EXPECT_EQ(HiddenLeft(585), -390);
  EXPECT_EQ(HiddenLeft(600), -400);
  EXPECT_EQ(HiddenLeft(3.75), -2);  // -2.5 goes to the even -2
  EXPECT_EQ(HiddenLeft(5.25), -4);  // -3.5 goes to the even -4
}

TEST(Slide, OutFromShownTakesTwentyOneTicks) {
  float left = 0;
  std::vector<float> seen;
  int ticks = 0;
  for (;;) {
    const SlideTick t = SlideOutTick(left, 585);
    ++ticks;
    left = t.left;
    seen.push_back(left);
    EXPECT_FALSE(t.stopMoveView);
    if (t.stopMove) break;
    ASSERT_LT(ticks, 100);
  }
  EXPECT_EQ(ticks, 21);
  ASSERT_EQ(seen.size(), 21u);
  EXPECT_EQ(seen.front(), -20);
  EXPECT_EQ(seen[18], -380);
  EXPECT_EQ(seen[19], -400);
  EXPECT_EQ(seen[20], -390);
  // Already hidden: the first tick settles and stops.
  const SlideTick again = SlideOutTick(-390, 585);
  EXPECT_TRUE(again.stopMove);
  EXPECT_EQ(again.left, -390);
}

TEST(Slide, InFromHiddenTakesTwentyOneTicks) {
  float left = -390;
  std::vector<float> seen;
  int ticks = 0;
  for (;;) {
    const SlideTick t = SlideInTick(left);
    ++ticks;
    left = t.left;
    seen.push_back(left);
    if (t.stopMoveView) break;
    EXPECT_TRUE(t.stopMove);  // every step cancels a slide-out
    ASSERT_LT(ticks, 100);
  }
  EXPECT_EQ(ticks, 21);
  EXPECT_EQ(seen.front(), -370);
  EXPECT_EQ(seen[18], -10);
  EXPECT_EQ(seen[19], 10);
  EXPECT_EQ(seen[20], 0);
}

TEST(Slide, InAtZeroOrRightOfItStops) {
  SlideTick atZero = SlideInTick(0);
  EXPECT_TRUE(atZero.stopMoveView);
  EXPECT_EQ(atZero.left, 0);
  // A taskbar at the left placed the button at 900: the first slide-in tick pulls it to 0.
  SlideTick right = SlideInTick(900);
  EXPECT_TRUE(right.stopMoveView);
  EXPECT_EQ(right.left, 0);
}

// The start-up race: both timers run at 50 ms; whichever ticks first decides.
TEST(Slide, StartUpRace) {
  // timMoveView first, with Left = 0: it stops, and timMove carries the button out.
  {
    float left = 0;
    bool move = true, view = true;
    SlideTick t = SlideInTick(left);
    left = t.left;
    view = !t.stopMoveView;
    EXPECT_FALSE(view);
    int ticks = 0;
    while (move) {
      t = SlideOutTick(left, 585);
      left = t.left;
      move = !t.stopMove;
      ++ticks;
    }
    EXPECT_EQ(left, -390);
    EXPECT_EQ(ticks, 21);
  }
  // timMove first: it steps to -20; timMoveView steps back to 0, stops timMove, then stops itself.
  {
    float left = 0;
    SlideTick t = SlideOutTick(left, 585);
    left = t.left;
    EXPECT_EQ(left, -20);
    t = SlideInTick(left);
    left = t.left;
    EXPECT_TRUE(t.stopMove);
    EXPECT_FALSE(t.stopMoveView);
    t = SlideInTick(left);
    EXPECT_TRUE(t.stopMoveView);
    EXPECT_EQ(t.left, 0);
  }
}

}  // namespace
}  // namespace pravik::core::startbutton
