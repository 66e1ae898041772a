#pragma once
// The run box: a one-line text box under a grey placeholder "프로그램 및 파일 검색". A click on the
// placeholder or the focus (by click or Tab) uncovers the box; the placeholder stays painted in
// the box until the first character arrives and comes back whenever the box is empty again.
// Enter, or the arrow picExe beside the box, runs the text as typed through the interpreter and
// empties the box as soon as the command has been handed on.
#include <windows.h>

#include <functional>
#include <memory>
#include <string>

#include "menu/label.h"
#include "menu/menu_element.h"
#include "win32/picture_box.h"
#include "win32/window_hook.h"

namespace pravik::menu {

inline constexpr wchar_t kRunBoxPlaceholder[] = L"프로그램 및 파일 검색";

class RunBox {
 public:
  RunBox() = default;
  RunBox(const RunBox&) = delete;
  RunBox& operator=(const RunBox&) = delete;
  ~RunBox();

  // Frame3 with Frame7, Frame5, Label4, txtExe and picExe, in the main panel.
  void Create(HWND framMain, HFONT font, HCURSOR pointer, CommandSink run, ElementMap& elements);

  void Label4_Click();
  void txtExe_GotFocus();
  void txtExe_KeyPress(wchar_t keyAscii);
  void txtExe_LostFocus();
  // Enter or the arrow: the text goes to onSubmit first; unless that takes it, it runs as typed.
  void RunText();
  // Runs the box's text through the interpreter and empties the box.
  void RunAsCommand();
  void Clear();
  [[nodiscard]] std::wstring Text() const;

  // Each change of the text.
  std::function<void(const std::wstring& text)> onTextChange;
  // True when it took the text (the box is then left to it).
  std::function<bool(const std::wstring& text)> onSubmit;
  // Down in the box: true when the keyboard went elsewhere.
  std::function<bool()> onDown;

  [[nodiscard]] HWND txtExe() const noexcept { return txtExe_; }
  [[nodiscard]] bool covered() const;
  // Whether the placeholder shows, as the cover or painted in the focused box.
  [[nodiscard]] bool placeholderShown() const;
  win32::PictureBox& picExe() { return picExe_; }

 private:
  CommandSink run_;
  win32::Instance<win32::PictureBox> frame3_, frame7_, frame5_, picExe_;
  win32::Instance<Label> label4_;
  void PaintPlaceholder() const;
  HWND txtExe_ = nullptr;  // a child of Frame7, destroyed with it
  // Last, so it stops first, while txtExe is still there to unhook.
  win32::WindowHook editHook_;
};

}  // namespace pravik::menu
