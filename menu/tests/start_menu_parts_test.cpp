#include <gtest/gtest.h>

#include "menu/start_menu_parts.h"
#include "testsupport/http_test_server.h"
#include "testsupport/process.h"
#include "win32/com_ptr.h"
#include "win32/text.h"
#include "win32/window_hook.h"

namespace pravik::menu {
namespace {

TEST(StartMenuParts, LoadStepsThenUnload) {
  win32::OleScope ole;
  HWND menu = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_CLIPCHILDREN, 30, 40, 470, 595,
                                nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(menu);
  testsupport::HttpTestServer server;
  testsupport::HttpResponse setting;
  setting.body = win32::WideToUtf8(server.Url("/notice.html"));
  server.Route("/updateserver/Pravik/Setting/Setting.txt", setting);

  StartMenuParts parts;
  parts.AttachTitleLink(menu);
  EXPECT_EQ(parts.ShowNotice(menu, 16, 488, server.Url("/updateserver/Pravik/Setting/Setting.txt")),
            server.Url("/notice.html"));
  parts.AttachShadow(menu);
  parts.CreateOptions(menu, menu, nullptr, [] {});
  parts.FillThemeList();
  parts.MatchTreeAppearance();
  parts.ApplyCheckBoxesToTree();
  ASSERT_TRUE(parts.webPanel() && parts.dropShadow() && parts.options() && parts.titleLink());
  EXPECT_EQ(parts.dropShadow()->Color(), 0u);
  EXPECT_EQ(parts.dropShadow()->Depth(), 4);
  EXPECT_EQ(parts.dropShadow()->Transparency(), 140);
  // Hidden while loading: the shadow appears with the first showing.
  EXPECT_FALSE(::IsWindowVisible(parts.dropShadow()->rightStrip()));
  ::ShowWindow(menu, SW_SHOWNOACTIVATE);
  RECT right{}, bottom{};
  ::GetWindowRect(parts.dropShadow()->rightStrip(), &right);
  ::GetWindowRect(parts.dropShadow()->bottomStrip(), &bottom);
  EXPECT_EQ(right.left, 500);
  EXPECT_EQ(right.top, 44);
  EXPECT_EQ(right.right - right.left, 4);
  EXPECT_EQ(right.bottom - right.top, 595);
  EXPECT_EQ(bottom.left, 34);
  EXPECT_EQ(bottom.top, 635);
  EXPECT_EQ(bottom.right - bottom.left, 466);
  EXPECT_EQ(bottom.bottom - bottom.top, 4);

  const HWND strip = parts.dropShadow()->rightStrip();
  const HWND panel = parts.webPanel()->picture();
  parts.Release();
  EXPECT_FALSE(::IsWindow(strip));
  EXPECT_FALSE(::IsWindow(panel) && ::GetWindow(panel, GW_CHILD));  // the browser's window is gone
  ::DestroyWindow(menu);
}

// The poll runs inside the menu window's timer: a message handled from within it (another tick of
// the same timer, a request that tears the menu down) would run under the poll's feet, on objects
// it still uses.
TEST(StartMenuParts, PollingAPendingSettingRunsNothingElse) {
  win32::OleScope ole;
  HWND menu = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP, 0, 0, 470, 595, nullptr, nullptr,
                                ::GetModuleHandleW(nullptr), nullptr);
  ASSERT_TRUE(menu);
  int handled = 0;
  win32::WindowHook count;
  ASSERT_TRUE(count.Install(menu, [&](UINT message, WPARAM, LPARAM, LRESULT&) {
    if (message == WM_APP) ++handled;
    return false;
  }));
  testsupport::HttpTestServer server;
  testsupport::HttpResponse late;
  late.body = win32::WideToUtf8(server.Url("/notice.html"));
  late.delayBeforeHeadersMs = 1500;
  server.Route("/updateserver/Pravik/Setting/Setting.txt", late);

  StartMenuParts parts;
  parts.BeginNotice(menu, 16, 488, server.Url("/updateserver/Pravik/Setting/Setting.txt"));
  ::PostMessageW(menu, WM_APP, 0, 0);
  EXPECT_FALSE(parts.PollNotice()) << "the answer comes later";
  EXPECT_EQ(handled, 0) << "a message was handled inside the poll";
  // The answer still arrives by polling alone, and the panel follows it.
  ASSERT_TRUE(testsupport::WaitUntil([&] { return parts.PollNotice(); }, 8000));
  parts.ShowWebPanel();
  ASSERT_TRUE(parts.webPanel() && parts.webPanel()->browser());
  const std::wstring page = server.Url("/notice.html");
  testsupport::WaitUntil([&] { return parts.webPanel()->LocationUrl() == page; }, 8000);
  EXPECT_EQ(parts.webPanel()->LocationUrl(), page);
  parts.Release();
  ::DestroyWindow(menu);
}

}  // namespace
}  // namespace pravik::menu
