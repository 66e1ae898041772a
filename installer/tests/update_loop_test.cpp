// The whole update under Wine: the installer puts version 1.0 in place, the update server
// announces 1.1; Pravik hands over to Molvane, Molvane fetches and starts the 1.1 installer, and
// the Pravik started after it finds itself current and shows the start button. The 1.1 installer
// is signed with the test release key, as the release tooling signs a real one.
#include <gtest/gtest.h>
#include <windows.h>

#include <fstream>
#include <sstream>
#include <string>

#include "testsupport/http_test_server.h"
#include "testsupport/process.h"
#include "win32/handles.h"
#include "win32/registry.h"
#include "win32/text.h"

namespace pravik::installer {
namespace {

constexpr unsigned short kUpdatePort = 8731;
const std::string kVersionPath = "/updateserver/Pravik/UpdateVersion/Version.txt";
const std::string kSetupPath = "/setup/PravikSetup-1.1.0.exe";

std::wstring WindowsPath(const char* unix) {
  std::wstring path = win32::Utf8ToWide(unix);
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  return L"Z:" + path;
}

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

bool Exists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring InstalledVersion() {
  win32::RegKey key;
  if (::RegOpenKeyExW(HKEY_CURRENT_USER, L"Software\\Pravik", 0, KEY_READ, key.put()) != ERROR_SUCCESS) return L"";
  wchar_t value[256] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t), type = 0;
  if (::RegQueryValueExW(key.get(), L"version", nullptr, &type, reinterpret_cast<BYTE*>(value), &size) != ERROR_SUCCESS ||
      type != REG_SZ)
    return L"";
  return value;
}

HWND VisibleStartButton() {
  HWND hwnd = ::FindWindowW(L"PravikStartButton", nullptr);
  return hwnd && ::IsWindowVisible(hwnd) ? hwnd : nullptr;
}

void EndPravik() {
  for (int i = 0; i < 10; ++i) {
    HWND hwnd = ::FindWindowW(L"PravikStartButton", nullptr);
    if (!hwnd) return;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    win32::Handle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (process) {
      ::TerminateProcess(process.get(), 0);
      ::WaitForSingleObject(process.get(), 10000);
    }
  }
}

TEST(UpdateLoopTest, PravikUpdatesItselfFromOneInstalledVersionToTheNext) {
  const std::wstring setup = WindowsPath(PRAVIK_SETUP_FILE);
  const std::string next = ReadFile(WindowsPath(PRAVIK_NEXT_SETUP_FILE));
  ASSERT_FALSE(next.empty());
  const std::wstring installDir = testsupport::MakeTempFolder(L"loop") + L"\\Pravik";
  testsupport::ForgetUpdateAttempts();

  // Version 1.0, installed the way a user's first installation goes, without questions.
  auto install = testsupport::ChildProcess::Launch(setup, L"/S /D=" + installDir);
  ASSERT_TRUE(install.started());
  ASSERT_EQ(install.WaitExit(120000), 0u);
  EXPECT_EQ(InstalledVersion(), win32::Utf8ToWide(PRAVIK_TEST_VERSION));
  for (const wchar_t* file : {L"Pravik.exe", L"Molvane.exe", L"Uninstall.exe", L"Graphics\\StartMenu.png"}) {
    SCOPED_TRACE(win32::WideToUtf8(file));
    EXPECT_TRUE(Exists(installDir + L"\\" + file));
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
  signature.body = ReadFile(WindowsPath(PRAVIK_NEXT_SETUP_FILE ".sig"));
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
  EXPECT_TRUE(ReadFile(installDir + L"\\PravikUpdate.exe") == next);
  EndPravik();

  // The uninstaller takes away what the installer added.
  auto uninstall = testsupport::ChildProcess::Launch(installDir + L"\\Uninstall.exe", L"/S", installDir);
  ASSERT_TRUE(uninstall.started());
  uninstall.WaitExit(60000);
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !Exists(installDir + L"\\Pravik.exe"); }, 60000));
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !Exists(installDir); }, 60000));
  EXPECT_EQ(InstalledVersion(), L"");
  // Other tests of this session use the control library of the built tree.
  const std::wstring ocx = testsupport::OutDir() + L"\\Quessel.ocx";
  if (Exists(ocx)) testsupport::ChildProcess::Launch(L"C:\\windows\\system32\\regsvr32.exe", L"/s \"" + ocx + L"\"").WaitExit(60000);
}

}  // namespace
}  // namespace pravik::installer
