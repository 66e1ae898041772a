// The image button driven through its real window messages.
#include <windows.h>
#include <commctrl.h>
#include <gtest/gtest.h>

#include <algorithm>

#include "testsupport/process.h"
#include "controls/button/tests/image_button_test_host.h"

namespace pravik::controls::button {
namespace {

using Events = std::vector<std::wstring>;

LPARAM At(int x, int y) { return MAKELPARAM(x, y); }

TEST(ImageButtonLayout, EmptyLayoutGivesTheDefaults) {
  HostWindow host;
  ImageButton& b = host.AddButton({});
  const auto& s = b.settings();
  EXPECT_EQ(s.buttonStyle, 1);
  EXPECT_EQ(s.caption, L"zqbutton");
  EXPECT_EQ(s.captionAlign, 1);
  EXPECT_EQ(s.pictureOpacity, 255);
  EXPECT_EQ(s.pictureOpacityOnOver, 255);
  EXPECT_EQ(s.maskColor, 0x00E0E0E0u);
  EXPECT_TRUE(s.useMaskColor);
  EXPECT_EQ(s.pictureEffectOnOver, 1);
  EXPECT_EQ(s.pictureEffectOnDown, 2);
  EXPECT_EQ(s.backColor, 0x8000000Fu);
  EXPECT_EQ(s.foreColor, ::GetSysColor(COLOR_BTNTEXT));
  EXPECT_TRUE(s.enabled);
}

TEST(ImageButtonLayout, WritingLeavesDefaultsOutWithTheThreeStoredDifferences) {
  HostWindow host;
  core::propbag::PropertyBag in;
  in.Set(L"buttonstyle", std::int32_t{4});  // letter case does not matter
  in.Set(L"CAPTION", std::wstring(L"zqbutton1"));
  ImageButton& b = host.AddButton(in);
  EXPECT_EQ(b.settings().buttonStyle, 4);
  core::propbag::PropertyBag out;
  b.Save(out);
  EXPECT_EQ(out.Read(L"ButtonStyle", 1), 4);
  EXPECT_FALSE(out.Has(L"Caption"));       // "zqbutton1" is the written default...
  EXPECT_TRUE(out.Has(L"CaptionEffects"));  // ...and CaptionEffects is always written
  EXPECT_FALSE(out.Has(L"PictureOpacity"));
  EXPECT_FALSE(out.Has(L"MaskColor"));
  ImageButton& again = host.AddButton(out);
  EXPECT_EQ(again.settings().caption, L"zqbutton");  // so it reads back as the read default
}

TEST(ImageButtonLayout, DamagedPictureDataLoadsWithoutAPicture) {
  HostWindow host;
  core::propbag::PropertyBag in;
  in.Set(L"PictureNormal", core::propbag::Bytes{'Z', 'Q', 'P', 'I', 0, 0xFF, 0xFF, 0xFF, 0x7F, 1, 0, 0, 0});
  in.Set(L"Caption", std::wstring(L"ok"));
  ImageButton& b = host.AddButton(in);
  EXPECT_FALSE(b.settings().pictureNormal.has_value());
  EXPECT_EQ(b.settings().caption, L"ok");
}

TEST(ImageButtonMouse, ClickOnlyWhenReleasedStrictlyInside) {
  struct Case {
    const char* name;
    int x, y;
    bool click;
  } cases[] = {{"inside", 60, 15, true}, {"outside", 200, 15, false}, {"left column", 0, 15, false},
               {"top row", 60, 0, false}};
  HostWindow host;
  ImageButton& b = host.AddButton({});
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    host.events.clear();
    ::SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(60, 15));
    ::SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, At(c.x, c.y));
    const Events want = c.click ? Events{L"#0 MouseDown 1", L"#0 Click", L"#0 MouseUp 1"}
                                : Events{L"#0 MouseDown 1", L"#0 MouseUp 1"};
    EXPECT_EQ(host.events, want);
  }
  host.events.clear();
  ::SendMessageW(b.hwnd(), WM_RBUTTONDOWN, MK_RBUTTON, At(60, 15));
  EXPECT_EQ(b.state(), core::button::ButtonState::Normal);
  ::SendMessageW(b.hwnd(), WM_RBUTTONUP, 0, At(60, 15));
  EXPECT_EQ(host.events, (Events{L"#0 MouseUp 2"}));
}

TEST(ImageButtonModes, CheckTogglesAndOptionsClearOnlyTheirContainer) {
  HostWindow host;
  core::propbag::PropertyBag check;
  check.Set(L"Mode", std::int32_t{1});
  check.Set(L"Caption", std::wstring(L"&Check"));
  ImageButton& c = host.AddButton(check);
  ::SendMessageW(c.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  ::SendMessageW(c.hwnd(), WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_TRUE(c.settings().value);
  EXPECT_TRUE(ImageButton::RouteAccessKey(host.hwnd(), L'C'));
  EXPECT_FALSE(c.settings().value);
  ::SendMessageW(c.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  ::SendMessageW(c.hwnd(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_TRUE(c.settings().value);

  core::propbag::PropertyBag option;
  option.Set(L"Mode", std::int32_t{2});
  option.Set(L"Value", true);
  HWND left = host.AddContainer(0, 60, 240, 100), right = host.AddContainer(250, 60, 240, 100);
  ImageButton& a1 = host.AddButton(option, 5, 5, 100, 30, left);
  ImageButton& a2 = host.AddButton(option, 5, 50, 100, 30, left);
  ImageButton& b1 = host.AddButton(option, 5, 5, 100, 30, right);
  ::SendMessageW(a2.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(5, 5));
  ::SendMessageW(a2.hwnd(), WM_LBUTTONUP, 0, At(5, 5));
  EXPECT_TRUE(a2.settings().value);
  EXPECT_FALSE(a1.settings().value);
  EXPECT_TRUE(b1.settings().value);
}

TEST(ImageButtonKeyboard, SpaceHeldWhileThePointerLeavesThenClicks) {
  HostWindow host;
  ImageButton& b = host.AddButton({});
  PointAt(b.hwnd(), 20, 10);
  ::SendMessageW(b.hwnd(), WM_KEYDOWN, VK_SPACE, 0);
  EXPECT_EQ(b.state(), core::button::ButtonState::Down);
  ::SendMessageW(b.hwnd(), WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(b.state(), core::button::ButtonState::Down);
  host.events.clear();
  ::SendMessageW(b.hwnd(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_EQ(host.events, (Events{L"#0 Click", L"#0 KeyUp 32"}));
}

TEST(ImageButtonKeyboard, AltSpaceDoesNothingAndEnterClicksFirst) {
  HostWindow host;
  ImageButton& b = host.AddButton({});
  const LPARAM alt = 1 << 29;
  ::SendMessageW(b.hwnd(), WM_SYSKEYDOWN, VK_SPACE, alt);
  ::SendMessageW(b.hwnd(), WM_SYSCHAR, L' ', alt);
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(b.state(), core::button::ButtonState::Normal);
  ::SendMessageW(b.hwnd(), WM_KEYDOWN, VK_RETURN, 0);
  EXPECT_EQ(host.events, (Events{L"#0 Click", L"#0 KeyDown 13"}));
}

// Ends the modal popup from inside its loop and remembers where its window was.
RECT g_menuRect{};
bool g_menuSeen = false;
void CALLBACK CloseMenu(HWND, UINT, UINT_PTR id, DWORD) {
  HWND menu = ::FindWindowW(L"#32768", nullptr);
  if (menu && ::IsWindowVisible(menu)) {
    g_menuSeen = true;
    ::GetWindowRect(menu, &g_menuRect);
  }
  ::KillTimer(nullptr, id);
  ::EndMenu();
}

TEST(ImageButtonPopup, AttachedMenuSwallowsMouseEventsAndOpensByAlignment) {
  HostWindow host;
  ImageButton& b = host.AddButton({}, 20, 20, 120, 30);
  win32::Menu menu(::CreatePopupMenu());
  ::AppendMenuW(menu.get(), MF_STRING, 1, L"one");
  ::AppendMenuW(menu.get(), MF_STRING, 2, L"two");
  b.SetPopupMenu(menu.get(), 7);
  g_menuSeen = false;
  ::SetTimer(nullptr, 0, 300, &CloseMenu);
  ::SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));  // returns when the menu closes
  ::SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, At(10, 10));
  EXPECT_TRUE(host.events.empty());
  ASSERT_TRUE(g_menuSeen);
  RECT br;
  ::GetWindowRect(b.hwnd(), &br);
  EXPECT_EQ(g_menuRect.left, br.right);  // alignment 7: below and right of the button
  EXPECT_EQ(g_menuRect.top, br.bottom);

  b.SetPopupMenu(menu.get(), 8);  // no such alignment: nothing opens
  g_menuSeen = false;
  ::SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  ::SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, At(10, 10));
  EXPECT_FALSE(g_menuSeen);
  EXPECT_TRUE(host.events.empty());
  EXPECT_EQ(b.state(), core::button::ButtonState::Normal);

  b.UnsetPopupMenu();
  ::SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, At(10, 10));
  ::SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, At(10, 10));
  EXPECT_EQ(host.events, (Events{L"#0 MouseDown 1", L"#0 Click", L"#0 MouseUp 1"}));
}

TEST(ImageButtonTooltip, CreatedOnHoverWithItsSettings) {
  HostWindow host;
  core::propbag::PropertyBag layout;
  layout.Set(L"ToolTip", std::wstring(L"끄기"));
  layout.Set(L"TooltipType", std::int32_t{1});
  layout.Set(L"TooltipBackColor", std::int32_t{0x00C0FFFF});
  ImageButton& b = host.AddButton(layout);
  PointAt(b.hwnd(), 20, 10);
  HWND tip = b.tooltipWindow();
  ASSERT_TRUE(tip);
  EXPECT_TRUE(::GetWindowLongW(tip, GWL_STYLE) & TTS_BALLOON);
  EXPECT_EQ(::SendMessageW(tip, TTM_GETMAXTIPWIDTH, 0, 0), 240);
  EXPECT_EQ(static_cast<COLORREF>(::SendMessageW(tip, TTM_GETTIPBKCOLOR, 0, 0)), 0x00C0FFFFu);
  EXPECT_EQ(::SendMessageW(tip, TTM_GETTOOLCOUNT, 0, 0), 1);
}

}  // namespace
}  // namespace pravik::controls::button

namespace pravik::controls::button {
namespace {

TEST(ImageButtonMouse, DoubleClickRepeatsThePressThenRaisesDblClick) {
  HostWindow host;
  ImageButton& b = host.AddButton({});
  ::SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  ::SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  host.events.clear();
  ::SendMessageW(b.hwnd(), WM_LBUTTONDBLCLK, MK_LBUTTON, MAKELPARAM(10, 10));
  EXPECT_EQ(b.state(), core::button::ButtonState::Down);
  ::SendMessageW(b.hwnd(), WM_LBUTTONUP, 0, MAKELPARAM(10, 10));
  EXPECT_EQ(host.events, (std::vector<std::wstring>{L"#0 MouseDown 1", L"#0 DblClick", L"#0 Click", L"#0 MouseUp 1"}));
}

TEST(ImageButtonHost, DeactivationReturnsThePressedButtonToNormal) {
  HostWindow host;
  ImageButton& b = host.AddButton({});
  ::SendMessageW(b.hwnd(), WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(10, 10));
  ASSERT_EQ(b.state(), core::button::ButtonState::Down);
  ::SendMessageW(host.hwnd(), WM_ACTIVATE, WA_INACTIVE, 0);  // seen through the host's subclass
  EXPECT_EQ(b.state(), core::button::ButtonState::Normal);
  host.events.clear();
  ::SendMessageW(b.hwnd(), WM_KEYUP, VK_SPACE, 0);
  EXPECT_TRUE(std::find(host.events.begin(), host.events.end(), L"#0 Click") == host.events.end());
}

}  // namespace
}  // namespace pravik::controls::button

namespace pravik::controls::button {
namespace {

TEST(ImageButtonKeyboard, ArrowsMoveTheFocusAndEnterAsAccessKeyClicksWithoutToggling) {
  HostWindow host;
  core::propbag::PropertyBag check;
  check.Set(L"Mode", std::int32_t{1});
  ImageButton& first = host.AddButton(check, 10, 10);
  ImageButton& second = host.AddButton({}, 10, 50);
  ::SetFocus(first.hwnd());
  ::SendMessageW(first.hwnd(), WM_KEYDOWN, VK_RIGHT, 0);
  EXPECT_EQ(::GetFocus(), second.hwnd());
  ::SendMessageW(second.hwnd(), WM_KEYDOWN, VK_UP, 0);
  EXPECT_EQ(::GetFocus(), first.hwnd());
  host.events.clear();
  first.PressAccessKey(13);
  EXPECT_FALSE(first.settings().value);
  EXPECT_EQ(host.events, (std::vector<std::wstring>{L"#0 Click"}));
}

}  // namespace
}  // namespace pravik::controls::button
