// The menu in a user's hands: the real Pravik.exe driven by synthetic keyboard and mouse input
// only, its windows, focus and the commands that reached the recording stand-ins read back.
#include <gtest/gtest.h>
#include <windows.h>
#include <oleacc.h>
#include <shlobj.h>
#include <tlhelp32.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "menu/tests/menu_in_hand_fixture.h"
#include "menu/tests/menu_test_support.h"
#include "menu/title_link.h"
#include "startup/tests/pravik_fixture.h"

namespace pravik::menu {
namespace {

// A program placed right in the shared Programs folder, to be reached in the tree by typing.
class ProgramInTree {
 public:
  ProgramInTree() {
    wchar_t programs[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, programs, CSIDL_COMMON_PROGRAMS, TRUE);
    path_ = std::wstring(programs) + L"\\ZqPickMe.exe";
    ::CopyFileW((TestDir() + L"\\command_recorder.exe").c_str(), path_.c_str(), FALSE);
  }
  ~ProgramInTree() {
    for (int i = 0; i < 50 && !::DeleteFileW(path_.c_str()); ++i) ::Sleep(100);
  }

 private:
  std::wstring path_;
};

TEST_F(MenuInHandTest, FirstShowOwnsTheKeyboardAndEscEnterAltF4LeaveTheTreeAlive) {
  ProgramInTree program;
  OpenMenu();
  testsupport::PumpFor(700);
  // The menu, not the off-screen folder dialog, is in front, and typing goes into the run box.
  EXPECT_EQ(::GetForegroundWindow(), menu_);
  EXPECT_EQ(Focus(), RunBox());
  EXPECT_FALSE(DialogShows()) << Describe();
  Type(L"x");
  EXPECT_TRUE(testsupport::WaitUntil([&] { return TextLength(RunBox()) == 1; }, 3000)) << Describe();
  Key(VK_BACK);

  // Esc hides; the icon shows the menu again.
  Key(VK_ESCAPE);
  ASSERT_TRUE(Hidden());
  OpenMenu();
  // Enter on the empty box runs nothing; Alt+F4 hides and destroys nothing.
  Key(VK_RETURN);
  Chord({VK_MENU, VK_F4});
  ASSERT_TRUE(Hidden());
  EXPECT_TRUE(::IsWindow(menu_));
  // A close request to the menu window itself only hides it too.
  OpenMenu();
  ::PostMessageW(menu_, WM_CLOSE, 0, 0);
  ASSERT_TRUE(Hidden());
  EXPECT_TRUE(Alive());

  OpenMenu();
  EXPECT_EQ(::GetForegroundWindow(), menu_);
  // Back from the run box past the shortcut column into the tree, then the program by its name.
  Chord({VK_SHIFT, VK_TAB});
  Chord({VK_SHIFT, VK_TAB});
  const HWND tree = FindDescendant(menu_, L"SysTreeView32");
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Focus() == tree; }, 3000));
  Type(L"ZqPick");
  testsupport::PumpFor(300);
  Key(VK_RETURN);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"ZqPickMe.exe").empty(); }, 10000))
      << "the tree still starts what it reaches";
}

TEST_F(MenuInHandTest, ANeverEndingCommandHoldsNothingAndAltF4WhileItRunsKeepsTheMenu) {
  OpenMenu();
  Type(L"start /wait StayForever.exe");
  Key(VK_RETURN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"StayForever.exe").empty(); }, 10000));
  // The box empties as soon as the command has started.
  EXPECT_EQ(TextLength(RunBox()), 0);

  ClickShutdownButton();
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"shutdown.exe").empty(); }, 10000))
      << "the shutdown button ran although a command still runs";
  EXPECT_EQ(RecordsOfProgram(L"shutdown.exe")[0], L"/s /t 0");

  // Alt+F4 while the command runs: hidden, intact, the icon opens it again.
  ::SetForegroundWindow(menu_);
  Chord({VK_MENU, VK_F4});
  ASSERT_TRUE(Hidden());
  OpenMenu();
  // A shortcut ("사진") still runs.
  const POINT caption = InPanel(296 + 2 + 10, 68 + 8 + 5);
  startup::ClickAt(caption.x, caption.y);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"explorer.exe").empty(); }, 10000));
  EXPECT_TRUE(Alive());

  // The installer's close request while the command still runs: Pravik ends within a second.
  ::PostMessageW(button_, WM_CLOSE, 0, 0);
  const auto code = pravik_.WaitExit(1000);
  ASSERT_TRUE(code.has_value()) << "Pravik did not end on WM_CLOSE to its button";
  EXPECT_EQ(*code, 0u);
}

TEST_F(MenuInHandTest, AfterTheRunBoxAndTheShutdownButtonThePopupWorksFromTheKeyboard) {
  OpenMenu();
  Type(L"runtest.exe one");
  Key(VK_RETURN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"runtest.exe").empty(); }, 10000));
  ClickShutdownButton();
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"shutdown.exe").empty(); }, 10000));
  // From the shutdown button Tab reaches the power arrow; Alt+Down opens its popup at the arrow.
  Key(VK_TAB);
  testsupport::PumpFor(200);
  Chord({VK_MENU, VK_DOWN});
  const HWND popup = testsupport::WaitForWindow(pravik_.pid(), L"#32768", 5000);
  ASSERT_TRUE(popup) << "no popup";
  // 사용자전환, 로그오프, 잠금, (separator), 다시시작.
  for (int i = 0; i < 4; ++i) Key(VK_DOWN);
  Key(VK_RETURN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return RecordsOfProgram(L"shutdown.exe").size() >= 2; }, 10000));
  EXPECT_EQ(RecordsOfProgram(L"shutdown.exe")[1], L"/r /t 00");
}

TEST_F(MenuInHandTest, SessionEndIsAnsweredAtOnceAndEndsCleanlyWhileACommandRuns) {
  OpenMenu();
  Type(L"start /wait StayForever.exe");
  Key(VK_RETURN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"StayForever.exe").empty(); }, 10000));
  DWORD_PTR answer = 0;
  ASSERT_TRUE(::SendMessageTimeoutW(button_, WM_QUERYENDSESSION, 0, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 1000, &answer));
  EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "no veto";
  testsupport::PumpFor(500);
  ASSERT_TRUE(Alive()) << "the query alone ends nothing";
  // Another program vetoed: the session goes on, and so does Pravik.
  ::SendMessageTimeoutW(button_, WM_ENDSESSION, FALSE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 1000, &answer);
  testsupport::PumpFor(300);
  ASSERT_TRUE(Alive());
  ::SendMessageTimeoutW(button_, WM_ENDSESSION, TRUE, ENDSESSION_LOGOFF, SMTO_ABORTIFHUNG, 1000, &answer);
  const auto code = pravik_.WaitExit(1000);
  ASSERT_TRUE(code.has_value()) << "Pravik did not end with the session";
  EXPECT_EQ(*code, 0u);
}

TEST_F(MenuInHandTest, ANinthRunningCommandGetsAMessageInsteadOfVanishing) {
  OpenMenu();
  for (int i = 1; i <= 8; ++i) {
    Type(L"start /wait StayForever.exe " + std::to_wstring(i));
    Key(VK_RETURN);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return RecordsOfProgram(L"StayForever.exe").size() >= static_cast<std::size_t>(i); }, 10000));
  }
  Type(L"runtest.exe ninth");
  Key(VK_RETURN);
  const HWND box = WaitForBoxTitled(kTooManyCommandsTitle, 5000);
  ASSERT_TRUE(box) << "the ninth command vanished silently";
  DWORD pid = 0;
  ::GetWindowThreadProcessId(box, &pid);
  EXPECT_EQ(pid, pravik_.pid());
  wchar_t prompt[256] = {};
  ::GetDlgItemTextW(box, 0xFFFF, prompt, 256);
  EXPECT_EQ(std::wstring(prompt), kTooManyCommandsText);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  testsupport::PumpFor(500);
  EXPECT_TRUE(RecordsOfProgram(L"runtest.exe").empty());
}

// A window of the test in front, counting the key messages it receives.
class KeyProbe {
 public:
  KeyProbe() {
    WNDCLASSW wc{};
    wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
      if ((m == WM_KEYDOWN || m == WM_SYSKEYDOWN) && w < 256) ++downs[w];
      if ((m == WM_KEYUP || m == WM_SYSKEYUP) && w < 256) ++ups[w];
      return ::DefWindowProcW(h, m, w, l);
    };
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"PravikKeyProbe";
    ::RegisterClassW(&wc);
    hwnd_ = ::CreateWindowW(wc.lpszClassName, L"probe", WS_OVERLAPPEDWINDOW | WS_VISIBLE, 700, 200, 300, 200, nullptr,
                            nullptr, wc.hInstance, nullptr);
    Front();
  }
  ~KeyProbe() { ::DestroyWindow(hwnd_); }
  // In front once it has stayed there a while: a window hidden just before (the menu) settles the
  // activation a moment later, and under Wine the desktop can take it then. False when it never did.
  bool Front() {
    const ULONGLONG end = ::GetTickCount64() + 5000;
    ULONGLONG since = 0;
    while (::GetTickCount64() < end) {
      if (::GetForegroundWindow() != hwnd_) {
        ::SetForegroundWindow(hwnd_);
        ::SetFocus(hwnd_);
        since = ::GetTickCount64();
      }
      testsupport::PumpFor(50);
      if (::GetForegroundWindow() == hwnd_ && ::GetTickCount64() - since >= 300) return true;
    }
    return false;
  }
  HWND hwnd() const { return hwnd_; }
  static inline int downs[256] = {};
  static inline int ups[256] = {};

 private:
  HWND hwnd_ = nullptr;
};

TEST_F(MenuInHandTest, WindowsKeyTogglesTheMenuAndCombinationsPassThrough) {
  KeyProbe probe;
  ASSERT_EQ(::GetForegroundWindow(), probe.hwnd());
  // A lone Windows key: the menu opens beside the button that slid in, with the keyboard.
  Key(VK_LWIN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return ::IsWindowVisible(menu_) != FALSE; }, 5000));
  testsupport::PumpFor(300);
  EXPECT_EQ(KeyProbe::ups[VK_LWIN], 0) << "the lone key's release reached the program in front";
  EXPECT_EQ(KeyProbe::downs[VK_LWIN], 0);
  // Beside the button as it stood when the menu opened: slid in, at the screen's edge.
  RECT button, menu;
  ::GetWindowRect(button_, &button);
  ::GetWindowRect(menu_, &menu);
  EXPECT_EQ(menu.left, button.right - button.left);
  EXPECT_EQ(::GetForegroundWindow(), menu_);
  Type(L"runtest.exe by keyboard");
  Key(VK_RETURN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"runtest.exe").empty(); }, 10000));
  EXPECT_EQ(RecordsOfProgram(L"runtest.exe")[0], L"by keyboard");
  Key(VK_ESCAPE);
  ASSERT_TRUE(Hidden());

  // Win+R: both keys reach the program in front, and the menu stays shut.
  ASSERT_TRUE(probe.Front()) << "in front: " << ClassOfWindow(::GetForegroundWindow());
  Chord({VK_LWIN, 'R'});
  testsupport::PumpFor(500);
  EXPECT_GE(KeyProbe::downs['R'], 1) << "Win+R's R was swallowed";
  EXPECT_GE(KeyProbe::downs[VK_LWIN], 1);
  EXPECT_GE(KeyProbe::ups[VK_LWIN], 1) << "a combination's Windows key must be released as it came; in front: "
                                       << ClassOfWindow(::GetForegroundWindow());
  EXPECT_FALSE(::IsWindowVisible(menu_));

  // Ctrl+Esc opens and closes it too.
  Chord({VK_CONTROL, VK_ESCAPE});
  ASSERT_TRUE(testsupport::WaitUntil([&] { return ::IsWindowVisible(menu_) != FALSE; }, 5000));
  testsupport::PumpFor(300);
  Key(VK_LWIN);
  EXPECT_TRUE(Hidden());
}

TEST_F(MenuInHandTest, EveryElementReadsItsNameAndRole) {
  OpenMenu();
  ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
  struct Expected {
    HWND hwnd;
    const wchar_t* name;
    long role;
  };
  const std::vector<Expected> expected = {
      {button_, L"시작", ROLE_SYSTEM_PUSHBUTTON},
      {FindDescendant(menu_, L"PravikLabel", 420), L"문서", ROLE_SYSTEM_LINK},
      {FindDescendant(menu_, L"PravikLabel", 428), L"도움말 및 지원", ROLE_SYSTEM_LINK},
      {RunBox(), L"프로그램 및 파일 검색", ROLE_SYSTEM_TEXT},
      {FindDescendant(menu_, L"PravikPictureBox", 505), L"실행", ROLE_SYSTEM_PUSHBUTTON},
      {FindDescendant(menu_, L"PravikZqButton", 601), L"시스템 종료", ROLE_SYSTEM_PUSHBUTTON},
      {FindDescendant(menu_, L"PravikPictureBox", 600), L"종료 옵션", ROLE_SYSTEM_PUSHBUTTON},
      {FindDescendant(menu_, L"PravikTitleLink"), kTitleLinkName, ROLE_SYSTEM_LINK},
      {FindDescendant(menu_, L"SysTreeView32"), L"프로그램 목록", ROLE_SYSTEM_OUTLINE},
  };
  for (const Expected& e : expected) {
    SCOPED_TRACE(win32::WideToUtf8(e.name));
    ASSERT_TRUE(e.hwnd);
    IAccessible* acc = nullptr;
    ASSERT_TRUE(SUCCEEDED(::AccessibleObjectFromWindow(e.hwnd, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&acc))));
    VARIANT self{};
    self.vt = VT_I4;
    self.lVal = CHILDID_SELF;
    BSTR name = nullptr;
    EXPECT_EQ(acc->get_accName(self, &name), S_OK);
    EXPECT_EQ(std::wstring(name ? name : L""), e.name);
    ::SysFreeString(name);
    VARIANT role{};
    EXPECT_EQ(acc->get_accRole(self, &role), S_OK);
    EXPECT_EQ(role.vt, VT_I4);
    EXPECT_EQ(role.lVal, e.role);
    if (e.name == std::wstring(L"종료 옵션")) {
      VARIANT state{};
      acc->get_accState(self, &state);
      EXPECT_TRUE(state.lVal & STATE_SYSTEM_HASPOPUP);
    }
    acc->Release();
  }
  ::CoUninitialize();
}

}  // namespace
}  // namespace pravik::menu
