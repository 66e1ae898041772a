// Search as you type in the real Pravik.exe: shortcuts made in the prefix's Start Menu, queries
// typed as Unicode key strokes, the results list read back, and what Enter started recorded.
#include <gtest/gtest.h>
#include <windows.h>
#include <objbase.h>
#include <oleacc.h>
#include <shlobj.h>
#include <shobjidl.h>

#include <string>
#include <vector>

#include "menu/tests/menu_in_hand_fixture.h"
#include "testsupport/screen.h"

namespace pravik::menu {
namespace {

void MakeShortcut(const std::wstring& link, const std::wstring& target, const std::wstring& arguments = L"") {
  IShellLinkW* shellLink = nullptr;
  ASSERT_TRUE(SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW,
                                           reinterpret_cast<void**>(&shellLink))));
  shellLink->SetPath(target.c_str());
  shellLink->SetArguments(arguments.c_str());
  IPersistFile* file = nullptr;
  ASSERT_TRUE(SUCCEEDED(shellLink->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&file))));
  EXPECT_TRUE(SUCCEEDED(file->Save(link.c_str(), TRUE)));
  file->Release();
  shellLink->Release();
}

std::wstring ProgramsFolder(int csidl) {
  wchar_t path[MAX_PATH] = {};
  ::SHGetSpecialFolderPathW(nullptr, path, csidl, TRUE);
  return path;
}

// The results list of the menu, shown or not.
HWND ResultsList(HWND menu) {
  return ::GetWindow(testsupport::FindDescendantOfClass(menu, L"PravikSearchList"), GW_CHILD);
}

LRESULT Ask(HWND hwnd, UINT message) {
  DWORD_PTR answer = 0;
  ::SendMessageTimeoutW(hwnd, message, 0, 0, SMTO_ABORTIFHUNG, 2000, &answer);
  return static_cast<LRESULT>(answer);
}

std::vector<std::wstring> Rows(HWND list) {
  std::vector<std::wstring> rows;
  const LRESULT count = Ask(list, LB_GETCOUNT);
  for (LRESULT i = 0; i < count; ++i) {
    wchar_t text[512] = {};
    DWORD_PTR length = 0;
    if (::SendMessageTimeoutW(list, LB_GETTEXTLEN, static_cast<WPARAM>(i), 0, SMTO_ABORTIFHUNG, 2000, &length) && length < 512)
      ::SendMessageTimeoutW(list, LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(text), SMTO_ABORTIFHUNG, 2000,
                            &length);
    rows.emplace_back(text);
  }
  return rows;
}

int Selected(HWND list) { return static_cast<int>(Ask(list, LB_GETCURSEL)); }

std::string Show(const std::vector<std::wstring>& rows) {
  std::string out;
  for (const auto& row : rows) {
    out += '[';
    out += win32::WideToUtf8(row);
    out += ']';
  }
  return out;
}

class SearchInHandTest : public MenuInHandTest {
 protected:
  static void SetUpTestSuite() {
    MenuInHandTest::SetUpTestSuite();
    ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
    targets_ = testsupport::MakeTempFolder(L"search-targets");
    for (const wchar_t* name : {L"SearchMemo.exe", L"SearchCalc.exe", L"PaintStudio.exe", L"PaintPlain.exe",
                                L"NewOne.exe", L"Gone.exe"})
      ::CopyFileW((TestDir() + L"\\command_recorder.exe").c_str(), (targets_ + L"\\" + name).c_str(), FALSE);
    userPrograms_ = ProgramsFolder(CSIDL_PROGRAMS);
    commonGroup_ = ProgramsFolder(CSIDL_COMMON_PROGRAMS) + L"\\검색 시험";
    ::CreateDirectoryW(commonGroup_.c_str(), nullptr);
    MakeShortcut(userPrograms_ + L"\\메모장.lnk", targets_ + L"\\SearchMemo.exe");
    MakeShortcut(userPrograms_ + L"\\Paint Studio.lnk", targets_ + L"\\PaintStudio.exe", L"/fresh");
    MakeShortcut(userPrograms_ + L"\\Paint.lnk", targets_ + L"\\PaintPlain.exe");
    MakeShortcut(commonGroup_ + L"\\계산기.lnk", targets_ + L"\\SearchCalc.exe");
    MakeShortcut(commonGroup_ + L"\\고장난 도구.lnk", targets_ + L"\\Gone.exe");
    ::DeleteFileW((targets_ + L"\\Gone.exe").c_str());
    routes_ = targets_ + L"\\routes.txt";
    ::SetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD", routes_.c_str());
  }
  static void TearDownTestSuite() {
    ::SetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD", nullptr);
    for (const wchar_t* name : {L"메모장.lnk", L"Paint Studio.lnk", L"Paint.lnk"})
      ::DeleteFileW((userPrograms_ + L"\\" + name).c_str());
    for (const wchar_t* name : {L"계산기.lnk", L"고장난 도구.lnk", L"새 도구.lnk"})
      ::DeleteFileW((commonGroup_ + L"\\" + name).c_str());
    ::RemoveDirectoryW(commonGroup_.c_str());
    ::RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Pravik\\Search");
    ::CoUninitialize();
  }

  HWND List() const { return ResultsList(menu_); }
  // Waits until the list shows these rows (the catalog is built after the first show).
  bool ShowsRows(const std::vector<std::wstring>& expected) const {
    return testsupport::WaitUntil([&] { return Rows(List()) == expected; }, 10000);
  }
  bool TreeShown() const { return FindDescendant(menu_, L"SysTreeView32") != nullptr; }
  static std::string Routes() { return testsupport::ReadFile(routes_); }

  static inline std::wstring targets_, userPrograms_, commonGroup_, routes_;
};

TEST_F(SearchInHandTest, InitialsHangulAndLatinFindProgramsAndEnterStartsTheWholeTextsMatch) {
  OpenMenu();
  Type(L"ㅁㅁㅈ");
  ASSERT_TRUE(ShowsRows({L"프로그램", L"메모장", L"명령으로 실행: ㅁㅁㅈ"})) << Show(Rows(List()));
  EXPECT_FALSE(TreeShown()) << "the list stands in the tree's place";
  Key(VK_RETURN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"SearchMemo.exe").empty(); }, 10000));
  // The target itself, from its own folder, by the unelevated route; counted for the ranking.
  const std::string target = win32::WideToUtf8(targets_);
  EXPECT_NE(Routes().find("shell\t" + target + "\\SearchMemo.exe\t\t" + target + "\n"), std::string::npos) << Routes();
  EXPECT_TRUE(Hidden());
  std::wstring counted = userPrograms_ + L"\\메모장.lnk";
  ::CharLowerBuffW(counted.data(), static_cast<DWORD>(counted.size()));
  DWORD count = 0, size = sizeof count;
  EXPECT_EQ(::RegGetValueW(HKEY_CURRENT_USER, L"Software\\Pravik\\Search", counted.c_str(), RRF_RT_REG_DWORD, nullptr,
                           &count, &size), ERROR_SUCCESS);
  EXPECT_EQ(count, 1u);

  // Back with the tree; Latin in any case, whole names before longer ones; syllables of the
  // common Start Menu.
  OpenMenu();
  EXPECT_TRUE(TreeShown());
  Type(L"pAINT");
  EXPECT_TRUE(ShowsRows({L"프로그램", L"Paint", L"Paint Studio", L"명령으로 실행: pAINT"})) << Show(Rows(List()));
  Key(VK_ESCAPE);
  Type(L"계산");
  EXPECT_TRUE(ShowsRows({L"프로그램", L"계산기", L"명령으로 실행: 계산"})) << Show(Rows(List()));
  Key(VK_ESCAPE);

  // Typed and entered at once: the program of the whole name (not "Paint", found on the way, nor
  // the interpreter for a first word it cannot run).
  Type(L"Paint Studio");
  Key(VK_RETURN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"PaintStudio.exe").empty(); }, 10000));
  EXPECT_EQ(RecordsOfProgram(L"PaintStudio.exe")[0], L"/fresh");
  testsupport::PumpFor(500);
  EXPECT_TRUE(RecordsOfProgram(L"PaintPlain.exe").empty());
  EXPECT_TRUE(RecordsOfProgram(L"cmd.exe").empty());
}

TEST_F(SearchInHandTest, TheListIsWalkedLikeTheTreeAndEscClearsBeforeItHides) {
  OpenMenu();
  Type(L"paint");
  ASSERT_TRUE(ShowsRows({L"프로그램", L"Paint", L"Paint Studio", L"명령으로 실행: paint"})) << Show(Rows(List()));
  const HWND list = List();
  testsupport::PumpFor(800);  // the icons arrive
  testsupport::SaveScreen(L"search-list.bmp");
  // Read as a list by name, like the other elements.
  ASSERT_TRUE(SUCCEEDED(::CoInitialize(nullptr)));
  IAccessible* acc = nullptr;
  ASSERT_TRUE(SUCCEEDED(::AccessibleObjectFromWindow(list, OBJID_CLIENT, __uuidof(IAccessible), reinterpret_cast<void**>(&acc))));
  VARIANT self{};
  self.vt = VT_I4;
  self.lVal = CHILDID_SELF;
  BSTR name = nullptr;
  acc->get_accName(self, &name);
  EXPECT_EQ(std::wstring(name ? name : L""), L"검색 결과");
  ::SysFreeString(name);
  VARIANT role{};
  acc->get_accRole(self, &role);
  EXPECT_EQ(role.lVal, ROLE_SYSTEM_LIST);
  acc->Release();
  ::CoUninitialize();

  // Down enters at the first item (past the group's header), Up from there goes back to the box.
  Key(VK_DOWN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Focus() == list; }, 3000));
  EXPECT_EQ(Selected(list), 1);
  Key(VK_DOWN);
  Key(VK_UP);
  Key(VK_UP);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Focus() == RunBox(); }, 3000));
  // Tab goes on from the list as from the tree, and Shift+Tab comes back to it.
  Key(VK_DOWN);
  Key(VK_TAB);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Focus() != list && Focus() != nullptr; }, 3000));
  EXPECT_NE(Focus(), RunBox());
  Chord({VK_SHIFT, VK_TAB});
  ASSERT_TRUE(testsupport::WaitUntil([&] { return Focus() == list; }, 3000));
  // Esc: first the text (the tree returns, the keyboard in the box), then the menu.
  Key(VK_ESCAPE);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return TextLength(RunBox()) == 0 && Focus() == RunBox(); }, 3000));
  EXPECT_TRUE(TreeShown());
  EXPECT_FALSE(::IsWindowVisible(list));
  EXPECT_TRUE(::IsWindowVisible(menu_));
  Key(VK_ESCAPE);
  EXPECT_TRUE(Hidden());

  // Enter on a selected item starts that one.
  OpenMenu();
  Type(L"paint");
  ASSERT_TRUE(ShowsRows({L"프로그램", L"Paint", L"Paint Studio", L"명령으로 실행: paint"}));
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"PaintStudio.exe").empty(); }, 10000));
  EXPECT_TRUE(RecordsOfProgram(L"PaintPlain.exe").empty());

  // A click starts the row under the pointer.
  OpenMenu();
  Type(L"paint");
  ASSERT_TRUE(ShowsRows({L"프로그램", L"Paint", L"Paint Studio", L"명령으로 실행: paint"}));
  const auto rowHeight = static_cast<int>(Ask(list, LB_GETITEMHEIGHT));
  POINT second{40, rowHeight + rowHeight / 2};
  ::ClientToScreen(list, &second);
  startup::ClickAt(second.x, second.y);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"PaintPlain.exe").empty(); }, 10000));
}

TEST_F(SearchInHandTest, TextMatchingNothingGoesToTheInterpreterAndABrokenShortcutSaysSo) {
  OpenMenu();
  Type(L"메모");
  ASSERT_TRUE(ShowsRows({L"프로그램", L"메모장", L"명령으로 실행: 메모"})) << Show(Rows(List()));
  Key(VK_ESCAPE);
  Type(L"zqxwv 1");
  Key(VK_RETURN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"cmd.exe").empty(); }, 10000));
  EXPECT_EQ(RecordsOfProgram(L"cmd.exe")[0], L"/c zqxwv 1");
  // The interpreter's own command with a program's name after it stays a command.
  Type(L"echo 메모장");
  Key(VK_RETURN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return RecordsOfProgram(L"cmd.exe").size() >= 2; }, 10000));
  EXPECT_EQ(RecordsOfProgram(L"cmd.exe")[1], L"/c echo 메모장");
  // The list's last row runs the text as a command even where a program matches it; the keyboard
  // goes back to the emptied box.
  Type(L"메모장");
  ASSERT_TRUE(ShowsRows({L"프로그램", L"메모장", L"명령으로 실행: 메모장"})) << Show(Rows(List()));
  Key(VK_DOWN);
  Key(VK_DOWN);
  Key(VK_RETURN);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return RecordsOfProgram(L"cmd.exe").size() >= 3; }, 10000));
  EXPECT_EQ(RecordsOfProgram(L"cmd.exe")[2], L"/c 메모장");
  EXPECT_TRUE(testsupport::WaitUntil([&] { return Focus() == RunBox() && TextLength(RunBox()) == 0; }, 3000));
  EXPECT_TRUE(RecordsOfProgram(L"SearchMemo.exe").empty());

  // A shortcut whose program is gone is listed; starting it says so, and nothing ends.
  Type(L"고장");
  ASSERT_TRUE(ShowsRows({L"프로그램", L"고장난 도구", L"명령으로 실행: 고장"})) << Show(Rows(List()));
  Key(VK_RETURN);
  const HWND box = WaitForBoxTitled(L"Pravik", 5000);
  ASSERT_TRUE(box) << Describe();
  wchar_t prompt[512] = {};
  ::GetDlgItemTextW(box, 0xFFFF, prompt, 512);
  EXPECT_NE(std::wstring(prompt).find(L"Gone.exe"), std::wstring::npos) << win32::WideToUtf8(prompt);
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  testsupport::PumpFor(500);
  EXPECT_TRUE(Alive());
  EXPECT_EQ(RecordsOfProgram(L"cmd.exe").size(), 3u) << "a broken shortcut is no command";
}

TEST_F(SearchInHandTest, AShortcutAddedWhileRunningAppearsWithoutARestart) {
  OpenMenu();
  Type(L"새 도구");
  ASSERT_TRUE(ShowsRows({L"명령으로 실행: 새 도구"})) << Show(Rows(List()));
  // Hidden ones first: by the time the visible one shows, they would have been indexed too.
  const std::wstring hiddenFolder = commonGroup_ + L"\\숨김";
  ::CreateDirectoryW(hiddenFolder.c_str(), nullptr);
  ::SetFileAttributesW(hiddenFolder.c_str(), FILE_ATTRIBUTE_HIDDEN);
  MakeShortcut(hiddenFolder + L"\\새 도구 숨김.lnk", targets_ + L"\\NewOne.exe");
  MakeShortcut(commonGroup_ + L"\\새 도구 감춤.lnk", targets_ + L"\\NewOne.exe");
  ::SetFileAttributesW((commonGroup_ + L"\\새 도구 감춤.lnk").c_str(), FILE_ATTRIBUTE_HIDDEN);
  MakeShortcut(commonGroup_ + L"\\새 도구.lnk", targets_ + L"\\NewOne.exe");
  EXPECT_TRUE(ShowsRows({L"프로그램", L"새 도구", L"명령으로 실행: 새 도구"})) << Show(Rows(List()));
  ::DeleteFileW((hiddenFolder + L"\\새 도구 숨김.lnk").c_str());
  ::RemoveDirectoryW(hiddenFolder.c_str());
  ::SetFileAttributesW((commonGroup_ + L"\\새 도구 감춤.lnk").c_str(), FILE_ATTRIBUTE_NORMAL);
  ::DeleteFileW((commonGroup_ + L"\\새 도구 감춤.lnk").c_str());
  Key(VK_RETURN);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !RecordsOfProgram(L"NewOne.exe").empty(); }, 10000));
}

}  // namespace
}  // namespace pravik::menu
