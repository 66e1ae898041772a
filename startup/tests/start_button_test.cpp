// The start button's sliding, menu toggle and notices, driven with synthetic pointer input.
#include <gtest/gtest.h>

#include "startup/tests/pravik_fixture.h"

namespace pravik::startup {
namespace {

constexpr const wchar_t* kStartButtonClass = L"PravikStartButton";
constexpr const wchar_t* kMenuClass = L"PravikStartMenu";

class StartButtonTest : public testing::Test {
 protected:
  void SetUp() override {
    MovePointer(600, 300);
    pravik_ = testsupport::ChildProcess::Launch(folder_ + L"\\Pravik.exe", L"", folder_);
    button_ = testsupport::WaitForWindow(pravik_.pid(), kStartButtonClass, 15000);
    ASSERT_TRUE(button_);
    menu_ = testsupport::WaitForWindow(pravik_.pid(), kMenuClass, 5000, false);
    ASSERT_TRUE(menu_);
    // The menu is prepared once the button shows; the slide tests start from a program at rest
    // (its root selector filled is the preparation's last step but one).
    ASSERT_TRUE(WaitForMenuPrepared(menu_));
  }
  void TearDown() override { pravik_.Terminate(); }

  RECT Button() const { return ReadWindow(button_).rect; }
  bool SettlesAt(int left, DWORD ms = 5000) const {
    return testsupport::WaitUntil([&] { return Button().left == left; }, ms);
  }
  // A point on the start icon (picBg) of the button where it stands now.
  POINT StartIcon() const {
    const RECT r = Button();
    return {std::max<LONG>(r.left + 4 + 15, 2), r.top + 62 + 14};
  }

  static inline const std::wstring folder_ = CopyInstalledTree(L"button");
  testsupport::ChildProcess pravik_;
  HWND button_ = nullptr;
  HWND menu_ = nullptr;
};

TEST_F(StartButtonTest, SlidesOutWhenThePointerIsAwayAndBackOnHover) {
  // Hidden: 390 twips off the screen, 13 pixels left showing.
  ASSERT_TRUE(SettlesAt(-26)) << "left " << Button().left;
  // Touching the visible strip brings it back.
  MovePointer(5, StartIcon().y);
  MovePointer(6, StartIcon().y);
  ASSERT_TRUE(SettlesAt(0)) << "left " << Button().left;
  // Resting within the button's 39 pixels keeps it shown, across several pointer checks.
  MovePointer(30, 200);
  testsupport::PumpFor(1600);
  EXPECT_EQ(Button().left, 0);
  // Away again: out.
  MovePointer(40, 200);
  EXPECT_TRUE(SettlesAt(-26)) << "left " << Button().left;
}

TEST_F(StartButtonTest, HoverDuringSlideOutReversesIt) {
  MovePointer(5, StartIcon().y);
  MovePointer(6, StartIcon().y);
  ASSERT_TRUE(SettlesAt(0));
  MovePointer(600, 300);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Button().left < 0; }, 3000));
  // Follow the button with the pointer while it is still on its way out.
  MovePointer(2, StartIcon().y);
  MovePointer(3, StartIcon().y);
  EXPECT_TRUE(SettlesAt(0)) << "left " << Button().left;
}

TEST_F(StartButtonTest, StartIconTogglesTheMenuBesideTheButton) {
  MovePointer(5, StartIcon().y);
  MovePointer(6, StartIcon().y);
  ASSERT_TRUE(SettlesAt(0));
  const RECT button = Button();
  const POINT icon = StartIcon();
  ClickAt(icon.x, icon.y);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return ::IsWindowVisible(menu_) != FALSE; }, 5000));
  // The menu is shown first and then moved in one call; let the click's handler finish.
  testsupport::WaitUntil([&] { return ReadWindow(menu_).rect.left == button.right; }, 2000);
  const RECT menu = ReadWindow(menu_).rect;
  EXPECT_EQ(menu.left, button.right);
  EXPECT_EQ(menu.bottom, button.bottom);
  EXPECT_EQ(menu.right - menu.left, 470);
  EXPECT_EQ(menu.bottom - menu.top, 595);
  EXPECT_EQ(::GetWindow(menu_, GW_OWNER), button_);

  ClickAt(icon.x, icon.y);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !::IsWindowVisible(menu_); }, 5000));
  ClickAt(icon.x, icon.y);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return ::IsWindowVisible(menu_) != FALSE; }, 5000));
}

TEST_F(StartButtonTest, UpperPicturesShowTheNoticeAndChangeNothing) {
  MovePointer(5, StartIcon().y);
  MovePointer(6, StartIcon().y);
  ASSERT_TRUE(SettlesAt(0));
  const RECT before = Button();
  for (const int pictureTop : {4, 32}) {
    SCOPED_TRACE(pictureTop == 4 ? "PicHelp" : "PicWall");
    ClickAt(before.left + 19, before.top + pictureTop + 14);
    const MessageBoxTexts box = WaitForMessageBox(pravik_.pid(), 5000);
    ASSERT_TRUE(box.hwnd);
    EXPECT_EQ(box.caption, L"업데이트 예정");
    EXPECT_EQ(box.prompt, L"업데이트 예정된 기능");
    EXPECT_FALSE(::GetDlgItem(box.hwnd, IDCANCEL) && ::IsWindowVisible(::GetDlgItem(box.hwnd, IDCANCEL)));
    ::PostMessageW(box.hwnd, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(testsupport::WaitUntil([&] { return !::IsWindow(box.hwnd); }, 5000));
    EXPECT_FALSE(::IsWindowVisible(menu_));
    EXPECT_EQ(Button().top, before.top);
  }
}

}  // namespace
}  // namespace pravik::startup
