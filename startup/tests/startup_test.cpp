// Pravik's start-up under Wine: single instance, network probe, update hand-over, skins, placement.
#include <gtest/gtest.h>


#include "startup/tests/pravik_fixture.h"
#include "testsupport/ui_thread.h"
#include "win32/handles.h"
#include "win32/paths.h"
#include "win32/text.h"

namespace pravik::startup {
namespace {

constexpr const wchar_t* kStartButtonClass = L"PravikStartButton";
constexpr const wchar_t* kMenuClass = L"PravikStartMenu";
const std::string kVersionPath = "/updateserver/Pravik/UpdateVersion/Version.txt";
const std::string kSettingPath = "/updateserver/Pravik/Setting/Setting.txt";

testsupport::HttpResponse Text(const std::string& body) {
  testsupport::HttpResponse r;
  r.body = body;
  return r;
}

class StartupTest : public testing::Test {
 protected:
  void SetUp() override {
    const std::wstring v = L"1.0.0";
    SetInstalledVersion(&v);
    testsupport::ForgetUpdateAttempts();
  }
  void TearDown() override {
    for (auto& p : started_) p.Terminate();
  }
  testsupport::ChildProcess& Start(const std::wstring& folder) {
    started_.push_back(testsupport::ChildProcess::Launch(folder + L"\\Pravik.exe", L"", folder));
    return started_.back();
  }
  std::vector<testsupport::ChildProcess> started_;
};

TEST_F(StartupTest, WithoutNetworkTheButtonShowsAtTheBottomLeftBesideTheTaskbar) {
  const std::wstring folder = CopyInstalledTree(L"nonet");
  // The user works in a window of their own while Pravik starts.
  testsupport::UiThread ui;
  const HWND mine = ui.Run([] {
    const HWND w = ::CreateWindowExW(0, L"EDIT", L"", WS_POPUP | WS_VISIBLE | WS_BORDER, 600, 200, 200, 40, nullptr,
                                     nullptr, nullptr, nullptr);
    ::SetForegroundWindow(w);
    ::SetFocus(w);
    return w;
  });
  testsupport::ChildProcess& pravik = Start(folder);
  HWND button = testsupport::WaitForWindow(pravik.pid(), kStartButtonClass, 15000);
  ASSERT_TRUE(button) << "the start button never showed";
  const WindowInfo w = ReadWindow(button);
  EXPECT_EQ(w.title, L"Form1");
  EXPECT_EQ(w.rect.right - w.rect.left, 39);
  EXPECT_EQ(w.rect.bottom - w.rect.top, 95);
  EXPECT_TRUE(w.exStyle & WS_EX_TOPMOST);
  EXPECT_FALSE(w.style & WS_CAPTION);
  // Bottom edge on the taskbar's top edge.
  APPBARDATA bar{};
  bar.cbSize = sizeof(bar);
  ::SHAppBarMessage(ABM_GETTASKBARPOS, &bar);
  EXPECT_EQ(w.rect.bottom, bar.rc.top);
  // Left edge at the screen's edge, or already on its way out (the slide starts at once).
  EXPECT_LE(w.rect.left, 0);
  EXPECT_GE(w.rect.left, -26);
  // The menu window is loaded, hidden.
  HWND menu = testsupport::WaitForWindow(pravik.pid(), kMenuClass, 5000, false);
  ASSERT_TRUE(menu);
  EXPECT_FALSE(::IsWindowVisible(menu));
  // The menu is prepared behind the button without taking the user's window's keyboard.
  testsupport::PumpFor(1500);
  EXPECT_EQ(::GetForegroundWindow(), mine);
  EXPECT_EQ(ui.Run([] { return ::GetFocus(); }), mine);
  ui.Run([&] { ::DestroyWindow(mine); });
}

TEST_F(StartupTest, CurrentVersionAsksOnceAndShowsTheButton) {
  // The user's own registry value no longer decides: lowering it starts no update.
  const std::wstring lowered = L"0.1";
  SetInstalledVersion(&lowered);
  testsupport::HttpTestServer server(kUpdatePort);
  ASSERT_NE(server.port(), 0) << "port " << kUpdatePort << " is taken";
  server.Route(kVersionPath, Text(" 1.0.0 ;http://127.0.0.1/ignored.exe"));
  testsupport::ChildProcess& pravik = Start(CopyInstalledTree(L"current"));
  ASSERT_TRUE(testsupport::WaitForWindow(pravik.pid(), kStartButtonClass, 15000));
  EXPECT_EQ(server.RequestCount(kVersionPath), 1u);
}

TEST_F(StartupTest, SecondStartEndsAtOnceWithoutWindowOrRequest) {
  testsupport::HttpTestServer server(kUpdatePort);
  ASSERT_NE(server.port(), 0);
  server.Route(kVersionPath, Text("1.0.0;x"));
  const std::wstring folder = CopyInstalledTree(L"second");
  testsupport::ChildProcess& first = Start(folder);
  ASSERT_TRUE(testsupport::WaitForWindow(first.pid(), kStartButtonClass, 15000));
  // The first instance's menu asks for its setting once the button shows.
  ASSERT_TRUE(testsupport::WaitUntil([&] { return server.RequestCount(kSettingPath) == 1; }, 10000));
  // Its web panel may still follow the answer: counted from once the first has gone quiet.
  size_t requests = server.requests().size();
  for (int tick = 0, quiet = 0; tick < 50 && quiet < 8; ++tick) {
    testsupport::PumpFor(100);
    const size_t now = server.requests().size();
    quiet = now == requests ? quiet + 1 : 0;
    requests = now;
  }
  testsupport::ChildProcess second = testsupport::ChildProcess::Launch(folder + L"\\Pravik.exe", L"", folder);
  const auto code = second.WaitExit(10000);
  ASSERT_TRUE(code.has_value()) << "the second instance kept running";
  EXPECT_FALSE(testsupport::WaitForWindow(second.pid(), nullptr, 200, false));
  EXPECT_EQ(server.requests().size(), requests);
}

// The updater double: this test program copied as Molvane.exe records its command line.
TEST_F(StartupTest, ANewerVersionIsHandedOverByFullPathAndTheSameAnnouncementAtMostOnceADay) {
  testsupport::HttpTestServer server(kUpdatePort);
  ASSERT_NE(server.port(), 0);
  // Saved by an ordinary editor: the line break that ends the file is not part of the address.
  const std::string address = "http://127.0.0.1:8731/setup/PravikSetup-1.1.exe";
  server.Route(kVersionPath, Text("1.1;" + address + "\r\n"));
  const std::wstring folder = CopyInstalledTree(L"update");
  ::CopyFileW(win32::ModulePath().c_str(), (folder + L"\\Molvane.exe").c_str(), FALSE);
  const std::wstring record = folder + L"\\molvane-command-line.txt";
  auto handsOver = [&] {
    ::DeleteFileW(record.c_str());
    testsupport::ChildProcess& pravik = Start(folder);
    // Either it ends (handed over) or its button shows.
    bool ended = false, shown = false;
    testsupport::WaitUntil([&] {
      ended = pravik.WaitExit(0).has_value();
      shown = !ended && testsupport::WaitForWindow(pravik.pid(), kStartButtonClass, 0) != nullptr;
      return ended || shown;
    }, 15000);
    EXPECT_NE(ended, shown);
    const bool recorded = ended && testsupport::WaitUntil(
        [&] { return ::GetFileAttributesW(record.c_str()) != INVALID_FILE_ATTRIBUTES; }, 10000);
    pravik.Terminate();
    pravik.WaitExit(5000);
    EXPECT_EQ(ended, recorded);
    return ended && recorded;
  };
  // The update is due before anything of this version is loaded: a missing skin does not stop it.
  const std::wstring skin = folder + L"\\Graphics\\Wall.png";
  ASSERT_TRUE(::MoveFileW(skin.c_str(), (skin + L".away").c_str()));
  ASSERT_TRUE(handsOver()) << "Pravik did not hand over";
  ASSERT_TRUE(::MoveFileW((skin + L".away").c_str(), skin.c_str()));
  testsupport::PumpFor(300);
  // Exactly the updater beside Pravik, named by its full path, with the address as its arguments.
  EXPECT_EQ(testsupport::ReadFile(record), "\"" + win32::WideToUtf8(folder) + "\\Molvane.exe\" " + address);
  // The updater failed (it never installed anything): the next starts show the button...
  EXPECT_FALSE(handsOver());
  EXPECT_FALSE(handsOver());
  // ...until a day has passed.
  testsupport::BackdateHandOver(25);
  EXPECT_TRUE(handsOver());
}

TEST_F(StartupTest, OnlyARealAnswerStartsTheUpdater) {
  testsupport::HttpTestServer server(kUpdatePort);
  ASSERT_NE(server.port(), 0);
  const std::wstring folder = CopyInstalledTree(L"junk");
  ::CopyFileW(win32::ModulePath().c_str(), (folder + L"\\Molvane.exe").c_str(), FALSE);
  testsupport::HttpResponse notFound = Text("9.9;http://127.0.0.1:8731/setup/PravikSetup-9.9.exe");
  notFound.status = 404;
  notFound.reason = "Not Found";
  testsupport::HttpResponse moved = Text("9.9;http://127.0.0.1:8731/setup/PravikSetup-9.9.exe");
  moved.status = 302;
  moved.reason = "Found";
  moved.headers.push_back({"Location", "http://localhost:8731/portal/Version.txt"});
  server.Route("/portal/Version.txt", Text("9.9;http://127.0.0.1:8731/setup/PravikSetup-9.9.exe"));
  for (const auto& [name, answer] : std::vector<std::pair<const char*, testsupport::HttpResponse>>{
           {"a 404 page holding a version file", notFound},
           {"a redirect to another host", moved},
           {"an address that is not http(s)", Text("9.9;file://C:/windows/notepad.exe")},
           {"a version that is not dotted numbers", Text("9.9-beta;http://127.0.0.1:8731/setup/x.exe")},
           {"a captive portal's page", Text("<html>a;b</html>")}}) {
    SCOPED_TRACE(name);
    server.Route(kVersionPath, answer);
    testsupport::ChildProcess& pravik = Start(folder);
    EXPECT_TRUE(testsupport::WaitForWindow(pravik.pid(), kStartButtonClass, 15000)) << "the button did not show";
    pravik.Terminate();
    pravik.WaitExit(5000);
    EXPECT_EQ(::GetFileAttributesW((folder + L"\\molvane-command-line.txt").c_str()), INVALID_FILE_ATTRIBUTES);
  }
  EXPECT_EQ(server.RequestCount("/portal/Version.txt"), 0u);
}

TEST_F(StartupTest, MissingSkinEndsWithItsFullPathAndNeverLoadsTheMenu) {
  // One of the button's own skins, and one of the menu's, which is decoded only after the button
  // shows but checked before: either way the button never appears.
  for (const wchar_t* skin : {L"Help.png", L"RightMenuHelp.png"}) {
    SCOPED_TRACE(testing::Message() << skin);
    const std::wstring folder = CopyInstalledTree(std::wstring(L"noskin-") + skin, {skin});
    testsupport::ChildProcess& pravik = Start(folder);
    const MessageBoxTexts box = WaitForMessageBox(pravik.pid(), 15000);
    ASSERT_TRUE(box.hwnd) << "no message box";
    EXPECT_EQ(box.prompt, L"Error loading picture " + folder + L"\\Graphics\\" + skin);
    EXPECT_FALSE(testsupport::WaitForWindow(pravik.pid(), kMenuClass, 100, false));
    EXPECT_FALSE(testsupport::WaitForWindow(pravik.pid(), kStartButtonClass, 100));
    ::PostMessageW(box.hwnd, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(pravik.WaitExit(10000).has_value());
  }
}

// The control library's registration is checked before the button shows and its object made
// after: a registration whose file is gone still ends the start-up with error 429 and no button.
TEST_F(StartupTest, AControlLibraryRegisteredToAMissingFileEndsBeforeTheButtonShows) {
  CLSID clsid{};
  ASSERT_TRUE(SUCCEEDED(::CLSIDFromProgID(L"QuesselControl.Quessel", &clsid)));
  wchar_t guid[64] = {};
  ::StringFromGUID2(clsid, guid, 64);
  const std::wstring key = std::wstring(L"CLSID\\") + guid + L"\\InprocServer32";
  wchar_t registered[MAX_PATH] = {};
  DWORD bytes = sizeof registered;
  ASSERT_EQ(::RegGetValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, registered, &bytes),
            ERROR_SUCCESS);
  // Put back whatever the test's end.
  struct Restore {
    std::wstring key, path;
    ~Restore() {
      ::RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, path.c_str(),
                        static_cast<DWORD>((path.size() + 1) * sizeof(wchar_t)));
    }
  } restore{key, registered};
  const std::wstring gone = std::wstring(registered) + L".gone";
  ASSERT_EQ(::RegSetKeyValueW(HKEY_CLASSES_ROOT, key.c_str(), nullptr, REG_SZ, gone.c_str(),
                              static_cast<DWORD>((gone.size() + 1) * sizeof(wchar_t))),
            ERROR_SUCCESS);

  const std::wstring folder = CopyInstalledTree(L"nolibrary", {});
  testsupport::ChildProcess& pravik = Start(folder);
  const MessageBoxTexts box = WaitForMessageBox(pravik.pid(), 15000);
  ASSERT_TRUE(box.hwnd) << "no message box";
  EXPECT_NE(box.prompt.find(L"QuesselControl.Quessel"), std::wstring::npos) << win32::WideToUtf8(box.prompt);
  EXPECT_FALSE(testsupport::WaitForWindow(pravik.pid(), kStartButtonClass, 100));
  ::PostMessageW(box.hwnd, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(pravik.WaitExit(10000).has_value());
}

}  // namespace
}  // namespace pravik::startup

int wmain(int argc, wchar_t** argv) {
  // Copied as Molvane.exe, this program is the updater double: it records how it was started.
  const std::wstring self = pravik::win32::ModulePath();
  if (self.size() >= 11 && lstrcmpiW(self.c_str() + self.size() - 11, L"Molvane.exe") == 0) {
    const std::wstring folder = pravik::win32::ProgramFolder();
    const std::wstring line = ::GetCommandLineW();
    const std::string narrow(line.begin(), line.end());
    pravik::win32::FileHandle out(::CreateFileW((folder + L"\\molvane-command-line.txt").c_str(), GENERIC_WRITE, 0,
                                              nullptr, CREATE_ALWAYS, 0, nullptr));
    DWORD written = 0;
    ::WriteFile(out.get(), narrow.data(), static_cast<DWORD>(narrow.size()), &written, nullptr);
    return 0;
  }
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}

namespace pravik::startup {
namespace {

// Title bars, file lists and the task switcher show the programs' own icon, not the system's
// default: each executable carries an icon group.
TEST(ProgramFiles, PravikAndMolvaneCarryTheirOwnIcon) {
  for (const wchar_t* name : {L"Pravik.exe", L"Molvane.exe"}) {
    SCOPED_TRACE(testing::Message() << name);
    const std::wstring path = testsupport::OutDir() + L"\\" + name;
    HMODULE image = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_TRUE(image);
    EXPECT_TRUE(::FindResourceW(image, MAKEINTRESOURCEW(1), RT_GROUP_ICON));
    HICON icon = static_cast<HICON>(::LoadImageW(image, MAKEINTRESOURCEW(1), IMAGE_ICON, 32, 32, 0));
    EXPECT_TRUE(icon);
    if (icon) ::DestroyIcon(icon);
    ::FreeLibrary(image);
  }
}

}  // namespace
}  // namespace pravik::startup
