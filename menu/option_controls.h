#pragma once
// The tree options that lie to the right of the menu's client area (left edges at 8460 twips and
// more): never seen, but visible and enabled, so the Tab key reaches them and the keys act on the
// programs tree. They sit in a panel of their own that takes their notifications; Tab and
// Shift+Tab move between them even without a dialog manager in the program's message loop.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "controls/browse/folder_tree.h"
#include "controls/pickbox/pick_box.h"
#include "menu/multiples_window.h"
#include "win32/window.h"
#include "win32/window_hook.h"

namespace pravik::menu {

class OptionControls : public win32::Window {
 public:
  // Child ids, also the Tab order.
  enum Id : int {
    kChkCheckBoxes = 200, kChkFullRowSelect, kChkHasButtons, kChkHasLines, kChkHideSelection, kChkHotTracking,
    kCmbTheme, kFmAppearance, kOptionFlat, kOption3D, kPbPath, kCommand4, kCommand2, kCommand3, kCommand1,
    kLblActivePath, kLblLogOnName, kLabel1, kLabel2, kLabel3, kLblPath, kLblTheme, kHeader0, kHeader1, kHeader2,
    kCommand5 = 299,
  };
  static constexpr int kLeftTwips = 8460;  // 564 pixels at 100 %

  OptionControls();
  ~OptionControls() override;

  // Creates the options in the menu window and the hidden Command5 in the main panel. `tree` is
  // the programs tree they act on; `applyRoot` is the menu's ApplyRoot (Command4).
  bool Create(HWND menuWindow, HWND mainPanel, controls::browse::FolderTree* tree, std::function<void()> applyRoot);

  // Beside the menu's client area again, as tall as the menu, after its scale changed.
  void FollowMenu();

  // Load step 7: fill the theme list and select "Auto" (which applies it).
  void FillThemeList();
  // Load step 9: the appearance option that matches the tree, the picker as a folder picker,
  // the check-box option disabled.
  void MatchTreeAppearance();
  // Load step 10: the tree's options from the initial state of the six check boxes.
  void ApplyCheckBoxesToTree();

  void SetActivePath(const std::wstring& path);
  [[nodiscard]] controls::pickbox::PickBox& pbPath() noexcept { return pbPath_; }
  [[nodiscard]] HWND item(Id id) const noexcept;
  [[nodiscard]] MultiplesWindow* multiples() const noexcept { return multiples_.get(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  // Tab and Shift+Tab on a control step through the menu window's tab stops.
  void HookTab(HWND control);
  HWND Add(const wchar_t* cls, const wchar_t* text, DWORD style, int id, int x, int y, int w, int h, HWND parent = nullptr);
  void OnCommand(int id, int code);
  void OnThemeChosen();
  void OnCheckBox(int id);
  bool Checked(int id) const;

  controls::browse::FolderTree* tree_ = nullptr;
  std::function<void()> applyRoot_;
  HWND menu_ = nullptr;
  HWND command5_ = nullptr;
  win32::Instance<controls::pickbox::PickBox> pbPath_;
  std::unique_ptr<MultiplesWindow> multiples_;
  HFONT font_ = nullptr;  // the stock GUI font: not ours to delete
  std::vector<std::unique_ptr<win32::WindowHook>> tabHooks_;
};

}  // namespace pravik::menu
