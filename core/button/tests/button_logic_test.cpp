#include <gtest/gtest.h>

#include <algorithm>

#include "core/button/access_key.h"
#include "core/button/button_logic.h"

namespace pravik::core::button {
namespace {

bool Has(const Actions& a, Action x) { return std::find(a.begin(), a.end(), x) != a.end(); }
// Raised events only, in order.
Actions Events(const Actions& a) {
  Actions out;
  for (Action x : a) {
    if (x == Action::RaiseClick || x == Action::RaiseMouseDown || x == Action::RaiseMouseUp ||
        x == Action::RaiseKeyDown || x == Action::RaiseKeyUp || x == Action::RaiseDblClick ||
        x == Action::RaiseMouseLeave || x == Action::ShowPopup) {
      out.push_back(x);
    }
  }
  return out;
}

TEST(ButtonAccessKey, AmpersandRules) {
  struct Case {
    const wchar_t* caption;
    wchar_t key;
  } cases[] = {
      {L"&Save", L's'}, {L"A&&B", 0},   {L"A&&B&C", L'c'}, {L"&", 0},      {L"", 0},
      {L"ab&", 0},      {L"A&&B&&C", 0}, {L"x&Y", L'y'},    {L"시스템 종료", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << static_cast<int>(c.key));
    EXPECT_EQ(AccessKeyOf(c.caption), c.key);
  }
}

TEST(ButtonLogic, ClickOnlyForReleaseStrictlyInside) {
  struct Case {
    const char* name;
    float x, y;
    bool click;
  } cases[] = {{"inside", 5, 5, true}, {"outside", 50, 5, false}, {"left column", 0, 5, false},
               {"top row", 5, 0, false}, {"right edge", 20, 5, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ButtonLogic b;
    b.PointerMove(true);
    EXPECT_EQ(Events(b.ButtonDown(kLeftButton, 0, 5, 5)), Actions{Action::RaiseMouseDown});
    EXPECT_EQ(b.state, ButtonState::Down);
    const Actions up = b.ButtonUp(kLeftButton, c.x, c.y, 20, 10);
    EXPECT_EQ(Events(up), c.click ? (Actions{Action::RaiseClick, Action::RaiseMouseUp}) : Actions{Action::RaiseMouseUp});
    EXPECT_EQ(b.state, ButtonState::Normal);
  }
}

TEST(ButtonLogic, RightButtonGivesOnlyMouseUp) {
  ButtonLogic b;
  b.PointerMove(true);
  EXPECT_TRUE(Events(b.ButtonDown(kRightButton, 0, 5, 5)).empty());
  EXPECT_EQ(b.state, ButtonState::Hot);
  EXPECT_EQ(Events(b.ButtonUp(kRightButton, 5, 5, 20, 10)), Actions{Action::RaiseMouseUp});
}

TEST(ButtonLogic, CheckAndOptionModes) {
  ButtonLogic check;
  check.mode = 1;
  check.ButtonDown(kLeftButton, 0, 5, 5);
  EXPECT_TRUE(Has(check.ButtonUp(kLeftButton, 5, 5, 20, 10), Action::ValueChanged));
  EXPECT_TRUE(check.value);
  check.KeyDown(kKeySpace, 0, false);
  EXPECT_FALSE(check.value);
  check.KeyUp(kKeySpace);
  check.AccessKey('s');
  EXPECT_TRUE(check.value);
  for (int key : {kKeyEnter, kKeyEscape}) {
    SCOPED_TRACE(key);
    const Actions a = check.AccessKey(key);
    EXPECT_TRUE(check.value);
    EXPECT_TRUE(Has(a, Action::RaiseClick));
  }

  ButtonLogic option;
  option.mode = 2;
  option.ButtonDown(kLeftButton, 0, 5, 5);
  const Actions up = option.ButtonUp(kLeftButton, 5, 5, 20, 10);
  EXPECT_TRUE(Has(up, Action::ClearOtherOptions));
  EXPECT_TRUE(option.value);

  ButtonLogic push;  // Mode 0 ignores Value
  EXPECT_TRUE(Has(push.SetValue(true), Action::Redraw));
  EXPECT_FALSE(push.value);
}

TEST(ButtonLogic, SpaceHeldKeepsTheButtonDownWhenThePointerLeaves) {
  ButtonLogic b;
  b.PointerMove(true);
  const Actions down = b.KeyDown(kKeySpace, 0, false);
  EXPECT_TRUE(Has(down, Action::CaptureMouse));
  EXPECT_EQ(b.state, ButtonState::Down);
  b.PointerMove(false);
  EXPECT_TRUE(Events(b.MouseLeft()).empty());
  EXPECT_EQ(b.state, ButtonState::Down);
  EXPECT_EQ(Events(b.KeyUp(kKeySpace)), (Actions{Action::RaiseClick, Action::RaiseKeyUp}));
  EXPECT_EQ(b.state, ButtonState::Normal);
}

TEST(ButtonLogic, AltSpaceDoesNothingAndEnterClicksBeforeKeyDown) {
  ButtonLogic b;
  EXPECT_TRUE(b.KeyDown(kKeySpace, kShiftAlt, false).empty());
  EXPECT_FALSE(b.spaceHeld);
  EXPECT_EQ(Events(b.KeyDown(kKeyEnter, 0, false)), (Actions{Action::RaiseClick, Action::RaiseKeyDown}));
  EXPECT_TRUE(b.KeyUp('A').empty());
}

TEST(ButtonLogic, PopupSwallowsMouseEventsAndItsCloseOverTheButtonIsRemembered) {
  ButtonLogic b;
  b.popupAttached = true;
  b.PointerMove(true);
  EXPECT_EQ(Events(b.ButtonDown(kLeftButton, 0, 5, 5)), Actions{Action::ShowPopup});
  EXPECT_TRUE(b.popupShowing);
  b.PopupClosed(/*cursorOverControl*/ true);
  EXPECT_TRUE(b.closedOver);
  EXPECT_FALSE(b.popupShowing);
  // The press that closed the menu over the button does not reopen it.
  EXPECT_TRUE(Events(b.ButtonDown(kLeftButton, 0, 5, 5)).empty());
  EXPECT_TRUE(Events(b.ButtonUp(kLeftButton, 5, 5, 20, 10)).empty());
  EXPECT_FALSE(b.closedOver);
  // Closed elsewhere, the next press opens it again.
  EXPECT_EQ(Events(b.ButtonDown(kLeftButton, 0, 5, 5)), Actions{Action::ShowPopup});
  b.PopupClosed(false);
  EXPECT_EQ(b.state, ButtonState::Normal);
  EXPECT_EQ(Events(b.DoubleClick()), Actions{Action::ShowPopup});
}

TEST(ButtonLogic, FocusAndActivation) {
  ButtonLogic b;
  b.HostActivated(true);
  b.PointerMove(true);
  b.ButtonDown(kLeftButton, 0, 1, 1);
  EXPECT_TRUE(b.hasFocus);
  b.LostFocus();
  EXPECT_FALSE(b.buttonHeld);
  EXPECT_EQ(b.state, ButtonState::Hot);
  b.HostActivated(false);
  EXPECT_FALSE(b.hostActive);
  EXPECT_EQ(b.state, ButtonState::Normal);
  EXPECT_EQ(Events(b.MouseLeft()), Actions{Action::RaiseMouseLeave});
}

}  // namespace
}  // namespace pravik::core::button
