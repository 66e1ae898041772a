#include "menu/multiples_window.h"

#include "core/propbag/property_bag.h"

namespace pravik::menu {

namespace {

// The four trees' stored settings: the desktop, the drives, the documents and the Start menu's
// programs, each in another border scheme.
core::propbag::PropertyBag StoredTree(std::int32_t root, std::int32_t theme, bool files) {
  core::propbag::PropertyBag bag;
  bag.Set(L"Root", root);
  bag.Set(L"Theme", theme);
  if (files) bag.Set(L"FolderFlags", std::int32_t{16384});
  return bag;
}

}  // namespace

bool MultiplesWindow::Load() {
  if (!Create(L"PravikFrmMultiples", L"Multiple Hosting", WS_OVERLAPPEDWINDOW & ~WS_MAXIMIZEBOX, 0, CW_USEDEFAULT,
              CW_USEDEFAULT, 560, 420, nullptr, nullptr, ::GetSysColorBrush(COLOR_BTNFACE))) {
    return false;
  }
  const core::propbag::PropertyBag stored[4] = {StoredTree(0, 1, false), StoredTree(17, 2, false), StoredTree(5, 3, false),
                                          StoredTree(23, 4, true)};
  for (std::size_t k = 0; k < trees_.size(); ++k) {
    const int x = 8 + static_cast<int>(k % 2) * 272;
    const int y = 8 + static_cast<int>(k / 2) * 188;
    trees_[k].Create(hwnd(), static_cast<int>(100 + k), x, y, 264, 180, stored[k]);
  }
  return true;
}

void MultiplesWindow::Show() {
  ::ShowWindow(hwnd(), SW_SHOWNORMAL);
  ::SetForegroundWindow(hwnd());
}

}  // namespace pravik::menu
