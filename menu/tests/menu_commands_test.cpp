// The menu's commands end to end: what reaches the command interpreter is read back from
// recording stand-ins for shutdown.exe, explorer.exe and the like (see command_recorder.cpp).
#include <windows.h>

#include <knownfolders.h>

#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "menu/tests/menu_test_support.h"
#include "testsupport/process.h"
#include "win32/launch.h"

namespace pravik::menu {
namespace {


class CommandsTest : public menu::MenuTest {};

std::wstring UserProfile() {
  wchar_t profile[MAX_PATH] = {};
  ::GetEnvironmentVariableW(L"USERPROFILE", profile, MAX_PATH);
  return profile;
}

TEST_F(CommandsTest, CaptionsAndIconsRunTheirCommandsTheMarginNothing) {
  Show();
  // The commands that name %SystemRoot%\explorer.exe would open real windows: the interpreter
  // stand-in only records what it was given.
  ForwardCommands(false);
  ui_.Run([&] { Click(E(L"lblMenuCaption0"), 5, 5); });
  ASSERT_TRUE(WaitRecordsOf(L"cmd.exe", 1));
  ui_.Run([&] { Click(E(L"PicComputer"), 10, 10); });
  ASSERT_TRUE(WaitRecordsOf(L"cmd.exe", 2));
  ui_.Run([&] { Click(E(L"lblMenuCaption6"), 5, 5); });
  ASSERT_TRUE(WaitRecordsOf(L"cmd.exe", 3));
  ui_.Run([&] { Click(E(L"PicHelp"), 10, 10); });
  ASSERT_TRUE(WaitRecordsOf(L"cmd.exe", 4));
  const auto lines = RecordsOf(L"cmd.exe");
  EXPECT_EQ(lines[0], L"/c %SystemRoot%\\explorer.exe /N,::{450D8FBA-AD25-11D0-98A8-0800361B1103}");
  EXPECT_EQ(lines[1], L"/c %SystemRoot%\\explorer.exe /E,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}");
  EXPECT_EQ(lines[2],
            L"/c %SystemRoot%\\explorer.exe /N,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\::{21EC2020-3AEA-1069-A2DD-"
            L"08002B30309D}\\::{2227A280-3AEA-1069-A2DE-08002B30309D}");
  EXPECT_EQ(lines[3], L"/c %SystemRoot%\\WinHlp32.exe");

  // Through the real interpreter: "explorer" on the search path, the profile expanded.
  ForwardCommands(true);
  ui_.Run([&] { Click(E(L"lblMenuCaption1"), 5, 5); });
  ASSERT_TRUE(WaitRecordsOf(L"explorer.exe", 1));
  EXPECT_EQ(RecordsOf(L"explorer.exe")[0], UserProfile() + L"\\Pictures");
  ui_.Run([&] { Click(E(L"PicGame"), 10, 10); });
  ASSERT_TRUE(WaitRecordsOf(L"explorer.exe", 2));
  EXPECT_EQ(RecordsOf(L"explorer.exe")[1], UserProfile() + L"\\Game");

  // The white margin of a frame, right of its caption, runs nothing.
  const std::size_t before = Records().size();
  ui_.Run([&] { Click(E(L"FramMenu3"), 150, 3); });
  Settle();
  ::Sleep(500);
  EXPECT_EQ(Records().size(), before);
}

// What a standard user can plant (variables through HKCU\Environment, a program on the search
// path) is not what the fixed commands find; the user's typed command keeps the user's own.
TEST_F(CommandsTest, FixedCommandsRunFromSystemPathsWhateverTheEnvironmentHolds) {
  Show();
  ForwardCommands(true);
  const std::wstring planted = TheRecorders().folder() + L"\\planted";
  const std::wstring routes = TheRecorders().folder() + L"\\routes.txt";
  ::DeleteFileW(routes.c_str());
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD", routes.c_str());
  const std::wstring savedProfile = UserProfile();
  ::SetEnvironmentVariableW(L"USERPROFILE", planted.c_str());
  ui_.Run([&] { Click(E(L"lblMenuCaption1"), 5, 5); });
  const bool recorded = WaitRecordsOf(L"explorer.exe", 1);
  ::SetEnvironmentVariableW(L"USERPROFILE", savedProfile.c_str());
  ASSERT_TRUE(recorded);
  EXPECT_EQ(RecordsOf(L"explorer.exe")[0], *win32::KnownFolderPath(FOLDERID_Profile) + L"\\Pictures");
  // The interpreter by its full system path, started in the system folder, its line unchanged.
  const std::wstring system = win32::SystemFolder();
  ASSERT_EQ(RecordsOf(L"cmd.exe:at").size(), 1u);
  EXPECT_EQ(RecordsOf(L"cmd.exe:at")[0], system + L"\\cmd.exe\t" + system);
  EXPECT_EQ(RecordsOf(L"cmd.exe")[0], L"/c explorer %userprofile%\\Pictures");
  // Started with the signed-in user's own token, not the program's administrator rights.
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD", nullptr);
  std::ifstream in(routes.c_str(), std::ios::binary);
  std::stringstream route;
  route << in.rdbuf();
  EXPECT_EQ(route.str(), "unelevated\tcmd.exe /c explorer %userprofile%\\Pictures\n");
}

TEST_F(CommandsTest, WithoutTheUsersOwnTokenNothingStartsAndTheUserIsTold) {
  Show();
  ForwardCommands(false);
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_NO_SHELL_TOKEN", L"1");
  ui_.Run([&] { Click(E(L"lblMenuCaption1"), 5, 5); });
  // The folder tree's hidden browse dialog is a #32770 too: look for the box by its title.
  HWND box = nullptr;
  testsupport::WaitUntil([&] { return (box = ::FindWindowW(L"#32770", L"Pravik")) != nullptr; }, 15000);
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_NO_SHELL_TOKEN", nullptr);
  ASSERT_NE(box, nullptr) << "no refusal shown";
  std::wstring texts;
  ::EnumChildWindows(
      box,
      [](HWND child, LPARAM param) -> BOOL {
        wchar_t text[512];
        if (::GetWindowTextW(child, text, 512) > 0) *reinterpret_cast<std::wstring*>(param) += text;
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&texts));
  EXPECT_NE(texts.find(win32::kNoUserTokenMessage), std::wstring::npos) << win32::WideToUtf8(texts);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  Settle();
  ::Sleep(500);
  // Refused, not started with administrator rights instead.
  EXPECT_TRUE(RecordsOf(L"cmd.exe").empty());
}

TEST_F(CommandsTest, HighlightFollowsThePointerFromFrameToFrameAndStays) {
  Show();
  auto lit = [&](int index) { return ui_.Run([&] { return menu_->shortcuts().highlighted(index); }); };
  ui_.Run([&] { MouseAt(E(L"FramMenu2"), 150, 3); });
  Settle();
  EXPECT_TRUE(lit(2));
  ui_.Run([&] { MouseAt(E(L"FramMenu5"), 150, 3); });
  Settle();
  EXPECT_TRUE(lit(5));
  EXPECT_FALSE(lit(2));
  // Leaving the column keeps the last item lit, in the stated colours.
  ui_.Run([&] { MouseAt(E(L"Frame1"), 20, 20); });
  Settle();
  EXPECT_TRUE(lit(5));
  const COLORREF litColour = ui_.Run([&] { return PixelAt(E(L"FramMenu5"), 150, 3); });
  const COLORREF plain = ui_.Run([&] { return PixelAt(E(L"FramMenu2"), 150, 3); });
  EXPECT_EQ(litColour, RGB(0x00, 0xB0, 0xF0));
  EXPECT_EQ(plain, RGB(0xFF, 0xFF, 0xFF));
  // Moving over a caption's own text changes nothing.
  ui_.Run([&] { MouseAt(E(L"lblMenuCaption2"), 5, 5); });
  Settle();
  EXPECT_TRUE(lit(5));
}

TEST_F(CommandsTest, RunBoxPlaceholderEnterAndBlankText) {
  Show();
  ui_.Run([&] {
    // Typing goes into the box at once; the placeholder stays until the first character.
    EXPECT_EQ(::GetFocus(), menu_->runBox().txtExe());
    EXPECT_TRUE(menu_->runBox().placeholderShown());
    // Away from the empty box, the cover with its placeholder is back.
    ::SetFocus(menu_->ucBrowse1().TreeWindow());
    EXPECT_TRUE(menu_->runBox().covered());
    EXPECT_TRUE(::IsWindowVisible(E(L"Label4")));
  });
  ui_.Run([&] { Click(E(L"Label4"), 10, 5); });
  Settle();
  ui_.Run([&] {
    EXPECT_FALSE(menu_->runBox().covered()) << "a click on the placeholder uncovers the box";
    EXPECT_EQ(::GetFocus(), menu_->runBox().txtExe());
  });
  // Spaces and quotes reach the interpreter as typed, after the prefix.
  const std::wstring typed = L"runtest.exe \"a  b\" 'c' d";
  Type(typed);
  Key(VK_RETURN);
  ASSERT_TRUE(WaitRecordsOf(L"runtest.exe", 1));
  EXPECT_EQ(RecordsOf(L"cmd.exe")[0], L"/c " + typed);
  EXPECT_EQ(RecordsOf(L"runtest.exe")[0], L"\"a  b\" 'c' d");
  EXPECT_TRUE(ui_.Run([&] { return menu_->runBox().placeholderShown(); })) << "empty again: the placeholder is back";
  EXPECT_TRUE(ui_.WaitFor([&] { return ::GetWindowTextLengthW(menu_->runBox().txtExe()) == 0; }, 5000));
  // Korean text goes through as typed.
  Type(L"runtest.exe 메모장 \"시스템 종료\"");
  Key(VK_RETURN);
  ASSERT_TRUE(WaitRecordsOf(L"runtest.exe", 2));
  EXPECT_EQ(RecordsOf(L"runtest.exe")[1], L"메모장 \"시스템 종료\"");
  // A blank line starts nothing and the box is emptied all the same.
  Type(L"   ");
  Key(VK_RETURN);
  EXPECT_TRUE(ui_.WaitFor([&] { return ::GetWindowTextLengthW(menu_->runBox().txtExe()) == 0; }, 5000));
  Key(VK_RETURN);
  Settle();
  ::Sleep(500);
  EXPECT_EQ(RecordsOf(L"cmd.exe").size(), 2u) << "the runner refuses a blank line";
  EXPECT_TRUE(ui_.Run([&] { return ::IsWindowVisible(menu_->hwnd()) != FALSE; }));
}

TEST_F(CommandsTest, TabFromTheTreeUncoversTheRunBox) {
  Show();
  // The keys go to the window in front: the menu, with the tree focused, before the first one.
  ASSERT_TRUE(ui_.WaitFor(
      [&] {
        ::SetForegroundWindow(menu_->hwnd());
        ::SetFocus(menu_->ucBrowse1().TreeWindow());
        return ::GetForegroundWindow() == menu_->hwnd() && ::GetFocus() == menu_->ucBrowse1().TreeWindow();
      },
      5000))
      << "in front: " << ClassOfWindow(::GetForegroundWindow());
  // Past the shortcut column.
  Key(VK_TAB);
  EXPECT_TRUE(ui_.WaitFor([&] { return ::GetFocus() == E(L"lblMenuCaption0"); }, 5000))
      << "focus: " << ui_.Run([&] { return ClassOfWindow(::GetFocus()); })
      << ", in front: " << ClassOfWindow(::GetForegroundWindow());
  // Ctrl+Tab steps the same way: the dialog manager's order would stop on a picture box.
  Chord({VK_CONTROL, VK_TAB});
  EXPECT_TRUE(ui_.WaitFor([&] { return ::GetFocus() == menu_->runBox().txtExe(); }, 5000))
      << "focus: " << ui_.Run([&] { return ClassOfWindow(::GetFocus()); });
  EXPECT_FALSE(ui_.Run([&] { return menu_->runBox().covered(); }));
}

TEST_F(CommandsTest, ShutdownButtonRunsShutdownAtOnce) {
  Show();
  ui_.Run([&] {
    auto* button = menu_->power().zqbutton1();
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->settings().caption, L"시스템 종료");
    EXPECT_EQ(button->settings().buttonStyle, 4);
    EXPECT_EQ(button->settings().colorScheme, 3);
    EXPECT_EQ(button->settings().backColor, 0x00F0B000u);
    EXPECT_TRUE(button->settings().picturePushOnHover);
  });
  ui_.Run([&] { Click(E(L"zqbutton1"), 40, 10); });
  ASSERT_TRUE(WaitRecordsOf(L"shutdown.exe", 1));
  EXPECT_EQ(RecordsOf(L"cmd.exe")[0], L"/c shutdown.exe /s /t 0");
  EXPECT_EQ(RecordsOf(L"shutdown.exe")[0], L"/s /t 0");
}

// The popup runs its own modal loop on the UI thread: the test waits for it from outside.
HWND WaitPopup() {
  for (int i = 0; i < 250; ++i) {
    HWND popup = ::FindWindowW(L"#32768", nullptr);
    if (popup && ::IsWindowVisible(popup)) return popup;
    ::Sleep(20);
  }
  return nullptr;
}

TEST_F(CommandsTest, PowerPopupOpensAtThePointerForEitherButtonAndRunsTheChoice) {
  Show();
  struct Case {
    const char* name;
    bool right;
    int downs;  // Down presses to the entry (separators are skipped)
    const wchar_t* recorded;
  } cases[] = {
      {"left release, 로그오프", false, 2, L"/l"},
      {"right release, 다시시작", true, 4, L"/r /t 00"},
      {"left release, 절전", false, 5, L"/h"},
  };
  std::size_t expected = 0;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    POINT at = ui_.Run([&] {
      POINT p{20, 10};
      ::ClientToScreen(E(L"picShortMenu"), &p);
      return p;
    });
    // Posted by the input system: the click returns at once, the popup then runs on the UI thread.
    ui_.Run([&] { Click(E(L"picShortMenu"), 20, 10, c.right); });
    HWND popup = WaitPopup();
    ASSERT_NE(popup, nullptr);
    RECT r;
    ::GetWindowRect(popup, &r);
    EXPECT_LE(std::abs(r.left - at.x), 2);
    // Below the pointer, or moved up as far as needed to stay on the screen.
    EXPECT_LE(r.top, at.y);
    EXPECT_GE(r.bottom, at.y);
    EXPECT_NE(ui_.Run([&] { return menu_->power().PowerMenu(); }), nullptr);
    for (int i = 0; i < c.downs; ++i) Key(VK_DOWN);
    Key(VK_RETURN);
    ASSERT_TRUE(WaitRecordsOf(L"shutdown.exe", ++expected));
    EXPECT_EQ(RecordsOf(L"shutdown.exe")[expected - 1], c.recorded);
    EXPECT_EQ(RecordsOf(L"cmd.exe")[expected - 1], std::wstring(L"/c shutdown.exe ") + c.recorded);
    EXPECT_EQ(ui_.Run([&] { return menu_->power().PowerMenu(); }), nullptr) << "the popup was destroyed";
  }
  // The middle button opens it too.
  ui_.Run([&] {
    POINT p{20, 10};
    ::ClientToScreen(E(L"picShortMenu"), &p);
    ::SetCursorPos(p.x, p.y);
    INPUT clicks[2] = {};
    clicks[0].type = clicks[1].type = INPUT_MOUSE;
    clicks[0].mi.dwFlags = MOUSEEVENTF_MIDDLEDOWN;
    clicks[1].mi.dwFlags = MOUSEEVENTF_MIDDLEUP;
    ::SendInput(2, clicks, sizeof(INPUT));
  });
  ASSERT_NE(WaitPopup(), nullptr);
  Key(VK_ESCAPE);
  EXPECT_TRUE(ui_.WaitFor([&] { return menu_->power().PowerMenu() == nullptr; }, 5000));
  // Escape closes it and runs nothing.
  ui_.Run([&] { Click(E(L"picShortMenu"), 20, 10); });
  ASSERT_NE(WaitPopup(), nullptr);
  Key(VK_ESCAPE);
  EXPECT_TRUE(ui_.WaitFor([&] { return menu_->power().PowerMenu() == nullptr; }, 5000));
  ::Sleep(500);
  EXPECT_EQ(RecordsOf(L"cmd.exe").size(), expected);
}

TEST_F(CommandsTest, SwitchUserAndLockUseThePlatformsOwnActions) {
  Show();
  int switched = 0, locked = 0;
  ui_.Run([&] {
    menu_->power().actions.switchUser = [&] { ++switched; };
    menu_->power().actions.lock = [&] { ++locked; };
    menu_->power().RunPowerEntry(1);
    menu_->power().RunPowerEntry(3);
    menu_->power().RunPowerEntry(0);
  });
  EXPECT_EQ(switched, 1);
  EXPECT_EQ(locked, 1);
  ::Sleep(300);
  EXPECT_TRUE(Records().empty()) << "neither runs a command line";
}

}  // namespace
}  // namespace pravik::menu
