#pragma once
// ucBrowse: a child control that shows the platform folder-browse dialog's tree as its own. It
// opens the dialog rooted at Root, moves the dialog off the screen, adopts its "SysTreeView32"
// child and turns every selection change into Path (folders with a trailing "\") and PathChange.
//
// The dialog runs a modal loop. Unlike a loop nested once per reopening, this control opens its
// dialogs one after another from a single loop: a Root change or Reset closes the running
// dialog, and the loop that ran it opens the next once control returns to it (or at once, one
// level deeper, when another tree's loop runs above it). The first showing opens the dialog
// from a posted message, after the host's own showing steps have run.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "core/browse/browse_properties.h"
#include "win32/window_hook.h"
#include "core/propbag/property_bag.h"
#include "win32/window.h"

namespace pravik::controls::browse {

inline constexpr wchar_t kStatusInitialized[] = L"SystemTreeView Initalized";
inline constexpr wchar_t kStatusShutDown[] = L"SystemTreeView ShutDown";

class FolderTree : public win32::Window {
 public:
  FolderTree();
  ~FolderTree() override;

  // Creates the control (pixels within the parent) and reads its stored settings. In run mode
  // (false only in a designer) it gets ready to open the dialog at its first showing.
  bool Create(HWND parent, int id, int x, int y, int width, int height, const core::propbag::PropertyBag& stored,
              bool runMode = true);
  void WriteProperties(core::propbag::PropertyBag& bag) const;

  std::function<void(const std::wstring&)> onStatus;
  std::function<void(const std::wstring&)> onPathChange;
  // Enter on the tree: the user asks for the selected item itself.
  std::function<void(const std::wstring&)> onActivate;
  // A tree has been taken over (the first, or a fresh one after a root change or a lost dialog).
  std::function<void(HWND tree)> onTreeAdopted;
  // Whether the last PathChange came from a key on the tree (arrows, type-ahead) rather than
  // from the mouse or the program: a host that opens files on selection waits for Enter then.
  [[nodiscard]] bool LastChangeByKeyboard() const noexcept { return lastChangeByKeyboard_; }

  [[nodiscard]] std::int32_t Appearance() const noexcept { return p_.appearance; }
  void SetAppearance(std::int32_t value);
  [[nodiscard]] bool CheckBoxes() const noexcept { return p_.checkBoxes; }
  void SetCheckBoxes(bool value);
  [[nodiscard]] bool Enabled() const noexcept { return p_.enabled; }
  void SetEnabled(bool value);
  [[nodiscard]] std::int32_t FolderFlags() const noexcept { return p_.folderFlags; }
  void SetFolderFlags(std::int32_t value);
  [[nodiscard]] bool FullRowSelect() const noexcept { return p_.fullRowSelect; }
  void SetFullRowSelect(bool value);
  [[nodiscard]] bool HasButtons() const noexcept { return p_.hasButtons; }
  void SetHasButtons(bool value);
  [[nodiscard]] bool HasLines() const noexcept { return p_.hasLines; }
  void SetHasLines(bool value);
  [[nodiscard]] bool HideSelection() const noexcept { return p_.hideSelection; }
  void SetHideSelection(bool value);
  [[nodiscard]] bool HotTracking() const noexcept { return p_.hotTracking; }
  void SetHotTracking(bool value);
  [[nodiscard]] std::wstring Path() const;
  void SetPath(const std::wstring& value);
  [[nodiscard]] std::int32_t Root() const noexcept { return p_.root; }
  void SetRoot(std::int32_t value);
  [[nodiscard]] std::int32_t Theme() const noexcept { return p_.theme; }
  void SetTheme(std::int32_t value);

  void CloseUp();
  // The program ends: the dialog closes and no new one opens.
  void Shutdown() noexcept;
  void Refresh();
  void Reset();
  void SizeSysTreeView(int left, int top, int width, int height);
  void ApplyTreeStyles();
  [[nodiscard]] std::uint32_t GetBorderColor() const;

  // Set by every property change: the host's stored settings need writing again.
  [[nodiscard]] bool propertiesChanged() const noexcept { return changed_; }
  void clearPropertiesChanged() noexcept { changed_ = false; }

  [[nodiscard]] HWND TreeWindow() const noexcept { return treeWindow_; }
  [[nodiscard]] HWND DialogWindow() const noexcept { return dialogWindow_; }
  [[nodiscard]] HWND CancelButton() const noexcept { return cancelButton_; }
  [[nodiscard]] bool HooksActive() const noexcept { return hooksActive_; }

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  static int CALLBACK BrowseCallback(HWND dialog, UINT message, LPARAM value, LPARAM data) noexcept;
  void RequestOpen();
  void OnOpenRequest();
  void RunDialogs();
  void OpenBrowseDialog();
  void TakeOver(HWND dialog);
  void KeepDialogInactive(HWND dialog);
  void DropEndedDialog() noexcept;
  void GiveBackActivation(HWND previous);
  void GiveBackFocus();
  void SelectionChanged(LPARAM item);
  bool TreeBefore(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void TreeAfter(UINT message, WPARAM wParam, LPARAM lParam, LRESULT& result);
  void SelectInDialog(const std::wstring& path);
  void Terminate() noexcept;
  void Paint();
  void Changed() noexcept { changed_ = true; }
  void RaiseStatus(const wchar_t* status);

  core::browse::BrowseProperties p_;
  HWND dialogWindow_ = nullptr;
  HWND treeWindow_ = nullptr;
  HWND cancelButton_ = nullptr;
  HWND focusBefore_ = nullptr;  // where the keyboard was when the last dialog was taken over
  bool hooksActive_ = false;
  bool inRefresh_ = false;
  bool shown_ = false;
  bool changed_ = false;
  bool inDialogLoop_ = false;
  bool reopenWanted_ = false;
  int loopDepth_ = 0;
  int keyDepth_ = 0;  // inside the tree's own handling of a key
  bool lastChangeByKeyboard_ = false;  // the thread's loop depth of this control's innermost dialog loop
  win32::WindowHook dialogHook_;
  win32::WindowHook treeHook_;
  // Cleared when the control's window goes: a dialog loop that returns afterwards must not touch it.
  std::shared_ptr<bool> alive_;
};

}  // namespace pravik::controls::browse
