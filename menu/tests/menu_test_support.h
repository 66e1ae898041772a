#pragma once
// What the start menu's Windows tests share: the menu on a UI thread of its own, recording
// stand-ins for the programs it starts, and synthetic mouse and keyboard input.
#include <windows.h>

#include <gtest/gtest.h>

#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "menu/start_menu_window.h"
#include "testsupport/files.h"
#include "testsupport/process.h"
#include "testsupport/ui_probe.h"
#include "testsupport/ui_thread.h"
#include "win32/paths.h"
#include "win32/text.h"

namespace pravik::menu {

inline std::wstring SourceGraphicsRoot() { return testsupport::SourcePath(); }

inline std::wstring TestDir() {
  const std::wstring exe = win32::ModulePath();
  return exe.substr(0, exe.find_last_of(L'\\'));
}

inline std::wstring ForegroundFileName() {
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

// The window's class name, for failure messages.
inline std::string ClassOfWindow(HWND hwnd) {
  wchar_t name[128] = L"(none)";
  if (hwnd) ::GetClassNameW(hwnd, name, 128);
  return win32::WideToUtf8(name);
}

// Recording stand-ins where the interpreter finds them first: in the stand-in system folder
// (the test build's seam; the runner starts the interpreter from there, as its current folder)
// and on the front of PATH. The interpreter itself is recorded by the cmd.exe copy there
// (forwarding on).
class Recorders {
 public:
  Recorders() {
    folder_ = testsupport::MakeTempFolder(L"recorders");
    const std::wstring recorder = TestDir() + L"\\command_recorder.exe";
    for (const wchar_t* name :
         {L"shutdown.exe", L"explorer.exe", L"WinHlp32.exe", L"runtest.exe", L"StayForever.exe", L"cmd.exe"})
      ::CopyFileW(recorder.c_str(), (folder_ + L"\\" + name).c_str(), FALSE);
    ::SetEnvironmentVariableW(L"PRAVIK_TEST_SYSTEM_FOLDER", folder_.c_str());
    record_ = folder_ + L"\\record.txt";
    ::SetEnvironmentVariableW(L"PRAVIK_RECORD_FILE", record_.c_str());
    wchar_t path[8192] = {};
    ::GetEnvironmentVariableW(L"PATH", path, 8192);
    ::SetEnvironmentVariableW(L"PATH", (folder_ + L";" + path).c_str());
    ::SetEnvironmentVariableW(L"PRAVIK_FORWARD_CMD", L"1");
  }
  void Clear() { ::DeleteFileW(record_.c_str()); }
  std::vector<std::wstring> Lines() const {
    std::vector<std::wstring> lines;
    std::wstring all = win32::Utf8ToWide(testsupport::ReadFile(record_));
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

inline Recorders& TheRecorders() {
  static Recorders recorders;
  return recorders;
}

// The recorded argument texts of one program.
inline std::vector<std::wstring> RecordsOfProgram(const std::wstring& program) {
  std::vector<std::wstring> out;
  for (const auto& line : TheRecorders().Lines())
    if (line.rfind(program + L"\t", 0) == 0) out.push_back(line.substr(program.size() + 1));
  return out;
}

inline void MouseAt(HWND hwnd, int x, int y) {
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

inline void Click(HWND hwnd, int x, int y, bool right = false) {
  MouseAt(hwnd, x, y);
  INPUT clicks[2] = {};
  clicks[0].type = clicks[1].type = INPUT_MOUSE;
  clicks[0].mi.dwFlags = right ? MOUSEEVENTF_RIGHTDOWN : MOUSEEVENTF_LEFTDOWN;
  clicks[1].mi.dwFlags = right ? MOUSEEVENTF_RIGHTUP : MOUSEEVENTF_LEFTUP;
  ::SendInput(2, clicks, sizeof(INPUT));
}

// A modifier an earlier test (or program) left down turns Tab into Ctrl+Tab: a plain key is typed
// with every modifier up, as a user's hand would.
inline void ReleaseModifiers() {
  for (WORD vk : {VK_CONTROL, VK_MENU, VK_SHIFT, VK_LWIN, VK_RWIN}) {
    if (!(::GetAsyncKeyState(vk) & 0x8000)) continue;
    INPUT up{};
    up.type = INPUT_KEYBOARD;
    up.ki.wVk = vk;
    up.ki.dwFlags = KEYEVENTF_KEYUP;
    ::SendInput(1, &up, sizeof(INPUT));
  }
}

inline void Key(WORD vk) {
  ReleaseModifiers();
  INPUT keys[2] = {};
  keys[0].type = keys[1].type = INPUT_KEYBOARD;
  keys[0].ki.wVk = keys[1].ki.wVk = vk;
  keys[1].ki.dwFlags = KEYEVENTF_KEYUP;
  ::SendInput(2, keys, sizeof(INPUT));
}

// Presses the keys in order and releases them in reverse (Alt+F4, Shift+Tab, Alt+Down).
inline void Chord(std::initializer_list<WORD> keys) {
  std::vector<INPUT> input;
  for (WORD vk : keys) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = vk;
    input.push_back(i);
  }
  for (auto it = keys.end(); it != keys.begin();) {
    INPUT i{};
    i.type = INPUT_KEYBOARD;
    i.ki.wVk = *--it;
    i.ki.dwFlags = KEYEVENTF_KEYUP;
    input.push_back(i);
  }
  ::SendInput(static_cast<UINT>(input.size()), input.data(), sizeof(INPUT));
}

class MenuTest : public testing::Test {
 protected:
  static void SetUpTestSuite() { TheRecorders(); }

  void SetUp() override {
    TheRecorders().Clear();
    ForwardCommands(true);
    ui_.Run([&] {
      menu_ = std::make_unique<win32::Instance<StartMenuWindow>>();
      menu_->SetSkinFolder(SourceGraphicsRoot());
      menu_->SetForegroundQuery([] { return std::optional<std::wstring>(ForegroundFileName()); });
      menu_->Load(nullptr);
      menu_->ucBrowse1().onStatus = [this](const std::wstring& s) { statusLog_.push_back(s); };
    });
  }
  void Show() {
    // A stand-in program an earlier test started takes the front for a few seconds: keys sent now
    // would go to it.
    testsupport::WaitUntil([] { return !::FindWindowW(L"PravikRecorderWindow", nullptr); }, 6000);
    ui_.Run([&] {
      MenuVisible = true;
      menu_->ShowModeless();
      menu_->MoveAndSize(60, 100, 470, 595);
      menu_->Tim().Start();
      ::SetForegroundWindow(menu_->hwnd());
    });
    ASSERT_TRUE(ui_.WaitFor([&] { return menu_->ucBrowse1().TreeWindow() != nullptr; }, 15000));
    // The tree's adoption ends with a posted hand-back of the keyboard: a focus a test sets before
    // it is handled would be taken back.
    ASSERT_TRUE(ui_.Drain());
  }
  void TearDown() override {
    ui_.Run([&] { menu_.reset(); });
  }
  HWND E(const wchar_t* name) { return ui_.Run([&] { return menu_->Element(name); }); }
  static std::vector<std::wstring> Records() { return TheRecorders().Lines(); }
  // The recorded argument texts of one program.
  static std::vector<std::wstring> RecordsOf(const std::wstring& program) { return RecordsOfProgram(program); }
  bool WaitRecordsOf(const std::wstring& program, std::size_t n) {
    const ULONGLONG end = ::GetTickCount64() + 15000;
    while (RecordsOf(program).size() < n) {
      if (::GetTickCount64() > end) {
        for (const auto& line : TheRecorders().Lines()) ADD_FAILURE() << "recorded: " << win32::WideToUtf8(line);
        return false;
      }
      ::Sleep(50);
    }
    return true;
  }
  // Whether the interpreter stand-in passes commands on to the real one.
  static void ForwardCommands(bool on) { ::SetEnvironmentVariableW(L"PRAVIK_FORWARD_CMD", on ? L"1" : nullptr); }
  // Lets queued input reach the UI thread and be handled.
  void Settle() {
    ::Sleep(200);
    ui_.Run([] {});
  }

  testsupport::UiThread ui_;
  std::unique_ptr<StartMenuWindow> menu_;
  std::vector<std::wstring> statusLog_;
};

// Types text into the focused window as Unicode key strokes.
inline void Type(const std::wstring& text) { testsupport::TypeUnicode(text); }

// The colour on screen at a client point of the window.
inline COLORREF PixelAt(HWND hwnd, int x, int y) {
  ::UpdateWindow(hwnd);
  HDC dc = ::GetDC(hwnd);
  const COLORREF c = ::GetPixel(dc, x, y);
  ::ReleaseDC(hwnd, dc);
  return c;
}

}  // namespace pravik::menu
