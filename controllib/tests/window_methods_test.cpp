// Window, mouse, screen and taskbar methods against real windows and real programs.
#include <gtest/gtest.h>
#include <windows.h>
#include <shellapi.h>

#include "controllib/tests/dispatch_client.h"
#include "core/quessel_taskbar/work_area.h"
#include "testsupport/process.h"
#include "win32/handles.h"

namespace pravik::controllib {
namespace {

// A plain top-level window of the test program.
class TestWindow {
 public:
  explicit TestWindow(const wchar_t* title) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = Proc;
    wc.hInstance = ::GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QuesselTestWindow";
    ::RegisterClassW(&wc);
    hwnd_ = ::CreateWindowExW(0, wc.lpszClassName, title, WS_OVERLAPPEDWINDOW | WS_VISIBLE, 100, 100, 300, 200,
                              nullptr, nullptr, wc.hInstance, nullptr);
    ::SetForegroundWindow(hwnd_);
    pravik::testsupport::PumpFor(50);
  }
  ~TestWindow() { ::DestroyWindow(hwnd_); }
  [[nodiscard]] HWND get() const { return hwnd_; }
  [[nodiscard]] long id() const { return static_cast<long>(reinterpret_cast<LONG_PTR>(hwnd_)); }
  static inline int clicks = 0;

 private:
  static LRESULT CALLBACK Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
    if (m == WM_LBUTTONUP) ++clicks;
    return ::DefWindowProcW(h, m, w, l);
  }
  HWND hwnd_;
};

std::wstring OwnExeName() {
  wchar_t path[MAX_PATH];
  ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  const std::wstring p = path;
  return p.substr(p.find_last_of(L"\\/") + 1);
}

TEST(QuesselWindow, ForegroundFileNameNamesTheOwningProgram) {
  DispatchClient client;
  ASSERT_EQ(client.created(), S_OK);
  {
    TestWindow own(L"own window");
    ASSERT_EQ(::GetForegroundWindow(), own.get());
    EXPECT_EQ(client.Call(0x60030011).value.Text(), OwnExeName());
    EXPECT_EQ(client.Call(L"cForegroundWindow_Handle").value.v.lVal, own.id());
  }
  wchar_t windows[MAX_PATH];
  ::GetWindowsDirectoryW(windows, MAX_PATH);
  auto notepad = pravik::testsupport::ChildProcess::Launch(std::wstring(windows) + L"\\notepad.exe");
  ASSERT_TRUE(notepad.started());
  const HWND other = pravik::testsupport::WaitForWindow(notepad.pid(), nullptr, 10000);
  ASSERT_NE(other, nullptr);
  ::SetForegroundWindow(other);
  const bool inFront = pravik::testsupport::WaitUntil([&] { return ::GetForegroundWindow() == other; }, 5000);
  const std::wstring name = client.Call(0x60030011).value.Text();
  notepad.Terminate();
  ASSERT_TRUE(inFront);
  EXPECT_EQ(name, L"notepad.exe");
}

TEST(QuesselWindow, FileNameAndTitleOfAnyWindow) {
  DispatchClient client;
  TestWindow korean(L"시작 메뉴");
  long id = korean.id();
  EXPECT_EQ(client.Call(L"cWindow_FileName", {ByRef(&id)}).value.Text(), OwnExeName());
  EXPECT_EQ(client.Call(L"cWindow_Title", {ByRef(&id)}).value.Text(), L"시작 메뉴");
  EXPECT_EQ(client.Call(L"cForegroundWindow_Title").value.Text(), L"시작 메뉴");

  TestWindow untitled(L"");
  long empty = untitled.id();
  EXPECT_EQ(client.Call(L"cWindow_Title", {ByRef(&empty)}).value.Text(), L"");

  long gone = korean.id();
  { TestWindow temporary(L"temporary"); gone = temporary.id(); }
  for (long handle : {gone, 0L, 0x7FFFFFF0L}) {
    SCOPED_TRACE(handle);
    CallResult file = client.Call(L"cWindow_FileName", {ByRef(&handle)});
    EXPECT_EQ(file.hr, S_OK);
    EXPECT_EQ(file.value.Text(), L"");
    EXPECT_EQ(client.Call(L"cWindow_Title", {ByRef(&handle)}).value.Text(), L"");
  }
}

TEST(QuesselWindow, TopmostBandAndCloseBox) {
  DispatchClient client;
  TestWindow window(L"band");
  RECT before;
  ::GetWindowRect(window.get(), &before);
  long id = window.id();
  ASSERT_EQ(client.Call(L"cONTOP_On", {ByRef(&id)}).hr, S_OK);
  EXPECT_TRUE(::GetWindowLongPtrW(window.get(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  ASSERT_EQ(client.Call(L"cONTOP_Off", {ByRef(&id)}).hr, S_OK);
  EXPECT_FALSE(::GetWindowLongPtrW(window.get(), GWL_EXSTYLE) & WS_EX_TOPMOST);
  RECT after;
  ::GetWindowRect(window.get(), &after);
  EXPECT_TRUE(::EqualRect(&before, &after));

  ASSERT_NE(::GetMenuState(::GetSystemMenu(window.get(), FALSE), SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
  ASSERT_EQ(client.Call(L"cCloseButtonDisable", {Value(window.id())}).hr, S_OK);
  EXPECT_EQ(::GetMenuState(::GetSystemMenu(window.get(), FALSE), SC_CLOSE, MF_BYCOMMAND), static_cast<UINT>(-1));
}

TEST(QuesselMouse, PointerAndSyntheticClicks) {
  DispatchClient client;
  TestWindow target(L"click target");
  RECT r;
  ::GetWindowRect(target.get(), &r);
  long x = r.left + 150, y = r.top + 100;
  ASSERT_EQ(client.Call(L"cMouse_LocationSet", {ByRef(&x), ByRef(&y)}).hr, S_OK);
  EXPECT_EQ(client.Call(L"cMouse_LocationGet_X").value.v.lVal, x);
  EXPECT_EQ(client.Call(L"cMouse_LocationGet_Y").value.v.lVal, y);

  TestWindow::clicks = 0;
  ASSERT_EQ(client.Call(L"cMouse_LeftClick").hr, S_OK);
  EXPECT_TRUE(pravik::testsupport::WaitUntil([] { return TestWindow::clicks == 1; }, 5000));

  long dx = 10, dy = 0;
  ASSERT_EQ(client.Call(L"cMouse_MoveMouse", {ByRef(&dx), ByRef(&dy)}).hr, S_OK);
  EXPECT_TRUE(pravik::testsupport::WaitUntil([&] {
    POINT p;
    ::GetCursorPos(&p);
    return p.x != x;
  }, 5000));
  for (const wchar_t* name : {L"cMouse_RightDown", L"cMouse_RightUp", L"cMouse_MiddleClick"}) {
    EXPECT_EQ(client.Call(name).hr, S_OK);
  }
}

TEST(QuesselScreen, SizeAndTaskbarAgreeWithThePlatform) {
  DispatchClient client;
  EXPECT_EQ(client.Call(L"cScreen_Width").value.v.lVal, ::GetSystemMetrics(SM_CXSCREEN));
  EXPECT_EQ(client.Call(L"cScreen_Height").value.v.lVal, ::GetSystemMetrics(SM_CYSCREEN));

  APPBARDATA bar{};
  bar.cbSize = sizeof bar;
  ::SHAppBarMessage(ABM_GETTASKBARPOS, &bar);
  win32::WindowDc screen(nullptr);
  const core::quessel_taskbar::TaskbarWorkArea expected = core::quessel_taskbar::ComputeTaskbarWorkArea(
      {bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom},
      {::GetDeviceCaps(screen.get(), HORZRES), ::GetDeviceCaps(screen.get(), VERTRES),
       1440.0 / ::GetDeviceCaps(screen.get(), LOGPIXELSX), 1440.0 / ::GetDeviceCaps(screen.get(), LOGPIXELSY)});
  EXPECT_EQ(client.Call(L"cTaskBar_Type").value.v.lVal, expected.type);
  EXPECT_EQ(client.Call(L"cTask_Left").value.v.lVal, expected.left);
  EXPECT_EQ(client.Call(L"cTask_Top").value.v.lVal, expected.top);
  EXPECT_EQ(client.Call(L"cTask_Width").value.v.lVal, expected.width);
  EXPECT_EQ(client.Call(L"cTask_Height").value.v.lVal, expected.height);
}

}  // namespace
}  // namespace pravik::controllib
