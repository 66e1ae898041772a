#pragma once
// The start menu window frmMain. The start button loads it hidden, shows it modeless and owned
// by itself, moves and sizes it, and starts its focus watcher Tim. It holds the programs tree
// with its root selector, the shortcut column, the web panel, the run box and the power corner.
#include <windows.h>

#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "controls/browse/folder_tree.h"
#include "menu/command_runners.h"
#include "menu/dialog_keys.h"
#include "menu/menu_element.h"
#include "menu/menu_search.h"
#include "menu/power_commands.h"
#include "menu/run_box.h"
#include "menu/shortcut_column.h"
#include "win32/foreground_watch.h"
#include "win32/handles.h"
#include "win32/late_bound.h"
#include "win32/picture_box.h"
#include "win32/timer.h"
#include "win32/window.h"

namespace pravik::menu {

class StartMenuParts;

// The program-wide truth value: whether the start button has the menu shown.
extern bool MenuVisible;

// Error 999 for the first of the window's skins under the program folder that is missing or
// unreadable: checked before the start button shows, decoded when the window loads.
void CheckMenuSkins(const std::wstring& programFolder);

class StartMenuWindow : public win32::Window {
 public:
  // The file name of the program that owns the foreground window; nothing when it cannot be told.
  using ForegroundQuery = std::function<std::optional<std::wstring>()>;

  StartMenuWindow();
  ~StartMenuWindow() override;

  // Creates the window hidden and runs its load handler. Without a foreground query set before,
  // the window's own Quessel1 answers the focus watcher.
  void Load(HWND owner);
  // Shows the window in front with the keyboard in the run box: typing goes there at once.
  void ShowModeless();
  void Hide();
  // Hides the menu as a toggle of the start icon does (closing it never destroys it).
  void HideMenu();
  // The program ends: commands stop being collected, the tree's dialog closes for good.
  void PrepareEnd() noexcept;
  // Left, top, width and height in pixels, in one call.
  void MoveAndSize(int left, int top, int width, int height);
  // Draws the menu at another factor (twips per pixel): the window and every element placed and
  // sized again through the layout table, the font and the skins made for the new size.
  void Rescale(core::geometry::TwipsPerPixel scale);
  // The focus watcher: it wakes when the foreground changes, never on a clock.
  win32::ForegroundWatch& Tim() noexcept { return tim_; }

  void SetForegroundQuery(ForegroundQuery query) { foregroundQuery_ = std::move(query); }
  // Skins from this folder instead of the program folder (tests).
  void SetSkinFolder(std::wstring folder) { skinFolder_ = std::move(folder); }

  // Handlers, named as the elements' events.
  void Tim_Timer();
  void cmbRoot_Click();
  void ApplyRoot();
  void ucBrowse1_PathChange(const std::wstring& path);
  // Opens a picked file through the shell; folders and empty paths only stay selected.
  void OpenPicked(const std::wstring& path);

  [[nodiscard]] HWND Element(std::wstring_view name) const;
  [[nodiscard]] controls::browse::FolderTree& ucBrowse1() noexcept { return ucBrowse1_; }
  [[nodiscard]] ShortcutColumn& shortcuts() noexcept { return shortcuts_; }
  [[nodiscard]] RunBox& runBox() noexcept { return runBox_; }
  [[nodiscard]] MenuSearch& search() noexcept { return search_; }
  [[nodiscard]] PowerCommands& power() noexcept { return power_; }
  [[nodiscard]] StartMenuParts* parts() noexcept { return parts_.get(); }
  [[nodiscard]] const std::wstring& activePath() const noexcept { return activePath_; }
  [[nodiscard]] bool loading() const noexcept { return loading_; }
  [[nodiscard]] CommandRunners* runners() noexcept { return runners_.get(); }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void CreateElements();
  void Form_Load();
  void LoadSkins();
  void LayOut();
  void MakeFont();
  void ScaleTreeFont();
  void Form_LostFocus(HWND gainingFocus);
  void Form_Unload() noexcept;
  void RunCommand(std::wstring_view command);
  void Cancel();
  std::vector<HWND> TabOrder();
  win32::PictureBox& AddPicture(std::wstring_view name, HWND container, int id, COLORREF back = RGB(255, 255, 255));

  win32::ForegroundWatch tim_;
  win32::Font font_;
  win32::Font treeFont_;
  std::optional<LOGFONTW> treeFontBase_;  // the tree's own font, made for the system's scale
  HCURSOR pointer_ = nullptr;  // a shared system cursor: not ours to destroy
  std::wstring skinFolder_;
  ElementMap elements_;
  std::vector<std::unique_ptr<win32::PictureBox>> pictures_;
  HWND cmbRoot_ = nullptr;  // a child: destroyed with the window
  win32::Instance<controls::browse::FolderTree> ucBrowse1_;
  ShortcutColumn shortcuts_;
  RunBox runBox_;
  MenuSearch search_;
  PowerCommands power_;
  DialogKeys dialogKeys_;

  std::unique_ptr<CommandRunners> runners_;
  // Web panel, title link, drop shadow and off-screen options; released on unload.
  std::unique_ptr<StartMenuParts> parts_;
  std::unique_ptr<win32::LateBoundObject> quessel1_;
  ForegroundQuery foregroundQuery_;
  std::wstring ownName_;
  std::wstring activePath_;
  bool loading_ = false;
  bool webPanelAsked_ = false;  // the browser control is made once the menu first shows
  HWND lastFocus_ = nullptr;  // the element that had the keyboard when the window was last left
};

}  // namespace pravik::menu
