#pragma once
// The shortcut column: eight icons and nine item frames with captions (item 7 and its icon
// hidden). A click on a caption or an icon runs the item's command; the pointer moving over a
// frame highlights that item, and the highlight stays when the pointer leaves the column.
#include <windows.h>

#include <array>
#include <memory>

#include "menu/label.h"
#include "menu/menu_element.h"
#include "core/menu/shortcut_table.h"
#include "win32/picture_box.h"

namespace pravik::menu {

class ShortcutColumn {
 public:
  // Creates the elements in the main panel in their layout order.
  void Create(HWND framMain, HFONT font, HCURSOR pointer, CommandSink run, ElementMap& elements);

  void lblMenuCaption_Click(int index);
  void FramMenu_MouseMove(int index);

  // The icons in skin order: PicDoc, PicPicture, PicMusic, PicGame, PicComputer, PicControls,
  // PicPrint, PicHelp.
  win32::PictureBox& icon(int row) { return *icons_[static_cast<std::size_t>(row)]; }
  [[nodiscard]] bool highlighted(int index) const { return highlighted_ == index; }
  // Where Tab enters the column: the highlighted item's caption, else the first.
  [[nodiscard]] HWND focusTarget() const;

 private:
  CommandSink run_;
  std::array<std::unique_ptr<win32::PictureBox>, core::menu::kShortcutCount> frames_;
  std::array<std::unique_ptr<Label>, core::menu::kShortcutCount> captions_;
  // Index by row of the shortcut table; row 7 is Picture3.
  std::array<std::unique_ptr<win32::PictureBox>, core::menu::kShortcutCount> icons_;
  int highlighted_ = -1;
  void MoveFocus(int index, int step);
};

}  // namespace pravik::menu
