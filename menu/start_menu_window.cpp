#include "menu/start_menu_window.h"

#include "menu/start_menu_parts.h"

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

  parts_ = std::make_unique<StartMenuParts>();
  parts_->AttachTitleLink(hwnd());  // PicTitle lies at (0, 0): its coordinates are the window's
  // Step 3: Picture2 at (10, 446) in FramMain, which lies at (6, 42).
  parts_->ShowNotice(hwnd(), 16, 488);
  // Step 5: the drop shadow.
  parts_->AttachShadow(hwnd());
  // Steps 7, 9 and 10: the off-screen tree options (no programs tree in this window yet).
  parts_->CreateOptions(hwnd(), hwnd(), nullptr, [] {});
  parts_->FillThemeList();
  parts_->MatchTreeAppearance();
  parts_->ApplyCheckBoxesToTree();
}

void StartMenuWindow::ShowModeless() { ::ShowWindow(hwnd(), SW_SHOW); }
void StartMenuWindow::Hide() { ::ShowWindow(hwnd(), SW_HIDE); }

void StartMenuWindow::MoveAndSize(int left, int top, int width, int height) {
  ::MoveWindow(hwnd(), left, top, width, height, TRUE);
}

void StartMenuWindow::OnTim() {}

LRESULT StartMenuWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_DESTROY && parts_) parts_->Release();
  if (message == WM_TIMER && wParam == kTimId) {
    OnTim();
    return 0;
  }
  return Window::HandleMessage(message, wParam, lParam);
}

}  // namespace pravik
