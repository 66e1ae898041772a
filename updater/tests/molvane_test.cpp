// Molvane.exe as Pravik starts it: a copy in a folder of its own, the address as its argument text,
// beside a stand-in Pravik.exe that carries the build's version and logs its starts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "testsupport/files.h"
#include "testsupport/http_test_server.h"
#include "testsupport/process.h"
#include "updater/messages.h"
#include "win32/paths.h"
#include "win32/update_record.h"
#include "win32/text.h"

namespace pravik::updater {
namespace {

int CountRuns(const std::wstring& folder, const wchar_t* logName = L"installer-runs.log") {
  const std::string log = testsupport::ReadFile(folder + L"\\" + logName);
  int runs = 0;
  for (std::size_t at = log.find("run"); at != std::string::npos; at = log.find("run", at + 1)) ++runs;
  return runs;
}

struct BoxSearch {
  DWORD pid;
  int count = 0;
  HWND box = nullptr;
};

BOOL CALLBACK FindBoxes(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<BoxSearch*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  wchar_t cls[64];
  ::GetClassNameW(hwnd, cls, 64);
  if (pid == search->pid && lstrcmpW(cls, L"#32770") == 0 && ::IsWindowVisible(hwnd)) {
    ++search->count;
    search->box = hwnd;
  }
  return TRUE;
}

BOOL CALLBACK CollectText(HWND child, LPARAM param) {
  wchar_t text[512];
  if (::GetWindowTextW(child, text, 512) > 0) *reinterpret_cast<std::wstring*>(param) += std::wstring(text) + L"|";
  return TRUE;
}

void ExpectOneErrorBoxThenEnd(testsupport::ChildProcess& molvane, const std::wstring& message);

class MolvaneTest : public ::testing::Test {
 protected:
  void SetUp() override {
    folder = testsupport::MakeTempFolder(L"molvane");
    ASSERT_TRUE(::CopyFileW((testsupport::OutDir() + L"\\Molvane.exe").c_str(), (folder + L"\\Molvane.exe").c_str(), FALSE));
    ASSERT_TRUE(::CopyFileW((win32::ProgramFolder() + L"\\fake_installer.exe").c_str(), (folder + L"\\Pravik.exe").c_str(), FALSE));
    testsupport::ForgetUpdateAttempts();
    installer = testsupport::ReadFile(win32::ProgramFolder() + L"\\fake_installer.exe");
    signature = testsupport::ReadFile(win32::ProgramFolder() + L"\\fake_installer.exe.sig");
    ASSERT_FALSE(installer.empty());
    ASSERT_GT(signature.size(), 64u);
  }
  int PravikStarts() { return CountRuns(folder, L"pravik-runs.log"); }
  // A refusal: one error box, nothing kept or started, the button back, the announcement remembered.
  void ExpectRefused(testsupport::ChildProcess& molvane, const std::wstring& message, const std::wstring& address) {
    ASSERT_TRUE(molvane.started());
    ExpectOneErrorBoxThenEnd(molvane, message);
    EXPECT_EQ(::GetFileAttributesW((folder + L"\\PravikUpdate.exe").c_str()), INVALID_FILE_ATTRIBUTES);
    EXPECT_EQ(CountRuns(folder), 0);
    ExpectPravikBackAndAnnouncementRemembered(address, "failed");
  }
  // After a failure or refusal: the button comes back once, and the announcement is remembered.
  void ExpectPravikBackAndAnnouncementRemembered(const std::wstring& address, const char* outcome) {
    EXPECT_TRUE(testsupport::WaitUntil([&] { return PravikStarts() >= 1; }, 20000));
    testsupport::PumpFor(300);
    EXPECT_EQ(PravikStarts(), 1);
    EXPECT_TRUE(win32::HandedOverRecently(address));
    EXPECT_FALSE(win32::HandedOverRecently(address + L"x"));
    const std::string log = testsupport::UpdateLogText();
    EXPECT_NE(log.find(win32::WideToUtf8(address) + "\t" + outcome), std::string::npos) << log;
  }
  testsupport::ChildProcess Start(const std::wstring& arguments) {
    return testsupport::ChildProcess::Launch(folder + L"\\Molvane.exe", arguments, folder);
  }

  testsupport::HttpTestServer server;
  std::wstring folder;
  std::string installer, signature;
};

// Waits for Molvane's one error box, checks it, closes it and waits for the end.
void ExpectOneErrorBoxThenEnd(testsupport::ChildProcess& molvane, const std::wstring& message) {
  BoxSearch search{molvane.pid()};
  ASSERT_TRUE(testsupport::WaitUntil(
      [&] {
        search = BoxSearch{molvane.pid()};
        ::EnumWindows(&FindBoxes, reinterpret_cast<LPARAM>(&search));
        return search.count > 0;
      },
      30000));
  EXPECT_EQ(search.count, 1);
  wchar_t title[64];
  ::GetWindowTextW(search.box, title, 64);
  EXPECT_STREQ(title, L"Error");
  std::wstring texts;
  ::EnumChildWindows(search.box, &CollectText, reinterpret_cast<LPARAM>(&texts));
  EXPECT_NE(texts.find(message), std::wstring::npos) << win32::WideToUtf8(texts);
  ::PostMessageW(search.box, WM_COMMAND, IDOK, 0);
  const bool ended = molvane.WaitExit(30000).has_value();
  if (!ended) molvane.Terminate();
  EXPECT_TRUE(ended);
}

TEST_F(MolvaneTest, WithoutAnAddressItEndsSilently) {
  auto molvane = Start(L"");
  ASSERT_TRUE(molvane.started());
  EXPECT_EQ(molvane.WaitExit(20000), 0u);
  EXPECT_TRUE(server.requests().empty());
  EXPECT_FALSE(::GetFileAttributesW((folder + L"\\PravikUpdate.exe").c_str()) != INVALID_FILE_ATTRIBUTES);
}

TEST_F(MolvaneTest, AGoodAddressIsDownloadedStartedOnceAndTheProgramEnds) {
  testsupport::HttpResponse response;
  response.body = installer;
  server.Route("/setup/PravikSetup-1.1.exe", response);
  testsupport::HttpResponse sig;
  sig.body = signature;
  server.Route("/setup/PravikSetup-1.1.exe.sig", sig);
  auto molvane = Start(server.Url("/setup/PravikSetup-1.1.exe"));
  ASSERT_TRUE(molvane.started());
  const bool ended = molvane.WaitExit(60000).has_value();
  if (!ended) molvane.Terminate();
  ASSERT_TRUE(ended);
  EXPECT_TRUE(testsupport::ReadFile(folder + L"\\PravikUpdate.exe") == installer);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return CountRuns(folder) >= 1; }, 20000));
  testsupport::PumpFor(500);
  EXPECT_EQ(CountRuns(folder), 1);
  EXPECT_EQ(server.RequestCount("/setup/PravikSetup-1.1.exe"), 1u);
  // The installer brings Pravik back itself; Molvane does not.
  EXPECT_EQ(PravikStarts(), 0);
  EXPECT_NE(testsupport::UpdateLogText().find("installer started"), std::string::npos);
}

TEST_F(MolvaneTest, ABadAddressShowsOneErrorBoxThenEnds) {
  auto molvane = Start(server.Url("/missing.exe"));
  ExpectRefused(molvane, text::ServerRefused(404), server.Url("/missing.exe"));
}

TEST_F(MolvaneTest, AnOlderGenuineInstallerIsRefusedAndTheButtonComesBack) {
  testsupport::HttpResponse response;
  response.body = installer;
  server.Route("/PravikSetup-0.9.exe", response);
  testsupport::HttpResponse sig;
  sig.body = testsupport::ReadFile(win32::ProgramFolder() + L"\\fake_installer.exe.old.sig");
  server.Route("/PravikSetup-0.9.exe.sig", sig);
  auto molvane = Start(server.Url("/PravikSetup-0.9.exe"));
  ExpectRefused(molvane, text::kNotNewer, server.Url("/PravikSetup-0.9.exe"));
}

TEST_F(MolvaneTest, AnOversizedDownloadIsRefusedBeforeItIsWritten) {
  testsupport::HttpResponse huge;
  huge.body = installer;
  huge.lengthOverride = std::to_string(512LL * 1024 * 1024 + 1);
  server.Route("/huge.exe", huge);
  auto molvane = Start(server.Url("/huge.exe"));
  ExpectRefused(molvane, text::kTooLarge, server.Url("/huge.exe"));
  EXPECT_EQ(server.RequestCount("/huge.exe.sig"), 0u);
}

TEST_F(MolvaneTest, ATamperedInstallerIsNeverStartedNorKept) {
  testsupport::HttpResponse response;
  response.body = installer;
  response.body[response.body.size() / 2] ^= 0x20;
  server.Route("/PravikSetup.exe", response);
  testsupport::HttpResponse sig;
  sig.body = signature;
  server.Route("/PravikSetup.exe.sig", sig);
  auto molvane = Start(server.Url("/PravikSetup.exe"));
  ASSERT_TRUE(molvane.started());
  ExpectOneErrorBoxThenEnd(molvane, text::kSignatureInvalid);
  EXPECT_EQ(::GetFileAttributesW((folder + L"\\PravikUpdate.exe").c_str()), INVALID_FILE_ATTRIBUTES);
  EXPECT_EQ(CountRuns(folder), 0);
  // Molvane writes nothing into its folder but the installer it keeps (the stand-in Pravik logs its start).
  ExpectPravikBackAndAnnouncementRemembered(server.Url("/PravikSetup.exe"), "failed");
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((folder + L"\\*").c_str(), &found);
  std::wstring names;
  do {
    const std::wstring name = found.cFileName;
    if (name != L"." && name != L".." && name != L"Molvane.exe" && name != L"Pravik.exe" && name != L"pravik-runs.log")
      names += name + L";";
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  EXPECT_EQ(names, L"");
}

TEST_F(MolvaneTest, TheShrunkWindowStaysLiveWhileTheServerStalls) {
  testsupport::HttpResponse stalled;
  stalled.body = installer;
  stalled.stallAfterHeadersMs = 4000;
  server.Route("/slow.exe", stalled);
  testsupport::HttpResponse sig;
  sig.body = signature;
  server.Route("/slow.exe.sig", sig);
  auto molvane = Start(server.Url("/slow.exe"));
  ASSERT_TRUE(molvane.started());
  const HWND window = testsupport::WaitForWindow(molvane.pid(), L"MolvaneUpdater", 20000);
  ASSERT_NE(window, nullptr);
  wchar_t title[64];
  ::GetWindowTextW(window, title, 64);
  EXPECT_STREQ(title, L"Zembra Updater");
  RECT rect;
  ::GetWindowRect(window, &rect);
  EXPECT_EQ(rect.left, 0);
  EXPECT_EQ(rect.top, 0);
  EXPECT_LE(rect.right - rect.left, ::GetSystemMetrics(SM_CXMINTRACK));
  EXPECT_LE(rect.bottom - rect.top, ::GetSystemMetrics(SM_CYMINTRACK));
  // Once the download waits on the stalled body, the window still answers messages.
  ASSERT_TRUE(testsupport::WaitUntil([&] { return server.RequestCount("/slow.exe") == 1; }, 20000));
  testsupport::PumpFor(300);
  DWORD_PTR answer = 0;
  EXPECT_NE(::SendMessageTimeoutW(window, WM_NULL, 0, 0, SMTO_ABORTIFHUNG, 5000, &answer), 0);
  // A click on the start button while the download runs starts no second one.
  const HWND command1 = ::FindWindowExW(window, nullptr, L"Button", nullptr);
  ASSERT_NE(command1, nullptr);
  ::PostMessageW(command1, BM_CLICK, 0, 0);
  // Measured, not asserted: the processor time the updater spent over the whole stall.
  FILETIME created, exited, kernel, user;
  ::GetProcessTimes(molvane.handle(), &created, &exited, &kernel, &user);
  const bool ended = molvane.WaitExit(60000).has_value();
  if (!ended) molvane.Terminate();
  EXPECT_TRUE(ended);
  ::GetProcessTimes(molvane.handle(), &created, &exited, &kernel, &user);
  const auto ms = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32 | t.dwLowDateTime) / 10000; };
  std::printf("updater processor time over a 4 s stall: %llu ms user, %llu ms kernel\n", ms(user), ms(kernel));
  EXPECT_EQ(server.RequestCount("/slow.exe"), 1u);
  EXPECT_TRUE(testsupport::ReadFile(folder + L"\\PravikUpdate.exe") == installer);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return CountRuns(folder) == 1; }, 20000));
}

}  // namespace
}  // namespace pravik::updater
