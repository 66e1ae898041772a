// The download engine against a loopback server that behaves, lies, stalls or breaks off.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "testsupport/files.h"
#include "testsupport/http_test_server.h"
#include "testsupport/process.h"
#include "updater/update_engine.h"
#include "updater/messages.h"
#include "updater/tests/event_log.h"

namespace pravik::updater {
namespace {

using testsupport::HttpResponse;
using testsupport::HttpTestServer;


std::string Body(std::size_t n) {
  std::string body(n, '\0');
  for (std::size_t i = 0; i < n; ++i) body[i] = static_cast<char>((i * 131 + 7) % 251);
  return body;
}

class DownloadTest : public ::testing::Test {
 protected:
  void SetUp() override { savePath = testsupport::MakeTempFolder(L"download") + L"\\PravikUpdate.exe"; }

  std::vector<std::wstring> Run(const HttpResponse& response, win32::http::TransferLimits limits = {}) {
    server.Route("/file", response);
    win32::http::InetControl inet(limits);
    UpdateEngine update(log);
    update.SetPieceSize(pieceSize);
    update.URL(server.Url("/file"));
    update.SavePath(savePath);
    update.Download(inet);
    return log.lines;
  }

  HttpTestServer server;
  EventLog log;
  std::wstring savePath;
  std::size_t pieceSize = kDefaultPieceSize;
};

// The classic transport's kilobyte pieces: each event reports the bytes of its own piece.
TEST_F(DownloadTest, ChunksFollowTheBytesThatArrive) {
  pieceSize = 1024;
  struct Case {
    std::size_t size;
    std::vector<std::wstring> events;
  } cases[] = {
      {2500, {L"start 2500", L"chunk 1024", L"chunk 1024", L"chunk 452", L"complete"}},
      {1024, {L"start 1024", L"chunk 1024", L"complete"}},
      {1, {L"start 1", L"chunk 1", L"complete"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.size);
    log.lines.clear();
    HttpResponse response;
    response.body = Body(c.size);
    EXPECT_EQ(Run(response), c.events);
    EXPECT_EQ(testsupport::ReadFile(savePath), response.body);
  }
}

// A large body goes in a few large pieces whose reported sizes add up to exactly the file.
TEST_F(DownloadTest, ALargeBodyGoesInLargePiecesThatAddUp) {
  HttpResponse response;
  response.body = Body(3 * kDefaultPieceSize + 5);
  const auto events = Run(response);
  ASSERT_GE(events.size(), 3u);
  EXPECT_EQ(events.front(), L"start " + std::to_wstring(response.body.size()));
  EXPECT_EQ(events.back(), L"complete");
  std::size_t sum = 0;
  for (std::size_t i = 1; i + 1 < events.size(); ++i) {
    ASSERT_EQ(events[i].rfind(L"chunk ", 0), 0u) << i;
    const std::size_t piece = std::stoul(events[i].substr(6));
    EXPECT_LE(piece, kDefaultPieceSize);
    sum += piece;
  }
  EXPECT_EQ(sum, response.body.size());
  EXPECT_LE(events.size(), 2 + 64u) << "pieces of a kilobyte again?";
  EXPECT_EQ(testsupport::ReadFile(savePath), response.body);
}

TEST_F(DownloadTest, AnOlderLongerFileIsReplacedAsAWhole) {
  testsupport::WriteFile(savePath, Body(5000) + "tail");
  HttpResponse response;
  response.body = "new";
  Run(response);
  EXPECT_EQ(testsupport::ReadFile(savePath), "new");
}

TEST_F(DownloadTest, ASlowBodyArrivingInPiecesIsCountedByBytes) {
  HttpResponse response;
  response.body = Body(300);
  response.dripDelayMs = 1;
  const auto events = Run(response);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.front(), L"start 300");
  EXPECT_EQ(events.back(), L"complete");
  EXPECT_EQ(testsupport::ReadFile(savePath), response.body);
}

TEST_F(DownloadTest, LengthsThatCannotBeTrusted) {
  struct Case {
    const char* name;
    std::optional<std::string> length;
    bool chunked;
    std::wstring message;
  } cases[] = {
      {"missing (chunked)", std::nullopt, true, text::kZeroSize},
      {"zero", "0", false, text::kZeroSize},
      {"negative", "-5", false, text::kZeroSize},
      {"not a number", "abc", false, text::kZeroSize},
      {"beyond 32 bits", "4294967296", false, text::kUnknownError},
      {"larger than the body", "2000", false, text::kIncomplete},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.lines.clear();
    HttpResponse response;
    response.body = Body(1000);
    response.chunked = c.chunked;
    response.lengthOverride = c.length;
    const auto events = Run(response);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), L"error " + c.message);
    EXPECT_EQ(std::count_if(events.begin(), events.end(), [](auto& e) { return e.rfind(L"error", 0) == 0; }), 1);
    EXPECT_FALSE(testsupport::FileExists(savePath));
  }
}

TEST_F(DownloadTest, ALengthSmallerThanTheBodyTakesTheAnnouncedBytes) {
  pieceSize = 1024;
  HttpResponse response;
  response.body = Body(3000);
  response.lengthOverride = "1500";
  EXPECT_EQ(Run(response), (std::vector<std::wstring>{L"start 1500", L"chunk 1024", L"chunk 476", L"complete"}));
  EXPECT_EQ(testsupport::ReadFile(savePath), response.body.substr(0, 1500));
}

TEST_F(DownloadTest, AnErrorPageIsNotTheFile) {
  HttpResponse response;
  response.status = 404;
  response.reason = "Not Found";
  response.body = "<html>404</html>";
  EXPECT_EQ(Run(response), std::vector<std::wstring>{L"error " + text::ServerRefused(404)});
  EXPECT_FALSE(testsupport::FileExists(savePath));
}

TEST_F(DownloadTest, ACutOrStalledTransferFailsAndLeavesNoFile) {
  win32::http::TransferLimits quick;
  quick.idle = std::chrono::milliseconds(1500);
  struct Case {
    const char* name;
    HttpResponse response;
  } cases[3];
  cases[0].name = "cut midway";
  cases[0].response.body = Body(5000);
  cases[0].response.cutAfterBytes = 2100;
  cases[1].name = "stall after the headers";
  cases[1].response.body = Body(5000);
  cases[1].response.stallAfterHeadersMs = 6000;
  cases[2].name = "no answer at all";
  cases[2].response.delayBeforeHeadersMs = 6000;
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    log.lines.clear();
    const auto events = Run(c.response, quick);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back().rfind(L"error ", 0), 0u) << events.back();
    EXPECT_EQ(std::count(events.begin(), events.end(), L"complete"), 0);
    EXPECT_FALSE(testsupport::FileExists(savePath));
  }
}

TEST_F(DownloadTest, NoServerIsAnUnknownError) {
  server.Stop();
  UpdateEngine update(log);
  win32::http::InetControl inet;
  update.URL(server.Url("/file"));
  update.SavePath(savePath);
  update.Download(inet);
  EXPECT_EQ(log.lines, std::vector<std::wstring>{std::wstring(L"error ") + text::kUnknownError});
}

TEST_F(DownloadTest, EmptyPropertiesAreReportedFirstByAddress) {
  UpdateEngine update(log);
  win32::http::InetControl inet;
  update.Download(inet);
  update.URL(L"http://127.0.0.1:1/x");
  update.Download(inet);
  EXPECT_EQ(log.lines, (std::vector<std::wstring>{std::wstring(L"error ") + text::kNoUrl,
                                                  std::wstring(L"error ") + text::kNoSavePath}));
  EXPECT_TRUE(server.requests().empty());
}

}  // namespace
}  // namespace pravik::updater
