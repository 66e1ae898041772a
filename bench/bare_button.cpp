// The baseline the program benchmarks compare Pravik with: what any start button must at least
// cost. One 39 x 95 topmost popup at the bottom-left, a 500 ms timer (the pointer check every
// start button needs), a message loop; a click on it shows or hides a 470 x 595 popup beside it.
#include <windows.h>

namespace {

HWND g_popup = nullptr;

LRESULT CALLBACK PopupProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  return ::DefWindowProcW(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK ButtonProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_TIMER: {
      POINT p;
      ::GetCursorPos(&p);  // the same work the pointer check does, nothing more
      return 0;
    }
    case WM_LBUTTONUP:
      ::ShowWindow(g_popup, ::IsWindowVisible(g_popup) ? SW_HIDE : SW_SHOW);
      return 0;
    case WM_DESTROY:
      ::PostQuitMessage(0);
      return 0;
    default:
      return ::DefWindowProcW(hwnd, message, wParam, lParam);
  }
}

}  // namespace

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  WNDCLASSW button{};
  button.lpfnWndProc = ButtonProc;
  button.hInstance = instance;
  button.hCursor = ::LoadCursorW(nullptr, IDC_ARROW);
  button.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_HIGHLIGHT + 1);
  button.lpszClassName = L"BareStartButton";
  WNDCLASSW popup = button;
  popup.lpfnWndProc = PopupProc;
  popup.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_WINDOW + 1);
  popup.lpszClassName = L"BareStartMenu";
  if (!::RegisterClassW(&button) || !::RegisterClassW(&popup)) return 1;

  RECT work{};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  HWND hwnd = ::CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, L"BareStartButton", L"Form1", WS_POPUP, 0,
                                work.bottom - 95, 39, 95, nullptr, nullptr, instance, nullptr);
  g_popup = ::CreateWindowExW(WS_EX_TOOLWINDOW, L"BareStartMenu", L"Pravik", WS_POPUP, 39, work.bottom - 595, 470,
                              595, hwnd, nullptr, instance, nullptr);
  if (!hwnd || !g_popup) return 1;
  ::SetTimer(hwnd, 1, 500, nullptr);
  ::ShowWindow(hwnd, SW_SHOWNOACTIVATE);
  MSG msg;
  while (::GetMessageW(&msg, nullptr, 0, 0) > 0) {
    ::TranslateMessage(&msg);
    ::DispatchMessageW(&msg);
  }
  return 0;
}
