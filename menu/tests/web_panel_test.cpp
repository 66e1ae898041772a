#include <gtest/gtest.h>

#include "menu/notice.h"
#include "menu/remote_setting.h"
#include "menu/web_panel.h"
#include "testsupport/http_test_server.h"
#include "testsupport/process.h"
#include "win32/com_ptr.h"
#include "win32/text.h"

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

}  // namespace
}  // namespace pravik::menu
