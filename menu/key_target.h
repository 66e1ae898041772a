#pragma once
// Makes a painted element (a picture box, a caption, the title link) reachable from the keyboard:
// it takes the focus, shows a focus mark, and Enter or Space activates it; other keys may be
// taken by `key` (true: handled).
#include <windows.h>

#include <functional>

namespace pravik::menu {

struct KeyTarget {
  std::function<void()> activate;
  std::function<bool(UINT message, WPARAM key)> key;
  std::function<void()> focused;
};

// The target lives until the window is destroyed.
void MakeKeyTarget(HWND hwnd, KeyTarget target);

}  // namespace pravik::menu
