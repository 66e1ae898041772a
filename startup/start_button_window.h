#pragma once
// The start button window frmStartMenu: three skinned pictures on a white panel that slide out
// of the screen to the left while the pointer is away, and the start icon that toggles the menu.
#include <windows.h>

#include <future>
#include <memory>
#include <string>

#include "menu/start_menu_window.h"
#include "startup/placement.h"
#include "startup/start_key_hook.h"
#include "win32/late_bound.h"
#include "win32/picture_box.h"
#include "win32/timer.h"
#include "win32/window.h"

namespace pravik::startup {

class UpdateDecision;

class StartButtonWindow : public win32::Window {
 public:
  StartButtonWindow();
  ~StartButtonWindow() override;

  // Starts what the button needs and no window does (the taskbar, its skins decoded, the files
  // checked) on a thread of its own, to run while the window is made. Load awaits it.
  void BeginPreparing() noexcept;
  // Creates the window (timMoveView runs from here on) and runs the start-up sequence.
  // False when start-up ended the program's work (second instance, hand-over to the updater).
  bool Create();
  // The update decision is awaited before anything can raise an error: an announced update is
  // handed over even when this version's skins are missing.
  bool Load(UpdateDecision& update);
  // Shows and paints the button, then has the menu window prepared once the loop is idle.
  void Show();
  // Makes the control library's object (OLE started first); raises error 429 when it cannot.
  void ConnectControlLibrary();

  [[nodiscard]] float left() const noexcept { return left_; }

  // The one real end of Pravik (sign-out, shutdown, the installer's close request): windows
  // hidden, timers and commands stopped, the tree's dialog closed, then the message loop quits.
  // Objects go only after the loop has returned, when none of their calls is on the stack.
  void End() noexcept;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateElements();
  void SetLeft(float twips);
  void SyncLeftFromWindow();
  double WidthTwips() const;
  void LayOutElements();
  // The three skins: decoded on any thread (error 999 for a missing one), shown on the window's.
  struct Skins {
    win32::Bitmap start, help, wall;
  };
  static Skins DecodeSkins(const std::wstring& programFolder, double twipsPerPixel);
  struct Prepared {
    Taskbar taskbar;
    Skins skins;
  };
  // Raises the error that ends start-up: a missing skin (999) or control library (429).
  static Prepared Prepare(const std::wstring& programFolder, double twipsPerPixel);
  void ShowSkins(Skins skins);
  // Loads the menu window hidden, once; every path that needs it calls this first.
  void PrepareMenu();
  void PlaceMenu();
  // The menu at the scale that fits the work area now, its children laid out again if it changed.
  void FitMenu();
  // Beside the taskbar; while there is none yet, the wait timer looks for it.
  void PlaceBesideTaskbar(const Taskbar& taskbar);
  void Replace();
  void DpiChanged(int dpiX, int dpiY);
  void TaskbarWait_Timer();

  void picBg_Click();
  // The Windows key or Ctrl+Esc: the menu opens where a click on the start icon opens it, once
  // the button has slid in; or it closes.
  void ToggleFromKeyboard();
  void Hover();
  void Notice();
  void timMove_Timer();
  void timMoveView_Timer();
  void TimMouseCheck_Timer();

  win32::Instance<win32::PictureBox> picture1_, picHelp_, picWall_, picBg_;
  win32::Timer timMove_, timMoveView_, timMouseCheck_, taskbarWait_;
  int taskbarWaitTicks_ = 0;
  std::unique_ptr<win32::LateBoundObject> quessel1_;
  std::unique_ptr<menu::StartMenuWindow> frmMain_;
  std::wstring updaterArguments_;
  std::future<Prepared> prepared_;
  float left_ = 0;  // Left in twips, single precision
  // Broadcast by the shell when its taskbar is (re)created: at sign-in and after a restart.
  const UINT taskbarCreated_ = ::RegisterWindowMessageW(L"TaskbarCreated");
  bool ending_ = false;
  bool preparing_ = false;        // the menu window is loading (a handler inside must not load another)
  bool toggleWhenReady_ = false;  // the start icon was clicked while it loaded
  bool showWhenIn_ = false;  // the keyboard asked for the menu: show it once the button is in
  StartKeyHook keyHook_;
};

}  // namespace pravik::startup
