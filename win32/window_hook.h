#pragma once
// The one way to watch another window's messages: the platform's subclassing, owned. The before
// handler may answer a message itself, the after handler sees (and may change) the previous
// procedure's result. Removing, destroying the hook or the window's end puts the previous
// procedure back, so a hook never outlives its window or its owner.
// Teardown order for an owner: stop dispatching (declare the hook after what its handlers use, so it
// goes first), unsubclass while the window still exists (the destructor does that), then destroy.
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
  // Safe from inside one of the handlers; the handlers stay alive until the next Install.
  void Remove() noexcept;
  // Behaviour given to a window for good: a hook that the window owns and that goes with it.
  static bool ForLifeOf(HWND hwnd, Before before, After after = {}) noexcept;
  [[nodiscard]] HWND hwnd() const noexcept { return hwnd_; }

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam, UINT_PTR id,
                               DWORD_PTR data) noexcept;
  HWND hwnd_ = nullptr;
  bool ownedByWindow_ = false;
  Before before_;
  After after_;
};

}  // namespace pravik::win32
