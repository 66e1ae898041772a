#include "core/menu/shortcut_table.h"

namespace pravik::core::menu {

std::optional<std::wstring_view> ShortcutCommand(int index) {
  if (index < 0 || index >= kShortcutCount || index == kHiddenShortcut) return std::nullopt;
  return kShortcuts[static_cast<std::size_t>(index)].command;
}

}  // namespace pravik::core::menu
