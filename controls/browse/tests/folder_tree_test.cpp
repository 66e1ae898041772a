#include <windows.h>

#include <commctrl.h>
#include <gtest/gtest.h>
#include <shlobj.h>

#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "core/browse/border_theme.h"
#include "controls/browse/browse_platform.h"
#include "controls/browse/folder_tree.h"
#include "testsupport/ui_thread.h"
#include "win32/tree_view.h"
#include "win32/window.h"

namespace pravik::controls::browse {
namespace {

constexpr int kCommonPrograms = 23;
constexpr int kDrives = 17;

class HostWindow : public win32::Window {};

std::wstring CommonPrograms() {
  wchar_t path[MAX_PATH] = {};
  ::SHGetSpecialFolderPathW(nullptr, path, CSIDL_COMMON_PROGRAMS, TRUE);
  return path;
}

// The child of parent whose text begins with the name (expanding parent first).
HTREEITEM FindChild(HWND tree, HTREEITEM parent, const std::wstring& name) {
  TreeView_Expand(tree, parent, TVE_EXPAND);
  for (HTREEITEM i = TreeView_GetChild(tree, parent); i; i = TreeView_GetNextSibling(tree, i))
    if (win32::TreeItemText(tree, i).rfind(name, 0) == 0) return i;
  return nullptr;
}

// A populated folder in the common Programs folder, removed afterwards.
class ProgramsFixture {
 public:
  ProgramsFixture() {
    folder_ = CommonPrograms() + L"\\PravikBrowseTest";
    ::CreateDirectoryW(folder_.c_str(), nullptr);
    ::CreateDirectoryW((folder_ + L"\\Tools").c_str(), nullptr);
    std::ofstream((folder_ + L"\\Readme.txt").c_str()) << "tree test";
  }
  ~ProgramsFixture() {
    ::DeleteFileW((folder_ + L"\\Readme.txt").c_str());
    ::RemoveDirectoryW((folder_ + L"\\Tools").c_str());
    ::RemoveDirectoryW(folder_.c_str());
  }
  const std::wstring& folder() const { return folder_; }

 private:
  std::wstring folder_;
};

// One control in a shown host window, living on a UI thread of its own.
class BrowseTest : public testing::Test {
 protected:
  void Open(const core::propbag::PropertyBag& stored) {
    ui_.Run([&] {
      host_ = std::make_unique<win32::Instance<HostWindow>>();
      host_->Create(L"PravikBrowseTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 50, 50, 400, 500,
                    nullptr);
      browse_ = std::make_unique<win32::Instance<FolderTree>>();
      browse_->onStatus = [this](const std::wstring& s) { statuses_.push_back(s); };
      browse_->onPathChange = [this](const std::wstring& p) { paths_.push_back(p); };
      browse_->Create(host_->hwnd(), 1, 10, 10, 300, 400, stored);
      ::ShowWindow(host_->hwnd(), SW_SHOW);
      ::UpdateWindow(host_->hwnd());
    });
    ASSERT_TRUE(ui_.WaitFor([&] { return browse_->TreeWindow() != nullptr; }, 15000));
  }
  void TearDown() override {
    ui_.Run([&] {
      browse_.reset();
      host_.reset();
    });
  }
  static core::propbag::PropertyBag MenuSettings() {
    core::propbag::PropertyBag bag;
    bag.Set(L"Root", std::int32_t{kCommonPrograms});
    bag.Set(L"FolderFlags", std::int32_t{core::browse::kFolderFlagsIncludeFiles});
    bag.Set(L"FullRowSelect", true);
    return bag;
  }
  HTREEITEM Root() {
    return ui_.Run([&] { return TreeView_GetRoot(browse_->TreeWindow()); });
  }

  testsupport::UiThread ui_;
  std::unique_ptr<HostWindow> host_;
  std::unique_ptr<FolderTree> browse_;
  std::vector<std::wstring> statuses_, paths_;
};

TEST_F(BrowseTest, AdoptsTheDialogsTreeAndReportsSelections) {
  ProgramsFixture programs;
  Open(MenuSettings());
  ui_.Run([&] {
    EXPECT_EQ(::GetParent(browse_->TreeWindow()), browse_->hwnd());
    RECT dialog;
    ::GetWindowRect(browse_->DialogWindow(), &dialog);
    EXPECT_LT(dialog.right, 0) << "the dialog stays off the screen";
    // Found by its identifier whatever its caption says.
    ASSERT_NE(browse_->CancelButton(), nullptr);
    EXPECT_EQ(::GetDlgCtrlID(browse_->CancelButton()), IDCANCEL);
    ASSERT_EQ(statuses_.size(), 1u);
    EXPECT_EQ(statuses_[0], kStatusInitialized);
    // Sized to the client area less the border; the dialog's own tree bits are gone.
    RECT tree;
    ::GetWindowRect(browse_->TreeWindow(), &tree);
    RECT client;
    ::GetClientRect(browse_->hwnd(), &client);
    EXPECT_EQ(tree.right - tree.left, client.right - 2);
    const auto style = static_cast<DWORD>(::GetWindowLongPtrW(browse_->TreeWindow(), GWL_STYLE));
    EXPECT_TRUE(style & TVS_FULLROWSELECT);
    EXPECT_FALSE(style & TVS_EDITLABELS);
    EXPECT_FALSE(style & WS_BORDER);
  });

  const HWND tree = ui_.Run([&] { return browse_->TreeWindow(); });
  const HTREEITEM folder = ui_.Run([&] { return FindChild(tree, TreeView_GetRoot(tree), L"PravikBrowseTest"); });
  ASSERT_NE(folder, nullptr) << "the test folder is listed under the programs";
  const HTREEITEM tools = ui_.Run([&] { return FindChild(tree, folder, L"Tools"); });
  const HTREEITEM readme = ui_.Run([&] { return FindChild(tree, folder, L"Readme"); });
  ASSERT_NE(tools, nullptr);
  ASSERT_NE(readme, nullptr) << "files are listed with BIF_BROWSEINCLUDEFILES";

  ui_.Run([&] {
    paths_.clear();
    TreeView_SelectItem(tree, tools);
  });
  ASSERT_TRUE(ui_.WaitFor([&] { return !paths_.empty(); }, 5000));
  EXPECT_EQ(ui_.Run([&] { return paths_.back(); }), programs.folder() + L"\\Tools\\");
  ui_.Run([&] { TreeView_SelectItem(tree, readme); });
  ASSERT_TRUE(ui_.WaitFor([&] { return paths_.size() >= 2; }, 5000));
  EXPECT_EQ(ui_.Run([&] { return browse_->Path(); }), programs.folder() + L"\\Readme.txt");

  // Setting Path while the dialog is open moves the selection there.
  ui_.Run([&] { browse_->SetPath(programs.folder() + L"\\Tools"); });
  ASSERT_TRUE(ui_.WaitFor([&] { return paths_.size() >= 3; }, 5000));
  EXPECT_EQ(ui_.Run([&] { return paths_.back(); }), programs.folder() + L"\\Tools\\");
}

TEST_F(BrowseTest, RightClickNeitherSelectsNorOpensAMenu) {
  ProgramsFixture programs;
  Open(MenuSettings());
  const HWND tree = ui_.Run([&] { return browse_->TreeWindow(); });
  const HTREEITEM folder = ui_.Run([&] { return FindChild(tree, TreeView_GetRoot(tree), L"PravikBrowseTest"); });
  ASSERT_NE(folder, nullptr);
  const HTREEITEM selectedBefore = ui_.Run([&] { return TreeView_GetSelection(tree); });
  ASSERT_NE(selectedBefore, folder);
  POINT at = ui_.Run([&] {
    RECT r{};
    TreeView_GetItemRect(tree, folder, &r, TRUE);
    POINT p{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
    ::ClientToScreen(tree, &p);
    return p;
  });
  ui_.Run([&] { paths_.clear(); });
  ::SetCursorPos(at.x, at.y);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = MOUSEEVENTF_RIGHTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_RIGHTUP;
  ::SendInput(2, clicks, sizeof(INPUT));
  // Let the clicks through, then check: same selection, no popup menu window.
  ui_.Run([] { ::Sleep(300); });
  ui_.WaitFor([] { return false; }, 300);
  EXPECT_EQ(ui_.Run([&] { return TreeView_GetSelection(tree); }), selectedBefore);
  EXPECT_TRUE(ui_.Run([&] { return paths_.empty(); }));
  EXPECT_EQ(::FindWindowW(L"#32768", nullptr), nullptr);
  // A left click on the same spot does select: the clicks did reach the tree.
  clicks[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  ::SendInput(2, clicks, sizeof(INPUT));
  EXPECT_TRUE(ui_.WaitFor([&] { return TreeView_GetSelection(tree) == folder; }, 5000));
}

TEST_F(BrowseTest, RootChangeClosesAndReopensUnderTheNewRoot) {
  ProgramsFixture programs;
  Open(MenuSettings());
  ui_.Run([&] { browse_->SetRoot(kDrives); });
  // The closing is reported before the next taking over.
  ASSERT_TRUE(ui_.WaitFor([&] { return statuses_.size() >= 3 && browse_->TreeWindow(); }, 15000));
  ui_.Run([&] {
    EXPECT_EQ(statuses_[1], kStatusShutDown);
    EXPECT_EQ(statuses_.back(), kStatusInitialized);
    const HWND tree = browse_->TreeWindow();
    const HTREEITEM top = TreeView_GetRoot(tree);
    TreeView_Expand(tree, top, TVE_EXPAND);
    bool drive = false;
    for (HTREEITEM i = TreeView_GetChild(tree, top); i; i = TreeView_GetNextSibling(tree, i))
      drive = drive || win32::TreeItemText(tree, i).find(L"C:") != std::wstring::npos;
    EXPECT_TRUE(drive) << "the computer's drives are listed";
  });
  ui_.Run([&] { browse_->SetRoot(kCommonPrograms); });
  ASSERT_TRUE(ui_.WaitFor([&] { return statuses_.size() >= 5 && browse_->TreeWindow(); }, 15000));
  const HWND tree = ui_.Run([&] { return browse_->TreeWindow(); });
  EXPECT_NE(ui_.Run([&] { return FindChild(tree, TreeView_GetRoot(tree), L"PravikBrowseTest"); }), nullptr);
  // Only one dialog at a time, whatever the number of changes.
  EXPECT_EQ(ui_.Run([&] {
    int dialogs = 0;
    ::EnumThreadWindows(::GetCurrentThreadId(), [](HWND w, LPARAM n) {
      wchar_t cls[16] = {};
      ::GetClassNameW(w, cls, 16);
      if (std::wstring(cls) == L"#32770" && ::IsWindow(w)) ++*reinterpret_cast<int*>(n);
      return TRUE;
    }, reinterpret_cast<LPARAM>(&dialogs));
    return dialogs;
  }), 1);
}

// The hidden dialog never takes the activation, and should it end on its own all the same (its
// Cancel, Esc, a close request), the control lets go of it and takes over a fresh one.
TEST_F(BrowseTest, ADialogEndedBehindTheControlsBackIsReplacedByAFreshTree) {
  ProgramsFixture programs;
  Open(MenuSettings());
  const HWND first = ui_.Run([&] {
    ::SetForegroundWindow(host_->hwnd());
    return browse_->DialogWindow();
  });
  ui_.Run([&] {
    EXPECT_FALSE(::IsWindowVisible(first));
    EXPECT_NE(::GetActiveWindow(), first);
    EXPECT_FALSE(::IsWindowEnabled(browse_->CancelButton())) << "nothing of the dialog can take the focus";
  });
  const HWND oldTree = ui_.Run([&] { return browse_->TreeWindow(); });
  ui_.Run([&] { ::PostMessageW(first, WM_COMMAND, IDCANCEL, 0); });
  ASSERT_TRUE(ui_.WaitFor([&] { return !::IsWindow(first) && browse_->DialogWindow() && browse_->DialogWindow() != first; }, 15000));
  ASSERT_TRUE(ui_.WaitFor([&] { return browse_->TreeWindow() != nullptr; }, 15000));
  ui_.Run([&] {
    EXPECT_FALSE(::IsWindow(oldTree)) << "the dead dialog's tree is not left behind";
    EXPECT_EQ(::GetParent(browse_->TreeWindow()), browse_->hwnd());
    EXPECT_EQ(statuses_.back(), kStatusInitialized);
  });
  // The fresh tree reports selections again.
  const HWND tree = ui_.Run([&] { return browse_->TreeWindow(); });
  const HTREEITEM folder = ui_.Run([&] { return FindChild(tree, TreeView_GetRoot(tree), L"PravikBrowseTest"); });
  ASSERT_NE(folder, nullptr);
  ui_.Run([&] {
    paths_.clear();
    TreeView_SelectItem(tree, folder);
  });
  ASSERT_TRUE(ui_.WaitFor([&] { return !paths_.empty(); }, 5000));
  EXPECT_EQ(ui_.Run([&] { return paths_.back(); }), programs.folder() + L"\\");
}

TEST_F(BrowseTest, FolderFlagsZeroListsFoldersOnly) {
  ProgramsFixture programs;
  core::propbag::PropertyBag bag = MenuSettings();
  bag.Set(L"FolderFlags", std::int32_t{0});
  Open(bag);
  const HWND tree = ui_.Run([&] { return browse_->TreeWindow(); });
  const HTREEITEM folder = ui_.Run([&] { return FindChild(tree, TreeView_GetRoot(tree), L"PravikBrowseTest"); });
  ASSERT_NE(folder, nullptr);
  EXPECT_NE(ui_.Run([&] { return FindChild(tree, folder, L"Tools"); }), nullptr);
  EXPECT_EQ(ui_.Run([&] { return FindChild(tree, folder, L"Readme"); }), nullptr);
}

TEST_F(BrowseTest, DestroyingTheHostWhileOpenEndsCleanly) {
  Open(MenuSettings());
  const HWND dialog = ui_.Run([&] { return browse_->DialogWindow(); });
  ui_.Run([&] {
    browse_.reset();
    host_.reset();
  });
  EXPECT_FALSE(::IsWindow(dialog));
  EXPECT_EQ(ui_.Run([&] { return statuses_.back(); }), kStatusShutDown);
  // The UI thread still answers: no loop was left behind on a dead control.
  EXPECT_TRUE(ui_.Run([] { return true; }));
}

TEST_F(BrowseTest, DisabledTreeTakesNoInputAndTheBorderTurnsGrey) {
  Open(MenuSettings());
  ui_.Run([&] {
    browse_->SetTheme(core::browse::kThemeBlue);
    EXPECT_EQ(browse_->GetBorderColor(), 0x00B99D7Fu);
    browse_->SetEnabled(false);
    EXPECT_FALSE(::IsWindowEnabled(browse_->TreeWindow()));
    EXPECT_EQ(browse_->GetBorderColor(), core::browse::kDisabledBorderColor);
    browse_->SetEnabled(true);
    EXPECT_TRUE(::IsWindowEnabled(browse_->TreeWindow()));
    // The style bits follow the options at once.
    browse_->SetHasLines(true);
    EXPECT_TRUE(::GetWindowLongPtrW(browse_->TreeWindow(), GWL_STYLE) & TVS_HASLINES);
  });
}

TEST_F(BrowseTest, StoredSettingsRoundTrip) {
  Open(MenuSettings());
  core::propbag::PropertyBag written;
  ui_.Run([&] {
    browse_->SetHotTracking(false);
    EXPECT_TRUE(browse_->propertiesChanged());
    // Under a platform without a visual style the border is 3D whatever was asked for.
    browse_->SetAppearance(0);
    EXPECT_EQ(browse_->Appearance(), GetThemeName() == L"None" ? 1 : 0);
    browse_->WriteProperties(written);
  });
  EXPECT_EQ(written.Read<std::int32_t>(L"root", 0), kCommonPrograms);
  EXPECT_EQ(written.Read<bool>(L"HotTracking", true), false);
  EXPECT_FALSE(written.Has(L"Enabled"));
}

TEST(BrowsePlatform, PathsAndVersion) {
  wchar_t windows[MAX_PATH];
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  EXPECT_EQ(QualifyPath(windows), std::wstring(windows) + L"\\");
  EXPECT_EQ(QualifyPath(L"C:\\"), L"C:\\");
  EXPECT_EQ(QualifyPath(L"C:\\no such folder"), L"C:\\no such folder");
  EXPECT_TRUE(IsFile(std::wstring(windows) + L"\\notepad.exe"));
  EXPECT_FALSE(IsFolder(L""));
  EXPECT_EQ(Version(false), L"1.0.50");
  EXPECT_EQ(Version(true), L"1.0.50 (10/28/2007 8:05:13 PM)");
  EXPECT_EQ(TranslateColor(static_cast<std::int32_t>(0x80000005)), static_cast<std::int32_t>(::GetSysColor(COLOR_WINDOW)));
  EXPECT_EQ(TranslateColor(0x00123456), 0x00123456);
  EXPECT_EQ(TranslateColor(static_cast<std::int32_t>(0x800000FF)), -1);
  EXPECT_TRUE(MouseLeaveTrackingAvailable());
}

}  // namespace
}  // namespace pravik::controls::browse

namespace pravik::controls::browse {
namespace {

TEST_F(BrowseTest, StoredPathIsSelectedWhenTheTreeOpens) {
  ProgramsFixture programs;
  core::propbag::PropertyBag bag = MenuSettings();
  bag.Set(L"Path", programs.folder() + L"\\Tools");
  Open(bag);
  ASSERT_TRUE(ui_.WaitFor([&] { return !paths_.empty(); }, 5000));
  EXPECT_EQ(ui_.Run([&] { return paths_.back(); }), programs.folder() + L"\\Tools\\");
  EXPECT_EQ(ui_.Run([&] { return win32::TreeItemText(browse_->TreeWindow(), TreeView_GetSelection(browse_->TreeWindow())); }),
            L"Tools");
}

}  // namespace
}  // namespace pravik::controls::browse

namespace pravik::controls::browse {
namespace {

// Several trees in one program: each dialog loop runs inside the one opened before it, and a
// tree whose loop lies underneath still reopens at once on a Root change.
TEST(BrowseSeveralTrees, LowerTreeReopensWhileAnotherTreesLoopRunsAboveIt) {
  testsupport::UiThread ui;
  std::unique_ptr<HostWindow> host;
  std::unique_ptr<FolderTree> first, second;
  std::vector<std::wstring> firstStatus, secondStatus;
  core::propbag::PropertyBag programs;
  programs.Set(L"Root", std::int32_t{kCommonPrograms});
  ui.Run([&] {
    host = std::make_unique<win32::Instance<HostWindow>>();
    host->Create(L"PravikBrowseTestHost", L"host", WS_OVERLAPPEDWINDOW | WS_CLIPCHILDREN, 0, 50, 50, 640, 500, nullptr);
    first = std::make_unique<win32::Instance<FolderTree>>();
    second = std::make_unique<win32::Instance<FolderTree>>();
    first->onStatus = [&](const std::wstring& s) { firstStatus.push_back(s); };
    second->onStatus = [&](const std::wstring& s) { secondStatus.push_back(s); };
    first->Create(host->hwnd(), 1, 10, 10, 300, 400, programs);
    second->Create(host->hwnd(), 2, 320, 10, 300, 400, programs);
    ::ShowWindow(host->hwnd(), SW_SHOW);
    ::UpdateWindow(host->hwnd());
  });
  ASSERT_TRUE(ui.WaitFor([&] { return first->TreeWindow() && second->TreeWindow(); }, 15000));
  for (FolderTree* tree : {first.get(), second.get()}) {
    ui.Run([&] { tree->SetRoot(kDrives); });
    ASSERT_TRUE(ui.WaitFor([&] { return tree->TreeWindow() != nullptr; }, 10000));
  }
  ui.Run([&] {
    EXPECT_EQ(firstStatus, (std::vector<std::wstring>{kStatusInitialized, kStatusShutDown, kStatusInitialized}));
    EXPECT_EQ(secondStatus, (std::vector<std::wstring>{kStatusInitialized, kStatusShutDown, kStatusInitialized}));
    EXPECT_NE(first->TreeWindow(), nullptr);
    EXPECT_NE(second->TreeWindow(), nullptr);
  });
  ui.Run([&] {
    first.reset();
    second.reset();
    host.reset();
  });
}

}  // namespace
}  // namespace pravik::controls::browse
