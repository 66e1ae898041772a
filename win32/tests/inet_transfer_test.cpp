// The bounded fetch against a loopback server that behaves, lies, stalls or drips.
#include <gtest/gtest.h>
#include <windows.h>

#include "testsupport/http_test_server.h"
#include "win32/http/inet_transfer.h"

namespace pravik::win32 {
namespace {

using testsupport::HttpResponse;
using testsupport::HttpTestServer;
using namespace std::chrono_literals;

HttpResponse Body(std::string body) {
  HttpResponse r;
  r.body = std::move(body);
  return r;
}

TEST(FetchUrl, ReturnsTheBodyWhateverTheStatus) {
  HttpTestServer server;
  server.Route("/v.txt", Body("1.0;args"));
  HttpResponse missing = Body("<html>gone</html>");
  missing.status = 404;
  missing.reason = "Not Found";
  server.Route("/gone", missing);
  HttpResponse chunked = Body(std::string(5000, 'c'));
  chunked.chunked = true;
  server.Route("/chunked", chunked);

  auto ok = win32::http::FetchUrl(server.Url("/v.txt"));
  ASSERT_TRUE(ok);
  EXPECT_EQ(ok->body, "1.0;args");
  EXPECT_EQ(ok->status, 200u);
  auto gone = win32::http::FetchUrl(server.Url("/gone"));
  ASSERT_TRUE(gone);
  EXPECT_EQ(gone->status, 404u);
  EXPECT_EQ(gone->body, "<html>gone</html>");
  auto c = win32::http::FetchUrl(server.Url("/chunked"));
  ASSERT_TRUE(c);
  EXPECT_EQ(c->body.size(), 5000u);
}

TEST(FetchUrl, FailuresAreNothing) {
  HttpTestServer server;
  HttpResponse silent;
  silent.delayBeforeHeadersMs = 6000;
  server.Route("/silent", silent);
  HttpResponse drip = Body(std::string(200, 'd'));
  drip.dripDelayMs = 100;
  server.Route("/drip", drip);
  HttpResponse stall = Body("late");
  stall.stallAfterHeadersMs = 6000;
  server.Route("/stall", stall);
  server.Route("/huge", Body(std::string(64 * 1024 + 1, 'h')));
  server.Route("/limit", Body(std::string(64 * 1024, 'h')));
  HttpResponse cut = Body(std::string(4000, 'x'));
  cut.cutAfterBytes = 1000;
  server.Route("/cut", cut);
  HttpResponse closed;
  closed.closeWithoutAnswer = true;
  server.Route("/closed", closed);

  const win32::http::FetchLimits limits{1500ms, 64 * 1024};
  for (const char* path : {"/silent", "/drip", "/stall", "/huge", "/cut", "/closed"}) {
    SCOPED_TRACE(path);
    EXPECT_FALSE(win32::http::FetchUrl(server.Url(path), limits).has_value());
  }
  EXPECT_TRUE(win32::http::FetchUrl(server.Url("/limit"), limits).has_value());

  HttpTestServer gone;
  const std::wstring refused = gone.Url("/x");
  gone.Stop();
  EXPECT_FALSE(win32::http::FetchUrl(refused, limits).has_value());
}

TEST(FetchUrl, AWorkerLeftBehindIsCountedUntilItEnds) {
  HttpTestServer server;
  HttpResponse late = Body("late");
  late.delayBeforeHeadersMs = 2500;
  server.Route("/late", late);
  const win32::http::FetchLimits limits{300ms, 64 * 1024};
  EXPECT_FALSE(win32::http::FetchUrl(server.Url("/late"), limits).has_value());
  // The caller has gone on; the worker still runs this module's code, so a library holding it
  // reports itself in use until the worker ends.
  EXPECT_TRUE(win32::http::TransfersRunning());
  const ULONGLONG end = ::GetTickCount64() + 15000;
  while (win32::http::TransfersRunning() && ::GetTickCount64() < end) ::Sleep(20);
  EXPECT_FALSE(win32::http::TransfersRunning());
}

}  // namespace
}  // namespace pravik::win32
