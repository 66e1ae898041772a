#include "core/menu/power_menu.h"

namespace pravik::core::menu {

std::optional<std::wstring_view> PowerCommand(unsigned id) {
  switch (id) {
    case 2: return L"shutdown.exe /l";
    case 5: return L"shutdown.exe /r /t 00";
    case 7: return L"shutdown.exe /h";
    default: return std::nullopt;
  }
}

}  // namespace pravik::core::menu
