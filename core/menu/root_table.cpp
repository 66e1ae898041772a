#include "core/menu/root_table.h"

namespace pravik::core::menu {

std::optional<std::int32_t> RootForIndex(int index) {
  if (index < 0 || index >= static_cast<int>(kRootTable.size())) return std::nullopt;
  return kRootTable[static_cast<std::size_t>(index)].csidl;
}

}  // namespace pravik::core::menu
