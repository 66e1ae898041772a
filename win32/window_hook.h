#pragma once
// The one way to watch another window's messages: the platform's subclassing, owned. The before
// handler may answer a message itself, the after handler sees (and may change) the previous
// procedure's result. Removing, destroying the hook or the window's end puts the previous
// procedure back, so a hook never outlives its window or its owner.
// The handlers live apart from the hook object, kept alive by every call in progress: an owner may
// remove or destroy its hook at any moment, even from inside a message of the hooked window (the
// menu releases its drop shadow in its own WM_DESTROY); the call in progress then ends without
// calling the released handlers again.
#include <windows.h>

#include <functional>

namespace pravik::win32 {

class WindowHook {
 public:
  // True when the message was answered; the previous procedure then never sees it.
  using Before = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;
  using After = std::function<void(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result)>;

  WindowHook() = default;
  WindowHook(const WindowHook&) = delete;
  WindowHook& operator=(const WindowHook&) = delete;
  ~WindowHook() { Remove(); }

  // Hooks one window of this thread (a hook watches one window at a time).
  bool Install(HWND hwnd, Before before, After after = {}) noexcept;
  // Safe from anywhere on the window's thread, a handler of this hook included.
  void Remove() noexcept;
  // Behaviour given to a window for good: a hook that the window owns and that goes with it.
  static bool ForLifeOf(HWND hwnd, Before before, After after = {}) noexcept;
  [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }

 private:
  struct Handlers;
  static Handlers* Hook(HWND hwnd, Before before, After after) noexcept;
  static void Unhook(Handlers* handlers) noexcept;
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) noexcept;
  HWND hwnd_ = nullptr;
  Handlers* handlers_ = nullptr;  // shared with the subclass while installed
};

}  // namespace pravik::win32
