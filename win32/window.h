#pragma once
// The one window base: the static procedure binds `this` on WM_NCCREATE and forwards every
// message to HandleMessage; the binding is dropped on WM_NCDESTROY before the object can die.
#include <windows.h>

#include <string>

namespace pravik::win32 {

class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  virtual ~Window();

  [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }

  // Registers the class once per process (by name) and creates the window.
  bool Create(const wchar_t* className, const wchar_t* title, DWORD style, DWORD exStyle, int x, int y,
              int width, int height, HWND parent, HMENU idOrMenu = nullptr, HBRUSH background = nullptr,
              HCURSOR cursor = nullptr);
  void Destroy() noexcept;

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) { return ::DefWindowProcW(hwnd_, message, wParam, lParam); }

 private:
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  HWND hwnd_ = nullptr;
};

// Module instance of the running program (or of the DLL that holds this code).
HINSTANCE ThisModule() noexcept;

}  // namespace pravik::win32
