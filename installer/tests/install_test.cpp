// The installer as users and administrators meet it, under Wine with the x64 twin: the sign-in
// task it hands to the scheduler, uninstalling and installing over a running Pravik, a file
// another program still holds, and install folders a standard user could change.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "installer/tests/installer_test_support.h"
#include "testsupport/files.h"
#include "testsupport/process.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace pravik::installer {
namespace {

const wchar_t kTaskFile[] = L"C:\\windows\\system32\\tasks\\Pravik";
const wchar_t kMachineKey[] = L"Software\\Pravik";
const wchar_t kUserKey[] = L"Software\\Pravik";
const wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Pravik";

// The file COM loads for the control's ProgID; empty when it is not registered.
std::wstring QuesselServer() {
  const std::wstring clsid = RegistryText(HKEY_CLASSES_ROOT, L"QuesselControl.Quessel\\CLSID", nullptr);
  if (clsid.empty()) return L"";
  return RegistryText(HKEY_CLASSES_ROOT, (L"CLSID\\" + clsid + L"\\InprocServer32").c_str(), nullptr);
}

// The text between <tag> and </tag>, empty when there is none.
std::string Element(const std::string& xml, const std::string& tag) {
  const size_t begin = xml.find("<" + tag + ">");
  const size_t end = xml.find("</" + tag + ">");
  if (begin == std::string::npos || end == std::string::npos || end < begin) return "";
  return xml.substr(begin + tag.size() + 2, end - begin - tag.size() - 2);
}

class InstallerTest : public testing::Test {
 protected:
  void SetUp() override { installDir_ = FreshInstallFolder(L"setup"); }
  void InstallSilently() { ASSERT_EQ(RunAndWait(testsupport::FromUnixPath(PRAVIK_SETUP_FILE), L"/S /D=" + installDir_), 0u); }
  void TearDown() override {
    EndPravik();
    if (testsupport::FileExists(installDir_ + L"\\Uninstall.exe")) {
      RunAndWait(installDir_ + L"\\Uninstall.exe", L"/S");
      testsupport::WaitUntil([&] { return !testsupport::FileExists(installDir_); }, 60000);
    }
    RegisterBuiltQuessel();
  }
  std::wstring File(const wchar_t* name) const { return installDir_ + L"\\" + name; }

  std::wstring installDir_;
};

TEST_F(InstallerTest, RegistersSignInTaskAndUninstallingWhileRunningLeavesNothingBehind) {
  ASSERT_NO_FATAL_FAILURE(InstallSilently());
  // The scheduler keeps only the task's name under Wine; the definition handed over is the file.
  EXPECT_TRUE(testsupport::FileExists(kTaskFile));
  const std::string xml = testsupport::ReadFile(File(L"SignInTask.xml"));
  EXPECT_EQ(xml.rfind("<?xml version=\"1.0\" encoding=\"UTF-8\"?>", 0), 0u) << "UTF-8 without a byte-order mark";
  wchar_t user[256] = {};
  DWORD size = 256;
  ASSERT_TRUE(::GetUserNameW(user, &size));
  const std::string signedIn = std::string(1, '\\').append(win32::WideToUtf8(user));
  const std::string logonUser = Element(Element(xml, "LogonTrigger"), "UserId");
  EXPECT_TRUE(logonUser.ends_with(signedIn)) << logonUser;
  EXPECT_EQ(Element(Element(xml, "Principals"), "UserId"), logonUser);
  EXPECT_NE(xml.find("<RunLevel>HighestAvailable</RunLevel>"), std::string::npos);
  EXPECT_NE(xml.find("<LogonType>InteractiveToken</LogonType>"), std::string::npos);
  EXPECT_EQ(Element(xml, "Command"), win32::WideToUtf8(File(L"Pravik.exe")));
  // The scheduler's defaults would end Pravik after three days and not start it on battery.
  EXPECT_EQ(Element(xml, "ExecutionTimeLimit"), "PT0S");
  EXPECT_EQ(Element(xml, "DisallowStartIfOnBatteries"), "false");

  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kMachineKey, L"version"), win32::Utf8ToWide(PRAVIK_TEST_VERSION));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kMachineKey, L"InstallDir"), installDir_);
  EXPECT_EQ(QuesselServer(), File(L"Quessel.ocx")) << "the shared 64-bit step registers the control";

  auto pravik = testsupport::ChildProcess::Launch(File(L"Pravik.exe"), L"", installDir_);
  ASSERT_TRUE(testsupport::WaitUntil([] { return VisibleStartButton() != nullptr; }, 30000));
  ASSERT_EQ(RunAndWait(File(L"Uninstall.exe"), L"/S"), 0u);
  EXPECT_TRUE(pravik.WaitExit(30000).has_value()) << "the uninstaller left Pravik running";
  EXPECT_TRUE(testsupport::WaitUntil([&] { return !testsupport::FileExists(installDir_); }, 60000)) << "files are left";
  EXPECT_FALSE(testsupport::FileExists(kTaskFile));
  EXPECT_EQ(QuesselServer(), L"");
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMachineKey));
  EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kUninstallKey));
  EXPECT_FALSE(KeyExists(HKEY_CURRENT_USER, kUserKey));
}

TEST_F(InstallerTest, InstallingOverARunningCopyRestartsItWithTheNewFilesAndKeepsSettings) {
  ASSERT_NO_FATAL_FAILURE(InstallSilently());
  const std::wstring kept = L"kept";
  testsupport::SetUserString(kUserKey, L"UserChoice", &kept);
  auto pravik = testsupport::ChildProcess::Launch(File(L"Pravik.exe"), L"", installDir_);
  ASSERT_TRUE(testsupport::WaitUntil([] { return VisibleStartButton() != nullptr; }, 30000));
  // A file the update must bring back.
  ASSERT_TRUE(::DeleteFileW(File(L"Graphics\\Wall.png").c_str()));

  ASSERT_EQ(RunAndWait(testsupport::FromUnixPath(PRAVIK_NEXT_SETUP_FILE), L"/S /D=" + installDir_), 0u);
  EXPECT_TRUE(pravik.WaitExit(0).has_value()) << "the old Pravik still runs";
  DWORD pid = 0;
  EXPECT_TRUE(testsupport::WaitUntil([&] { return VisibleStartButton(&pid) && pid != pravik.pid(); }, 60000))
      << "Pravik was not started again";
  EXPECT_EQ(ImageOf(pid), File(L"Pravik.exe"));
  EXPECT_TRUE(testsupport::FileExists(File(L"Graphics\\Wall.png")));
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kMachineKey, L"version"), L"1.1.0");
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUserKey, L"version"), L"1.1.0");
  EXPECT_EQ(RegistryText(HKEY_CURRENT_USER, kUserKey, L"UserChoice"), kept);
  EXPECT_TRUE(testsupport::FileExists(kTaskFile));
}

const wchar_t kSessionManager[] = L"SYSTEM\\CurrentControlSet\\Control\\Session Manager";

// The sources of the file operations waiting for the next restart (the platform's list of pairs of
// source and target, where an empty target means delete).
std::vector<std::wstring> PendingAtRestart() {
  std::vector<wchar_t> list(32768);
  DWORD size = static_cast<DWORD>((list.size() - 2) * sizeof(wchar_t));
  if (::RegGetValueW(HKEY_LOCAL_MACHINE, kSessionManager, L"PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr,
                     list.data(), &size) != ERROR_SUCCESS)
    return {};
  std::vector<std::wstring> sources;
  const wchar_t* const end = list.data() + size / sizeof(wchar_t);
  for (const wchar_t* entry = list.data(); entry < end; entry += wcslen(entry) + 1) {
    sources.emplace_back(entry);
    entry += wcslen(entry) + 1;  // its target
  }
  return sources;
}

bool PendingAtRestart(const std::wstring& path) {
  for (const auto& source : PendingAtRestart())
    if (source.ends_with(path)) return true;
  return false;
}

TEST_F(InstallerTest, FileHeldByAnotherProgramIsHandledAtRestartAndTheUserIsToldSo) {
  ASSERT_NO_FATAL_FAILURE(InstallSilently());
  // Another program holds the control library (a script host would) and lets nobody replace it.
  win32::FileHandle held(::CreateFileW(File(L"Quessel.ocx").c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                                       OPEN_EXISTING, 0, nullptr));
  ASSERT_TRUE(held);
  EXPECT_EQ(RunAndWait(testsupport::FromUnixPath(PRAVIK_NEXT_SETUP_FILE), L"/S /D=" + installDir_), ERROR_SUCCESS_REBOOT_REQUIRED);
  EXPECT_TRUE(PendingAtRestart(File(L"Quessel.ocx.new"))) << "the new control library is not put in place";

  // Run in place, the uninstaller's exit code is the caller's to read.
  EXPECT_EQ(RunAndWait(File(L"Uninstall.exe"), L"/S _?=" + installDir_), ERROR_SUCCESS_REBOOT_REQUIRED);
  EXPECT_FALSE(testsupport::FileExists(File(L"Pravik.exe")));
  EXPECT_TRUE(testsupport::FileExists(File(L"Quessel.ocx")));
  EXPECT_TRUE(PendingAtRestart(File(L"Quessel.ocx"))) << "Quessel.ocx is not removed at the next restart";

  held.reset();
  win32::RegKey manager;
  if (::RegOpenKeyExW(HKEY_LOCAL_MACHINE, kSessionManager, 0, KEY_SET_VALUE, manager.put()) == ERROR_SUCCESS)
    ::RegDeleteValueW(manager.get(), L"PendingFileRenameOperations");
  ::DeleteFileW(File(L"Quessel.ocx").c_str());
  ::DeleteFileW(File(L"Quessel.ocx.new").c_str());
}

// A visible child window (at any depth) with this text.
HWND FindControl(HWND parent, const wchar_t* text) {
  struct Search {
    const wchar_t* text;
    HWND found;
  } search{text, nullptr};
  ::EnumChildWindows(
      parent,
      [](HWND hwnd, LPARAM lParam) -> BOOL {
        auto* s = reinterpret_cast<Search*>(lParam);
        wchar_t caption[128] = {};
        ::GetWindowTextW(hwnd, caption, 128);
        if (::IsWindowVisible(hwnd) && wcscmp(caption, s->text) == 0) s->found = hwnd;
        return s->found == nullptr;
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

TEST_F(InstallerTest, InteractiveInstallationEndsWithPravikRunning) {
  auto setup = testsupport::ChildProcess::Launch(testsupport::FromUnixPath(PRAVIK_SETUP_FILE), L"/D=" + installDir_);
  ASSERT_TRUE(setup.started());
  HWND wizard = testsupport::WaitForWindow(setup.pid(), L"#32770", 30000);
  ASSERT_NE(wizard, nullptr);
  ::SendMessageW(::GetDlgItem(wizard, IDOK), BM_CLICK, 0, 0);  // "Install" on the folder page
  HWND startNow = nullptr;
  ASSERT_TRUE(testsupport::WaitUntil([&] { return (startNow = FindControl(wizard, L"Start Pravik now")) != nullptr; },
                                     60000))
      << "the last page offers no start";
  EXPECT_EQ(::SendMessageW(startNow, BM_GETCHECK, 0, 0), BST_CHECKED) << "on by default";
  ::SendMessageW(::GetDlgItem(wizard, IDOK), BM_CLICK, 0, 0);  // "Finish"
  EXPECT_EQ(setup.WaitExit(30000), 0u);
  DWORD pid = 0;
  ASSERT_TRUE(testsupport::WaitUntil([&] { return VisibleStartButton(&pid) != nullptr; }, 30000));
  EXPECT_EQ(ImageOf(pid), File(L"Pravik.exe"));
}

// Wine keeps no security descriptors: it answers them from the Unix mode bits, which it sets from
// the descriptor a program gives. What Everyone may do is what those bits show.
TEST_F(InstallerTest, CustomFolderAndEverythingInItBecomeAdministratorsOnly) {
  // A folder made beforehand by someone who lets Everyone change it.
  ASSERT_TRUE(::CreateDirectoryW(installDir_.c_str(), nullptr));
  ASSERT_TRUE(GrantEveryoneFullControl(installDir_));
  ASSERT_EQ(ChangeableByUsers(installDir_).size(), 1u) << "the platform does not show what Everyone may do";
  ASSERT_NO_FATAL_FAILURE(InstallSilently());
  for (const auto& path : ChangeableByUsers(installDir_)) ADD_FAILURE() << "users may change " << win32::WideToUtf8(path);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kMachineKey, L"InstallDir"), installDir_);

  // Loosened afterwards (a skin and the skins' folder): installing again takes them back.
  ASSERT_TRUE(GrantEveryoneFullControl(File(L"Graphics")));
  ASSERT_TRUE(GrantEveryoneFullControl(File(L"Graphics\\Wall.png")));
  ASSERT_EQ(RunAndWait(testsupport::FromUnixPath(PRAVIK_NEXT_SETUP_FILE), L"/S /D=" + installDir_), 0u);
  for (const auto& path : ChangeableByUsers(installDir_)) ADD_FAILURE() << "users may change " << win32::WideToUtf8(path);
}

TEST_F(InstallerTest, FolderAStandardUserCouldChangeIsRefusedAndNothingIsPlaced) {
  struct Case {
    const char* what;
    std::wstring folder;
  };
  const std::wstring other = FreshInstallFolder(L"others");
  ASSERT_TRUE(::CreateDirectoryW(other.c_str(), nullptr));
  testsupport::WriteFile(other + L"\\Notes.txt", "someone's own file");
  ASSERT_TRUE(GrantEveryoneFullControl(other + L"\\Notes.txt"));
  // Users could rename this folder, taking the one inside along and putting their own in its place.
  const std::wstring movable = FreshInstallFolder(L"movable");
  ASSERT_TRUE(::CreateDirectoryW(movable.c_str(), nullptr));
  ASSERT_TRUE(GrantEveryoneFullControl(movable));
  for (const Case& c : {Case{"inside a user profile", testsupport::MakeTempFolder(L"profile") + L"\\Pravik"},
                        Case{"inside a folder users may move", movable + L"\\Pravik"},
                        Case{"holding another program's files", other}}) {
    SCOPED_TRACE(c.what);
    EXPECT_EQ(RunAndWait(testsupport::FromUnixPath(PRAVIK_SETUP_FILE), L"/S /D=" + c.folder), 2u) << "not refused";
    EXPECT_FALSE(testsupport::FileExists(c.folder + L"\\Pravik.exe"));
    EXPECT_FALSE(KeyExists(HKEY_LOCAL_MACHINE, kMachineKey));
  }
  EXPECT_EQ(ChangeableByUsers(other + L"\\Notes.txt").size(), 1u) << "a refused folder's files were changed";

  // An earlier installation where a skin was replaced by a second name of a file elsewhere: writing
  // it, or resetting its permissions, would change that file.
  ASSERT_NO_FATAL_FAILURE(InstallSilently());
  const std::wstring target = testsupport::MakeTempFolder(L"target") + L"\\Precious.txt";
  testsupport::WriteFile(target, "precious");
  ASSERT_TRUE(GrantEveryoneFullControl(target));
  ASSERT_TRUE(::DeleteFileW(File(L"Graphics\\Wall.png").c_str()));
  ASSERT_TRUE(::CreateHardLinkW(File(L"Graphics\\Wall.png").c_str(), target.c_str(), nullptr));
  EXPECT_EQ(RunAndWait(testsupport::FromUnixPath(PRAVIK_NEXT_SETUP_FILE), L"/S /D=" + installDir_), 2u) << "not refused";
  EXPECT_EQ(testsupport::ReadFile(target), "precious");
  EXPECT_EQ(ChangeableByUsers(target).size(), 1u) << "the linked file's permissions were changed";
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kMachineKey, L"version"), win32::Utf8ToWide(PRAVIK_TEST_VERSION));
}

TEST_F(InstallerTest, ProgramFilesIsLeftAsItIs) {
  installDir_ = L"C:\\Program Files\\Pravik";
  ASSERT_TRUE(::CreateDirectoryW(installDir_.c_str(), nullptr) || ::GetLastError() == ERROR_ALREADY_EXISTS);
  // An administrator's own file there, with the permissions the administrator chose.
  testsupport::WriteFile(File(L"Extra.txt"), "an administrator's file");
  ASSERT_TRUE(GrantEveryoneFullControl(File(L"Extra.txt")));
  ASSERT_EQ(RunAndWait(testsupport::FromUnixPath(PRAVIK_SETUP_FILE), L"/S"), 0u);
  EXPECT_EQ(RegistryText(HKEY_LOCAL_MACHINE, kMachineKey, L"InstallDir"), installDir_);
  EXPECT_EQ(ChangeableByUsers(File(L"Extra.txt")).size(), 1u) << "the installer changed permissions under Program Files";
  ::DeleteFileW(File(L"Extra.txt").c_str());
}

// Any of the user's programs can set TEMP; the elevated installer must not load its plug-ins from
// there, where someone else could swap them.
TEST_F(InstallerTest, PlugInsAreNotUnpackedWhereTheUsersEnvironmentPoints) {
  const std::wstring planted = testsupport::MakeTempFolder(L"usertemp");
  wchar_t tmp[MAX_PATH] = {}, temp[MAX_PATH] = {};
  ::GetEnvironmentVariableW(L"TMP", tmp, MAX_PATH);
  ::GetEnvironmentVariableW(L"TEMP", temp, MAX_PATH);
  ::SetEnvironmentVariableW(L"TMP", planted.c_str());
  ::SetEnvironmentVariableW(L"TEMP", planted.c_str());
  auto setup = testsupport::ChildProcess::Launch(testsupport::FromUnixPath(PRAVIK_SETUP_FILE), L"/S /D=" + installDir_);
  ::SetEnvironmentVariableW(L"TMP", tmp[0] ? tmp : nullptr);
  ::SetEnvironmentVariableW(L"TEMP", temp[0] ? temp : nullptr);
  ASSERT_TRUE(setup.started());
  bool unpackedThere = false;
  while (!setup.WaitExit(10).has_value() && !unpackedThere) {
    WIN32_FIND_DATAW entry;
    win32::FindHandle find(::FindFirstFileW((planted + L"\\*").c_str(), &entry));
    if (find) do {
        if ((entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && entry.cFileName[0] != L'.') unpackedThere = true;
      } while (::FindNextFileW(find.get(), &entry));
  }
  EXPECT_FALSE(unpackedThere) << "plug-ins were unpacked into the user's TEMP";
  EXPECT_EQ(setup.WaitExit(120000), 0u);
}

}  // namespace
}  // namespace pravik::installer
