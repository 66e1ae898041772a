#pragma once
// The Windows key and Ctrl+Esc open and close the menu, as the platform's own start menu would.
// A low-level keyboard hook on a thread of its own (it never waits on the user-interface thread)
// swallows a lone press and release of the Windows key, so the platform's Start screen does not
// open as well and the program in front never sees the key; combinations (Win+R, Win+E, ...)
// reach the system untouched: the held key is handed on just before the second key.
#include <windows.h>

#include <thread>

namespace pravik::startup {

class StartKeyHook {
 public:
  StartKeyHook() = default;
  StartKeyHook(const StartKeyHook&) = delete;
  StartKeyHook& operator=(const StartKeyHook&) = delete;
  ~StartKeyHook() { Stop(); }

  // `message` is posted to `target` for every lone Windows key and every Ctrl+Esc.
  void Start(HWND target, UINT message);
  void Stop() noexcept;

 private:
  std::thread thread_;
  DWORD threadId_ = 0;
};

}  // namespace pravik::startup
