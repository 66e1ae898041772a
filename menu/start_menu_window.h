#pragma once
// The start menu window frmMain. The start button loads it hidden, shows it modeless and owned
// by itself, moves and sizes it, and starts its focus watcher Tim.
#include <windows.h>

#include <memory>

#include "win32/timer.h"
#include "win32/window.h"

namespace pravik {

class StartMenuParts;

// The program-wide truth value: whether the start button has the menu shown.
extern bool MenuVisible;

class StartMenuWindow : public win::Window {
 public:
  StartMenuWindow();
  ~StartMenuWindow() override;

  // Creates the window hidden and runs its load handler.
  void Load(HWND owner);
  void ShowModeless();
  void Hide();
  // Left, top, width and height in pixels, in one call.
  void MoveAndSize(int left, int top, int width, int height);
  win::Timer& Tim() noexcept { return tim_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnTim();
  win::Timer tim_;
  // Web panel, title link, drop shadow and off-screen options; released on unload.
  std::unique_ptr<StartMenuParts> parts_;
};

}  // namespace pravik
