// The image button's looks, read back from the screen.
#include <windows.h>
#include <uxtheme.h>

#include <gtest/gtest.h>

#include "core/button/colour.h"
#include "core/button/shutdown_button.h"
#include "controls/button/picture_convert.h"
#include "testsupport/process.h"
#include "controls/button/tests/image_button_test_host.h"

namespace pravik::controls::button {
namespace {

// The layout the start menu ships, pointer included.
core::propbag::PropertyBag ShutdownLayout() { return core::button::ShutdownButtonLayout(PointingHandPicture()); }

TEST(ImageButtonLook, ShutdownButtonNormalHotAndPressed) {
  HostWindow host;
  ImageButton& b = host.AddButton(ShutdownLayout(), 20, 20, 162, 23);
  const core::button::Colour base = 0x00F0B000;  // #00B0F0
  const core::button::Colour border = core::button::Shift(base, -0.12);
  PointAt(host.hwnd(), 400, 250);  // away from the button
  b.Redraw();
  EXPECT_EQ(ScreenPixel(b.hwnd(), 3, 3), base);
  EXPECT_EQ(ScreenPixel(b.hwnd(), 0, 0), base);  // no border at rest

  PointAt(b.hwnd(), 150, 12);
  ASSERT_EQ(b.state(), core::button::ButtonState::Hot);
  EXPECT_EQ(ScreenPixel(b.hwnd(), 3, 3), core::button::Shift(base, 0.03));
  EXPECT_EQ(ScreenPixel(b.hwnd(), 0, 0), border);
  EXPECT_EQ(ScreenPixel(b.hwnd(), 161, 22), border);

  ::SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(150, 12));
  EXPECT_EQ(ScreenPixel(b.hwnd(), 3, 3), core::button::Shift(base, -0.08));
  EXPECT_EQ(ScreenPixel(b.hwnd(), 0, 22), border);
  ::SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(150, 12));

  // The caption is drawn in white somewhere in the middle.
  const auto middle = ScreenPixels(b.hwnd(), {40, 4, 122, 19});
  EXPECT_NE(std::find(middle.begin(), middle.end(), RGB(255, 255, 255)), middle.end());
}

TEST(ImageButtonLook, DropDownSymbolDrawsItsFirstDigitInMarlett) {
  HostWindow host;
  auto withSymbol = [](int symbol) {
    core::propbag::PropertyBag layout;
    layout.Set(L"Caption", std::wstring(L""));
    layout.Set(L"DropDownSymbol", std::int32_t{symbol});
    layout.Set(L"ButtonStyle", std::int32_t{4});
    return layout;
  };
  ImageButton& six = host.AddButton(withSymbol(6), 10, 10, 100, 30);
  ImageButton& sixteen = host.AddButton(withSymbol(16), 10, 50, 100, 30);
  ImageButton& one = host.AddButton(withSymbol(1), 10, 90, 100, 30);
  PointAt(host.hwnd(), 400, 250);
  for (ImageButton* b : {&six, &sixteen, &one}) b->Redraw();
  const RECT glyph{100 - 15, 8, 100, 23};  // (W - 15, round(H/2 - 7), W, round(H/2 + 8))
  const auto p6 = ScreenPixels(six.hwnd(), glyph), p16 = ScreenPixels(sixteen.hwnd(), glyph),
             p1 = ScreenPixels(one.hwnd(), glyph);
  EXPECT_EQ(p16, p1);  // 16 draws only "1"
  EXPECT_NE(p6, p1);
  const COLORREF face = ScreenPixel(six.hwnd(), 2, 2);
  EXPECT_NE(std::count_if(p6.begin(), p6.end(), [&](COLORREF c) { return c != face; }), 0);
  // Nothing left of the glyph room: the caption is empty.
  const auto left = ScreenPixels(six.hwnd(), {2, 2, 80, 28});
  EXPECT_EQ(std::count(left.begin(), left.end(), face), static_cast<long>(left.size()));
}

TEST(ImageButtonLook, Style13WithoutVisualStylesBecomesStyle2) {
  const DWORD before = ::GetThemeAppProperties();
  ::SetThemeAppProperties(0);  // visual styles off for this process
  HostWindow host;
  core::propbag::PropertyBag layout;
  layout.Set(L"ButtonStyle", std::int32_t{13});
  ImageButton& b = host.AddButton(layout);
  b.Redraw();
  ::SetThemeAppProperties(before);
  EXPECT_EQ(b.settings().buttonStyle, 2);
  EXPECT_EQ(b.settings().colorScheme, 0);
  EXPECT_EQ(b.settings().backColor, core::button::Hex(0xECEBE7));
  EXPECT_EQ(ScreenPixel(b.hwnd(), 5, 0), core::button::Hex(0x003C74));  // style 2's blue border
}

TEST(ImageButtonLook, Style6RewritesForeColorOnEveryDraw) {
  HostWindow host;
  core::propbag::PropertyBag layout;
  layout.Set(L"ButtonStyle", std::int32_t{6});
  layout.Set(L"ForeColor", std::int32_t{0x000000FF});
  ImageButton& b = host.AddButton(layout);
  b.Redraw();
  EXPECT_EQ(b.settings().foreColor, ::GetSysColor(COLOR_BTNTEXT));
  b.PreviewState(core::button::ButtonState::Down, true);
  EXPECT_EQ(b.settings().foreColor, 0x00FFFFFFu);
}

}  // namespace
}  // namespace pravik::controls::button
