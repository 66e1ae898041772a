#pragma once
// The one window base: the static procedure binds `this` on WM_NCCREATE and forwards every
// message to HandleMessage; the binding is dropped on WM_NCDESTROY before the object can die.
//
// Every window object is a `win32::Instance<T>` (T alone cannot be made: see Completed). A base
// destructor runs after the derived parts are gone, so it cannot destroy the window safely:
// WM_DESTROY, and what children send while they go (WM_PARENTNOTIFY, focus changes), would reach a
// half-destroyed object or skip its handlers. Instance<T>'s destructor destroys the window first,
// while the whole T exists, and T's members die only after the window; no class has to remember.
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

  // The object behind a window of this process made by this base, when it is a T; null otherwise.
  template <class T>
  [[nodiscard]] static T* FromHwnd(HWND hwnd) noexcept {
    return dynamic_cast<T*>(Bound(hwnd));
  }

 protected:
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT Default(UINT message, WPARAM wParam, LPARAM lParam) { return ::DefWindowProcW(hwnd_, message, wParam, lParam); }

 private:
  // Only Instance<T> overrides this, so only Instance<T> can be constructed.
  virtual void Completed() noexcept = 0;
  static Window* Bound(HWND hwnd) noexcept;
  static LRESULT CALLBACK StaticProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  HWND hwnd_ = nullptr;
};

// A window object of class T whose window goes before any part of T does.
template <class T>
class Instance final : public T {
 public:
  using T::T;
  ~Instance() override { this->Destroy(); }

 private:
  void Completed() noexcept override {}
};

// Module instance of the running program (or of the DLL that holds this code).
HINSTANCE ThisModule() noexcept;

}  // namespace pravik::win32
