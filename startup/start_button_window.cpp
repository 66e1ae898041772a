#include "startup/start_button_window.h"

#include <commctrl.h>
#include <oleacc.h>
#include <shellapi.h>

#include <exception>
#include <utility>

#include "generated/win32/build_settings.h"
#include "controllib/quessel_interface.h"
#include "core/geometry/rounding.h"
#include "core/menu/layout.h"
#include "drawing/png_skin.h"
#include "menu/accessible_element.h"
#include "core/startbutton/slide.h"
#include "startup/placement.h"
#include "startup/update_decision.h"
#include "win32/app_error.h"
#include "win32/launch.h"
#include "win32/paths.h"
#include "win32/update_record.h"

namespace pravik::startup {
namespace {

enum TimerId : UINT_PTR { kTimMove = 1, kTimMoveView = 2, kTimMouseCheck = 3, kTaskbarWait = 4 };
// At sign-in the shell may not have made its taskbar yet: look again every second for two minutes,
// then leave it to TaskbarCreated.
constexpr UINT kTaskbarWaitMs = 1000;
constexpr int kTaskbarWaitTicks = 120;
constexpr DISPID kMouseLocationGetX = DISPID_QUESSEL_MOUSE_LOCATIONGET_X;
constexpr UINT kWmDpiChanged = 0x02E0;
#if PRAVIK_TEST_SEAMS
constexpr ULONG_PTR kInjectTaskbarRect = 0x50544252;  // test builds: a RECT for the taskbar
#endif
constexpr UINT kToggleFromKeyboard = WM_APP + 0x50;
constexpr UINT kPrepareMenu = WM_APP + 0x51;

constexpr const wchar_t* kControlLibrary = L"QuesselControl.Quessel";

[[noreturn]] void ControlLibraryMissing() {
  throw win32::AppError(429, L"Pravik",
                        L"Quessel 컨트롤 라이브러리(QuesselControl.Quessel)가 등록되어 있지 않습니다. Pravik을 다시 설치하십시오.");
}

// The button's elements at the screen's scale, through the same conversion as the menu's.
int X(int twips) { return TwipsToPixels(twips, true); }
int Y(int twips) { return TwipsToPixels(twips, false); }

// Where the window and its pictures stand, in twips: frameless, 585 x 1425, the pictures on a
// white panel that fills it.
struct Place {
  int left, top, width, height;
};
constexpr Place kWindow{0, 0, 585, 1425};
constexpr Place kPanel{0, 0, 585, 1425};
constexpr Place kHelp{60, 60, 465, 435};
constexpr Place kWall{60, 480, 465, 465};
constexpr Place kStart{60, 930, 465, 435};

void CreateAt(win32::PictureBox& box, HWND parent, int id, const Place& p) {
  box.Create(parent, id, X(p.left), Y(p.top), X(p.width), Y(p.height));
}

void MoveTo(HWND window, const Place& p) {
  ::SetWindowPos(window, nullptr, X(p.left), Y(p.top), X(p.width), Y(p.height), SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace

StartButtonWindow::StartButtonWindow()
    : timMove_(kTimMove, 1000, false),
      timMoveView_(kTimMoveView, 50, true),
      timMouseCheck_(kTimMouseCheck, 10, false),
      taskbarWait_(kTaskbarWait, kTaskbarWaitMs, false) {}

StartButtonWindow::~StartButtonWindow() = default;

bool StartButtonWindow::Create() {
  // White; a tool window has no taskbar entry of its own. Above all other windows from the start
  // (one move fewer before it shows).
  if (!Window::Create(L"PravikStartButton", L"Form1", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW | WS_EX_TOPMOST,
                      X(kWindow.left), Y(kWindow.top), X(kWindow.width), Y(kWindow.height), nullptr, nullptr,
                      static_cast<HBRUSH>(::GetStockObject(WHITE_BRUSH))))
    return false;
  // Explorer runs without elevation: let its broadcasts through to this elevated window, so that a
  // taskbar made later is not missed (one made while this window was made is found by the wait).
  ::ChangeWindowMessageFilterEx(hwnd(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
  timMove_.Attach(hwnd());
  timMouseCheck_.Attach(hwnd());
  taskbarWait_.Attach(hwnd());
  timMoveView_.Attach(hwnd());  // runs from the window's creation, before the load handler ends
  return true;
}

void StartButtonWindow::CreateElements() {
  // Made where they belong: each move of a window is a round trip to the window server.
  CreateAt(picture1_, hwnd(), 100, kPanel);
  CreateAt(picHelp_, picture1_.hwnd(), 101, kHelp);
  CreateAt(picWall_, picture1_.hwnd(), 102, kWall);
  CreateAt(picBg_, picture1_.hwnd(), 103, kStart);

  auto hover = [this](const win32::MouseEventArgs&) { Hover(); };
  picBg_.onMouseMove = hover;
  picHelp_.onMouseMove = hover;
  picWall_.onMouseMove = hover;
  picBg_.onClick = [this] { picBg_Click(); };
  picHelp_.onClick = [this] { Notice(); };
  picWall_.onClick = [this] { Notice(); };
}

void StartButtonWindow::LayOutElements() {
  // At the screen's new scale; the window keeps its place until it is placed again.
  ::SetWindowPos(hwnd(), nullptr, 0, 0, X(kWindow.width), Y(kWindow.height), SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  MoveTo(picture1_.hwnd(), kPanel);
  MoveTo(picHelp_.hwnd(), kHelp);
  MoveTo(picWall_.hwnd(), kWall);
  MoveTo(picBg_.hwnd(), kStart);
}

StartButtonWindow::Skins StartButtonWindow::DecodeSkins(const std::wstring& programFolder, double twipsPerPixel) {
  // The start icon first: it is the one named when more than one is missing.
  const std::wstring graphics = programFolder + L"\\Graphics";
  Skins skins;
  skins.start = drawing::DecodeScaledSkin(graphics, L"StartMenu.png", twipsPerPixel);
  skins.help = drawing::DecodeScaledSkin(graphics, L"Help.png", twipsPerPixel);
  skins.wall = drawing::DecodeScaledSkin(graphics, L"Wall.png", twipsPerPixel);
  return skins;
}

void StartButtonWindow::ShowSkins(Skins skins) {
  picBg_.SetPicture(std::move(skins.start));
  picHelp_.SetPicture(std::move(skins.help));
  picWall_.SetPicture(std::move(skins.wall));
}

StartButtonWindow::Prepared StartButtonWindow::Prepare(const std::wstring& programFolder, double twipsPerPixel) {
  Prepared ready{FindTaskbar(), DecodeSkins(programFolder, twipsPerPixel)};
  if (!win32::LateBoundObject::InprocServerInstalled(kControlLibrary)) ControlLibraryMissing();
  menu::CheckMenuSkins(programFolder);
  return ready;
}

void StartButtonWindow::BeginPreparing() noexcept {
  try {
    prepared_ = std::async(std::launch::async, [folder = win32::ProgramFolder(), scale = TwipsPerPixelX()] {
      return Prepare(folder, scale);
    });
  } catch (...) {
    // No thread to be had: Load prepares on the window's thread instead.
  }
}

bool StartButtonWindow::Load(UpdateDecision& update) {
  // What the button needs, prepared while the window was made and the update server asked; a
  // failure is raised only once the answer is in. The object is made and the menu's skins decoded
  // once the button shows (ConnectControlLibrary, PrepareMenu).
  std::exception_ptr failure;
  try {
    CreateElements();
    // 9. The menu window, at the screen's scale or as large as fits; it loads once the button is
    // on the screen.
    menu::MenuTwipsPerPixel = core::menu::MenuScale(ScreenTwipsPerPixel(), WorkArea());
    Prepared prepared = prepared_.valid() ? prepared_.get() : Prepare(win32::ProgramFolder(), TwipsPerPixelX());
    // 4-5. Bottom-left corner beside the taskbar (once there is one); topmost from its creation.
    PlaceBesideTaskbar(prepared.taskbar);
    // 6. Skins.
    ShowSkins(std::move(prepared.skins));
  } catch (...) {
    failure = std::current_exception();
  }

  // 2-3. The update server announced another version: hand over, show nothing.
  if (update.HandOverDue(updaterArguments_)) {
    // By full path, not the shell's open verb (which consults the user's classes). Recorded first,
    // so an updater that fails without a word still cannot make every start hand over again.
    win32::RecordHandOver(updaterArguments_);
    if (win32::StartProgram(win32::ProgramFolder() + L"\\Molvane.exe", updaterArguments_)) return false;
    // No updater to hand over to: the button shows all the same.
  }
  if (failure) std::rethrow_exception(failure);

  // 7-8.
  menu::MenuVisible = false;
  timMove_.SetInterval(50);
  timMove_.Start();
  timMouseCheck_.SetInterval(500);
  timMouseCheck_.Start();
  return true;
}

void StartButtonWindow::Show() {
  ::ShowWindow(hwnd(), SW_SHOWNOACTIVATE);
  // Painted now: the menu's preparation, posted next, comes after the button is on the screen.
  ::RedrawWindow(hwnd(), nullptr, nullptr, RDW_UPDATENOW | RDW_ALLCHILDREN);
  keyHook_.Start(hwnd(), kToggleFromKeyboard);
  ::PostMessageW(hwnd(), kPrepareMenu, 0, 0);
}

void StartButtonWindow::ConnectControlLibrary() {
  quessel1_ = std::make_unique<win32::LateBoundObject>(kControlLibrary);
  if (quessel1_->empty()) ControlLibraryMissing();
}

void StartButtonWindow::PrepareMenu() {
  if (frmMain_ || ending_ || preparing_) return;
  preparing_ = true;
  // The common controls are the menu's (the tree, the root selector): registered with it, not
  // before the button shows.
  INITCOMMONCONTROLSEX icc{sizeof(icc), ICC_WIN95_CLASSES | ICC_STANDARD_CLASSES};
  ::InitCommonControlsEx(&icc);
  // Created hidden and never activated: the user's window keeps the keyboard.
  auto menu = std::make_unique<win32::Instance<menu::StartMenuWindow>>();
  menu->Load(hwnd());
  menu->Hide();
  frmMain_ = std::move(menu);
  preparing_ = false;
  // The program was asked to end while the window loaded (a loop inside the load let it through).
  if (ending_) {
    frmMain_->PrepareEnd();
    return;
  }
  // A click or the Windows key that came while it loaded counts now, as it would have then: the
  // button slides in first if it went out meanwhile, so the menu opens beside it.
  if (std::exchange(toggleWhenReady_, false)) ToggleFromKeyboard();
}

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
  // A click before the idle preparation ran finds the menu ready all the same.
  PrepareMenu();
  if (!frmMain_) {
    // Still loading: a loop inside the load handed over this click. It counts once the load is done.
    toggleWhenReady_ = preparing_ && !toggleWhenReady_;
    return;
  }
  if (menu::MenuVisible) {
    menu::MenuVisible = false;
    frmMain_->Hide();
    return;
  }
  menu::MenuVisible = true;
  FitMenu();  // the work area may have changed since the menu was last laid out
  frmMain_->ShowModeless();
  PlaceMenu();
  frmMain_->Tim().Start();
}

void StartButtonWindow::PlaceMenu() {
  RECT button, menu;
  ::GetWindowRect(hwnd(), &button);
  ::GetWindowRect(frmMain_->hwnd(), &menu);
  // Beside the button, its bottom on the button's, and moved only as far as the work area needs.
  const auto r = core::menu::PlaceMenu(core::geometry::RoundHalfEven(left_ / TwipsPerPixelX()),
                                       {button.left, button.top, button.right, button.bottom}, menu.bottom - menu.top,
                                       core::menu::MenuPixels(menu::MenuTwipsPerPixel), WorkArea());
  frmMain_->MoveAndSize(r.left, r.top, r.right - r.left, r.bottom - r.top);
}

void StartButtonWindow::FitMenu() {
  if (frmMain_) frmMain_->Rescale(core::menu::MenuScale(ScreenTwipsPerPixel(), WorkArea()));
}

void StartButtonWindow::PlaceBesideTaskbar(const Taskbar& taskbar) {
  PlaceWindow(3, hwnd(), taskbar.rect);
  SyncLeftFromWindow();
  if (taskbar.exists) {
    taskbarWait_.Stop();
  } else if (!taskbarWait_.enabled()) {
    taskbarWaitTicks_ = 0;
    taskbarWait_.Start();
  }
}

void StartButtonWindow::TaskbarWait_Timer() {
  if (TaskbarExists()) {
    Replace();  // stops the wait
  } else if (++taskbarWaitTicks_ >= kTaskbarWaitTicks) {
    taskbarWait_.Stop();
  }
}

void StartButtonWindow::Replace() {
  // The taskbar moved, resized or came back, or the screen changed: beside it again, as at
  // start-up, and the menu fitted to the work area again, following the button when open.
  PlaceBesideTaskbar(FindTaskbar());
  FitMenu();
  if (frmMain_ && menu::MenuVisible && ::IsWindowVisible(frmMain_->hwnd())) PlaceMenu();
}

void StartButtonWindow::DpiChanged(int dpiX, int dpiY) {
  // Only what a screen can have; anything else is not a scale to draw at. The rectangle the system
  // suggests is not used: the button's place is beside the taskbar.
  if (dpiX < 72 || dpiX > 480 || dpiY < 72 || dpiY > 480) return;
  SetScreenDpi(dpiX, dpiY);
  LayOutElements();
  ShowSkins(DecodeSkins(win32::ProgramFolder(), TwipsPerPixelX()));
  Replace();
  ::InvalidateRect(hwnd(), nullptr, TRUE);
}

void StartButtonWindow::ToggleFromKeyboard() {
  if (ending_) return;
  if (menu::MenuVisible || core::geometry::RoundHalfEven(left_) == 0) {
    showWhenIn_ = false;
    picBg_Click();
    return;
  }
  showWhenIn_ = true;
  Hover();
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
  if (tick.stopMoveView) {
    timMoveView_.Stop();
    if (std::exchange(showWhenIn_, false) && !menu::MenuVisible) picBg_Click();
  }
}

void StartButtonWindow::TimMouseCheck_Timer() {
  const int w = TwipsToPixels(core::geometry::RoundHalfEven(WidthTwips()), true);
  const auto x = quessel1_ ? quessel1_->CallLong(kMouseLocationGetX) : std::nullopt;
  if (!x) throw win32::AppError(440, L"Quessel", L"Automation error: cMouse_LocationGet_X failed");
  if (*x > w) {
    // Already settled out: a slide-out tick would only stop itself, so none is started (an idle
    // button wakes for nothing but this check).
    const core::startbutton::SlideTick tick = core::startbutton::SlideOutTick(left_, WidthTwips());
    if (tick.stopMove && tick.left == left_ && !timMove_.enabled()) return;
    timMove_.SetInterval(50);
    timMove_.Start();
  }
}

void StartButtonWindow::End() noexcept {
  if (ending_) return;
  ending_ = true;
  timMove_.Stop();
  timMoveView_.Stop();
  timMouseCheck_.Stop();
  taskbarWait_.Stop();
  keyHook_.Stop();
  ::ShowWindow(hwnd(), SW_HIDE);
  if (frmMain_) frmMain_->PrepareEnd();
  ::PostQuitMessage(0);
}

LRESULT StartButtonWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CLOSE:
      // The installer's close request (and Alt+F4 on the button itself): the real end.
      End();
      return 0;
    case WM_QUERYENDSESSION:
      // At once and without a veto; the session may still go on (another program can veto).
      return TRUE;
    case WM_ENDSESSION:
      if (wParam) End();
      return 0;
    case WM_GETOBJECT:
      // The start button reads as one: its window title stays "Form1".
      if (const auto answer = menu::AnswerGetObject(hwnd(), wParam, lParam, {L"시작", ROLE_SYSTEM_PUSHBUTTON, STATE_SYSTEM_FOCUSABLE}))
        return *answer;
      break;
    case kToggleFromKeyboard:
      ToggleFromKeyboard();
      return 0;
    case kPrepareMenu:
      PrepareMenu();
      return 0;
  }
  if (message == WM_TIMER) {
    switch (wParam) {
      case kTimMove: timMove_Timer(); return 0;
      case kTimMoveView: timMoveView_Timer(); return 0;
      case kTimMouseCheck: TimMouseCheck_Timer(); return 0;
      case kTaskbarWait: TaskbarWait_Timer(); return 0;
    }
  }
  if (message == WM_MOUSEACTIVATE) return MA_NOACTIVATE;
  if (message == kWmDpiChanged) {
    DpiChanged(LOWORD(wParam), HIWORD(wParam));
    return 0;
  }
  if (message == WM_DISPLAYCHANGE || (message == taskbarCreated_ && message != 0) ||
      (message == WM_SETTINGCHANGE && wParam == SPI_SETWORKAREA)) {
    Replace();
    return message == WM_SETTINGCHANGE || message == WM_DISPLAYCHANGE ? Window::HandleMessage(message, wParam, lParam) : 0;
  }
#if PRAVIK_TEST_SEAMS
  if (message == WM_COPYDATA) {
    const auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (data && data->dwData == kInjectTaskbarRect && data->cbData == sizeof(RECT)) {
      InjectTaskbarRect(*static_cast<const RECT*>(data->lpData));
      return TRUE;
    }
  }
#endif
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace pravik::startup
