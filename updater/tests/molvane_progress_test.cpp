// What the user watches while Molvane downloads: the status line and the progress bar of the
// real Molvane.exe, read from outside while the loopback server drips the body.
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <cstdio>
#include <cwctype>
#include <string>
#include <vector>

#include "testsupport/http_test_server.h"
#include "testsupport/process.h"
#include "updater/messages.h"

namespace pravik::updater {
namespace {

// The number of a percentage text ("37 %"), or -1 when the text has another form.
int Percentage(const std::wstring& text) {
  if (text.size() < 3 || text.compare(text.size() - 2, 2, L" %") != 0) return -1;
  int value = 0;
  for (std::size_t i = 0; i + 2 < text.size(); ++i) {
    if (!std::iswdigit(text[i])) return -1;
    value = value * 10 + (text[i] - L'0');
  }
  return value;
}

HWND ErrorBoxOf(DWORD pid) {
  struct Search {
    DWORD pid;
    HWND box = nullptr;
  } search{pid};
  ::EnumWindows(
      [](HWND window, LPARAM param) -> BOOL {
        auto* s = reinterpret_cast<Search*>(param);
        DWORD owner = 0;
        ::GetWindowThreadProcessId(window, &owner);
        wchar_t cls[16] = {};
        ::GetClassNameW(window, cls, 16);
        if (owner == s->pid && lstrcmpW(cls, L"#32770") == 0 && ::IsWindowVisible(window)) s->box = window;
        return s->box == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.box;
}

TEST(MolvaneProgress, StatusStartsAtZeroAndRisesToTheWholeBody) {
  testsupport::ForgetUpdateAttempts();
  const std::wstring folder = testsupport::MakeTempFolder(L"molvaneprogress");
  ASSERT_TRUE(::CopyFileW((testsupport::OutDir() + L"\\Molvane.exe").c_str(), (folder + L"\\Molvane.exe").c_str(), FALSE));
  // A body dripped slowly enough to be watched (the transport hands it on in reads of up to
  // 16 KB); no signature is served, so the download is refused after the whole body arrived and
  // the error box holds the last progress in view.
  constexpr int kBody = 40000;
  testsupport::HttpTestServer server;
  testsupport::HttpResponse response;
  response.body = std::string(kBody, 'x');
  response.stallAfterHeadersMs = 1500;
  response.dripBytes = 1000;
  response.dripDelayMs = 100;
  server.Route("/PravikSetup.exe", response);
  auto molvane = testsupport::ChildProcess::Launch(folder + L"\\Molvane.exe", server.Url("/PravikSetup.exe"), folder);
  ASSERT_TRUE(molvane.started());
  const HWND window = testsupport::WaitForWindow(molvane.pid(), L"MolvaneUpdater", 20000);
  ASSERT_NE(window, nullptr);
  const HWND label = ::FindWindowExW(window, nullptr, L"Static", nullptr);
  const HWND bar = ::FindWindowExW(window, nullptr, PROGRESS_CLASSW, nullptr);
  ASSERT_NE(label, nullptr);
  ASSERT_NE(bar, nullptr);

  std::vector<std::wstring> texts;
  std::vector<LRESULT> positions;
  HWND box = nullptr;
  const bool boxShown = testsupport::WaitUntil(
      [&] {
        wchar_t text[128] = {};
        ::GetWindowTextW(label, text, 128);
        if (texts.empty() || texts.back() != text) texts.push_back(text);
        const LRESULT position = ::SendMessageW(bar, PBM_GETPOS, 0, 0);
        if (positions.empty() || positions.back() != position) positions.push_back(position);
        box = ErrorBoxOf(molvane.pid());
        return box != nullptr;
      },
      60000, 2);
  const LRESULT maximum = ::SendMessageW(bar, PBM_GETRANGE, FALSE, 0);
  if (box) ::PostMessageW(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
  const bool ended = molvane.WaitExit(30000).has_value();
  if (!ended) molvane.Terminate();
  testsupport::ForgetUpdateAttempts();
  ASSERT_TRUE(boxShown);
  EXPECT_TRUE(ended);

  // Waiting text, the zero text while the body stalls, then percentages that never go back and
  // end at 100 % once the whole body is in.
  std::wstring seen;
  for (const auto& t : texts) seen += t + L" | ";
  ASSERT_GE(texts.size(), 3u) << seen;
  EXPECT_EQ(texts[0], text::kWaiting) << seen;
  EXPECT_EQ(texts[1], text::kDownloadingZero) << seen;
  int last = 0;
  for (std::size_t i = 2; i < texts.size(); ++i) {
    const int percent = Percentage(texts[i]);
    ASSERT_GE(percent, last) << seen;
    last = percent;
  }
  EXPECT_EQ(texts.back(), L"100 %") << seen;
  EXPECT_GE(texts.size(), 4u) << "the percentages rise in more than one step: " << seen;
  std::printf("status texts seen: %zu, bar positions seen: %zu\n", texts.size(), positions.size());
  // The bar counts bytes up to the announced length.
  EXPECT_EQ(maximum, kBody);
  for (std::size_t i = 1; i < positions.size(); ++i) EXPECT_GE(positions[i], positions[i - 1]);
  EXPECT_EQ(positions.back(), kBody);
}

}  // namespace
}  // namespace pravik::updater
