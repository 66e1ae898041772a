// The zqbutton window: creation from a stored layout, input messages and the actions the state
// machine asks for.
#include "controls/button/image_button.h"

#include <windows.h>
#include <commctrl.h>
#include <windowsx.h>

#include "core/button/access_key.h"
#include "core/geometry/rounding.h"
#include "win32/app_error.h"
#include "win32/os_version.h"

namespace pravik::controls::button {

namespace {
constexpr wchar_t kClassName[] = L"PravikZqButton";
constexpr int kMinimumTwips = 220;

int ShiftState() noexcept {
  int shift = 0;
  if (::GetKeyState(VK_SHIFT) < 0) shift |= 1;
  if (::GetKeyState(VK_CONTROL) < 0) shift |= 2;
  if (::GetKeyState(VK_MENU) < 0) shift |= 4;
  return shift;
}

core::propbag::FontDesc DescribeFont(HFONT font) {
  core::propbag::FontDesc desc;
  LOGFONTW lf{};
  if (!font || !::GetObjectW(font, sizeof(lf), &lf)) return desc;
  win32::WindowDc screen(nullptr);
  const int dpi = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
  desc.name = lf.lfFaceName;
  desc.points = lf.lfHeight < 0 ? -lf.lfHeight * 72.0 / dpi : desc.points;
  desc.weight = lf.lfWeight ? static_cast<int>(lf.lfWeight) : 400;
  desc.italic = lf.lfItalic != 0;
  desc.underline = lf.lfUnderline != 0;
  desc.strikethrough = lf.lfStrikeOut != 0;
  desc.charset = lf.lfCharSet;
  return desc;
}
}  // namespace

ImageButton::ImageButton() {
  // The platform's shell library is held for the control's life; the NT family draws wide text.
  shell_.reset(::LoadLibraryW(L"shell32.dll"));
  const auto version = win32::ReadWindowsVersion();
  wideText_ = version && version->IsNt();
}

ImageButton::~ImageButton() = default;

bool ImageButton::Create(HWND container, int id, int x, int y, int width, int height,
                      const core::propbag::PropertyBag& layout, bool userMode) {
  userMode_ = userMode;
  ambientFont_ = DescribeFont(reinterpret_cast<HFONT>(::SendMessageW(container, WM_GETFONT, 0, 0)));
  s_ = ReadSettings(layout, ambientFont_);
  logic_.mode = s_.mode;
  logic_.value = s_.value;
  logic_.enabled = s_.enabled;
  accessKey_ = core::button::AccessKeyOf(s_.caption);
  if (!Window::Create(kClassName, L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | WS_CLIPSIBLINGS, 0, x, y, width, height,
                      container, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)))) {
    return false;
  }
  ::EnableWindow(hwnd(), s_.enabled);
  host_ = ::GetAncestor(container, GA_ROOT);
  if (s_.handPointer) {
    handCursor_ = ::LoadCursorW(nullptr, IDC_HAND);
    if (!handCursor_) s_.handPointer = false;
  }
  ApplyFont();
  ApplyCursor();
  if (userMode_) {
    HMODULE user32 = ::GetModuleHandleW(L"user32.dll");
    canTrackLeave_ = user32 && ::GetProcAddress(user32, "TrackMouseEvent");
    if (!canTrackLeave_) {
      HMODULE comctl = ::GetModuleHandleW(L"comctl32.dll");
      canTrackLeave_ = comctl && ::GetProcAddress(comctl, "_TrackMouseEvent");
    }
    // The host's activation changes the look; failures leave the button without it.
    if (host_) hostHook_.Install(host_, [this](UINT message, WPARAM wParam, LPARAM, LRESULT&) {
      OnHostMessage(message, wParam);
      return false;
    });
    logic_.hostActive = host_ && ::GetActiveWindow() == host_;
  }
  OnSize();
  return true;
}

void ImageButton::Save(core::propbag::PropertyBag& layout) const { WriteSettings(s_, ambientFont_, layout); }

struct AccessKeySearch {
  wchar_t key;
  ImageButton* found;
};

static BOOL CALLBACK FindAccessKeyOwner(HWND child, LPARAM lp) noexcept {
  auto* search = reinterpret_cast<AccessKeySearch*>(lp);
  ImageButton* b = win32::Window::FromHwnd<ImageButton>(child);
  if (b && b->accessKey() && b->accessKey() == search->key && ::IsWindowVisible(child)) {
    search->found = b;
    return FALSE;
  }
  return TRUE;
}

bool ImageButton::RouteAccessKey(HWND host, wchar_t key) {
  wchar_t lower[2] = {key, 0};
  ::CharLowerW(lower);
  AccessKeySearch search{lower[0], nullptr};
  ::EnumChildWindows(host, &FindAccessKeyOwner, reinterpret_cast<LPARAM>(&search));
  if (!search.found) return false;
  search.found->PressAccessKey(search.key);
  return true;
}

void ImageButton::PressAccessKey(int key) { Run(logic_.AccessKey(key), {}); }

void ImageButton::Changed(const wchar_t* property) {
  if (onPropertyChanged) onPropertyChanged(property);
}

void ImageButton::Run(const core::button::Actions& actions, EventArgs a) {
  using core::button::Action;
  // The handlers below may destroy nothing of ours, but a host may: stop once the window is gone.
  for (Action action : actions) {
    if (!hwnd()) return;
    switch (action) {
      case Action::Redraw: Redraw(); break;
      case Action::RaiseClick: if (onClick) onClick(); break;
      case Action::RaiseDblClick: if (onDblClick) onDblClick(); break;
      case Action::RaiseMouseEnter: if (onMouseEnter) onMouseEnter(); break;
      case Action::RaiseMouseLeave: if (onMouseLeave) onMouseLeave(); break;
      case Action::RaiseMouseDown: if (onMouseDown) onMouseDown(a.button, a.shift, a.x, a.y); break;
      case Action::RaiseMouseUp: if (onMouseUp) onMouseUp(a.button, a.shift, a.x, a.y); break;
      case Action::RaiseKeyDown: if (onKeyDown) onKeyDown(a.key, a.shift); break;
      case Action::RaiseKeyUp: if (onKeyUp) onKeyUp(a.key, a.shift); break;
      case Action::ValueChanged:
        s_.value = logic_.value;
        Changed(L"Value");
        break;
      case Action::ClearOtherOptions: ClearOtherOptions(); break;
      case Action::ShowPopup: ShowPopup(); break;
      case Action::CreateTooltip: CreateTooltip(); break;
      case Action::TrackMouseLeave:
        if (canTrackLeave_) {
          TRACKMOUSEEVENT tme{sizeof(tme), TME_LEAVE, hwnd(), 0};
          ::TrackMouseEvent(&tme);
        }
        break;
      case Action::TakeFocus:
        if (::GetFocus() != hwnd()) ::SetFocus(hwnd());
        break;
      case Action::CaptureMouse:
        if (::GetCapture() != hwnd()) {
          ::ReleaseCapture();
          ::SetCapture(hwnd());
        }
        break;
      case Action::ReleaseCapture:
        if (::GetCapture() == hwnd()) ::ReleaseCapture();
        break;
      case Action::FocusPrevious: MoveFocus(true); break;
      case Action::FocusNext: MoveFocus(false); break;
      case Action::PumpMessages: {
        MSG msg;
        while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
          if (msg.message == WM_QUIT) {
            ::PostQuitMessage(static_cast<int>(msg.wParam));
            break;
          }
          ::TranslateMessage(&msg);
          ::DispatchMessageW(&msg);
        }
        break;
      }
    }
  }
}

struct OptionGroup {
  ImageButton* self;
  HWND container;
};

static BOOL CALLBACK ClearOptionIfSibling(HWND child, LPARAM lp) noexcept {
  auto* group = reinterpret_cast<OptionGroup*>(lp);
  ImageButton* other = win32::Window::FromHwnd<ImageButton>(child);
  if (other && other != group->self && ::GetParent(child) == group->container && other->settings().mode == 2) {
    win32::RunHandler([&] { other->SetValue(false); });
  }
  return TRUE;
}

void ImageButton::ClearOtherOptions() {
  OptionGroup group{this, ::GetParent(hwnd())};
  ::EnumChildWindows(host_ ? host_ : group.container, &ClearOptionIfSibling, reinterpret_cast<LPARAM>(&group));
}

void ImageButton::MoveFocus(bool previous) {
  HWND next = ::GetNextDlgTabItem(host_ ? host_ : ::GetParent(hwnd()), hwnd(), previous);
  if (next && next != hwnd()) ::SetFocus(next);
}

void ImageButton::OnMouseButton(UINT message, WPARAM wParam, LPARAM lParam) {
  EventArgs a;
  a.x = static_cast<float>(GET_X_LPARAM(lParam));
  a.y = static_cast<float>(GET_Y_LPARAM(lParam));
  a.shift = ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) | (::GetKeyState(VK_MENU) < 0 ? 4 : 0);
  switch (message) {
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK: a.button = 1; break;
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK: a.button = 2; break;
    default: a.button = 4; break;
  }
  if (s_.handPointer && handCursor_) ::SetCursor(handCursor_);
  switch (message) {
    case WM_LBUTTONDOWN: case WM_RBUTTONDOWN: case WM_MBUTTONDOWN:
    case WM_RBUTTONDBLCLK: case WM_MBUTTONDBLCLK:
      Run(logic_.ButtonDown(a.button, a.shift, a.x, a.y), a);
      break;
    case WM_LBUTTONDBLCLK:
      Run(logic_.DoubleClick(), a);
      break;
    default: {
      RECT rc{};
      ::GetClientRect(hwnd(), &rc);
      Run(logic_.ButtonUp(a.button, a.x, a.y, rc.right, rc.bottom), a);
      break;
    }
  }
}

LRESULT ImageButton::OnKey(UINT message, WPARAM wParam, LPARAM lParam) {
  EventArgs a;
  a.key = static_cast<std::int16_t>(wParam);
  a.shift = ShiftState();
  // The system key messages carry Alt in their context bit, whatever the keyboard state says.
  if ((message == WM_SYSKEYDOWN || message == WM_SYSCHAR) && (lParam & (1 << 29))) a.shift |= core::button::kShiftAlt;
  switch (message) {
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      if (wParam == VK_SPACE && (a.shift & core::button::kShiftAlt)) return 0;  // Alt+Space: nothing at all
      Run(logic_.KeyDown(static_cast<int>(wParam), a.shift, ::GetCapture() == hwnd()), a);
      return message == WM_SYSKEYDOWN ? Default(message, wParam, lParam) : 0;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      Run(logic_.KeyUp(static_cast<int>(wParam)), a);
      return message == WM_SYSKEYUP ? Default(message, wParam, lParam) : 0;
    case WM_CHAR: {
      std::int16_t ascii = static_cast<std::int16_t>(wParam);
      if (onKeyPress) onKeyPress(ascii);
      return 0;
    }
    default:  // WM_SYSCHAR
      if (wParam == L' ') return 0;  // would open the host's system menu
      if (host_ && RouteAccessKey(host_, static_cast<wchar_t>(wParam))) return 0;
      return Default(message, wParam, lParam);
  }
}

core::geometry::TwipsPerPixel ImageButton::Scale() const {
  if (hostScale_) return *hostScale_;
  win32::WindowDc screen(nullptr);
  return core::geometry::TwipsPerPixelAt(::GetDeviceCaps(screen.get(), LOGPIXELSX), ::GetDeviceCaps(screen.get(), LOGPIXELSY));
}

void ImageButton::SetHostScale(core::geometry::TwipsPerPixel scale) {
  hostScale_ = scale;
  if (!hwnd()) return;
  ApplyFont();
  OnSize();
}

void ImageButton::OnSize() {
  // Never smaller than 220 twips either way.
  const core::geometry::TwipsPerPixel scale = Scale();
  const int minX = core::geometry::TwipsToPixels(kMinimumTwips, scale.x);
  const int minY = core::geometry::TwipsToPixels(kMinimumTwips, scale.y);
  RECT rc{};
  ::GetClientRect(hwnd(), &rc);
  if (rc.right < minX || rc.bottom < minY) {
    ::SetWindowPos(hwnd(), nullptr, 0, 0, std::max<int>(rc.right, minX), std::max<int>(rc.bottom, minY),
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    return;  // the resize comes back here
  }
  SetRegion();
  Redraw();
}

LRESULT ImageButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = ::BeginPaint(hwnd(), &ps);
      Paint(dc);
      ::EndPaint(hwnd(), &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_SIZE:
      OnSize();
      return 0;
    case WM_MOUSEMOVE: {
      if (s_.handPointer && handCursor_) ::SetCursor(handCursor_);
      POINT pt;
      ::GetCursorPos(&pt);
      Run(logic_.PointerMove(::WindowFromPoint(pt) == hwnd()), {});
      return 0;
    }
    case WM_MOUSELEAVE:
      Run(logic_.MouseLeft(), {});
      return 0;
    case WM_LBUTTONDOWN: case WM_LBUTTONUP: case WM_LBUTTONDBLCLK:
    case WM_RBUTTONDOWN: case WM_RBUTTONUP: case WM_RBUTTONDBLCLK:
    case WM_MBUTTONDOWN: case WM_MBUTTONUP: case WM_MBUTTONDBLCLK:
      OnMouseButton(message, wParam, lParam);
      return 0;
    case WM_KEYDOWN: case WM_SYSKEYDOWN: case WM_KEYUP: case WM_SYSKEYUP: case WM_CHAR: case WM_SYSCHAR:
      return OnKey(message, wParam, lParam);
    case WM_GETDLGCODE:
      return DLGC_WANTARROWS | DLGC_WANTCHARS;
    case WM_SETFOCUS:
      Run(logic_.GotFocus(), {});
      return 0;
    case WM_KILLFOCUS:
      Run(logic_.LostFocus(), {});
      if (logic_.displayAsDefault) Redraw();
      return 0;
    case WM_CAPTURECHANGED:
      return 0;
    case WM_SETCURSOR:
      if (LOWORD(lParam) == HTCLIENT) {
        if (s_.handPointer && handCursor_) {
          ::SetCursor(handCursor_);
          return TRUE;
        }
        if (pointerCursor_) {
          ::SetCursor(pointerCursor_);
          return TRUE;
        }
      }
      break;
    case WM_SYSCOLORCHANGE:
    case WM_THEMECHANGED:
      Redraw();
      break;
    case WM_ENABLE:
      Redraw();
      return 0;
    case WM_DESTROY:
      hostHook_.Remove();
      popupMenu_ = nullptr;
      logic_.popupAttached = false;
      tooltip_.reset();
      font_.reset();
      return 0;
    default:
      break;
  }
  return Default(message, wParam, lParam);
}

void ImageButton::OnHostMessage(UINT message, WPARAM wParam) {
  const bool mdiChild = (::GetWindowLongPtrW(host_, GWL_EXSTYLE) & WS_EX_MDICHILD) != 0;
  const UINT watched = mdiChild ? WM_NCACTIVATE : WM_ACTIVATE;
  if (message != watched || !hwnd()) return;
  const bool active = mdiChild ? wParam != 0 : LOWORD(wParam) != WA_INACTIVE;
  Run(logic_.HostActivated(active), {});
  if (active && logic_.displayAsDefault) Redraw();
}

}  // namespace pravik::controls::button
