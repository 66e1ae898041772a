#include <gtest/gtest.h>

#include "menu/option_controls.h"
#include "testsupport/process.h"

namespace pravik::menu {
namespace {

std::wstring TextOf(HWND window) {
  wchar_t text[128] = {};
  ::GetWindowTextW(window, text, 128);
  return text;
}

class OptionControlsTest : public testing::Test {
 protected:
  void SetUp() override {
    menu_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 470,
                              595, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    core::propbag::PropertyBag stored;
    stored.Set(L"Appearance", std::int32_t{0});
    // Not in run mode: the tree keeps its settings but opens no dialog, which these tests do not need.
    ASSERT_TRUE(tree_.Create(menu_, 50, 8, 48, 247, 436, stored, false));
    ASSERT_TRUE(options_.Create(menu_, menu_, &tree_, [this] { ++applied_; }));
  }
  void TearDown() override { ::DestroyWindow(menu_); }
  void Key(HWND target, WPARAM key) {
    ::SendMessageW(target, WM_KEYDOWN, key, 0);
    ::SendMessageW(target, WM_CHAR, key == VK_SPACE ? L' ' : key, 0);
    ::SendMessageW(target, WM_KEYUP, key, 0xC0000000);
  }
  void Click(OptionControls::Id id) {
    ::SendMessageW(options_.hwnd(), WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(options_.item(id)));
  }

  HWND menu_ = nullptr;
  win32::Instance<controls::browse::FolderTree> tree_;
  win32::Instance<OptionControls> options_;
  int applied_ = 0;
};

TEST_F(OptionControlsTest, LieOutsideTheClientAreaYetReachable) {
  struct Case { OptionControls::Id id; const wchar_t* caption; } cases[] = {
      {OptionControls::kChkCheckBoxes, L"CheckBoxes (Design Only)"}, {OptionControls::kChkFullRowSelect, L"FullRowSelect"},
      {OptionControls::kChkHasButtons, L"HasButtons"}, {OptionControls::kChkHasLines, L"HasLines"},
      {OptionControls::kChkHideSelection, L"HideSelection"}, {OptionControls::kChkHotTracking, L"HotTracking"},
      {OptionControls::kFmAppearance, L"Appearance:"}, {OptionControls::kOptionFlat, L"Flat"},
      {OptionControls::kOption3D, L"3D"}, {OptionControls::kCommand4, L"Apply"}, {OptionControls::kCommand2, L"Stop"},
      {OptionControls::kCommand3, L"Reset"}, {OptionControls::kCommand1, L"More..."},
      {OptionControls::kLabel1, L"TreeView Status:"}, {OptionControls::kLabel2, L"Returned Path:"},
      {OptionControls::kLabel3, L"Root:"}, {OptionControls::kLblPath, L"Path:"}, {OptionControls::kLblTheme, L"Theme:"},
      {OptionControls::kHeader0, L" - System Folder Browser UserControl"}, {OptionControls::kHeader1, L"ucBrowse"},
  };
  POINT origin{0, 0};
  ::ClientToScreen(menu_, &origin);
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "id " << c.id);
    HWND control = options_.item(c.id);
    ASSERT_TRUE(control);
    EXPECT_EQ(TextOf(control), c.caption);
    RECT r{};
    ::GetWindowRect(control, &r);
    EXPECT_GE(r.left - origin.x, 564);
    EXPECT_TRUE(::IsWindowVisible(control));
  }
  EXPECT_FALSE(::IsWindowVisible(options_.item(OptionControls::kLblLogOnName)));
  EXPECT_FALSE(::IsWindowVisible(options_.item(OptionControls::kCommand5)));
  EXPECT_EQ(TextOf(options_.item(OptionControls::kCommand5)), L"임시종료");
}

TEST_F(OptionControlsTest, LoadStepsSetTheTreeOptions) {
  options_.FillThemeList();
  HWND themes = options_.item(OptionControls::kCmbTheme);
  EXPECT_EQ(::SendMessageW(themes, CB_GETCOUNT, 0, 0), 6);
  EXPECT_EQ(::SendMessageW(themes, CB_GETCURSEL, 0, 0), 0);
  options_.MatchTreeAppearance();
  // Off version 5.1 the tree's Auto scheme forces the 3D border; the option follows the tree.
  const auto matching = tree_.Appearance() == 0 ? OptionControls::kOptionFlat : OptionControls::kOption3D;
  EXPECT_EQ(::SendMessageW(options_.item(matching), BM_GETCHECK, 0, 0), BST_CHECKED);
  EXPECT_EQ(options_.pbPath().DialogType(), 1);
  EXPECT_FALSE(::IsWindowEnabled(options_.item(OptionControls::kChkCheckBoxes)));
  options_.ApplyCheckBoxesToTree();
  EXPECT_TRUE(tree_.FullRowSelect());
  EXPECT_FALSE(tree_.HasButtons());
  EXPECT_FALSE(tree_.HasLines());
  EXPECT_FALSE(tree_.HideSelection());
  EXPECT_FALSE(tree_.HotTracking());
  EXPECT_FALSE(tree_.CheckBoxes());
}

TEST_F(OptionControlsTest, KeyboardActsOnTheTree) {
  options_.FillThemeList();
  options_.ApplyCheckBoxesToTree();
  HWND fullRow = options_.item(OptionControls::kChkFullRowSelect);
  ::SetFocus(fullRow);
  Key(fullRow, VK_TAB);
  EXPECT_EQ(::GetFocus(), options_.item(OptionControls::kChkHasButtons));
  Key(::GetFocus(), VK_TAB);
  HWND hasLines = options_.item(OptionControls::kChkHasLines);
  EXPECT_EQ(::GetFocus(), hasLines);
  Key(hasLines, VK_SPACE);
  EXPECT_TRUE(tree_.HasLines());
  Key(hasLines, VK_SPACE);
  EXPECT_FALSE(tree_.HasLines());

  // A theme choice goes to the tree and the picker alike.
  HWND themes = options_.item(OptionControls::kCmbTheme);
  ::SendMessageW(themes, CB_SETCURSEL, 2, 0);
  ::SendMessageW(options_.hwnd(), WM_COMMAND, MAKEWPARAM(OptionControls::kCmbTheme, CBN_SELCHANGE),
                 reinterpret_cast<LPARAM>(themes));
  EXPECT_EQ(tree_.Theme(), 2);
  EXPECT_EQ(options_.pbPath().Theme(), 2);

  Click(OptionControls::kOption3D);
  EXPECT_EQ(tree_.Appearance(), 1);
  Click(OptionControls::kCommand4);
  Click(OptionControls::kCommand3);  // Reset: nothing
  EXPECT_EQ(applied_, 1);
}

TEST_F(OptionControlsTest, PickerClickCopiesPathToTree) {
  const std::wstring folder = testsupport::MakeTempFolder(L"optionpath");
  options_.pbPath().SetPath(folder + L"\\");
  ASSERT_TRUE(options_.pbPath().onClick);
  options_.pbPath().onClick();
  EXPECT_EQ(_wcsicmp(tree_.Path().c_str(), (folder + L"\\").c_str()), 0);
}

TEST_F(OptionControlsTest, MoreShowsMultipleHosting) {
  Click(OptionControls::kCommand1);
  ASSERT_TRUE(options_.multiples());
  HWND multiples = options_.multiples()->hwnd();
  EXPECT_EQ(TextOf(multiples), L"Multiple Hosting");
  EXPECT_EQ(::GetWindow(multiples, GW_OWNER), nullptr);
  EXPECT_TRUE(::IsWindowVisible(multiples));
  ::DestroyWindow(multiples);
}

}  // namespace
}  // namespace pravik::menu
