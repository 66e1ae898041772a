#include "win32/picture_box.h"

#include <windowsx.h>

namespace pravik::win32 {

bool PictureBox::Create(HWND parent, int id, int x, int y, int width, int height, COLORREF back) {
  backColor_ = back;
  back_.reset(::CreateSolidBrush(back));
  return Window::Create(L"PravikPictureBox", L"", WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, x, y, width, height,
                        parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void PictureBox::SetPicture(Bitmap picture) {
  picture_ = std::move(picture);
  if (hwnd()) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void PictureBox::SetBackColor(COLORREF back) {
  backColor_ = back;
  back_.reset(::CreateSolidBrush(back));
  if (hwnd()) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

MouseEventArgs PictureBox::ArgsFrom(WPARAM wParam, LPARAM lParam, int button) const {
  MouseEventArgs args;
  args.button = button;
  args.shift = ((wParam & MK_SHIFT) ? 1 : 0) | ((wParam & MK_CONTROL) ? 2 : 0) | (::GetKeyState(VK_MENU) < 0 ? 4 : 0);
  args.x = GET_X_LPARAM(lParam);
  args.y = GET_Y_LPARAM(lParam);
  return args;
}

void PictureBox::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd(), &ps);
  RECT client;
  ::GetClientRect(hwnd(), &client);
  // Picture first, background only where the picture does not reach: no flicker while sliding.
  int pw = 0, ph = 0;
  if (picture_) {
    BITMAP bm{};
    ::GetObjectW(picture_.get(), sizeof(bm), &bm);
    pw = bm.bmWidth;
    ph = bm.bmHeight;
    MemoryDc memory(::CreateCompatibleDC(dc));
    SelectScope select(memory.get(), picture_.get());
    ::BitBlt(dc, 0, 0, pw, ph, memory.get(), 0, 0, SRCCOPY);
  }
  RECT right{pw, 0, client.right, client.bottom};
  RECT below{0, ph, pw, client.bottom};
  if (right.left < right.right) ::FillRect(dc, &right, back_.get());
  if (below.top < below.bottom) ::FillRect(dc, &below, back_.get());
  ::EndPaint(hwnd(), &ps);
}

LRESULT PictureBox::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETCURSOR:
      if (cursor_ && LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(cursor_);
        return TRUE;
      }
      break;
    case WM_MOUSEMOVE: {
      const int buttons = ((wParam & MK_LBUTTON) ? 1 : 0) | ((wParam & MK_RBUTTON) ? 2 : 0) | ((wParam & MK_MBUTTON) ? 4 : 0);
      if (onMouseMove) onMouseMove(ArgsFrom(wParam, lParam, buttons));
      return 0;
    }
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      click_.Press(hwnd());
      if (onMouseDown) onMouseDown(ArgsFrom(wParam, lParam, 1));
      return 0;
    case WM_RBUTTONDOWN:
      if (onMouseDown) onMouseDown(ArgsFrom(wParam, lParam, 2));
      return 0;
    case WM_RBUTTONUP:
      if (onMouseUp) onMouseUp(ArgsFrom(wParam, lParam, 2));
      return 0;
    case WM_LBUTTONUP: {
      const bool clicked = click_.Release(hwnd(), lParam);
      if (onMouseUp) onMouseUp(ArgsFrom(wParam, lParam, 1));
      if (clicked && onClick) onClick();
      return 0;
    }
    case WM_CAPTURECHANGED:
      click_.Cancel();
      return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace pravik::win32
