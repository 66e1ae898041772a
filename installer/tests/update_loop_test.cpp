// The whole update under Wine: the installer puts version 1.0 in place, the update server
// announces 1.1; Pravik hands over to Molvane, Molvane fetches and starts the 1.1 installer, and
// the Pravik started after it finds itself current and shows the start button. The 1.1 installer
// is signed with the test release key, as the release tooling signs a real one. The same update
// started from any other folder is refused.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "installer/tests/installer_test_support.h"
#include "testsupport/http_test_server.h"
#include "testsupport/process.h"
#include "win32/text.h"

namespace pravik::installer {
namespace {

constexpr unsigned short kUpdatePort = 8731;
const std::string kVersionPath = "/updateserver/Pravik/UpdateVersion/Version.txt";
const std::string kSetupPath = "/setup/PravikSetup-1.1.0.exe";

std::wstring InstalledVersion() { return RegistryText(HKEY_CURRENT_USER, L"Software\\Pravik", L"version"); }

TEST(UpdateLoopTest, PravikUpdatesItselfFromOneInstalledVersionToTheNext) {
  const std::wstring setup = testsupport::FromUnixPath(PRAVIK_SETUP_FILE);
  const std::string next = testsupport::ReadFile(testsupport::FromUnixPath(PRAVIK_NEXT_SETUP_FILE));
  ASSERT_FALSE(next.empty());
  const std::wstring installDir = FreshInstallFolder(L"loop");
  testsupport::ForgetUpdateAttempts();

  // Version 1.0, installed the way a user's first installation goes, without questions.
  auto install = testsupport::ChildProcess::Launch(setup, L"/S /D=" + installDir);
  ASSERT_TRUE(install.started());
  ASSERT_EQ(install.WaitExit(120000), 0u);
  EXPECT_EQ(InstalledVersion(), win32::Utf8ToWide(PRAVIK_TEST_VERSION));
  for (const wchar_t* file : {L"Pravik.exe", L"Molvane.exe", L"Uninstall.exe", L"Graphics\\StartMenu.png",
                                L"Graphics\\125\\StartMenu.png"}) {
    SCOPED_TRACE(win32::WideToUtf8(file));
    EXPECT_TRUE(testsupport::FileExists(installDir + L"\\" + file));
  }

  testsupport::HttpTestServer server(kUpdatePort);
  ASSERT_NE(server.port(), 0) << "the update server's port is taken";
  testsupport::HttpResponse version;
  version.body = "1.1.0;http://127.0.0.1:8731" + kSetupPath;
  server.Route(kVersionPath, version);
  testsupport::HttpResponse installer;
  installer.body = next;
  server.Route(kSetupPath, installer);
  testsupport::HttpResponse signature;
  signature.body = testsupport::ReadFile(testsupport::FromUnixPath(PRAVIK_NEXT_SETUP_FILE ".sig"));
  ASSERT_GT(signature.body.size(), 64u);  // the signed statement of version 1.1.0
  server.Route(kSetupPath + ".sig", signature);

  auto pravik = testsupport::ChildProcess::Launch(installDir + L"\\Pravik.exe", L"", installDir);
  ASSERT_TRUE(pravik.started());
  EXPECT_TRUE(pravik.WaitExit(60000).has_value()) << "Pravik did not hand over";
  EXPECT_TRUE(testsupport::WaitUntil([] { return InstalledVersion() == L"1.1.0"; }, 180000)) << win32::WideToUtf8(InstalledVersion());
  // The installer starts Pravik again; now current, it shows the start button.
  EXPECT_TRUE(testsupport::WaitUntil([] { return VisibleStartButton() != nullptr; }, 120000));
  EXPECT_EQ(server.RequestCount(kSetupPath), 1u);
  EXPECT_EQ(server.RequestCount(kSetupPath + ".sig"), 1u);
  EXPECT_EQ(server.RequestCount(kVersionPath), 2u);
  EXPECT_TRUE(testsupport::ReadFile(installDir + L"\\PravikUpdate.exe") == next);
  EndPravik();

  // The update copied beside a Molvane.exe anywhere but the folder recorded at installation is
  // refused: nothing there or in the registry changes, and the installed Pravik comes back.
  const std::wstring elsewhere = testsupport::MakeTempFolder(L"elsewhere");
  ASSERT_TRUE(::CopyFileW(testsupport::FromUnixPath(PRAVIK_NEXT_SETUP_FILE).c_str(), (elsewhere + L"\\PravikUpdate.exe").c_str(), FALSE));
  ASSERT_TRUE(::CopyFileW((installDir + L"\\Molvane.exe").c_str(), (elsewhere + L"\\Molvane.exe").c_str(), FALSE));
  const std::string installedPravik = testsupport::ReadFile(installDir + L"\\Pravik.exe");
  EXPECT_EQ(RunAndWait(elsewhere + L"\\PravikUpdate.exe", L"/S"), 2u);
  EXPECT_FALSE(testsupport::FileExists(elsewhere + L"\\Pravik.exe"));
  EXPECT_FALSE(testsupport::FileExists(elsewhere + L"\\Uninstall.exe"));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, L"Software\\Pravik", L"InstallDir"), installDir);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, L"Software\\Pravik", L"version"), L"1.1.0");
  EXPECT_EQ(InstalledVersion(), L"1.1.0");
  EXPECT_TRUE(testsupport::ReadFile(installDir + L"\\Pravik.exe") == installedPravik);
  DWORD pid = 0;
  EXPECT_TRUE(testsupport::WaitUntil(
      [&] { return VisibleStartButton(&pid) && ImageOf(pid) == installDir + L"\\Pravik.exe"; }, 30000))
      << "the installed Pravik did not come back";
  EndPravik();

  // The uninstaller takes away what the installer added.
  auto uninstall = testsupport::ChildProcess::Launch(installDir + L"\\Uninstall.exe", L"/S", installDir);
  ASSERT_TRUE(uninstall.started());
  uninstall.WaitExit(60000);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !testsupport::FileExists(installDir + L"\\Pravik.exe"); }, 60000));
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !testsupport::FileExists(installDir); }, 60000));
  EXPECT_EQ(InstalledVersion(), L"");
  RegisterBuiltQuessel();
}

}  // namespace
}  // namespace pravik::installer
