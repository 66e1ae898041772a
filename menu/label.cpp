#include "menu/label.h"

#include <windowsx.h>

namespace pravik::menu {

bool Label::Create(HWND parent, int id, int x, int y, int width, int height, std::wstring text, HFONT font) {
  caption_ = std::move(text);
  font_ = font;
  return Window::Create(L"PravikLabel", caption_.c_str(), WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS, 0, x, y, width,
                        height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)));
}

void Label::SetColors(COLORREF text, COLORREF back) {
  if (text == text_ && back == back_) return;
  text_ = text;
  back_ = back;
  if (hwnd()) ::InvalidateRect(hwnd(), nullptr, FALSE);
}

void Label::Paint() {
  PAINTSTRUCT ps;
  HDC dc = ::BeginPaint(hwnd(), &ps);
  RECT client;
  ::GetClientRect(hwnd(), &client);
  win32::Brush back(::CreateSolidBrush(back_));
  ::FillRect(dc, &client, back.get());
  win32::SelectScope font(dc, font_ ? static_cast<HGDIOBJ>(font_) : ::GetStockObject(DEFAULT_GUI_FONT));
  ::SetBkMode(dc, TRANSPARENT);
  ::SetTextColor(dc, text_);
  ::DrawTextW(dc, caption_.c_str(), static_cast<int>(caption_.size()), &client, (centered_ ? DT_CENTER | DT_VCENTER : DT_LEFT | DT_TOP) | DT_SINGLELINE | DT_NOPREFIX);
  ::EndPaint(hwnd(), &ps);
}

LRESULT Label::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_PAINT:
      Paint();
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_SETFONT:
      // The menu's font follows its scale.
      font_ = reinterpret_cast<HFONT>(wParam);
      if (LOWORD(lParam)) ::InvalidateRect(hwnd(), nullptr, FALSE);
      return 0;
    case WM_GETFONT:
      return reinterpret_cast<LRESULT>(font_);
    case WM_SETCURSOR:
      if (cursor_ && LOWORD(lParam) == HTCLIENT) {
        ::SetCursor(cursor_);
        return TRUE;
      }
      break;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      click_.Press(hwnd());
      return 0;
    case WM_LBUTTONUP:
      if (click_.Release(hwnd(), lParam) && onClick) onClick();
      return 0;
    case WM_CAPTURECHANGED:
      click_.Cancel();
      return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace pravik::menu
