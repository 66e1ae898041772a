#pragma once
// frmMultiples ("Multiple Hosting"): four further folder tree controls with their stored settings,
// shown modeless and without owner from the options' "More..." button. It has no code of its own.
#include <windows.h>

#include <array>

#include "controls/browse/folder_tree.h"
#include "win32/window.h"

namespace pravik::menu {

class MultiplesWindow : public win32::Window {
 public:
  // Creates the window (hidden) with its four trees.
  bool Load();
  void Show();
  [[nodiscard]] controls::browse::FolderTree& tree(std::size_t index) noexcept { return trees_[index]; }

 private:
  std::array<win32::Instance<controls::browse::FolderTree>, 4> trees_;
};

}  // namespace pravik::menu
