#include <gtest/gtest.h>

#include <windows.h>
#include <commctrl.h>

#include <functional>
#include <string>
#include <vector>

#include "controls/pickbox/pick_box.h"
#include "controls/pickbox/pick_dialogs.h"
#include "controls/pickbox/pick_helpers.h"
#include "testsupport/process.h"
#include "win32/paths.h"
#include "win32/text.h"
#include "win32/tree_view.h"

namespace pravik::controls::pickbox {
namespace {

void Press(HWND dialog, int id) { ::PostMessageW(dialog, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), 0); }

// Answers the dialog boxes this thread opens: a thread timer keeps running inside their modal
// loops. Each box seen is recorded by title and text, then `answer` closes it. A box that never
// becomes ready is cancelled after a deadline and recorded as `timedOut`, so a stuck dialog fails
// the test instead of hanging it.
class DialogWatcher {
 public:
  struct Seen {
    std::wstring title, text;
  };
  // ready: the dialog is answered only once it holds (dialogs that fill themselves after showing).
  explicit DialogWatcher(std::function<void(HWND)> answer, std::function<bool(HWND)> ready = nullptr,
                         DWORD deadlineMs = 20000)
      : answer_(std::move(answer)), ready_(std::move(ready)), deadline_(::GetTickCount64() + deadlineMs) {
    current_ = this;
    timer_ = ::SetTimer(nullptr, 0, 50, &DialogWatcher::Tick);
  }
  ~DialogWatcher() {
    ::KillTimer(nullptr, timer_);
    current_ = nullptr;
  }
  std::vector<Seen> seen;
  bool timedOut = false;

 private:
  static void CALLBACK Tick(HWND, UINT, UINT_PTR, DWORD) {
    if (!current_) return;
    ::EnumThreadWindows(::GetCurrentThreadId(), &DialogWatcher::Visit, 0);
  }
  static BOOL CALLBACK Visit(HWND window, LPARAM) {
    wchar_t cls[32] = {};
    ::GetClassNameW(window, cls, 32);
    if (std::wstring(cls) != L"#32770" || !::IsWindowVisible(window)) return TRUE;
    if (current_->answered_ == window) return FALSE;
    if (current_->ready_ && !current_->ready_(window)) {
      if (::GetTickCount64() < current_->deadline_) return FALSE;
      current_->timedOut = true;
      current_->answered_ = window;
      Press(window, IDCANCEL);
      return FALSE;
    }
    current_->answered_ = window;
    wchar_t title[256] = {}, text[512] = {};
    ::GetWindowTextW(window, title, 256);
    ::GetDlgItemTextW(window, 0xFFFF, text, 512);  // a message box's text
    current_->seen.push_back({title, text});
    current_->answer_(window);
    return FALSE;
  }
  static inline DialogWatcher* current_ = nullptr;
  std::function<void(HWND)> answer_;
  std::function<bool(HWND)> ready_;
  ULONGLONG deadline_;
  HWND answered_ = nullptr;
  UINT_PTR timer_ = 0;
};

// The texts of the selected tree item and its parents, outermost first, joined by backslashes.
std::wstring SelectedTreePath(HWND tree) {
  std::wstring path;
  for (HTREEITEM item = TreeView_GetSelection(tree); item; item = TreeView_GetParent(tree, item)) {
    const std::wstring text = win32::TreeItemText(tree, item);
    path = path.empty() ? text : text + L"\\" + path;
  }
  return path;
}

class PickBoxTest : public testing::Test {
 protected:
  void SetUp() override {
    host_ = ::CreateWindowExW(0, L"STATIC", L"host", WS_OVERLAPPEDWINDOW | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 400,
                              200, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    other_ = ::CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE, 0, 100, 100, 20, host_, nullptr,
                               ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(box_.Create(host_, 10, 10, 10, 177, 21));
    box_.onClick = [this] { events_.push_back(L"Click"); };
    box_.onMouseDown = [this](const win32::MouseEventArgs& a) { events_.push_back(L"MouseDown" + std::to_wstring(a.button)); };
  }
  void TearDown() override { ::DestroyWindow(host_); }
  // Types into the text box and moves the focus away, as a user leaving the box does.
  void Type(const std::wstring& text) {
    ::SetFocus(box_.part(PickBox::kTextId));
    ::SetWindowTextW(box_.part(PickBox::kTextId), text.c_str());
    ::SetFocus(other_);
  }
  static RECT Rect(HWND window) {
    RECT r{};
    ::GetWindowRect(window, &r);
    return r;
  }

  HWND host_ = nullptr, other_ = nullptr;
  win32::Instance<PickBox> box_;
  std::vector<std::wstring> events_;
};

TEST_F(PickBoxTest, DialogTypeIsStoredWithinRange) {
  core::propbag::PropertyBag bag;
  box_.SetDialogType(9);
  EXPECT_EQ(box_.DialogType(), 5);
  box_.WriteProperties(bag);
  EXPECT_EQ(bag.Read(L"DialogType", 0), 5);
  box_.SetDialogType(-1);
  EXPECT_EQ(box_.DialogType(), 0);
  box_.WriteProperties(bag);
  EXPECT_FALSE(bag.Has(L"DialogType"));  // 0 is the default and is not written
  EXPECT_EQ(box_.Text(), L"Locate Color...");
}

TEST_F(PickBoxTest, TypedColours) {
  DialogWatcher watcher([](HWND box) { Press(box, IDOK); });
  Type(L"&H00FF00");
  EXPECT_EQ(box_.Color(), 0x00FF00u);
  EXPECT_TRUE(watcher.seen.empty());

  Type(L"red");
  ASSERT_EQ(watcher.seen.size(), 1u);
  EXPECT_EQ(watcher.seen[0].title, L"ucPickBox");
  EXPECT_EQ(watcher.seen[0].text, L"The Value Entered is Invalid!");
  EXPECT_EQ(box_.Color(), 0x00FF00u);
  EXPECT_EQ(box_.Text(), L"&H00FF00");
  // Auto fore colour keeps the typed colour readable.
  EXPECT_EQ(box_.settings().foreColor, 0x00FF00FFu);
}

TEST_F(PickBoxTest, TypedFileNamesForOpen) {
  DialogWatcher watcher([](HWND box) { Press(box, IDOK); });
  box_.SetDialogType(core::pickbox::kOpen);
  const std::wstring exe = win32::ModulePath();
  Type(exe);
  EXPECT_EQ(box_.FileCount(), 1);
  EXPECT_EQ(box_.FileName(1), exe);
  Type(L"C:\\no\\such\\file.txt");
  ASSERT_EQ(watcher.seen.size(), 1u);
  EXPECT_EQ(watcher.seen[0].text, L"The Name Entered is Invalid!");
  EXPECT_EQ(box_.FileName(1), exe);
  Type(L"C:\\...\\shown.txt");  // a trimmed display is not a typed name
  EXPECT_EQ(watcher.seen.size(), 1u);
}

TEST_F(PickBoxTest, CancelledFolderDialogKeepsPathAndStillClicks) {
  box_.SetDialogType(core::pickbox::kFolder);
  box_.SetPath(L"C:\\windows\\");
  DialogWatcher watcher([](HWND dialog) { Press(dialog, IDCANCEL); });
  box_.PickClick();
  EXPECT_EQ(watcher.seen.size(), 1u);
  EXPECT_EQ(box_.Path(), L"C:\\windows\\");
  EXPECT_EQ(events_, (std::vector<std::wstring>{L"Click", L"MouseDown1"}));
}

TEST_F(PickBoxTest, ChosenFolderIsQualified) {
  const std::wstring folder = testsupport::MakeTempFolder(L"pickfolder");
  box_.SetDialogType(core::pickbox::kFolder);
  // As a chosen folder is kept: qualified, with its trailing separator.
  box_.SetPath(folder + L"\\");
  // The parent folder changed (the new folder) in an earlier 2-second slot than the dialog reads
  // it in: the slot in which the dialog's first walk to the start folder stops short under Wine.
  ::Sleep(2100);
  // The dialog opens on the current Path; OK takes it once the tree has reached it.
  const std::wstring leaf = folder.substr(folder.find_last_of(L'\\') + 1);
  std::wstring reached;
  DialogWatcher watcher([](HWND dialog) { Press(dialog, IDOK); },
                        [&](HWND dialog) {
                          reached = SelectedTreePath(::GetDlgItem(dialog, 14145));
                          const std::size_t cut = reached.find_last_of(L'\\');
                          return _wcsicmp(reached.substr(cut == std::wstring::npos ? 0 : cut + 1).c_str(), leaf.c_str()) == 0;
                        });
  box_.PickClick();
  ASSERT_FALSE(watcher.timedOut) << "the tree stopped at " << win32::WideToUtf8(reached);
  ASSERT_EQ(watcher.seen.size(), 1u);
  EXPECT_EQ(_wcsicmp(box_.Path().c_str(), (folder + L"\\").c_str()), 0) << box_.Path();
  EXPECT_EQ(events_, (std::vector<std::wstring>{L"Click", L"MouseDown1"}));
}

TEST_F(PickBoxTest, ShownPathLeavesRoomForThePickButton) {
  box_.SetDialogType(core::pickbox::kFolder);
  const std::wstring path = L"C:\\Program Files\\Common Files\\Pravik Test\\one\\two\\three\\four\\five\\last folder\\";
  box_.SetPath(path);
  const RECT text = Rect(box_.part(PickBox::kTextId)), pick = Rect(box_.part(PickBox::kPickId));
  const int textWidth = text.right - text.left;
  // Text box less the pick button less 40 twips (3 pixels at 96 dpi).
  const std::wstring expected = TrimPathByLen(path, textWidth - (pick.right - pick.left) - 3, L"...", L"MS Sans Serif", 8);
  EXPECT_EQ(box_.Text(), expected);
  EXPECT_NE(expected, TrimPathByLen(path, textWidth - 3, L"...", L"MS Sans Serif", 8));
}

TEST_F(PickBoxTest, CancelledPrintDialogOnlyReportsIt) {
  box_.SetDialogType(core::pickbox::kPrinter);
  const std::wstring prompt = box_.Text();
  std::vector<std::wstring> statuses;
  box_.onPrintStatusChanged = [&](const std::wstring& status) { statuses.push_back(status); };
  // Without a printer the dialog may refuse to open; either way it is not confirmed.
  DialogWatcher watcher([](HWND dialog) { Press(dialog, IDCANCEL); });
  box_.PickClick();
  EXPECT_EQ(statuses, (std::vector<std::wstring>{L"Print Cancelled..."}));
  EXPECT_EQ(box_.Text(), prompt);
  EXPECT_FALSE(box_.PrintStatus());
  EXPECT_EQ(events_, (std::vector<std::wstring>{L"Click", L"MouseDown1"}));
}

TEST_F(PickBoxTest, MissingExtensionIsAsked) {
  DialogWatcher watcher([](HWND dialog) {
    ::SetDlgItemTextW(dialog, 101, L"csv");
    Press(dialog, IDOK);
  });
  const auto answer = InputBox(host_, L"The File Extension is Missing!", L"ucPickBox", POINT{10, 10});
  ASSERT_EQ(watcher.seen.size(), 1u);
  EXPECT_EQ(watcher.seen[0].title, L"ucPickBox");
  EXPECT_EQ(answer, std::optional<std::wstring>(L"csv"));
}

TEST_F(PickBoxTest, LayoutRules) {
  win32::Instance<PickBox> narrow;
  ASSERT_TRUE(narrow.Create(host_, 11, 0, 40, 30, 50));
  const RECT r = Rect(narrow.hwnd());
  EXPECT_EQ(r.right - r.left, 97);   // 1455 twips at 96 dpi
  EXPECT_EQ(r.bottom - r.top, 21);   // 315 twips
  const RECT pick = Rect(narrow.part(PickBox::kPickId));
  EXPECT_EQ(pick.right, r.right);
  EXPECT_EQ(Rect(narrow.part(PickBox::kTextId)).right, pick.left);
  EXPECT_FALSE(::IsWindowVisible(narrow.part(PickBox::kDropId)));
}

TEST_F(PickBoxTest, ImageLooksFollowThePointer) {
  box_.SetTheme(static_cast<int>(core::pickbox::Theme::kBlue));
  EXPECT_EQ(box_.look(), core::pickbox::Look::kBlue);
  HWND image = box_.part(PickBox::kPickImageId);
  EXPECT_TRUE(::IsWindowVisible(image));
  EXPECT_FALSE(::IsWindowVisible(box_.part(PickBox::kPickId)));
  std::vector<std::wstring> seen;
  box_.onMouseEnter = [&] { seen.push_back(L"Enter"); };
  box_.onMouseLeave = [&] { seen.push_back(L"Leave"); };
  ::SendMessageW(image, WM_MOUSEMOVE, 0, MAKELPARAM(3, 3));
  ::SendMessageW(image, WM_MOUSEMOVE, 0, MAKELPARAM(4, 3));
  ::SendMessageW(image, WM_MOUSELEAVE, 0, 0);
  EXPECT_EQ(seen, (std::vector<std::wstring>{L"Enter", L"Leave"}));

  box_.SetTheme(static_cast<int>(core::pickbox::Theme::kClassic));
  EXPECT_TRUE(::IsWindowVisible(box_.part(PickBox::kPickId)));
  EXPECT_FALSE(::IsWindowVisible(image));
  box_.SetTheme(static_cast<int>(core::pickbox::Theme::kAuto));  // no visual style here: Classic
  EXPECT_EQ(box_.look(), core::pickbox::Look::kClassic);
}

TEST(PickHelpers, FileExistsAndQualifyPath) {
  const std::wstring folder = testsupport::MakeTempFolder(L"pickhelpers");
  const std::wstring file = folder + L"\\a.txt";
  win32::FileHandle created(::CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  created.reset();
  EXPECT_TRUE(FileExists(file));
  EXPECT_FALSE(FileExists(folder));
  EXPECT_FALSE(FileExists(folder + L"\\missing.txt"));
  EXPECT_EQ(QualifyPath(file), file);
  EXPECT_EQ(QualifyPath(folder), folder + L"\\");
  // A directory with further attribute bits counts as existing.
  // Wine keeps no extra attribute bits on directories; the check needs a platform that does.
  ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_READONLY);
  if (::GetFileAttributesW(folder.c_str()) != FILE_ATTRIBUTE_DIRECTORY) {
    EXPECT_TRUE(FileExists(folder));
  }
  ::SetFileAttributesW(folder.c_str(), FILE_ATTRIBUTE_DIRECTORY);
  EXPECT_EQ(TranslateColor(0x80000000u | COLOR_WINDOW), ::GetSysColor(COLOR_WINDOW));
}

}  // namespace
}  // namespace pravik::controls::pickbox
