#include <gtest/gtest.h>

#include "drawing/drop_shadow.h"
#include "core/shadow/shadow_strips.h"
#include "testsupport/process.h"

namespace pravik::drawing {
namespace {

RECT RectOf(HWND hwnd) {
  RECT r{};
  ::GetWindowRect(hwnd, &r);
  return r;
}

void ExpectRect(HWND hwnd, int x, int y, int w, int h) {
  const RECT r = RectOf(hwnd);
  EXPECT_EQ(r.left, x);
  EXPECT_EQ(r.top, y);
  EXPECT_EQ(r.right - r.left, w);
  EXPECT_EQ(r.bottom - r.top, h);
}

// A plain popup of the start menu's size, hidden, as the menu is when the shadow is attached.
class ShadowTarget {
 public:
  ShadowTarget() {
    hwnd_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 100, 50, 470, 595, nullptr, nullptr,
                              ::GetModuleHandleW(nullptr), nullptr);
  }
  ~ShadowTarget() {
    if (::IsWindow(hwnd_)) ::DestroyWindow(hwnd_);
  }
  HWND get() const { return hwnd_; }

 private:
  HWND hwnd_;
};

TEST(DropShadow, FollowsTheMenuWindow) {
  ShadowTarget menu;
  DropShadow shadow;
  ASSERT_TRUE(shadow.capable()) << "the test display has more than 15 bits per pixel";
  ASSERT_TRUE(shadow.Shadow(menu.get()));
  shadow.SetColor(0);
  shadow.SetDepth(4);

  // Attached: strips exist, owned by the menu, hidden and not drawn.
  ASSERT_TRUE(shadow.rightStrip());
  ASSERT_TRUE(shadow.bottomStrip());
  EXPECT_EQ(::GetWindow(shadow.rightStrip(), GW_OWNER), menu.get());
  const LONG_PTR ex = ::GetWindowLongPtrW(shadow.bottomStrip(), GWL_EXSTYLE);
  EXPECT_EQ(ex & (WS_EX_LAYERED | WS_EX_TRANSPARENT), WS_EX_LAYERED | WS_EX_TRANSPARENT);
  EXPECT_FALSE(::IsWindowVisible(shadow.rightStrip()));
  EXPECT_EQ(shadow.drawCount(), 0);

  ::ShowWindow(menu.get(), SW_SHOWNOACTIVATE);
  EXPECT_TRUE(::IsWindowVisible(shadow.rightStrip()));
  EXPECT_TRUE(::IsWindowVisible(shadow.bottomStrip()));
  ExpectRect(shadow.rightStrip(), 570, 54, 4, 595);
  ExpectRect(shadow.bottomStrip(), 104, 645, 466, 4);
  EXPECT_EQ(shadow.drawCount(), 2);

  {
    SCOPED_TRACE("hide, then show at the same size");
    ::ShowWindow(menu.get(), SW_HIDE);
    EXPECT_FALSE(::IsWindowVisible(shadow.rightStrip()));
    EXPECT_FALSE(::IsWindowVisible(shadow.bottomStrip()));
    ::ShowWindow(menu.get(), SW_SHOWNOACTIVATE);
    EXPECT_TRUE(::IsWindowVisible(shadow.rightStrip()));
    EXPECT_TRUE(::IsWindowVisible(shadow.bottomStrip()));
    EXPECT_EQ(shadow.drawCount(), 2);
  }
  {
    SCOPED_TRACE("move without resizing");
    ::SetWindowPos(menu.get(), nullptr, 200, 80, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    ExpectRect(shadow.rightStrip(), 670, 84, 4, 595);
    ExpectRect(shadow.bottomStrip(), 204, 675, 466, 4);
    EXPECT_EQ(shadow.drawCount(), 2);
  }
  {
    SCOPED_TRACE("resize redraws only the strips whose side changed");
    ::SetWindowPos(menu.get(), nullptr, 0, 0, 300, 595, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(shadow.drawCount(), 3);
    ExpectRect(shadow.bottomStrip(), 204, 675, 296, 4);
    ::SetWindowPos(menu.get(), nullptr, 0, 0, 300, 400, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    EXPECT_EQ(shadow.drawCount(), 4);
    ExpectRect(shadow.rightStrip(), 500, 84, 4, 400);
  }
  {
    SCOPED_TRACE("property changes redraw both strips while shown");
    shadow.SetTransparency(0x1FF);  // low 8 bits: 255
    EXPECT_EQ(shadow.Transparency(), 255);
    EXPECT_EQ(shadow.drawCount(), 6);
    shadow.SetDepth(4);  // unchanged: nothing
    EXPECT_EQ(shadow.drawCount(), 6);
    ::ShowWindow(menu.get(), SW_HIDE);
    shadow.SetDepth(6);  // hidden: only stored
    EXPECT_EQ(shadow.drawCount(), 6);
    EXPECT_EQ(shadow.Depth(), 6);
  }
}

TEST(DropShadow, LayeredContentHoldsTheRamp) {
  ShadowTarget menu;
  DropShadow shadow;
  ASSERT_TRUE(shadow.Shadow(menu.get()));
  shadow.SetColor(0x000000FF);  // red, so premultiplied colour is visible in the read-back
  shadow.SetDepth(4);
  shadow.SetTransparency(255);
  ::ShowWindow(menu.get(), SW_SHOWNOACTIVATE);
  // Read the strip's own content; where the platform keeps no readable surface for layered
  // windows the read gives CLR_INVALID and the check cannot be made.
  HDC dc = ::GetDC(shadow.bottomStrip());
  const COLORREF full = ::GetPixel(dc, 100, 0);  // top row (j = 3): alpha 191
  const COLORREF clear = ::GetPixel(dc, 100, 3);  // bottom row (j = 0): alpha 0
  ::ReleaseDC(shadow.bottomStrip(), dc);
  if (full == CLR_INVALID) GTEST_SKIP() << "layered window content is not readable here";
  EXPECT_EQ(GetRValue(full), core::shadow::Premultiply(255, 191));
  EXPECT_EQ(GetGValue(full), 0);
  EXPECT_EQ(GetRValue(clear), 0);
}

TEST(DropShadow, AttachFailuresAnswerFalse) {
  {
    DropShadow shadow;
    EXPECT_FALSE(shadow.Shadow(reinterpret_cast<HWND>(static_cast<LONG_PTR>(0x7FFF0))));
    EXPECT_EQ(shadow.lastDiagnostic(), L"ssc_Subclass: Invalid window handle");
    EXPECT_FALSE(shadow.rightStrip());
  }
  {
    ShadowTarget menu;
    DropShadow shadow;
    ASSERT_TRUE(shadow.Shadow(menu.get()));
    EXPECT_FALSE(shadow.Shadow(menu.get()));
    EXPECT_EQ(shadow.lastDiagnostic(), L"Shadow: Only a single form per cShadow instance is allowed");
  }
  {
    // The desktop belongs to another process under both Windows and Wine.
    DropShadow shadow;
    EXPECT_FALSE(shadow.Shadow(::GetDesktopWindow()));
    EXPECT_EQ(shadow.lastDiagnostic(), L"ssc_Subclass: Window handle belongs to another process");
  }
}

TEST(DropShadow, TargetDestroyedFirstIsSafe) {
  auto menu = std::make_unique<ShadowTarget>();
  DropShadow shadow;
  ASSERT_TRUE(shadow.Shadow(menu->get()));
  ::ShowWindow(menu->get(), SW_SHOWNOACTIVATE);
  const HWND strip = shadow.rightStrip();
  menu.reset();
  EXPECT_FALSE(::IsWindow(strip));
  EXPECT_FALSE(shadow.rightStrip());
}

}  // namespace
}  // namespace pravik::drawing
