#include "controls/pickbox/look_button.h"

#include <windowsx.h>

#include "win32/app_error.h"
#include "win32/handles.h"

namespace pravik::controls::pickbox {

namespace {

COLORREF Blend(COLORREF a, COLORREF b, int weightB) {
  auto mix = [&](int ca, int cb) { return static_cast<BYTE>((ca * (255 - weightB) + cb * weightB) / 255); };
  return RGB(mix(GetRValue(a), GetRValue(b)), mix(GetGValue(a), GetGValue(b)), mix(GetBValue(a), GetBValue(b)));
}

win32::MouseEventArgs ArgsOf(WPARAM wParam, LPARAM lParam, int button) {
  win32::MouseEventArgs args;
  args.button = button;
  args.shift = ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0);
  args.x = GET_X_LPARAM(lParam);
  args.y = GET_Y_LPARAM(lParam);
  return args;
}

}  // namespace

ButtonColors ColorsFor(core::pickbox::Look look, ButtonState state) {
  // The colour families of the three image looks: blue, olive green and silver.
  ButtonColors base{};
  switch (look) {
    case core::pickbox::Look::kHomeStead:
      base = {RGB(226, 236, 196), RGB(139, 161, 105), RGB(92, 112, 62), RGB(48, 60, 28)};
      break;
    case core::pickbox::Look::kMetallic:
      base = {RGB(248, 248, 252), RGB(185, 185, 200), RGB(127, 127, 150), RGB(50, 50, 70)};
      break;
    default:
      base = {RGB(220, 234, 255), RGB(127, 157, 230), RGB(60, 90, 185), RGB(20, 40, 120)};
      break;
  }
  switch (state) {
    case ButtonState::kHot:
      return {Blend(base.top, RGB(255, 255, 255), 128), Blend(base.bottom, RGB(255, 255, 255), 96), base.edge, base.glyph};
    case ButtonState::kDown:
      return {base.bottom, Blend(base.top, base.bottom, 128), base.edge, base.glyph};
    case ButtonState::kDisabled:
      return {RGB(240, 240, 240), RGB(210, 210, 210), RGB(170, 170, 170), RGB(160, 160, 160)};
    case ButtonState::kNormal:
      break;
  }
  return base;
}

COLORREF BorderColorFor(core::pickbox::Look look) {
  switch (look) {
    case core::pickbox::Look::kHomeStead: return RGB(139, 161, 105);
    case core::pickbox::Look::kMetallic: return RGB(127, 157, 185);
    case core::pickbox::Look::kBlue: return RGB(127, 157, 185);
    default: return RGB(0, 0, 0);
  }
}

bool LookButton::Create(HWND parent, int id, Glyph glyph) {
  glyph_ = glyph;
  return Window::Create(L"PravikPickLookButton", L"", WS_CHILD, 0, 0, 0, 0, 0, parent,
                        reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void LookButton::SetLook(core::pickbox::Look look) {
  look_ = look;
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void LookButton::SetState(ButtonState state) {
  if (state == state_) return;
  state_ = state;
  ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void LookButton::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd(), &ps);
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const ButtonState shown = ::IsWindowEnabled(hwnd()) ? state_ : ButtonState::kDisabled;
  const ButtonColors colors = ColorsFor(look_, shown);
  const int height = client.bottom - client.top;
  for (int y = 0; y < height; ++y) {
    win32::Brush line(::CreateSolidBrush(Blend(colors.top, colors.bottom, height > 1 ? y * 255 / (height - 1) : 0)));
    RECT row{client.left, y, client.right, y + 1};
    ::FillRect(dc, &row, line.get());
  }
  win32::Brush edge(::CreateSolidBrush(colors.edge));
  ::FrameRect(dc, &client, edge.get());
  win32::Brush glyph(::CreateSolidBrush(colors.glyph));
  const int cx = (client.right + client.left) / 2 + (shown == ButtonState::kDown ? 1 : 0);
  const int cy = (client.bottom + client.top) / 2 + (shown == ButtonState::kDown ? 1 : 0);
  if (glyph_ == Glyph::kEllipsis) {
    for (int k = -1; k <= 1; ++k) {
      RECT dot{cx + k * 4 - 1, cy + 2, cx + k * 4 + 1, cy + 4};
      ::FillRect(dc, &dot, glyph.get());
    }
  } else {
    for (int k = 0; k < 4; ++k) {
      RECT row{cx - 3 + k, cy - 1 + k, cx + 4 - k, cy + k};
      ::FillRect(dc, &row, glyph.get());
    }
  }
  ::EndPaint(hwnd(), &ps);
}

LRESULT LookButton::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEMOVE:
      if (!tracking_) {
        TRACKMOUSEEVENT track{sizeof track, TME_LEAVE, hwnd(), 0};
        tracking_ = ::TrackMouseEvent(&track) != FALSE;
        SetState(click_.pressed() ? ButtonState::kDown : ButtonState::kHot);
        win32::RunHandler([this] {
          if (onMouseEnter) onMouseEnter();
        });
      }
      win32::RunHandler([&] {
        if (onMouseMove) onMouseMove(ArgsOf(wParam, lParam, (wParam & MK_LBUTTON) ? 1 : 0));
      });
      return 0;
    case WM_MOUSELEAVE:
      tracking_ = false;
      SetState(ButtonState::kNormal);
      win32::RunHandler([this] {
        if (onMouseLeave) onMouseLeave();
      });
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      click_.Press(hwnd());
      SetState(ButtonState::kDown);
      win32::RunHandler([&] {
        if (onMouseDown) onMouseDown(ArgsOf(wParam, lParam, 1));
      });
      return 0;
    case WM_LBUTTONUP: {
      const bool click = click_.Release(hwnd(), lParam);
      SetState(win32::ClickTracker::Inside(hwnd(), lParam) ? ButtonState::kHot : ButtonState::kNormal);
      win32::RunHandler([&] {
        if (onMouseUp) onMouseUp(ArgsOf(wParam, lParam, 1));
        if (click && onClick) onClick();
      });
      return 0;
    }
    case WM_ENABLE:
      ::InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    default:
      return Window::HandleMessage(message, wParam, lParam);
  }
}

}  // namespace pravik::controls::pickbox
