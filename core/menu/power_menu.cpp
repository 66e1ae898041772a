#include "core/menu/power_menu.h"

#include "core/menu/shortcut_table.h"

namespace pravik::core::menu {

std::optional<std::wstring_view> PowerCommand(unsigned id) {
  switch (id) {
    case 2: return L"shutdown.exe /l";
    case 5: return L"shutdown.exe /r /t 00";
    case 7: return L"shutdown.exe /h";
    default: return std::nullopt;
  }
}

bool IsFixedCommand(std::wstring_view command) {
  if (command == kShutdownCommand) return true;
  for (unsigned id = 0; id < 16; ++id)
    if (PowerCommand(id) == command) return true;
  for (int index = 0; index < kShortcutCount; ++index)
    if (ShortcutCommand(index) == command) return true;
  return false;
}

}  // namespace pravik::core::menu
