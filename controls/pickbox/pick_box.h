#pragma once
// ucPickBox: a one-line text box with a pick button at its right end (and, after a multi-file
// open, a drop button and a list) that opens a colour, folder, font, open, save or printer dialog
// owned by the host window, shows the chosen value and raises events.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "controls/pickbox/look_button.h"
#include "core/pickbox/pick_settings.h"
#include "core/pickbox/pick_values.h"
#include "core/propbag/property_bag.h"
#include "win32/handles.h"
#include "win32/picture_box.h"
#include "win32/window.h"
#include "win32/window_hook.h"

namespace pravik::controls::pickbox {

class PickBox : public win32::Window {
 public:
  // Child window ids of the parts, for hosts and tests that look at them.
  enum PartId : int { kTextId = 1, kPickId = 2, kDropId = 3, kPickImageId = 4, kDropImageId = 5, kListId = 6 };

  PickBox();
  ~PickBox() override;

  // Creates the control in the host at a position and size in pixels (the layout rules apply:
  // at least 1455 twips wide, exactly 315 twips high). The properties start from the reset.
  bool Create(HWND parent, int id, int x, int y, int width, int height);
  // The stored properties (names compared without regard to case; missing ones take defaults).
  void ReadProperties(const core::propbag::PropertyBag& bag);
  void WriteProperties(core::propbag::PropertyBag& bag) const;

  // Properties. Setters store, report the change (onPropertyChanged) and refresh.
  [[nodiscard]] const core::pickbox::Settings& settings() const noexcept { return settings_; }
  // Changes any other property through `change` and then applies the whole set.
  void Change(const std::function<void(core::pickbox::Settings&)>& change);
  [[nodiscard]] std::int32_t DialogType() const noexcept { return settings_.dialogType; }
  void SetDialogType(std::int32_t value);
  [[nodiscard]] std::int32_t Theme() const noexcept { return settings_.theme; }
  void SetTheme(std::int32_t value);
  [[nodiscard]] const std::wstring& Path() const noexcept { return settings_.path; }
  void SetPath(const std::wstring& value);
  [[nodiscard]] std::uint32_t Color() const noexcept { return settings_.color; }
  void SetColor(std::uint32_t value);
  void SetEnabled(bool value);
  // Read-only results.
  [[nodiscard]] std::int32_t FileCount() const noexcept { return static_cast<std::int32_t>(fileNames_.size()); }
  // 1-based, as the events number them; empty outside the range.
  [[nodiscard]] std::wstring FileName(std::int32_t index) const;
  [[nodiscard]] std::uint32_t FontColor() const noexcept { return fontColor_; }
  [[nodiscard]] bool PrintStatus() const noexcept { return printStatus_; }
  [[nodiscard]] static std::wstring Version() { return L"1.0.0"; }
  [[nodiscard]] core::pickbox::Look look() const noexcept { return look_; }
  [[nodiscard]] std::wstring Text() const;
  [[nodiscard]] HWND part(PartId id) const noexcept { return ::GetDlgItem(hwnd(), id); }

  // Methods.
  // Each sets DialogType and acts as a click on the pick button.
  void Show_FolderBrowse();
  void Show_Font();
  void Show_Open();
  void Show_Printer();
  void Show_Save();
  std::wstring ShowFolderBrowse(const std::wstring& title);
  void Refresh();
  void Reset();
  // What a click on the pick button does: the dialog of DialogType, then Click and MouseDown.
  void PickClick();

  // Events, by declaration number (3 and 16 are declared and never raised).
  std::function<void()> onClick;                                        // 1
  std::function<void(std::uint32_t color)> onColorChanged;              // 2
  std::function<void()> onDropClick;                                    // 4
  std::function<void(const std::wstring& name)> onFontChanged;          // 5
  std::function<void(int keyCode, int shift)> onKeyDown;                // 6
  std::function<void(int keyAscii)> onKeyPress;                         // 7
  std::function<void(int keyCode, int shift)> onKeyUp;                  // 8
  std::function<void(const win32::MouseEventArgs&)> onMouseDown;          // 9
  std::function<void(const win32::MouseEventArgs&)> onMouseMove;          // 10
  std::function<void(const win32::MouseEventArgs&)> onMouseUp;            // 11
  std::function<void()> onPathChanged;                                  // 12
  std::function<void(const std::wstring& status)> onPrintStatusChanged;  // 13
  std::function<void()> onMouseEnter;                                   // 14
  std::function<void()> onMouseLeave;                                   // 15
  // The host's stored layout must be written again.
  std::function<void()> onPropertyChanged;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void OnTextMessage(UINT message, WPARAM wParam, LPARAM lParam);
  HWND Host() const noexcept;
  void Changed();
  void ApplyLook();
  void LayOut();
  void ShowPrompt();
  void SetText(const std::wstring& text);
  std::wstring TrimmedForDisplay(const std::wstring& path) const;
  void ApplyChosenColor(std::uint32_t color);
  void ChooseFiles(bool save);
  void TakeFiles(std::vector<std::wstring> files);
  void ValidateTypedText();
  void Warn(const std::wstring& text);
  void OnDropClick();
  void Paint();
  void UpdateToolTip();
  win32::MouseEventArgs PointerArgs() const;

  core::pickbox::Settings settings_;
  std::vector<std::wstring> fileNames_;
  std::uint32_t fontColor_ = 0;
  bool printStatus_ = false;
  core::pickbox::Look look_ = core::pickbox::Look::kClassic;
  bool dropShown_ = false;
  bool validating_ = false;
  HWND text_ = nullptr, cmdPick_ = nullptr, cmdDrop_ = nullptr, list_ = nullptr, tip_ = nullptr;
  win32::Instance<LookButton> pbPick_, pbDrop_;
  win32::Font font_;
  win32::Brush textBack_;
  // Last, so it stops first: the text box's keys and mouse become the box's events.
  win32::WindowHook textHook_;
};

}  // namespace pravik::controls::pickbox
