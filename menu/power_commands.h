#pragma once
// The session and power corner: the shutdown button zqbutton1 (shuts down at once) and the arrow
// picShortMenu, whose popup offers switch user, log off, lock, restart and sleep.
#include <windows.h>

#include <functional>
#include <memory>

#include "controls/button/image_button.h"
#include "menu/menu_element.h"
#include "win32/picture_box.h"
#include "win32/window_hook.h"

namespace pravik::menu {

// The platform's own session actions, replaceable by tests (which must not end their session).
struct SessionActions {
  // Switch user: the session is disconnected and the logon screen offers the other users.
  std::function<void()> switchUser;
  // Lock: the platform's workstation lock.
  std::function<void()> lock;
};
SessionActions PlatformSessionActions();

class PowerCommands {
 public:
  PowerCommands() = default;
  PowerCommands(const PowerCommands&) = delete;
  PowerCommands& operator=(const PowerCommands&) = delete;
  ~PowerCommands();

  void Create(HWND framMain, HWND menuWindow, HCURSOR pointer, CommandSink run, ElementMap& elements);

  // The shutdown button's font and smallest size at the menu's scale.
  void FollowScale() { if (zqbutton1_) zqbutton1_->SetHostScale(MenuTwipsPerPixel); }
  void zqbutton1_Click();
  // Builds, shows and destroys the popup at the pointer; runs the chosen entry's command.
  void picShortMenu_MouseUp();
  // The same popup from the keyboard (Enter, Space or Alt+Down on the arrow): at the arrow.
  void ShowPowerMenuAtArrow();
  // What a chosen popup identifier does (0: dismissed, nothing).
  void RunPowerEntry(unsigned id);

  SessionActions actions = PlatformSessionActions();
  win32::PictureBox& picShortMenu() { return picShortMenu_; }
  [[nodiscard]] controls::button::ImageButton* zqbutton1() noexcept { return zqbutton1_.get(); }
  [[nodiscard]] HMENU PowerMenu() const noexcept { return powerMenu_; }

 private:
  void ShowPowerMenu(POINT at);
  CommandSink run_;
  HWND menuWindow_ = nullptr;
  win32::Instance<win32::PictureBox> picShortMenu_;
  std::unique_ptr<controls::button::ImageButton> zqbutton1_;
  HMENU powerMenu_ = nullptr;  // only while the popup is open; owned by the popup's scope
  // Last, so it stops first, while picShortMenu is still there to unhook.
  win32::WindowHook arrowHook_;
};

}  // namespace pravik::menu
