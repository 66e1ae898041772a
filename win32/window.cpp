#include "win32/window.h"

#include "win32/app_error.h"

extern "C" IMAGE_DOS_HEADER __ImageBase;

namespace pravik::win32 {

HINSTANCE ThisModule() noexcept { return reinterpret_cast<HINSTANCE>(&__ImageBase); }

Window::~Window() {
  // Reached with a live window only when Instance's Destroy failed: the derived parts are gone,
  // so unbind first and let whatever arrives now go to DefWindowProc.
  if (!hwnd_) return;
  ::SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
  ::DestroyWindow(hwnd_);
}

bool Window::Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
                    int width, int height, HWND parent, HMENU idOrMenu, HBRUSH background, HCURSOR cursor) {
  WNDCLASSEXW wc{};
  if (!::GetClassInfoExW(ThisModule(), className, &wc)) {
    wc = {};
    wc.cbSize = sizeof(wc);
    wc.style = CS_DBLCLKS;
    wc.lpfnWndProc = &Window::StaticProc;
    wc.hInstance = ThisModule();
    wc.hCursor = cursor ? cursor : ::LoadCursorW(nullptr, IDC_ARROW);
    wc.hbrBackground = background;
    // The program's own icon (resource 1) in title bars and the task switcher; none in a DLL, and
    // none for a child or a tool window, which show no icon (loading one held the start button's
    // first window by several milliseconds). The small one is loaded at its own size: left to the
    // system, it is scaled down from the large one while the class registers.
    if (!(style & WS_CHILD) && !(exStyle & WS_EX_TOOLWINDOW)) {
      const HINSTANCE program = ::GetModuleHandleW(nullptr);
      wc.hIcon = ::LoadIconW(program, MAKEINTRESOURCEW(1));
      wc.hIconSm = static_cast<HICON>(::LoadImageW(program, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                   ::GetSystemMetrics(SM_CXSMICON), ::GetSystemMetrics(SM_CYSMICON),
                                                   LR_SHARED));
    }
    wc.lpszClassName = className;
    if (!::RegisterClassExW(&wc)) return false;
  }
  return ::CreateWindowExW(exStyle, className, title, style, x, y, width, height, parent, idOrMenu, ThisModule(),
                           this) != nullptr;
}

void Window::Destroy() noexcept {
  if (hwnd_) ::DestroyWindow(hwnd_);
}

Window* Window::Bound(HWND hwnd) noexcept {
  // The slot is ours only on windows of this process whose class runs our procedure.
  DWORD process = 0;
  if (!hwnd || !::GetWindowThreadProcessId(hwnd, &process) || process != ::GetCurrentProcessId()) return nullptr;
  if (::GetClassLongPtrW(hwnd, GCLP_WNDPROC) != reinterpret_cast<ULONG_PTR>(&Window::StaticProc)) return nullptr;
  return reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
}

LRESULT Window::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) { return Default(message, wParam, lParam); }

LRESULT CALLBACK Window::StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  Window* self = nullptr;
  if (message == WM_NCCREATE) {
    self = static_cast<Window*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
    self->hwnd_ = hwnd;
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  } else {
    self = reinterpret_cast<Window*>(::GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  }
  if (!self) return ::DefWindowProcW(hwnd, message, wParam, lParam);

  LRESULT result = 0;
  RunHandler([&] { result = self->HandleMessage(message, wParam, lParam); });
  if (message == WM_NCDESTROY) {
    ::SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
  }
  return result;
}

}  // namespace pravik::win32
