#pragma once
// The menu in a user's hands: the real Pravik.exe started from a copy of the installed tree,
// driven by synthetic keyboard and mouse input only; its windows, focus and the commands that
// reached the recording stand-ins read back.
#include <gtest/gtest.h>
#include <windows.h>
#include <tlhelp32.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "menu/tests/menu_test_support.h"
#include "startup/tests/pravik_fixture.h"

namespace pravik::menu {

// The first visible descendant of the class (and the control id, when one is given).
inline HWND FindDescendant(HWND root, const wchar_t* cls, int id = 0) {
  struct Search {
    const wchar_t* cls;
    int id;
    HWND found;
  } search{cls, id, nullptr};
  ::EnumChildWindows(root, [](HWND child, LPARAM p) -> BOOL {
    auto* s = reinterpret_cast<Search*>(p);
    wchar_t name[64] = {};
    ::GetClassNameW(child, name, 64);
    if ((s->cls && lstrcmpiW(name, s->cls) != 0) || !::IsWindowVisible(child)) return TRUE;
    if (s->id && ::GetDlgCtrlID(child) != s->id) return TRUE;
    s->found = child;
    return FALSE;
  }, reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The length of a window's text as the window itself tells it (GetWindowTextLength reads only
// the caption kept by the system for windows of other processes).
inline int TextLength(HWND hwnd) {
  DWORD_PTR length = 0;
  if (!::SendMessageTimeoutW(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, 2000, &length)) return -1;
  return static_cast<int>(length);
}

// Ends the never-ending stand-ins: they would hold the test runner's output open.
inline void EndStayingCommands() {
  HANDLE snapshot = ::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return;
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof(entry);
  for (BOOL more = ::Process32FirstW(snapshot, &entry); more; more = ::Process32NextW(snapshot, &entry)) {
    if (lstrcmpiW(entry.szExeFile, L"StayForever.exe") != 0) continue;
    if (HANDLE p = ::OpenProcess(PROCESS_TERMINATE, FALSE, entry.th32ProcessID)) {
      ::TerminateProcess(p, 0);
      ::CloseHandle(p);
    }
  }
  ::CloseHandle(snapshot);
}

// The message box titled so of the process, once one shows.
inline HWND WaitForBoxTitled(const wchar_t* title, DWORD timeoutMs) {
  HWND box = nullptr;
  testsupport::WaitUntil([&] {
    box = ::FindWindowW(L"#32770", title);
    return box && ::IsWindowVisible(box);
  }, timeoutMs);
  return box;
}

class MenuInHandTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { TheRecorders(); }

  void SetUp() override {
    TheRecorders().Clear();
    startup::MovePointer(600, 300);
    // The update port is shared with every other test on this machine: should another test's
    // server answer Pravik's start-up check, Pravik hands over to the updater and ends. Once more.
    for (int attempt = 0; attempt < 3 && !button_; ++attempt) {
      pravik_ = testsupport::ChildProcess::Launch(folder_ + L"\\Pravik.exe", L"", folder_);
      button_ = testsupport::WaitForWindow(pravik_.pid(), L"PravikStartButton", 15000);
    }
    ASSERT_TRUE(button_) << Describe();
    menu_ = testsupport::WaitForWindow(pravik_.pid(), L"PravikStartMenu", 5000, false);
    ASSERT_TRUE(menu_);
    ASSERT_TRUE(startup::WaitForMenuPrepared(menu_));
  }
  void TearDown() override {
    pravik_.Terminate();
    EndStayingCommands();
  }

  // A click on the start icon, as a user does: the button slides in under the pointer first.
  void ClickStartIcon() {
    RECT r;
    ::GetWindowRect(button_, &r);
    startup::MovePointer(3, r.top + 76);
    startup::MovePointer(4, r.top + 76);
    ASSERT_TRUE(testsupport::WaitUntil([&] {
      ::GetWindowRect(button_, &r);
      return r.left == 0;
    }, 5000));
    startup::ClickAt(19, r.top + 76);
  }
  // Opens the menu and waits until its tree has been taken over.
  void OpenMenu() {
    ClickStartIcon();
    ASSERT_TRUE(testsupport::WaitUntil([&] { return ::IsWindowVisible(menu_) != FALSE; }, 5000));
    ASSERT_TRUE(testsupport::WaitUntil([&] { return FindDescendant(menu_, L"SysTreeView32") != nullptr; }, 15000));
    testsupport::PumpFor(300);
  }
  bool Hidden() const {
    return testsupport::WaitUntil([&] { return !::IsWindowVisible(menu_); }, 5000);
  }
  HWND Focus() const {
    GUITHREADINFO info{};
    info.cbSize = sizeof(info);
    ::GetGUIThreadInfo(::GetWindowThreadProcessId(menu_, nullptr), &info);
    return info.hwndFocus;
  }
  HWND RunBox() const { return FindDescendant(menu_, L"Edit", 504); }
  // A point of the menu by its pixels in the main panel (which starts at 6, 42).
  POINT InPanel(int x, int y) const {
    RECT r;
    ::GetWindowRect(menu_, &r);
    return {r.left + 6 + x, r.top + 42 + y};
  }
  void ClickShutdownButton() {
    const POINT p = InPanel(252 + 40, 520 + 10);
    startup::ClickAt(p.x, p.y);
  }
  bool Alive() const { return !pravik_.WaitExit(0).has_value(); }
  // Whether a dialog of Pravik shows (the drop shadow's two strips are dialog-class windows too,
  // but without children).
  bool DialogShows() const {
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(w, &pid);
      wchar_t cls[16] = {};
      ::GetClassNameW(w, cls, 16);
      if (pid == pravik_.pid() && ::IsWindowVisible(w) && lstrcmpW(cls, L"#32770") == 0 && ::GetWindow(w, GW_CHILD)) return true;
    }
    return false;
  }
  // What Pravik shows, for failure messages: its visible top-level windows.
  std::string Describe() const {
    std::string out = Alive() ? "running;" : "ended " + std::to_string(*pravik_.WaitExit(0)) + ";";
    for (HWND w = ::GetTopWindow(nullptr); w; w = ::GetWindow(w, GW_HWNDNEXT)) {
      DWORD pid = 0;
      ::GetWindowThreadProcessId(w, &pid);
      if (pid != pravik_.pid() || !::IsWindowVisible(w)) continue;
      wchar_t cls[64] = {}, title[128] = {};
      ::GetClassNameW(w, cls, 64);
      ::GetWindowTextW(w, title, 128);
      RECT r;
      ::GetWindowRect(w, &r);
      out += " [" + win32::WideToUtf8(cls) + " \"" + win32::WideToUtf8(title) + "\" " + std::to_string(r.left) + "," +
             std::to_string(r.top) + "]";
      for (HWND c = ::GetWindow(w, GW_CHILD); c; c = ::GetWindow(c, GW_HWNDNEXT)) {
        ::GetWindowTextW(c, title, 128);
        out += " {" + win32::WideToUtf8(title) + "}";
      }
    }
    return out;
  }

  static inline const std::wstring folder_ = startup::CopyInstalledTree(L"hand");
  testsupport::ChildProcess pravik_;
  HWND button_ = nullptr;
  HWND menu_ = nullptr;
};

}  // namespace pravik::menu
