#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include <shellapi.h>

#include "core/menu/layout.h"
#include "core/menu/root_table.h"
#include "menu/start_menu_parts.h"
#include "menu/start_menu_window.h"
#include "menu/tests/menu_test_support.h"
#include "testsupport/files.h"
#include "testsupport/process.h"
#include "win32/com_ptr.h"
#include "testsupport/ui_thread.h"
#include "win32/paths.h"
#include "win32/text.h"

namespace pravik::menu {
namespace {

using menu::MenuTest;
using menu::TheRecorders;

TEST_F(MenuTest, EveryElementStandsWhereTheLayoutPutsIt) {
  Show();
  ui_.Run([&] {
    RECT window;
    ::GetWindowRect(menu_->hwnd(), &window);
    EXPECT_EQ(window.right - window.left, 470);
    EXPECT_EQ(window.bottom - window.top, 595);
    for (const auto& e : core::menu::kLayout) {
      const std::wstring name(e.name);
      SCOPED_TRACE(win32::WideToUtf8(name));
      HWND hwnd = menu_->Element(name);
      if (name == L"lblLink") {
        ASSERT_NE(menu_->parts()->titleLink(), nullptr);
        hwnd = menu_->parts()->titleLink()->hwnd();
      }
      ASSERT_NE(hwnd, nullptr);
      HWND container = e.container.empty() ? menu_->hwnd() : menu_->Element(e.container);
      EXPECT_EQ(::GetParent(hwnd), container);
      RECT r;
      ::GetWindowRect(hwnd, &r);
      POINT topLeft{r.left, r.top};
      ::ScreenToClient(container, &topLeft);
      const auto px = *core::menu::LayoutPixels(name);
      EXPECT_EQ(topLeft.x, px.left);
      EXPECT_EQ(topLeft.y, px.top);
      EXPECT_EQ(r.right - r.left, px.width);
      if (name != L"cmbRoot") {  // a list's height is its font's
        EXPECT_EQ(r.bottom - r.top, px.height);
      }
    }
    EXPECT_FALSE(::IsWindowVisible(menu_->Element(L"Picture3")));
    EXPECT_FALSE(::IsWindowVisible(menu_->Element(L"FramMenu7")));
    // Z-order where elements overlap: the earlier one lies above.
    auto above = [](HWND upper, HWND lower) {
      for (HWND w = ::GetWindow(upper, GW_HWNDNEXT); w; w = ::GetWindow(w, GW_HWNDNEXT))
        if (w == lower) return true;
      return false;
    };
    EXPECT_TRUE(above(menu_->Element(L"cmbRoot"), menu_->Element(L"FramMain")));
    EXPECT_TRUE(above(menu_->Element(L"Picture1"), menu_->Element(L"Frame1")));
    EXPECT_TRUE(above(menu_->Element(L"Frame5"), menu_->Element(L"txtExe")));
  });
}

TEST_F(MenuTest, LoadFillsTheRootSelectorWithoutRebuildingTheTree) {
  ui_.Run([&] {
    HWND cmb = menu_->Element(L"cmbRoot");
    ASSERT_EQ(::SendMessageW(cmb, CB_GETCOUNT, 0, 0), 22);
    EXPECT_EQ(::SendMessageW(cmb, CB_GETCURSEL, 0, 0), 0);
    wchar_t text[64] = {};
    ::SendMessageW(cmb, CB_GETLBTEXT, 9, reinterpret_cast<LPARAM>(text));
    EXPECT_STREQ(text, L"내 컴퓨터");
    EXPECT_EQ(menu_->ucBrowse1().Root(), 23);
    EXPECT_TRUE(menu_->ucBrowse1().FullRowSelect());
    EXPECT_FALSE(menu_->loading());
    EXPECT_TRUE(menu_->Tim().enabled()) << "the focus watcher runs from load on";
  });
  Show();
  // One opening at the first showing, no closing: nothing rebuilt the tree during load.
  ui_.Run([&] {
    ASSERT_EQ(statusLog_.size(), 1u);
    EXPECT_EQ(statusLog_[0], controls::browse::kStatusInitialized);
  });
}

void CreateShortcut(const std::wstring& linkPath, const std::wstring& target) {
  const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
  {
    win32::ComPtr<IShellLinkW> link;
    if (SUCCEEDED(::CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkW, link.put_void()))) {
      link->SetPath(target.c_str());
      win32::ComPtr<IPersistFile> file;
      if (SUCCEEDED(link.As(file))) file->Save(linkPath.c_str(), TRUE);
    }
  }
  if (SUCCEEDED(com)) ::CoUninitialize();
}

// A populated folder in the shared Programs folder, with a recording program to pick.
class PickFolder {
 public:
  PickFolder() {
    wchar_t programs[MAX_PATH] = {};
    ::SHGetSpecialFolderPathW(nullptr, programs, CSIDL_COMMON_PROGRAMS, TRUE);
    folder_ = std::wstring(programs) + L"\\PravikMenuTest";
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    ::CreateDirectoryW((folder_ + L"\\Sub").c_str(), nullptr);
    ::CopyFileW((TestDir() + L"\\command_recorder.exe").c_str(), (folder_ + L"\\PickMe.exe").c_str(), FALSE);
    // A shortcut file, as the Programs folder holds them, to a second copy elsewhere.
    target_ = testsupport::MakeTempFolder(L"link") + L"\\PickMeLinked.exe";
    ::CopyFileW((TestDir() + L"\\command_recorder.exe").c_str(), target_.c_str(), FALSE);
    CreateShortcut(folder_ + L"\\Linked Program.lnk", target_);
  }
  ~PickFolder() {
    for (int i = 0; i < 50 && !::DeleteFileW((folder_ + L"\\PickMe.exe").c_str()); ++i) ::Sleep(100);
    ::DeleteFileW((folder_ + L"\\Linked Program.lnk").c_str());
    ::RemoveDirectoryW((folder_ + L"\\Sub").c_str());
    ::RemoveDirectoryW(folder_.c_str());
  }
  const std::wstring& folder() const { return folder_; }

 private:
  std::wstring folder_, target_;
};

// A click in the middle of a tree item's text (on the UI thread).
void ClickItem(HWND tree, HTREEITEM item) {
  TreeView_EnsureVisible(tree, item);
  RECT r{};
  TreeView_GetItemRect(tree, item, &r, TRUE);
  Click(tree, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
}

// The child of parent whose text holds the piece (expanding parent first).
HTREEITEM FindChild(HWND tree, HTREEITEM parent, const std::wstring& prefix) {
  TreeView_Expand(tree, parent, TVE_EXPAND);
  for (HTREEITEM i = TreeView_GetChild(tree, parent); i; i = TreeView_GetNextSibling(tree, i)) {
    wchar_t text[260] = {};
    TVITEMW tv{};
    tv.mask = TVIF_TEXT;
    tv.hItem = i;
    tv.pszText = text;
    tv.cchTextMax = 260;
    TreeView_GetItem(tree, &tv);
    if (std::wstring(text).find(prefix) != std::wstring::npos) return i;
  }
  return nullptr;
}

TEST_F(MenuTest, PickingAFolderStartsNothingAndAFileStartsItThenTheMenuHides) {
  PickFolder pick;
  Show();
  const HWND tree = ui_.Run([&] { return menu_->ucBrowse1().TreeWindow(); });
  const HTREEITEM folder = ui_.Run([&] { return FindChild(tree, TreeView_GetRoot(tree), L"PravikMenuTest"); });
  ASSERT_NE(folder, nullptr);
  const HTREEITEM sub = ui_.Run([&] { return FindChild(tree, folder, L"Sub"); });
  const HTREEITEM program = ui_.Run([&] { return FindChild(tree, folder, L"PickMe"); });
  ASSERT_NE(sub, nullptr);
  ASSERT_NE(program, nullptr);

  auto clickItem = [&](HTREEITEM item) { ui_.Run([&] { ClickItem(tree, item); }); };
  // A click on the folder only selects it.
  clickItem(sub);
  ASSERT_TRUE(ui_.WaitFor([&] { return menu_->activePath() == pick.folder() + L"\\Sub\\"; }, 5000));
  Settle();
  EXPECT_TRUE(TheRecorders().Lines().empty());
  EXPECT_TRUE(ui_.Run([&] { return ::IsWindowVisible(menu_->hwnd()) != FALSE; }));

  const std::wstring routes = TheRecorders().folder() + L"\\routes.txt";
  ::DeleteFileW(routes.c_str());
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD", routes.c_str());
  clickItem(program);
  const bool started = WaitRecordsOf(L"PickMe.exe", 1);
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD", nullptr);
  ASSERT_TRUE(started) << "the picked program was started";
  // Asked of the desktop shell (the user's normal rights), from the program's own folder.
  EXPECT_EQ(testsupport::ReadFile(routes),
            win32::WideToUtf8(L"shell\t" + pick.folder() + L"\\PickMe.exe\t\t" + pick.folder() + L"\n"));
  EXPECT_EQ(RecordsOf(L"PickMe.exe")[0], L"");
  // Started to be seen: a show command of -1 reaches the program as its own and leaves its
  // window hidden (measured with notepad under Wine).
  ASSERT_TRUE(WaitRecordsOf(L"PickMe.exe:show", 1));
  EXPECT_EQ(RecordsOf(L"PickMe.exe:show")[0], L"1");
  // Once it is in front, the watcher hides the menu and clears the flag.
  EXPECT_TRUE(ui_.WaitFor([&] { return !::IsWindowVisible(menu_->hwnd()) && !MenuVisible; }, 8000));
  EXPECT_FALSE(ui_.Run([&] { return menu_->Tim().enabled(); }));
}

TEST_F(MenuTest, KeyboardMovesThroughTheTreeAndPicksWhatItReaches) {
  PickFolder pick;
  Show();
  const HWND tree = ui_.Run([&] { return menu_->ucBrowse1().TreeWindow(); });
  const HTREEITEM folder = ui_.Run([&] { return FindChild(tree, TreeView_GetRoot(tree), L"PravikMenuTest"); });
  ASSERT_NE(folder, nullptr);
  ui_.Run([&] { TreeView_Expand(tree, folder, TVE_EXPAND); });
  const HTREEITEM sub = ui_.Run([&] { return FindChild(tree, folder, L"Sub"); });
  // From the root selector, Tab reaches the tree; the keys then move its selection.
  ui_.Run([&] { ::SetFocus(menu_->Element(L"cmbRoot")); });
  Key(VK_TAB);
  ASSERT_TRUE(ui_.WaitFor([&] { return ::GetFocus() == tree; }, 5000));
  ui_.Run([&] { TreeView_SelectItem(tree, folder); });
  ASSERT_TRUE(ui_.WaitFor([&] { return menu_->activePath() == pick.folder() + L"\\"; }, 5000));
  // Walk down over the folder's children, in the shell's order, until the sub-folder.
  for (int i = 0; i < 4 && ui_.Run([&] { return TreeView_GetSelection(tree); }) != sub; ++i) {
    Key(VK_DOWN);
    ::Sleep(100);
  }
  EXPECT_TRUE(ui_.WaitFor([&] { return menu_->activePath() == pick.folder() + L"\\Sub\\"; }, 5000));
  // Passing the program and the shortcut with the arrows started neither; Enter on one does.
  EXPECT_TRUE(RecordsOf(L"PickMe.exe").empty());
  EXPECT_TRUE(RecordsOf(L"PickMeLinked.exe").empty());
  const HTREEITEM program = ui_.Run([&] { return FindChild(tree, folder, L"PickMe"); });
  ui_.Run([&] { TreeView_SelectItem(tree, program); });
  Key(VK_RETURN);
  EXPECT_TRUE(WaitRecordsOf(L"PickMe.exe", 1));
}

TEST_F(MenuTest, PickingAShortcutFileStartsItsTarget) {
  PickFolder pick;
  Show();
  const HWND tree = ui_.Run([&] { return menu_->ucBrowse1().TreeWindow(); });
  const HTREEITEM folder = ui_.Run([&] { return FindChild(tree, TreeView_GetRoot(tree), L"PravikMenuTest"); });
  ASSERT_NE(folder, nullptr);
  const HTREEITEM link = ui_.Run([&] { return FindChild(tree, folder, L"Linked Program"); });
  ASSERT_NE(link, nullptr) << "the shortcut is listed";
  const HTREEITEM program = ui_.Run([&] { return FindChild(tree, folder, L"PickMe"); });
  ASSERT_NE(program, nullptr);
  auto clickItem = [&](HTREEITEM item) { ui_.Run([&] { ClickItem(tree, item); }); };
  // Without the user's normal rights to be had, the pick is refused and the user told, never
  // started as administrator.
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_NO_SHELL_TOKEN", L"1");
  clickItem(program);
  HWND box = nullptr;
  testsupport::WaitUntil([&] { return (box = ::FindWindowW(L"#32770", L"Pravik")) != nullptr; }, 15000);
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_NO_SHELL_TOKEN", nullptr);
  ASSERT_NE(box, nullptr) << "no refusal shown";
  ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  Settle();
  ::Sleep(500);
  EXPECT_TRUE(RecordsOf(L"PickMe.exe").empty());

  clickItem(link);
  ASSERT_TRUE(WaitRecordsOf(L"PickMeLinked.exe", 1)) << "the shortcut's target was started";
  EXPECT_EQ(ui_.Run([&] { return menu_->activePath(); }), pick.folder() + L"\\Linked Program.lnk");
}

TEST_F(MenuTest, WatcherLeavesTheMenuOpenWhileThisProgramIsInFront) {
  Show();
  // Two ticks with the menu itself in front.
  ui_.Run([&] { menu_->Tim_Timer(); });
  ui_.Run([&] {
    EXPECT_TRUE(::IsWindowVisible(menu_->hwnd()));
    EXPECT_TRUE(MenuVisible);
  });
  // The root selector's list open: still this program.
  ui_.Run([&] { ::SendMessageW(menu_->Element(L"cmbRoot"), CB_SHOWDROPDOWN, TRUE, 0); });
  ui_.Run([&] { menu_->Tim_Timer(); });
  ui_.Run([&] {
    EXPECT_TRUE(::IsWindowVisible(menu_->hwnd()));
    ::SendMessageW(menu_->Element(L"cmbRoot"), CB_SHOWDROPDOWN, FALSE, 0);
  });
  // Another program's name, letter case included, hides it.
  ui_.Run([&] {
    menu_->SetForegroundQuery([] { return std::optional<std::wstring>(L"MENU_TESTS.EXE"); });
    menu_->Tim_Timer();
    EXPECT_FALSE(::IsWindowVisible(menu_->hwnd()));
    EXPECT_FALSE(MenuVisible);
  });
}

TEST_F(MenuTest, RootSelectorRebuildsTheTreeUnderTheDrivesAndBack) {
  Show();
  auto choose = [&](int index) {
    ui_.Run([&] {
      HWND cmb = menu_->Element(L"cmbRoot");
      ::SendMessageW(cmb, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
      ::SendMessageW(menu_->hwnd(), WM_COMMAND, MAKEWPARAM(::GetDlgCtrlID(cmb), CBN_SELCHANGE),
                     reinterpret_cast<LPARAM>(cmb));
    });
  };
  choose(9);
  ASSERT_TRUE(ui_.WaitFor([&] { return statusLog_.size() >= 3 && menu_->ucBrowse1().TreeWindow(); }, 15000));
  ui_.Run([&] {
    EXPECT_EQ(menu_->ucBrowse1().Root(), 17);
    const HWND tree = menu_->ucBrowse1().TreeWindow();
    EXPECT_NE(FindChild(tree, TreeView_GetRoot(tree), L"C:"), nullptr);
  });
  PickFolder pick;
  choose(0);
  ASSERT_TRUE(ui_.WaitFor([&] { return statusLog_.size() >= 5 && menu_->ucBrowse1().TreeWindow(); }, 15000));
  ui_.Run([&] {
    EXPECT_EQ(menu_->ucBrowse1().Root(), 23);
    const HWND tree = menu_->ucBrowse1().TreeWindow();
    EXPECT_NE(FindChild(tree, TreeView_GetRoot(tree), L"PravikMenuTest"), nullptr);
  });
}

}  // namespace
}  // namespace pravik::menu

namespace pravik::menu {
namespace {

// The watcher as shipped: the window's own Quessel1 tells which program is in front.
TEST(MenuQuesselWatcher, HidesOnceAnotherProgramIsInFront) {
  menu::TheRecorders().Clear();
  testsupport::UiThread ui;
  if (ui.Run([] { return win32::LateBoundObject(L"QuesselControl.Quessel").empty(); }))
    GTEST_SKIP() << "Quessel is not registered here";
  std::unique_ptr<StartMenuWindow> menu;
  ui.Run([&] {
    menu = std::make_unique<win32::Instance<StartMenuWindow>>();
    menu->SetSkinFolder(SourceGraphicsRoot());
    menu->Load(nullptr);
    MenuVisible = true;
    menu->ShowModeless();
    menu->Tim().Start();
    ::SetForegroundWindow(menu->hwnd());
  });
  ui.Run([&] { menu->Tim_Timer(); });
  EXPECT_TRUE(ui.Run([&] { return ::IsWindowVisible(menu->hwnd()) != FALSE; })) << "this program is in front";
  const std::wstring program = testsupport::MakeTempFolder(L"watch") + L"\\PickMeWatch.exe";
  ::CopyFileW((TestDir() + L"\\command_recorder.exe").c_str(), program.c_str(), FALSE);
  ui.Run([&] { ::ShellExecuteW(nullptr, L"OPEN", program.c_str(), L"", L"", SW_SHOWNORMAL); });
  EXPECT_TRUE(ui.WaitFor([&] { return !::IsWindowVisible(menu->hwnd()) && !MenuVisible; }, 8000));
  // The hiding may still be on its way out (it waits on other threads' windows): let it finish
  // before the window goes.
  ui.Drain();
  ui.Run([&] { menu.reset(); });
}

}  // namespace
}  // namespace pravik::menu
