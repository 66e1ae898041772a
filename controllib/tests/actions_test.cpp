// System actions and small dialogs through the real interface. Nothing here ends the session or
// plays a sound: the session-end tests only take the paths that refuse before any request.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <thread>

#include "controllib/tests/dispatch_client.h"
#include "testsupport/files.h"
#include "testsupport/http_test_server.h"
#include "testsupport/process.h"

namespace pravik::controllib {
namespace {

// Finds a visible window of this process with the class, from another thread.
HWND FindOwnWindow(const wchar_t* className, DWORD timeoutMs) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  while (::GetTickCount64() < end) {
    struct Search {
      const wchar_t* cls;
      HWND found;
    } search{className, nullptr};
    ::EnumWindows(
        [](HWND h, LPARAM p) -> BOOL {
          auto* s = reinterpret_cast<Search*>(p);
          DWORD pid = 0;
          ::GetWindowThreadProcessId(h, &pid);
          wchar_t cls[64] = {};
          ::GetClassNameW(h, cls, 64);
          if (pid == ::GetCurrentProcessId() && ::IsWindowVisible(h) && wcscmp(cls, s->cls) == 0) {
            s->found = h;
            return FALSE;
          }
          return TRUE;
        },
        reinterpret_cast<LPARAM>(&search));
    if (search.found) return search.found;
    ::Sleep(20);
  }
  return nullptr;
}

TEST(QuesselActions, ShutdownRefusesFlagsOutOfRangeBeforeAnyRequest) {
  DispatchClient client;
  for (long flags : {32L, -1L, 1000L}) {
    SCOPED_TRACE(flags);
    CallResult r = client.Call(L"cShutdownSystem", {Value(flags)});
    EXPECT_EQ(r.hr, DISP_E_EXCEPTION);
    EXPECT_EQ(r.exception.scode, static_cast<SCODE>(0x8004062F));
    EXPECT_EQ(r.Description(), L"Invalid parameter to ShutdownSystem: " + std::to_wstring(flags));
    EXPECT_STREQ(r.exception.bstrSource, L"Quessel.mShutDown");
  }
}

TEST(QuesselActions, TimedYesNoBox) {
  DispatchClient client;
  BSTR msg = ::SysAllocString(L"계속할까요?");
  BSTR title = ::SysAllocString(L"Quessel");
  long wait = 1;
  EXPECT_EQ(client.Call(L"cMsgbox_YesNo", {ByRef(&msg), ByRef(&title), ByRef(&wait)}).value.v.lVal, -1);
  EXPECT_STREQ(msg, L"계속할까요?");  // back through code page 949 unchanged

  for (const auto& [button, expected] : {std::pair{IDYES, 1L}, std::pair{IDNO, 0L}}) {
    SCOPED_TRACE(button);
    std::thread answer([button = button] {
      if (HWND box = FindOwnWindow(L"#32770", 10000)) ::PostMessageW(box, WM_COMMAND, button, 0);
    });
    wait = 30;
    const long got = client.Call(L"cMsgbox_YesNo", {ByRef(&msg), ByRef(&title), ByRef(&wait)}).value.v.lVal;
    answer.join();
    EXPECT_EQ(got, expected);
  }
  wait = 0x7FFFFFFF;
  EXPECT_EQ(client.Call(L"cMsgbox_OK", {ByRef(&msg), ByRef(&title), ByRef(&wait)}).exception.scode,
            static_cast<SCODE>(0x800A0006));

  // No wait at all times out at once; the time-out closes the box this call showed, not a host
  // dialog of the same thread with the same caption.
  wait = 0;
  const ULONGLONG start = ::GetTickCount64();
  EXPECT_EQ(client.Call(L"cMsgbox_YesNo", {ByRef(&msg), ByRef(&title), ByRef(&wait)}).value.v.lVal, -1);
  EXPECT_LT(::GetTickCount64() - start, 2000u);
  HWND host = ::CreateWindowExW(WS_EX_TOPMOST, L"#32770", L"Quessel", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr, nullptr,
                                nullptr, nullptr);
  ASSERT_NE(host, nullptr);
  wait = 1;
  EXPECT_EQ(client.Call(L"cMsgbox_OK", {ByRef(&msg), ByRef(&title), ByRef(&wait)}).hr, S_OK);
  EXPECT_TRUE(::IsWindow(host) && ::IsWindowVisible(host));
  ::DestroyWindow(host);
  ::SysFreeString(msg);
  ::SysFreeString(title);
}

// Opens the popup menu with the items and, from another thread, reads the menu and presses keys.
// The items go by value, or as script variables (references to variants) when asked.
long RunPopup(const DispatchClient& client, std::vector<const wchar_t*> items, std::vector<WORD> keys,
              std::vector<UINT>* states, bool asVariables = false) {
  std::thread driver([&] {
    HWND menuWindow = FindOwnWindow(L"#32768", 10000);
    if (!menuWindow) return;
    HMENU menu = reinterpret_cast<HMENU>(::SendMessageW(menuWindow, MN_GETHMENU, 0, 0));
    const int count = ::GetMenuItemCount(menu);
    for (int i = 0; i < count; ++i) states->push_back(::GetMenuState(menu, static_cast<UINT>(i), MF_BYPOSITION));
    for (WORD key : keys) {
      ::PostMessageW(menuWindow, WM_KEYDOWN, key, 0);
      ::Sleep(50);
    }
  });
  std::vector<Var> owners;
  owners.reserve(items.size());
  for (const wchar_t* item : items) owners.emplace_back(item);
  std::vector<VARIANT> args;
  for (Var& o : owners) {
    VARIANT arg = Value(o);
    if (asVariables) {
      arg.vt = VT_VARIANT | VT_BYREF;
      arg.pvarVal = &o.v;
    }
    args.push_back(arg);
  }
  const long chosen = client.Call(L"cPopupMenu", args).value.v.lVal;
  driver.join();
  return chosen;
}

TEST(QuesselActions, PopupMenuItemsAndSeparators) {
  DispatchClient client;
  std::vector<UINT> states;
  EXPECT_EQ(RunPopup(client, {L"열기", L"저장", L"닫기"}, {VK_DOWN, VK_DOWN, VK_RETURN}, &states), 2);
  EXPECT_EQ(states.size(), 3u);

  states.clear();
  // An empty item ends the list: the items after it are not used.
  EXPECT_EQ(RunPopup(client, {L"a", L" - ", L"c", L"", L"e"}, {VK_DOWN, VK_DOWN, VK_RETURN}, &states), 3);
  ASSERT_EQ(states.size(), 3u);
  EXPECT_TRUE(states[1] & MF_SEPARATOR);
  EXPECT_FALSE(states[0] & MF_SEPARATOR);

  states.clear();
  EXPECT_EQ(RunPopup(client, {L"a", L"b"}, {VK_ESCAPE}, &states), 0);

  states.clear();
  EXPECT_EQ(RunPopup(client, {L"x", L"y"}, {VK_DOWN, VK_DOWN, VK_RETURN}, &states, true), 2);
  EXPECT_EQ(states.size(), 2u);
}

TEST(QuesselActions, FolderPickerCancelledGivesEmptyText) {
  DispatchClient client;
  std::thread cancel([] {
    if (HWND dialog = FindOwnWindow(L"#32770", 10000)) ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
  });
  Var title(L"폴더 선택");
  CallResult r = client.Call(L"cFolder_Select", {Value(title)});
  cancel.join();
  EXPECT_EQ(r.hr, S_OK);
  EXPECT_EQ(r.value.Text(), L"");

  // The title by reference, and left out (an empty title).
  BSTR byReference = ::SysAllocString(L"폴더");
  for (bool given : {true, false}) {
    SCOPED_TRACE(given);
    std::thread cancelAgain([] {
      if (HWND dialog = FindOwnWindow(L"#32770", 10000)) ::PostMessageW(dialog, WM_COMMAND, IDCANCEL, 0);
    });
    CallResult again = given ? client.Call(L"cFolder_Select", {ByRef(&byReference)}) : client.Call(L"cFolder_Select");
    cancelAgain.join();
    EXPECT_EQ(again.hr, S_OK);
    EXPECT_EQ(again.value.Text(), L"");
  }
  ::SysFreeString(byReference);
}

TEST(QuesselActions, DownloadTwiceAndReportTheFile) {
  pravik::testsupport::HttpTestServer server;
  pravik::testsupport::HttpResponse file;
  file.body = "payload";
  server.Route("/file.bin", file);
  DispatchClient client;
  const std::wstring folder = pravik::testsupport::MakeTempFolder(L"quessel_download");
  BSTR url = ::SysAllocString(server.Url("/file.bin").c_str());
  BSTR path = ::SysAllocString((folder + L"\\file.bin").c_str());
  CallResult r = client.Call(L"cFileDownload", {ByRef(&url), ByRef(&path)});
  EXPECT_EQ(r.value.v.vt, VT_BOOL);
  EXPECT_EQ(r.value.v.boolVal, VARIANT_TRUE);
  EXPECT_EQ(server.RequestCount("/file.bin"), 2u);
  EXPECT_EQ(pravik::testsupport::ReadFile(folder + L"\\file.bin"), "payload");
  server.Stop();
  ::SysFreeString(path);
  path = ::SysAllocString((folder + L"\\missing.bin").c_str());
  EXPECT_EQ(client.Call(L"cFileDownload", {ByRef(&url), ByRef(&path)}).value.v.boolVal, VARIANT_FALSE);
  ::SysFreeString(url);
  ::SysFreeString(path);
}

TEST(QuesselActions, EndProcessByNameAndBadNames) {
  DispatchClient client;
  wchar_t windows[MAX_PATH];
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  auto notepad = pravik::testsupport::ChildProcess::Launch(std::wstring(windows) + L"\\notepad.exe");
  ASSERT_TRUE(notepad.started());
  ASSERT_NE(pravik::testsupport::WaitForWindow(notepad.pid(), nullptr, 10000), nullptr);
  BSTR name = ::SysAllocString(L"notepad.exe");
  ASSERT_EQ(client.Call(L"cEndProcess", {ByRef(&name)}).hr, S_OK);
  ::SysFreeString(name);
  const auto ended = notepad.WaitExit(20000);
  if (!ended) notepad.Terminate();
  EXPECT_TRUE(ended.has_value());

  // Left out, the name is the declared default, calc.exe.
  const std::wstring calc = pravik::testsupport::MakeTempFolder(L"quessel_calc") + L"\\calc.exe";
  ASSERT_TRUE(::CopyFileW((std::wstring(windows) + L"\\notepad.exe").c_str(), calc.c_str(), FALSE));
  auto calculator = pravik::testsupport::ChildProcess::Launch(calc);
  ASSERT_TRUE(calculator.started());
  ASSERT_NE(pravik::testsupport::WaitForWindow(calculator.pid(), nullptr, 10000), nullptr);
  ASSERT_EQ(client.Call(L"cEndProcess").hr, S_OK);
  const auto calcEnded = calculator.WaitExit(20000);
  if (!calcEnded) calculator.Terminate();
  EXPECT_TRUE(calcEnded.has_value());

  // Wildcards, quotes and slashes never reach taskkill's command line.
  for (const wchar_t* bad : {L"x.exe\" /im \"explorer.exe", L"*", L"note*.exe", L"?otepad.exe", L"/im",
                             L"..\\x.exe"}) {
    Var smuggled(bad);
    EXPECT_EQ(client.Call(L"cEndProcess", {Value(smuggled)}).exception.scode, static_cast<SCODE>(0x800A0005));
  }
}

TEST(QuesselActions, SleepAndQuietSound) {
  DispatchClient client;
  long ms = 5;
  EXPECT_EQ(client.Call(L"cSleep", {ByRef(&ms)}).hr, S_OK);
  ms = -1;  // would otherwise wait forever
  EXPECT_EQ(client.Call(L"cSleep", {ByRef(&ms)}).hr, DISP_E_EXCEPTION);
  BSTR missing = ::SysAllocString(L"C:\\no such folder\\none.wav");
  EXPECT_EQ(client.Call(L"cSound_Play", {ByRef(&missing)}).hr, S_OK);
  EXPECT_EQ(client.Call(L"cSound_Stop").hr, S_OK);
  ::SysFreeString(missing);
}

}  // namespace
}  // namespace pravik::controllib

namespace pravik::controllib {
namespace {

TEST(QuesselActions, TooltipShowsOrSaysWhyNot) {
  DispatchClient client;
  BSTR message = ::SysAllocString(L"도움말");
  CallResult r = client.Call(L"cTooltip", {ByRef(&message)});
  ::SysFreeString(message);
  if (FAILED(r.hr)) {
    // A system without the HTML Help control (Wine has none registered) gets the numbered error.
    EXPECT_EQ(r.exception.scode, static_cast<SCODE>(0x800A01AD));
    EXPECT_NE(r.Description().find(L"Internet.HHCtrl"), std::wstring::npos);
  }
}

}  // namespace
}  // namespace pravik::controllib
