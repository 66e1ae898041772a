#include <gtest/gtest.h>

#include "core/geometry/display_scale.h"
#include "core/geometry/rounding.h"
#include "core/menu/layout.h"

namespace pravik::core::menu {
namespace {

using geometry::PixelRect;
using geometry::TwipsPerPixel;
using geometry::TwipsPerPixelAt;

// The screens users have, with the taskbar Windows 8 draws at each scale along the bottom.
struct Screen {
  const char* name;
  int width, height, dpi, taskbar;
  bool shrinks;
};
constexpr Screen kScreens[] = {
    {"1366x768 at 100%", 1366, 768, 96, 40, false},    {"1366x768 at 125%", 1366, 768, 120, 50, true},
    {"1366x768 at 125%, no taskbar", 1366, 768, 120, 0, false},
    {"1920x1080 at 150%", 1920, 1080, 144, 60, false}, {"2560x1440 at 200%", 2560, 1440, 192, 80, false},
    {"1366x768 at 150%", 1366, 768, 144, 60, true},    {"1366x768 at 200%", 1366, 768, 192, 80, true},
};

TEST(MenuScale, EveryScreenGetsTheWholeMenuInsideItsWorkArea) {
  for (const Screen& s : kScreens) {
    SCOPED_TRACE(s.name);
    const TwipsPerPixel screen = TwipsPerPixelAt(s.dpi, s.dpi);
    const PixelRect work{0, 0, s.width, s.height - s.taskbar};
    const TwipsPerPixel menu = MenuScale(screen, work);
    EXPECT_EQ(menu == screen, !s.shrinks);
    const auto size = MenuPixels(menu);
    const double k = s.dpi / 96.0;
    if (s.shrinks) {
      // The largest scale that fits: one side fills the work area, proportions kept.
      EXPECT_EQ(size.height, work.bottom);
      EXPECT_NEAR(size.width, 470.0 * size.height / 595.0, 1.0);
      EXPECT_LT(size.height, 595 * k);
    } else {
      EXPECT_NEAR(size.width, 470 * k, 1.0);
      EXPECT_NEAR(size.height, 595 * k, 1.0);
    }
    // The start button at the screen's own scale, beside the taskbar, and the menu beside it.
    const int bw = geometry::TwipsToPixels(585, screen.x), bh = geometry::TwipsToPixels(1425, screen.y);
    EXPECT_NEAR(bw, 39 * k, 1.0);
    EXPECT_NEAR(bh, 95 * k, 1.0);
    const PixelRect button{0, work.bottom - bh, bw, work.bottom};
    const PixelRect placed = PlaceMenu(0, button, size.height, size, work);
    EXPECT_EQ(placed.left, bw);
    EXPECT_GE(placed.top, 0);
    EXPECT_LE(placed.bottom, work.bottom);
    EXPECT_EQ(placed.bottom, button.bottom) << "the menu's bottom stays on the button's";
    EXPECT_LE(placed.right, work.right);
    // Every element scales with the menu: the main panel's right edge and the shutdown button.
    const auto panel = *LayoutPixels(L"FramMain", menu);
    EXPECT_LE(panel.left + panel.width, size.width);
    EXPECT_NEAR(panel.width, 6885 / menu.x, 0.5);
    // The option controls start right of the client area at every scale.
    EXPECT_GT(geometry::TwipsToPixels(8460, menu.x), size.width);
    EXPECT_GT(LayoutPixels(L"PicLogon", menu)->left, size.width);
  }
}

TEST(MenuScale, AtOneHundredPercentNothingMoves) {
  const auto size = MenuPixels({});
  EXPECT_EQ(size.width, 470);
  EXPECT_EQ(size.height, 595);
  EXPECT_EQ(LayoutPixels(L"WebNotice"), (menu::PixelRect{-2, -2, 461, 85}));
  // 125 %: 12 twips per pixel, the panel's 6885 x 8205 twips give 573.75 x 683.75 pixels.
  EXPECT_EQ(LayoutPixels(L"FramMain", TwipsPerPixelAt(120, 120)), (menu::PixelRect{8, 52, 574, 684}));
}

TEST(MenuScale, TheMenuMovesOnlyAsFarAsNeeded) {
  const PixelRect work{0, 0, 1366, 728};
  const menu::PixelRect size{0, 0, 470, 595};
  // The button slid out to its hidden Left: the menu follows its Left, inside the area.
  EXPECT_EQ(PlaceMenu(-26, {-26, 633, 13, 728}, 595, size, work).left, 13);
  // A menu whose earlier height was smaller would stand below the area: pulled up to its edge.
  const PixelRect low = PlaceMenu(0, {0, 633, 39, 728}, 100, size, work);
  EXPECT_EQ(low.bottom, 728);
  EXPECT_EQ(low.top, 133);
  // A taskbar on the left: the work area starts right of it.
  EXPECT_EQ(PlaceMenu(-26, {-26, 673, 13, 768}, 595, size, {60, 0, 1366, 768}).left, 60);
  // Larger than the area: the top and left edges stay on the area's.
  EXPECT_EQ(geometry::KeepInside({5, -50, 905, 950}, {0, 0, 800, 600}).top, 0);
  EXPECT_EQ(geometry::KeepInside({5, -50, 905, 950}, {0, 0, 800, 600}).left, 0);
}

TEST(MenuScale, SkinSetNearestToTheScale) {
  EXPECT_EQ(geometry::NearestSkinPercent(15), 100);
  EXPECT_EQ(geometry::NearestSkinPercent(12), 125);
  EXPECT_EQ(geometry::NearestSkinPercent(10), 150);
  EXPECT_EQ(geometry::NearestSkinPercent(7.5), 200);
  EXPECT_EQ(geometry::NearestSkinPercent(1440.0 / 168), 200);  // 175 %: a tie goes to the larger set
  EXPECT_EQ(geometry::NearestSkinPercent(8925.0 / 728), 125);  // 1366x768 at 150 % shrunk to 122 %
}

}  // namespace
}  // namespace pravik::core::menu
