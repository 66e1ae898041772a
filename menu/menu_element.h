#pragma once
// What the parts of the start menu share: pixels from the layout table, the command sink that
// hands a command line to the window's runner, and the registry of named elements.
#include <windows.h>

#include <functional>
#include <map>
#include <string>
#include <string_view>

#include "core/menu/layout.h"

namespace pravik::menu {

// Runs one command through the window's Runner with the interpreter prefix.
using CommandSink = std::function<void(std::wstring_view command)>;

// Named elements of the menu window, for placement checks and for tests.
using ElementMap = std::map<std::wstring, HWND, std::less<>>;

// The factor (twips per pixel) the menu is drawn with, chosen by the start button before it loads
// the menu: the screen's own, or larger where the whole menu would not fit the work area.
inline core::geometry::TwipsPerPixel MenuTwipsPerPixel;

// The element's pixels from the layout table at the menu's factor (all zero for a name not in it).
inline core::menu::PixelRect Px(std::wstring_view name) {
  const auto r = core::menu::LayoutPixels(name, MenuTwipsPerPixel);
  return r ? *r : core::menu::PixelRect{0, 0, 0, 0};
}

// Puts a new child below its earlier siblings: the layout table lists the upper ones first.
inline void PlaceLast(HWND child) {
  ::SetWindowPos(child, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

// Containers pass Tab on to their children.
inline void MakeControlParent(HWND hwnd) {
  ::SetWindowLongPtrW(hwnd, GWL_EXSTYLE, ::GetWindowLongPtrW(hwnd, GWL_EXSTYLE) | WS_EX_CONTROLPARENT);
  ::SetWindowLongPtrW(hwnd, GWL_STYLE, ::GetWindowLongPtrW(hwnd, GWL_STYLE) | WS_CLIPCHILDREN);
}

}  // namespace pravik::menu
