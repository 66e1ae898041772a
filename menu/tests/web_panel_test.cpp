#include <gtest/gtest.h>

#include <exdispid.h>

#include <string>

#include "menu/notice.h"
#include "menu/remote_setting.h"
#include "menu/web_panel.h"
#include "testsupport/files.h"
#include "testsupport/http_test_server.h"
#include "testsupport/process.h"
#include "win32/com_ptr.h"
#include "win32/text.h"
#include "win32/variant.h"

namespace pravik::menu {
namespace {

constexpr char kSettingPath[] = "/updateserver/Pravik/Setting/Setting.txt";

testsupport::HttpResponse Text(std::string body, int status = 200) {
  testsupport::HttpResponse r;
  r.status = status;
  r.reason = status == 200 ? "OK" : "Not Found";
  r.headers = {{"Content-Type", "text/plain"}};
  r.body = std::move(body);
  return r;
}

testsupport::HttpResponse Page() {
  testsupport::HttpResponse r;
  r.headers = {{"Content-Type", "text/html"}};
  r.body = "<html><body>notice</body></html>";
  return r;
}

class WebPanelTest : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(SUCCEEDED(ole_.result()));
    host_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, 0, 470,
                              595, nullptr, nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(host_);
    ASSERT_TRUE(panel_.Create(host_, 16, 488));
  }
  void TearDown() override {
    panel_.Close();
    ::DestroyWindow(host_);
  }
  // The location the browser control settles on, pumping while it navigates.
  std::wstring SettledLocation(const std::wstring& expected) {
    testsupport::WaitUntil([&] { return panel_.LocationUrl() == expected; }, 8000);
    return panel_.LocationUrl();
  }

  win32::OleScope ole_;
  HWND host_ = nullptr;
  WebPanel panel_;
  SettingRequest request_;
};

TEST_F(WebPanelTest, GeometryOfFrameAndBrowser) {
  RECT frame{};
  ::GetWindowRect(panel_.picture(), &frame);
  POINT origin{0, 0};
  ::ClientToScreen(host_, &origin);
  EXPECT_EQ(frame.left - origin.x, 16);
  EXPECT_EQ(frame.top - origin.y, 488);
  EXPECT_EQ(frame.right - frame.left, 441);
  EXPECT_EQ(frame.bottom - frame.top, 65);
  // The browser's own window: 2 pixels beyond the frame on the left and top, 18 on the right and bottom.
  HWND browserWindow = ::GetWindow(panel_.picture(), GW_CHILD);
  ASSERT_TRUE(browserWindow);
  RECT inner{};
  ::GetWindowRect(browserWindow, &inner);
  EXPECT_EQ(inner.left - frame.left, -2);
  EXPECT_EQ(inner.top - frame.top, -2);
  EXPECT_EQ(inner.right - frame.right, 18);
  EXPECT_EQ(inner.bottom - frame.bottom, 18);
}

TEST_F(WebPanelTest, SettingNamesThePage) {
  testsupport::HttpTestServer server;
  const std::wstring page = server.Url("/notice.html");
  server.Route(kSettingPath, Text(win32::WideToUtf8(page)));
  server.Route("/notice.html", Page());
  const std::wstring used = ShowNotice(panel_, request_, server.Url(kSettingPath));
  EXPECT_EQ(used, page);
  EXPECT_TRUE(panel_.Silent());
  EXPECT_EQ(SettledLocation(page), page);
  EXPECT_TRUE(request_.created());
}

testsupport::HttpResponse Redirect(const std::string& location) {
  testsupport::HttpResponse r = Text("http://127.0.0.1/notice.html", 302);
  r.reason = "Found";
  r.headers.push_back({"Location", location});
  return r;
}

TEST_F(WebPanelTest, UnusableSettingsShowTheHomePage) {
  testsupport::HttpTestServer server;
  struct Case {
    const char* name;
    testsupport::HttpResponse answer;
  } cases[] = {
      {"empty body", Text("")},
      {"404 page", Text("<html>Not Found</html>", 404)},
      {"file address", Text("file:///C:/windows/win.ini")},
      {"script address", Text("javascript:alert(1)")},
      {"UNC path", Text("\\\\server\\share\\x.html")},
      {"huge body", Text("http://127.0.0.1/" + std::string(70000, 'a'))},
      {"404 page holding an address", Text("http://127.0.0.1/notice.html", 404)},
      {"redirect to another host", Redirect("http://localhost/elsewhere.txt")},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(c.name);
    server.Route(kSettingPath, c.answer);
    EXPECT_EQ(ShowNotice(panel_, request_, server.Url(kSettingPath)), HomePageAddress());
  }
  {
    SCOPED_TRACE("no server");
    const std::wstring url = server.Url(kSettingPath);
    server.Stop();
    EXPECT_EQ(ShowNotice(panel_, request_, url), HomePageAddress());
  }
}

TEST_F(WebPanelTest, SilentServerIsBoundedByTheRequestLimit) {
  testsupport::HttpTestServer server;
  testsupport::HttpResponse stall = Text("http://127.0.0.1/late.html");
  stall.delayBeforeHeadersMs = 4000;  // well past the 1 s bound
  server.Route(kSettingPath, stall);
  SettingRequest quick(SettingRequest::Limits{std::chrono::seconds(1), std::chrono::milliseconds(1000)});
  EXPECT_EQ(ShowNotice(panel_, quick, server.Url(kSettingPath)), HomePageAddress());
}

TEST_F(WebPanelTest, TrailingLineBreakIsPassedOn) {
  testsupport::HttpTestServer server;
  server.Route("/notice.html", Page());
  const std::wstring page = server.Url("/notice.html");
  server.Route(kSettingPath, Text(win32::WideToUtf8(page) + "\r\n"));
  EXPECT_EQ(ShowNotice(panel_, request_, server.Url(kSettingPath)), page + L"\r\n");
}

// The control's navigation events as the control raises them (no page renders in the test
// prefix): what the panel cancels, and what it asks to be opened in the user's browser.
TEST_F(WebPanelTest, OnlyTheGivenHostsStayInThePanelEverythingElseGoesToTheUsersBrowser) {
  testsupport::HttpTestServer server;
  server.Route("/notice.html", Page());
  const std::wstring page = server.Url("/notice.html");
  ASSERT_TRUE(SUCCEEDED(panel_.Navigate(page)));
  const std::wstring routes = testsupport::MakeTempFolder(L"panelroutes") + L"\\routes.txt";
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD", routes.c_str());
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD_ONLY", L"1");
  IDispatch* events = panel_.events();
  ASSERT_NE(events, nullptr);
  win32::ComPtr<IDispatch> top;
  ASSERT_TRUE(SUCCEEDED(panel_.browser()->QueryInterface(IID_IDispatch, top.put_void())));

  // Arguments last first, as the control passes them; true when the event was cancelled.
  auto beforeNavigate = [&](const std::wstring& address, IDispatch* frame) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    win32::Variant url = win32::Variant::Text(address);
    VARIANT args[7];
    for (auto& a : args) ::VariantInit(&a);
    args[6].vt = VT_DISPATCH;
    args[6].pdispVal = frame;
    args[5].vt = VT_VARIANT | VT_BYREF;
    args[5].pvarVal = &url.v;
    args[0].vt = VT_BOOL | VT_BYREF;
    args[0].pboolVal = &cancel;
    DISPPARAMS parameters{args, nullptr, 7, 0};
    events->Invoke(DISPID_BEFORENAVIGATE2, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
    return cancel != VARIANT_FALSE;
  };
  auto newWindow3 = [&](const std::wstring& address) {
    VARIANT_BOOL cancel = VARIANT_FALSE;
    IDispatch* created = nullptr;
    win32::Variant url = win32::Variant::Text(address);
    VARIANT args[5];
    for (auto& a : args) ::VariantInit(&a);
    args[4].vt = VT_DISPATCH | VT_BYREF;
    args[4].ppdispVal = &created;
    args[3].vt = VT_BOOL | VT_BYREF;
    args[3].pboolVal = &cancel;
    args[0] = url.v;
    DISPPARAMS parameters{args, nullptr, 5, 0};
    events->Invoke(DISPID_NEWWINDOW3, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
    return cancel != VARIANT_FALSE;
  };

  // The page's own host (any path) and the home host stay in the panel.
  EXPECT_FALSE(beforeNavigate(server.Url("/next.html"), top.get()));
  EXPECT_FALSE(beforeNavigate(HomePageAddress() + L"x.html", top.get()));
  // Another host, another port, another scheme: cancelled.
  EXPECT_TRUE(beforeNavigate(L"https://elsewhere.example/a", top.get()));
  EXPECT_TRUE(beforeNavigate(L"http://127.0.0.1:1/", nullptr));
  EXPECT_TRUE(beforeNavigate(L"file:///C:/windows/system32/cmd.exe", top.get()));
  // Every new window: cancelled; a web address goes to the user's browser.
  EXPECT_TRUE(newWindow3(L"https://popup.example/b"));
  EXPECT_TRUE(newWindow3(L"javascript:alert(1)"));
  VARIANT_BOOL cancel = VARIANT_FALSE;
  IDispatch* created = nullptr;
  VARIANT args2[2];
  args2[1].vt = VT_DISPATCH | VT_BYREF;
  args2[1].ppdispVal = &created;
  args2[0].vt = VT_BOOL | VT_BYREF;
  args2[0].pboolVal = &cancel;
  DISPPARAMS parameters{args2, nullptr, 2, 0};
  events->Invoke(DISPID_NEWWINDOW2, IID_NULL, 0, DISPATCH_METHOD, &parameters, nullptr, nullptr, nullptr);
  EXPECT_NE(cancel, VARIANT_FALSE);

  ::SetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD", nullptr);
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD_ONLY", nullptr);
  // Only the panel's own page and the new window, as web addresses, through the desktop shell;
  // a frame inside the page and non-web addresses open nothing.
  EXPECT_EQ(testsupport::ReadFile(routes), "shell\thttps://elsewhere.example/a\t\t\nshell\thttps://popup.example/b\t\t\n");
}

}  // namespace
}  // namespace pravik::menu
