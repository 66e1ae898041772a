#include "menu/start_menu_window.h"

namespace pravik {

bool MenuVisible = false;

namespace {
constexpr UINT_PTR kTimId = 1;
}

StartMenuWindow::StartMenuWindow() : tim_(kTimId, 1000, false) {}
StartMenuWindow::~StartMenuWindow() = default;

void StartMenuWindow::Load(HWND owner) {
  // Borderless, black background, 470 x 595 pixels; no taskbar entry of its own.
  Create(L"PravikStartMenu", L"Pravik", WS_POPUP | WS_CLIPCHILDREN, WS_EX_TOOLWINDOW, 0, 0, 470, 595, owner, nullptr,
         static_cast<HBRUSH>(::GetStockObject(BLACK_BRUSH)));
  tim_.Attach(hwnd());
}

void StartMenuWindow::ShowModeless() { ::ShowWindow(hwnd(), SW_SHOW); }
void StartMenuWindow::Hide() { ::ShowWindow(hwnd(), SW_HIDE); }

void StartMenuWindow::MoveAndSize(int left, int top, int width, int height) {
  ::MoveWindow(hwnd(), left, top, width, height, TRUE);
}

void StartMenuWindow::OnTim() {}

LRESULT StartMenuWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_TIMER && wParam == kTimId) {
    OnTim();
    return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace pravik
