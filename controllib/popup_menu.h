#pragma once
// The popup menu at the pointer: items are texts, an item that trims to "-" is a separator.
#include <string>
#include <vector>

namespace pravik::controllib {

// The 1-based number of the chosen item, or 0 when nothing was chosen.
long PopupMenu(const std::vector<std::wstring>& items);

// How many of m1..m20 take part: 20, or the position of the first empty one of m2..m20 minus 1.
std::size_t PopupItemCount(const std::vector<std::wstring>& texts);

}  // namespace pravik::controllib
