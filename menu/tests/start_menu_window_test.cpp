#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <fstream>
#include <memory>
#include <sstream>
#include <string>
#include <vector>

#include "menu/layout.h"
#include "menu/root_table.h"
#include "menu/start_menu_parts.h"
#include "menu/start_menu_window.h"
#include "testsupport/ui_thread.h"
#include "win32/paths.h"
#include "win32/text.h"

namespace pravik {
namespace {

std::wstring SourceGraphicsRoot() {
  std::wstring unix = win::Utf8ToWide(PRAVIK_SOURCE_DIR);
  for (auto& c : unix)
    if (c == L'/') c = L'\\';
  return L"Z:" + unix;
}

std::wstring TestDir() {
  const std::wstring exe = win::ModulePath();
  return exe.substr(0, exe.find_last_of(L'\\'));
}

std::wstring ForegroundFileName() {
  DWORD pid = 0;
  ::GetWindowThreadProcessId(::GetForegroundWindow(), &pid);
  HANDLE process = ::OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
  if (!process) return L"";
  wchar_t path[MAX_PATH] = {};
  DWORD size = MAX_PATH;
  ::QueryFullProcessImageNameW(process, 0, path, &size);
  ::CloseHandle(process);
  std::wstring p = path;
  return p.substr(p.find_last_of(L'\\') + 1);
}

// Recording stand-ins where the interpreter finds them first: on the front of PATH, and as
// %SystemRoot% for the commands that name it.
class Recorders {
 public:
  Recorders() {
    wchar_t temp[MAX_PATH];
    ::GetTempPathW(MAX_PATH, temp);
    folder_ = std::wstring(temp) + L"pravik-recorders-" + std::to_wstring(::GetCurrentProcessId());
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    const std::wstring recorder = TestDir() + L"\\command_recorder.exe";
    for (const wchar_t* name : {L"shutdown.exe", L"explorer.exe", L"WinHlp32.exe", L"runtest.exe"})
      ::CopyFileW(recorder.c_str(), (folder_ + L"\\" + name).c_str(), FALSE);
    record_ = folder_ + L"\\record.txt";
    ::SetEnvironmentVariableW(L"PRAVIK_RECORD_FILE", record_.c_str());
    wchar_t path[8192] = {};
    ::GetEnvironmentVariableW(L"PATH", path, 8192);
    ::SetEnvironmentVariableW(L"PATH", (folder_ + L";" + path).c_str());
    ::SetEnvironmentVariableW(L"SystemRoot", folder_.c_str());
  }
  void Clear() { ::DeleteFileW(record_.c_str()); }
  std::vector<std::wstring> Lines() const {
    std::ifstream in(record_.c_str(), std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    std::vector<std::wstring> lines;
    std::wstring all = win::Utf8ToWide(s.str());
    for (std::size_t at = 0; at < all.size();) {
      const std::size_t end = all.find(L'\n', at);
      lines.push_back(all.substr(at, end - at));
      if (end == std::wstring::npos) break;
      at = end + 1;
    }
    return lines;
  }
  const std::wstring& folder() const { return folder_; }

 private:
  std::wstring folder_, record_;
};

Recorders& TheRecorders() {
  static Recorders recorders;
  return recorders;
}

void MouseAt(HWND hwnd, int x, int y) {
  POINT p{x, y};
  ::ClientToScreen(hwnd, &p);
  ::SetCursorPos(p.x, p.y);
  INPUT move{};
  move.type = INPUT_MOUSE;
  move.mi.dx = 0;
  move.mi.dy = 0;
  move.mi.dwFlags = MOUSEEVENTF_MOVE;
  ::SendInput(1, &move, sizeof(INPUT));
}

void Click(HWND hwnd, int x, int y, bool right = false) {
  MouseAt(hwnd, x, y);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  ::SendInput(2, clicks, sizeof(INPUT));
}

[[maybe_unused]] void Key(WORD vk) {
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = vk;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, keys, sizeof(INPUT));
}

class MenuTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { TheRecorders(); }

  void SetUp() override {
    TheRecorders().Clear();
    ui_.Run([&] {
      menu_ = std::make_unique<StartMenuWindow>();
      menu_->SetSkinFolder(SourceGraphicsRoot());
      menu_->SetForegroundQuery([] { return std::optional<std::wstring>(ForegroundFileName()); });
      menu_->Load(nullptr);
      statuses_ = &statusLog_;
      menu_->ucBrowse1().onStatus = [this](const std::wstring& s) { statusLog_.push_back(s); };
    });
  }
  void Show() {
    ui_.Run([&] {
      MenuVisible = true;
      menu_->ShowModeless();
      menu_->MoveAndSize(60, 100, 470, 595);
      menu_->Tim().Start();
      ::SetForegroundWindow(menu_->hwnd());
    });
    ASSERT_TRUE(ui_.WaitFor([&] { return menu_->ucBrowse1().TreeWindow() != nullptr; }, 15000));
  }
  void TearDown() override {
    ui_.Run([&] { menu_.reset(); });
  }
  HWND E(const wchar_t* name) { return ui_.Run([&] { return menu_->Element(name); }); }
  bool WaitRecords(std::size_t n) {
    const ULONGLONG end = ::GetTickCount64() + 15000;
    while (TheRecorders().Lines().size() < n) {
      if (::GetTickCount64() > end) return false;
      ::Sleep(50);
    }
    return true;
  }
  // Lets queued input reach the UI thread and be handled.
  void Settle() {
    ::Sleep(200);
    ui_.Run([] {});
  }

  test::UiThread ui_;
  std::unique_ptr<StartMenuWindow> menu_;
  std::vector<std::wstring> statusLog_;
  std::vector<std::wstring>* statuses_ = nullptr;
};

TEST_F(MenuTest, EveryElementStandsWhereTheLayoutPutsIt) {
  Show();
  ui_.Run([&] {
    RECT window;
    ::GetWindowRect(menu_->hwnd(), &window);
    EXPECT_EQ(window.right - window.left, 470);
    EXPECT_EQ(window.bottom - window.top, 595);
    for (const auto& e : menu::kLayout) {
      const std::wstring name(e.name);
      SCOPED_TRACE(win::WideToUtf8(name));
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
      const auto px = *menu::LayoutPixels(name);
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
    EXPECT_EQ(statusLog_[0], browse::kStatusInitialized);
  });
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
  }
  ~PickFolder() {
    for (int i = 0; i < 50 && !::DeleteFileW((folder_ + L"\\PickMe.exe").c_str()); ++i) ::Sleep(100);
    ::RemoveDirectoryW((folder_ + L"\\Sub").c_str());
    ::RemoveDirectoryW(folder_.c_str());
  }
  const std::wstring& folder() const { return folder_; }

 private:
  std::wstring folder_;
};

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

  // A click on the folder only selects it.
  auto clickItem = [&](HTREEITEM item) {
    ui_.Run([&] {
      TreeView_EnsureVisible(tree, item);
      RECT r{};
      TreeView_GetItemRect(tree, item, &r, TRUE);
      Click(tree, (r.left + r.right) / 2, (r.top + r.bottom) / 2);
    });
  };
  clickItem(sub);
  ASSERT_TRUE(ui_.WaitFor([&] { return menu_->activePath() == pick.folder() + L"\\Sub\\"; }, 5000));
  Settle();
  EXPECT_TRUE(TheRecorders().Lines().empty());
  EXPECT_TRUE(ui_.Run([&] { return ::IsWindowVisible(menu_->hwnd()) != FALSE; }));

  clickItem(program);
  ASSERT_TRUE(WaitRecords(1)) << "the picked program was started";
  EXPECT_EQ(TheRecorders().Lines()[0], L"PickMe.exe\t");
  // Once it is in front, the watcher hides the menu and clears the flag.
  EXPECT_TRUE(ui_.WaitFor([&] { return !::IsWindowVisible(menu_->hwnd()) && !MenuVisible; }, 8000));
  EXPECT_FALSE(ui_.Run([&] { return menu_->Tim().enabled(); }));
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
}  // namespace pravik
