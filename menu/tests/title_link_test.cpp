#include <gtest/gtest.h>

#include <windows.h>

#include <knownfolders.h>

#include <thread>

#include "generated/win32/build_settings.h"
#include "menu/remote_setting.h"
#include "menu/title_link.h"
#include "testsupport/files.h"
#include "testsupport/process.h"
#include "win32/launch.h"
#include "win32/paths.h"
#include "win32/picture_box.h"
#include "win32/text.h"

namespace pravik::menu {
namespace {

// The recording browser: this test program copied as "iexplore.exe" writes its command line to
// the file named by PRAVIK_LINK_RECORD and ends before any test runs.
const bool kRecorder = [] {
  const std::wstring self = win32::ModulePath();
  const auto slash = self.find_last_of(L'\\');
  if (_wcsicmp(self.c_str() + (slash == std::wstring::npos ? 0 : slash + 1), L"iexplore.exe") != 0) return false;
  wchar_t record[MAX_PATH] = {};
  if (::GetEnvironmentVariableW(L"PRAVIK_LINK_RECORD", record, MAX_PATH)) {
    testsupport::WriteFile(record, win32::WideToUtf8(::GetCommandLineW()));
  }
  ::ExitProcess(0);
}();

class TitleLinkTest : public testing::Test {
 protected:
  void SetUp() override {
    folder_ = testsupport::MakeTempFolder(L"titlelink");
    ::CreateDirectoryW((folder_ + L"\\Internet Explorer").c_str(), nullptr);
    ASSERT_TRUE(::CopyFileW(win32::ModulePath().c_str(), (folder_ + L"\\Internet Explorer\\iexplore.exe").c_str(), FALSE));
    record_ = folder_ + L"\\record.txt";
    ::SetEnvironmentVariableW(L"PRAVIK_LINK_RECORD", record_.c_str());
    saved_.resize(32768);
    saved_.resize(::GetEnvironmentVariableW(L"ProgramFiles", saved_.data(), 32768));
    // The test build's seam for the system's program files folder.
    ::SetEnvironmentVariableW(L"PRAVIK_TEST_PROGRAM_FILES", folder_.c_str());

    host_ = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"STATIC", L"", WS_POPUP | WS_VISIBLE, 0, 0, 470, 595, nullptr,
                              nullptr, ::GetModuleHandleW(nullptr), nullptr);
    ASSERT_TRUE(picTitle_.Create(host_, 0, 0, 0, 465, 37));
    ASSERT_TRUE(link_.Create(picTitle_.hwnd()));
  }
  void TearDown() override {
    ::SetEnvironmentVariableW(L"ProgramFiles", saved_.c_str());
    ::SetEnvironmentVariableW(L"PRAVIK_TEST_PROGRAM_FILES", nullptr);
    ::DestroyWindow(host_);
  }
  void ClickTitleAt(int x, int y) {
    HWND target = ::ChildWindowFromPoint(picTitle_.hwnd(), POINT{x, y});
    POINT local{x, y};
    ::MapWindowPoints(picTitle_.hwnd(), target, &local, 1);
    ::SendMessageW(target, WM_LBUTTONDOWN, MK_LBUTTON, MAKELPARAM(local.x, local.y));
    ::SendMessageW(target, WM_LBUTTONUP, 0, MAKELPARAM(local.x, local.y));
  }

  std::wstring folder_, record_, saved_;
  HWND host_ = nullptr;
  win32::Instance<win32::PictureBox> picTitle_;
  win32::Instance<TitleLink> link_;
};

TEST_F(TitleLinkTest, LinkAreaStartsTheBrowserWithTheHomeHost) {
  RECT area{};
  ::GetWindowRect(link_.hwnd(), &area);
  ::MapWindowPoints(HWND_DESKTOP, picTitle_.hwnd(), reinterpret_cast<POINT*>(&area), 2);
  EXPECT_EQ(area.left, 344);
  EXPECT_EQ(area.top, 22);
  EXPECT_EQ(area.right - area.left, 119);
  EXPECT_EQ(area.bottom - area.top, 13);

  const std::wstring routes = folder_ + L"\\routes.txt";
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD", routes.c_str());
  ClickTitleAt(100, 10);  // elsewhere on the title strip: nothing
  ClickTitleAt(462, 34);  // last pixel of the area
  const bool started = testsupport::WaitUntil([&] { return !testsupport::ReadFile(record_).empty(); }, 10000);
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_LAUNCH_RECORD", nullptr);
  ASSERT_TRUE(started);
  const std::wstring browser = folder_ + L"\\Internet Explorer\\iexplore.exe";
  const std::string line = testsupport::ReadFile(record_);
  EXPECT_NE(line.find(win32::WideToUtf8(browser)), std::string::npos) << line;
  EXPECT_TRUE(line.ends_with(win32::WideToUtf8(std::wstring(L" ") + PRAVIK_HOME_HOST))) << line;
  // Through the desktop shell, with the user's normal rights, from the browser's own folder.
  EXPECT_EQ(testsupport::ReadFile(routes), win32::WideToUtf8(L"shell\t" + browser + L"\t" + PRAVIK_HOME_HOST +
                                                              L"\t" + folder_ + L"\\Internet Explorer\n"));
  // With those rights not to be had: nothing starts, and the user is told.
  ::DeleteFileW(record_.c_str());
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_NO_SHELL_TOKEN", L"1");
  HWND box = nullptr;
  std::thread dismiss([&] {
    testsupport::WaitUntil([&] { return (box = ::FindWindowW(L"#32770", L"Pravik")) != nullptr; }, 10000);
    if (box) ::PostMessageW(box, WM_COMMAND, IDOK, 0);
  });
  const BrowserStart refused = StartHomeBrowser([](const std::wstring&) { return true; });
  dismiss.join();
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_NO_SHELL_TOKEN", nullptr);
  EXPECT_EQ(refused, BrowserStart::kNothing);
  EXPECT_NE(box, nullptr) << "the user was not told";
  ::Sleep(500);
  EXPECT_TRUE(testsupport::ReadFile(record_).empty());
}

TEST_F(TitleLinkTest, MissingBrowserOrVariableFallsBackWithoutEnding) {
  std::vector<std::wstring> opened;
  auto recordFallback = [&](const std::wstring& address) {
    opened.push_back(address);
    return true;
  };
  ::DeleteFileW((folder_ + L"\\Internet Explorer\\iexplore.exe").c_str());
  EXPECT_EQ(StartHomeBrowser(recordFallback), BrowserStart::kShellDefault);
  const std::wstring empty = testsupport::MakeTempFolder(L"noprograms");
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_PROGRAM_FILES", empty.c_str());
  EXPECT_EQ(StartHomeBrowser(recordFallback), BrowserStart::kShellDefault);
  EXPECT_EQ(StartHomeBrowser([](const std::wstring&) { return false; }), BrowserStart::kNothing);
  EXPECT_EQ(opened, (std::vector<std::wstring>{HomePageAddress(), HomePageAddress()}));
  // A ProgramFiles variable planted by the user names no program: the system's folder does.
  ::SetEnvironmentVariableW(L"PRAVIK_TEST_PROGRAM_FILES", nullptr);
  const std::wstring planted = folder_ + L"\\planted";
  ::SetEnvironmentVariableW(L"ProgramFiles", planted.c_str());
  std::wstring browser;
  ASSERT_TRUE(HomeBrowserCommandLine(&browser).has_value());
  EXPECT_EQ(browser.find(planted), std::wstring::npos);
  EXPECT_EQ(browser, *win32::KnownFolderPath(FOLDERID_ProgramFiles) + L"\\Internet Explorer\\iexplore.exe");
  EXPECT_TRUE(testsupport::ReadFile(record_).empty());
}

}  // namespace
}  // namespace pravik::menu
