// Pravik at the screen's display scale. The shared session runs at 96 dots per inch; run-at-scale
// starts this same program in a Wine session of its own at 120, 144 and 192 (the scale is read
// when a session starts) and hands the value over in PRAVIK_TEST_DPI.
#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "core/geometry/display_scale.h"
#include "core/geometry/rounding.h"
#include "core/menu/layout.h"
#include "startup/tests/pravik_fixture.h"
#include "testsupport/screen.h"
#include "win32/handles.h"

namespace pravik::startup {
namespace {

using core::geometry::PixelRect;
using core::geometry::TwipsPerPixel;

constexpr ULONG_PTR kInjectTaskbarRect = 0x50544252;

int ScreenDpi() {
  HDC dc = ::GetDC(nullptr);
  const int dpi = ::GetDeviceCaps(dc, LOGPIXELSX);
  ::ReleaseDC(nullptr, dc);
  return dpi;
}
TwipsPerPixel Screen() { return core::geometry::TwipsPerPixelAt(ScreenDpi(), ScreenDpi()); }
PixelRect WorkArea() {
  RECT r{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &r, 0);
  return {r.left, r.top, r.right, r.bottom};
}
int X(int twips) { return core::geometry::TwipsToPixels(twips, Screen().x); }
int Y(int twips) { return core::geometry::TwipsToPixels(twips, Screen().y); }

// The menu's elements as the program numbers them, each inside its container.
struct Element {
  const wchar_t* name;
  int id;
};
std::vector<Element> MenuElements() {
  std::vector<Element> e = {{L"PicTitle", 100}, {L"PicLogon", 101}, {L"cmbRoot", 102},   {L"FramMain", 103},
                            {L"Picture1", 104}, {L"Frame4", 105},   {L"Frame1", 106},    {L"ucBrowse1", 107},
                            {L"Frame3", 500},   {L"Frame7", 501},   {L"Frame5", 502},    {L"Label4", 503},
                            {L"txtExe", 504},   {L"picExe", 505},   {L"picShortMenu", 600}, {L"zqbutton1", 601}};
  static const std::wstring names[] = {L"FramMenu0", L"FramMenu1", L"FramMenu2", L"FramMenu3", L"FramMenu4",
                                       L"FramMenu5", L"FramMenu6", L"FramMenu7", L"FramMenu8",
                                       L"lblMenuCaption0", L"lblMenuCaption1", L"lblMenuCaption2",
                                       L"lblMenuCaption3", L"lblMenuCaption4", L"lblMenuCaption5",
                                       L"lblMenuCaption6", L"lblMenuCaption7", L"lblMenuCaption8"};
  for (int i = 0; i < 9; ++i) e.push_back({names[i].c_str(), 400 + i});
  for (int i = 0; i < 9; ++i) e.push_back({names[9 + i].c_str(), 420 + i});
  return e;
}

class DisplayScaleTest : public testing::Test {
 protected:
  void SetUp() override {
    if (const char* dpi = std::getenv("PRAVIK_TEST_DPI")) {
      ASSERT_EQ(ScreenDpi(), std::atoi(dpi));
    }
    MovePointer(900, 300);
  }
  void TearDown() override { pravik_.Terminate(); }

  void Start(const std::wstring& folder) {
    pravik_ = testsupport::ChildProcess::Launch(folder + L"\\Pravik.exe", L"", folder);
    button_ = testsupport::WaitForWindow(pravik_.pid(), L"PravikStartButton", 15000);
    ASSERT_TRUE(button_) << WaitForMessageBox(pravik_.pid(), 100).prompt;
    menu_ = testsupport::WaitForWindow(pravik_.pid(), L"PravikStartMenu", 5000, false);
    ASSERT_TRUE(menu_);
    ASSERT_TRUE(WaitForMenuPrepared(menu_));
  }
  RECT Button() const { return ReadWindow(button_).rect; }
  RECT Menu() const { return ReadWindow(menu_).rect; }

  // Hover over the strip left showing, then click the start icon once the button is in. `button`
  // is the scale the button is drawn at.
  void OpenMenu(TwipsPerPixel button = Screen()) {
    const auto x = [&](int twips) { return core::geometry::TwipsToPixels(twips, button.x); };
    const auto y = [&](int twips) { return core::geometry::TwipsToPixels(twips, button.y); };
    const int at = Button().top + y(930) + y(435) / 2;
    // A user keeps moving the pointer on the strip until the button is in: a move that lands while
    // the button is still sliding out may be taken before the slide turns.
    int wiggle = 0;
    ASSERT_TRUE(testsupport::WaitUntil(
        [&] {
          if (wiggle++ % 25 == 0) {
            MovePointer(3, at);
            MovePointer(4, at);
          }
          return Button().left == 0;
        },
        8000))
        << Button().left;
    ClickAt(x(60) + x(465) / 2, at);
    ASSERT_TRUE(testsupport::WaitUntil([&] { return ::IsWindowVisible(menu_) && Menu().left == Button().right; }, 5000));
  }
  void InjectTaskbar(RECT taskbar) const {
    COPYDATASTRUCT data{kInjectTaskbarRect, sizeof(taskbar), &taskbar};
    ::SendMessageW(button_, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data));
  }
  // The menu window and each of its elements, inside its own container, at a scale.
  void ExpectMenuAt(TwipsPerPixel scale) const {
    const auto size = core::menu::MenuPixels(scale);
    const RECT menu = Menu();
    EXPECT_EQ(menu.right - menu.left, size.width);
    EXPECT_EQ(menu.bottom - menu.top, size.height);
    for (const Element& e : MenuElements()) {
      SCOPED_TRACE(std::string(e.name, e.name + wcslen(e.name)));
      const core::menu::ElementLayout* layout = core::menu::FindLayout(e.name);
      ASSERT_NE(layout, nullptr);
      HWND container = menu_;
      if (!layout->container.empty()) {
        // Each container by its own number within its own container, up to the window.
        std::vector<const core::menu::ElementLayout*> chain;
        for (auto* c = core::menu::FindLayout(layout->container); c; c = core::menu::FindLayout(c->container))
          chain.insert(chain.begin(), c);
        for (auto* c : chain)
          for (const Element& id : MenuElements())
            if (c->name == id.name) container = ::GetDlgItem(container, id.id);
      }
      HWND hwnd = ::GetDlgItem(container, e.id);
      ASSERT_NE(hwnd, nullptr);
      RECT r;
      ::GetWindowRect(hwnd, &r);
      POINT at{r.left, r.top};
      ::ScreenToClient(container, &at);
      const auto px = *core::menu::LayoutPixels(e.name, scale);
      EXPECT_EQ(at.x, px.left);
      EXPECT_EQ(at.y, px.top);
      EXPECT_EQ(r.right - r.left, px.width);
      if (std::wstring(e.name) != L"cmbRoot") {  // a list's height is its font's
        EXPECT_EQ(r.bottom - r.top, px.height);
      }
    }
    // Nothing of the option controls nor of the logon picture inside the visible client area.
    HWND options = ::FindWindowExW(menu_, nullptr, L"PravikMenuOptions", nullptr);
    ASSERT_NE(options, nullptr);
    RECT o, logon;
    ::GetWindowRect(options, &o);
    ::GetWindowRect(::GetDlgItem(menu_, 101), &logon);
    EXPECT_GE(o.left, menu.right);
    EXPECT_GE(logon.left, menu.right);
    // The search results stand exactly where the programs tree stands, at every scale.
    HWND frame1 = ::GetDlgItem(::GetDlgItem(menu_, 103), 106);
    RECT tree, results;
    ::GetWindowRect(::GetDlgItem(frame1, 107), &tree);
    ASSERT_TRUE(::GetWindowRect(::GetDlgItem(frame1, 700), &results));
    EXPECT_TRUE(::EqualRect(&tree, &results));
  }
  // The root selector's height less its font's 9 points at a scale: the box's own frame, which
  // stays as it is when the font follows the scale.
  int ListFrame(TwipsPerPixel scale) const {
    RECT r;
    ::GetWindowRect(::GetDlgItem(menu_, 102), &r);
    return r.bottom - r.top - core::geometry::TwipsToPixels(180, scale.y);
  }
  void ExpectInside(const RECT& r, const PixelRect& area) const {
    EXPECT_GE(r.left, area.left);
    EXPECT_GE(r.top, area.top);
    EXPECT_LE(r.right, area.right);
    EXPECT_LE(r.bottom, area.bottom);
  }

  static inline const std::wstring folder_ = CopyInstalledTree(L"scale");
  testsupport::ChildProcess pravik_;
  HWND button_ = nullptr, menu_ = nullptr;
};

TEST_F(DisplayScaleTest, TheButtonTheMenuAndEveryElementScaleWithTheScreen) {
  ASSERT_NO_FATAL_FAILURE(Start(folder_));
  const double k = ScreenDpi() / 96.0;
  const RECT button = Button();
  EXPECT_EQ(button.right - button.left, X(585));
  EXPECT_EQ(button.bottom - button.top, Y(1425));
  EXPECT_NEAR(button.right - button.left, 39 * k, 1.0);
  EXPECT_NEAR(button.bottom - button.top, 95 * k, 1.0);
  ASSERT_NO_FATAL_FAILURE(OpenMenu());

  const TwipsPerPixel scale = core::menu::MenuScale(Screen(), WorkArea());
  const auto size = core::menu::MenuPixels(scale);
  const RECT menu = Menu();
  if (scale == Screen()) {
    EXPECT_NEAR(size.width, 470 * k, 1.0);
    EXPECT_NEAR(size.height, 595 * k, 1.0);
  }
  ExpectInside(menu, WorkArea());
  // Its bottom on the button's, unless it fills the work area's height.
  if (menu.bottom - menu.top < WorkArea().bottom - WorkArea().top) {
    EXPECT_EQ(menu.bottom, Button().bottom);
  } else {
    EXPECT_EQ(menu.top, WorkArea().top);
  }
  ExpectMenuAt(scale);
  testsupport::PumpFor(1500);  // let the tree and the run box paint
  testsupport::SaveScreen(L"scale-" + std::to_wstring(ScreenDpi()) + L".bmp");
}

TEST_F(DisplayScaleTest, DisplayAndTaskbarChangesPlaceTheButtonAgainAndTheMenuFollowsAndFits) {
  ASSERT_NO_FATAL_FAILURE(Start(folder_));
  ASSERT_NO_FATAL_FAILURE(OpenMenu());
  const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
  const int bar = Y(600);  // 40 pixels at 100 %
  // Beside the button where it fits, else as large as fits: either way its bottom on the area's.
  InjectTaskbar({0, h - bar, w, h});
  ::SendMessageW(button_, WM_DISPLAYCHANGE, 32, MAKELPARAM(w, h));
  EXPECT_EQ(Button().bottom, h - bar);
  EXPECT_TRUE(::IsWindowVisible(menu_));
  EXPECT_EQ(Menu().bottom, h - bar);
  ExpectInside(Menu(), {0, 0, w, h - bar});

  // The shell restarts with its taskbar on the left.
  InjectTaskbar({0, 0, bar, h});
  ::SendMessageW(button_, ::RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
  EXPECT_EQ(Button().bottom, h);
  EXPECT_EQ(Button().left, bar);
  EXPECT_EQ(Menu().left, Button().right);
  ExpectInside(Menu(), {bar, 0, w, h});

  // The work area becomes lower than the menu: the open menu shrinks into it, every element with it.
  const int frame = ListFrame(core::menu::MenuScale(Screen(), {bar, 0, w, h}));
  const int low = h / 2;
  InjectTaskbar({0, low, w, h});
  ::SendMessageW(button_, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  const TwipsPerPixel shrunk = core::menu::MenuScale(Screen(), {0, 0, w, low});
  ASSERT_NE(shrunk, Screen());
  EXPECT_EQ(Button().bottom, low);
  ExpectInside(Menu(), {0, 0, w, low});
  ASSERT_NO_FATAL_FAILURE(ExpectMenuAt(shrunk));
  EXPECT_NEAR(ListFrame(shrunk), frame, 1);

  // Back to the bottom: the menu as large as it fits again.
  InjectTaskbar({0, h - bar, w, h});
  ::SendMessageW(button_, WM_SETTINGCHANGE, SPI_SETWORKAREA, 0);
  EXPECT_EQ(Button().bottom, h - bar);
  EXPECT_EQ(Menu().bottom, h - bar);
  ExpectMenuAt(core::menu::MenuScale(Screen(), {0, 0, w, h - bar}));
}

TEST_F(DisplayScaleTest, PlacementWaitsForATaskbarThatIsNotThereYet) {
  ASSERT_NO_FATAL_FAILURE(Start(folder_));
  const int w = ::GetSystemMetrics(SM_CXSCREEN), h = ::GetSystemMetrics(SM_CYSCREEN);
  const int bar = Y(600);
  // No taskbar yet: the plain corner, and a look for it every second.
  InjectTaskbar({0, 0, 0, 0});
  ::SendMessageW(button_, WM_DISPLAYCHANGE, 32, MAKELPARAM(w, h));
  EXPECT_EQ(Button().bottom, h);
  // The shell makes it without a word reaching this program: beside it all the same.
  InjectTaskbar({0, h - bar, w, h});
  EXPECT_TRUE(testsupport::WaitUntil([&] { return Button().bottom == h - bar; }, 3000)) << Button().bottom;
  // Found: the looking stops.
  InjectTaskbar({0, h - 2 * bar, w, h});
  testsupport::PumpFor(2500);
  EXPECT_EQ(Button().bottom, h - bar);
}

TEST_F(DisplayScaleTest, ADpiChangeDrawsTheButtonAndTheMenuAtTheNewScale) {
  ASSERT_NO_FATAL_FAILURE(Start(folder_));
  const TwipsPerPixel at120 = core::geometry::TwipsPerPixelAt(120, 120);
  const LONG bottom = Button().bottom;
  const int frame = ListFrame(core::menu::MenuScale(Screen(), WorkArea()));
  // Windows 8.1 sends it to a per-monitor aware program; Wine never does.
  ::SendMessageW(button_, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(120, 120), 0);
  const RECT button = Button();
  EXPECT_EQ(button.right - button.left, 49);  // 585 and 1425 twips at 12 twips per pixel
  EXPECT_EQ(button.bottom - button.top, 119);
  EXPECT_EQ(button.bottom, bottom);  // still beside the taskbar
  ASSERT_NO_FATAL_FAILURE(OpenMenu(at120));
  ExpectInside(Menu(), WorkArea());
  ExpectMenuAt(core::menu::MenuScale(at120, WorkArea()));
  EXPECT_NEAR(ListFrame(core::menu::MenuScale(at120, WorkArea())), frame, 1);
}

TEST_F(DisplayScaleTest, TheSkinsOfTheNearestScaleAreLoadedElseThoseAtOneHundredPercent) {
  const int percent = core::geometry::NearestSkinPercent(Screen().x);
  const std::wstring folder = CopyInstalledTree(L"scaleskin");
  // A broken picture where the scale's set would be: named in the error when it is the one chosen.
  const std::wstring scaled = folder + L"\\Graphics\\" + std::to_wstring(percent == 100 ? 125 : percent) +
                              L"\\StartMenu.png";
  std::ofstream(scaled.c_str(), std::ios::binary | std::ios::trunc) << "not a picture";
  pravik_ = testsupport::ChildProcess::Launch(folder + L"\\Pravik.exe", L"", folder);
  if (percent == 100) {
    const HWND button = testsupport::WaitForWindow(pravik_.pid(), L"PravikStartButton", 15000);
    ASSERT_TRUE(button);
    EXPECT_FALSE(testsupport::WaitForWindow(pravik_.pid(), L"#32770", 100));
    // The screen goes to 125 %: the button is drawn with that set's picture.
    ::PostMessageW(button, 0x02E0 /* WM_DPICHANGED */, MAKEWPARAM(120, 120), 0);
    const MessageBoxTexts box = WaitForMessageBox(pravik_.pid(), 5000);
    ASSERT_TRUE(box.hwnd) << "no message box";
    EXPECT_EQ(box.prompt, L"Error loading picture " + scaled);
    return;
  }
  const MessageBoxTexts box = WaitForMessageBox(pravik_.pid(), 15000);
  ASSERT_TRUE(box.hwnd) << "no message box";
  EXPECT_EQ(box.prompt, L"Error loading picture " + scaled);
  ::PostMessageW(box.hwnd, WM_COMMAND, IDOK, 0);
  pravik_.WaitExit(10000);
  // Missing at the scale: the 100 % picture instead.
  ::DeleteFileW(scaled.c_str());
  Start(folder);
}

TEST(Manifests, DeclareTheProgramsAwareOfTheDisplayScale) {
  for (const wchar_t* program : {L"Pravik.exe", L"Molvane.exe"}) {
    SCOPED_TRACE(std::string(program, program + wcslen(program)));
    const std::wstring path = testsupport::OutDir() + L"\\" + program;
    HMODULE image = ::LoadLibraryExW(path.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
    ASSERT_NE(image, nullptr);
    HRSRC found = ::FindResourceW(image, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));
    ASSERT_NE(found, nullptr);
    const char* text = static_cast<const char*>(::LockResource(::LoadResource(image, found)));
    const std::string manifest(text, ::SizeofResource(image, found));
    EXPECT_NE(manifest.find("<dpiAware xmlns=\"http://schemas.microsoft.com/SMI/2005/WindowsSettings\">true/pm</dpiAware>"),
              std::string::npos);
    EXPECT_NE(manifest.find("requireAdministrator"), std::string::npos);
    ::FreeLibrary(image);
  }
}

}  // namespace
}  // namespace pravik::startup
