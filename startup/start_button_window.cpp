#include "startup/start_button_window.h"

#include <shellapi.h>

#include "generated/win32/build_settings.h"
#include "core/geometry/rounding.h"
#include "drawing/png_skin.h"
#include "core/startbutton/slide.h"
#include "startup/internet_state.h"
#include "startup/placement.h"
#include "startup/single_instance.h"
#include "startup/update_check.h"
#include "win32/app_error.h"
#include "win32/launch.h"
#include "win32/paths.h"
#include "win32/update_record.h"

namespace pravik::startup {
namespace {

enum TimerId : UINT_PTR { kTimMove = 1, kTimMoveView = 2, kTimMouseCheck = 3 };
constexpr DISPID kMouseLocationGetX = 0x60030037;
constexpr int kMenuWidthTwips = 7050;
constexpr int kMenuHeightTwips = 8925;

int Px(int twips) { return core::geometry::RoundHalfEven(twips / 15.0); }

}  // namespace

StartButtonWindow::StartButtonWindow()
    : timMove_(kTimMove, 1000, false), timMoveView_(kTimMoveView, 50, true), timMouseCheck_(kTimMouseCheck, 10, false) {}

StartButtonWindow::~StartButtonWindow() = default;

bool StartButtonWindow::Create() {
  // Frameless, white, 585 x 1425 twips; a tool window has no taskbar entry of its own.
  if (!Window::Create(L"PravikStartButton", L"Form1", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, 0, 0, Px(585),
                      Px(1425), nullptr, nullptr, static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))))
    return false;
  CreateElements();
  timMove_.Attach(hwnd());
  timMouseCheck_.Attach(hwnd());
  timMoveView_.Attach(hwnd());  // runs from the window's creation, before the load handler ends
  return true;
}

void StartButtonWindow::CreateElements() {
  picture1_.Create(hwnd(), 100, 0, 0, Px(585), Px(1425));
  picHelp_.Create(picture1_.hwnd(), 101, Px(60), Px(60), Px(465), Px(435));
  picWall_.Create(picture1_.hwnd(), 102, Px(60), Px(480), Px(465), Px(465));
  picBg_.Create(picture1_.hwnd(), 103, Px(60), Px(930), Px(465), Px(435));

  auto hover = [this](const win32::MouseEventArgs&) { Hover(); };
  picBg_.onMouseMove = hover;
  picHelp_.onMouseMove = hover;
  picWall_.onMouseMove = hover;
  picBg_.onClick = [this] { picBg_Click(); };
  picHelp_.onClick = [this] { Notice(); };
  picWall_.onClick = [this] { Notice(); };
}

bool StartButtonWindow::Load() {
  // 1. Another instance running: end at once, nothing shown, nothing asked of the network.
  if (AnotherInstanceRuns()) return false;

  // 2-3. Probe the network; only when it answers, ask the update server.
  if (ProbeConnection(std::wstring(L"http://") + PRAVIK_PROBE_HOST + L"/") == 1 &&
      !IsVersionCurrent(updaterArguments_)) {
    // By full path, not the shell's open verb (which consults the user's classes). Recorded first,
    // so an updater that fails without a word still cannot make every start hand over again.
    win32::RecordHandOver(updaterArguments_);
    if (win32::StartProgram(win32::ProgramFolder() + L"\\Molvane.exe", updaterArguments_)) return false;
    // No updater to hand over to: the button shows all the same.
  }

  // 4-5. Bottom-left corner beside the taskbar, above all other windows.
  PlaceWindow(3, hwnd());
  SyncLeftFromWindow();
  SetWindowTopmost(hwnd(), true);

  // 6. Skins; a failure raises error 999 and ends the program.
  const std::wstring graphics = win32::ProgramFolder() + L"\\Graphics\\";
  drawing::LoadPngSkin(graphics + L"StartMenu.png", picBg_, false);
  drawing::LoadPngSkin(graphics + L"Help.png", picHelp_, false);
  drawing::LoadPngSkin(graphics + L"Wall.png", picWall_, false);

  // The pointer check asks the control library where the pointer is.
  quessel1_ = std::make_unique<win32::LateBoundObject>(L"QuesselControl.Quessel");
  if (quessel1_->empty())
    throw win32::AppError(429, L"Pravik",
                        L"Quessel 컨트롤 라이브러리(QuesselControl.Quessel)가 등록되어 있지 않습니다. Pravik을 다시 설치하십시오.");

  // 7-8.
  menu::MenuVisible = false;
  timMove_.SetInterval(50);
  timMove_.Start();
  timMouseCheck_.SetInterval(500);
  timMouseCheck_.Start();

  // 9. The menu window, loaded and hidden.
  frmMain_ = std::make_unique<menu::StartMenuWindow>();
  frmMain_->Load(hwnd());
  frmMain_->Hide();
  return true;
}

void StartButtonWindow::Show() { ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE); }

double StartButtonWindow::WidthTwips() const {
  RECT r;
  ::GetWindowRect(hwnd(), &r);
  return (r.right - r.left) * TwipsPerPixelX();
}

void StartButtonWindow::SyncLeftFromWindow() {
  RECT r;
  ::GetWindowRect(hwnd(), &r);
  left_ = static_cast<float>(r.left * TwipsPerPixelX());
}

void StartButtonWindow::SetLeft(float twips) {
  left_ = twips;
  RECT r;
  ::GetWindowRect(hwnd(), &r);
  const int x = core::geometry::RoundHalfEven(twips / TwipsPerPixelX());
  if (x != r.left)
    ::SetWindowPos(hwnd(), nullptr, x, r.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void StartButtonWindow::picBg_Click() {
  if (menu::MenuVisible) {
    menu::MenuVisible = false;
    frmMain_->Hide();
    return;
  }
  menu::MenuVisible = true;
  frmMain_->ShowModeless();
  RECT button, menu;
  ::GetWindowRect(hwnd(), &button);
  ::GetWindowRect(frmMain_->hwnd(), &menu);
  const int menuHeight = menu.bottom - menu.top;
  const int left = core::geometry::RoundHalfEven(left_ / TwipsPerPixelX()) + (button.right - button.left);
  const int top = button.top - menuHeight + (button.bottom - button.top);
  frmMain_->MoveAndSize(left, top, TwipsToPixels(kMenuWidthTwips, true), TwipsToPixels(kMenuHeightTwips, false));
  frmMain_->Tim().Start();
  frmMain_->Tim().SetInterval(1000);
}

void StartButtonWindow::Hover() {
  timMoveView_.SetInterval(30);
  timMoveView_.Start();
}

void StartButtonWindow::Notice() {
  ::MessageBoxW(hwnd(), L"업데이트 예정된 기능", L"업데이트 예정", MB_OK);
}

void StartButtonWindow::timMove_Timer() {
  const core::startbutton::SlideTick tick = core::startbutton::SlideOutTick(left_, WidthTwips());
  SetLeft(tick.left);
  if (tick.stopMove) timMove_.Stop();
}

void StartButtonWindow::timMoveView_Timer() {
  const core::startbutton::SlideTick tick = core::startbutton::SlideInTick(left_);
  SetLeft(tick.left);
  if (tick.stopMove) timMove_.Stop();
  if (tick.stopMoveView) timMoveView_.Stop();
}

void StartButtonWindow::TimMouseCheck_Timer() {
  const int w = TwipsToPixels(core::geometry::RoundHalfEven(WidthTwips()), true);
  const auto x = quessel1_ ? quessel1_->CallLong(kMouseLocationGetX) : std::nullopt;
  if (!x) throw win32::AppError(440, L"Quessel", L"Automation error: cMouse_LocationGet_X failed");
  if (*x > w) {
    timMove_.SetInterval(50);
    timMove_.Start();
  }
}

LRESULT StartButtonWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER) {
    switch (wParam) {
      case kTimMove: timMove_Timer(); return 0;
      case kTimMoveView: timMoveView_Timer(); return 0;
      case kTimMouseCheck: TimMouseCheck_Timer(); return 0;
    }
  }
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace pravik::startup
