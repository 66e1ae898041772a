#pragma once
// A host window for the zqbutton tests: a visible top-level window with a container child,
// plus helpers that read the button's pixels back from the screen.
#include <windows.h>

#include <memory>
#include <string>
#include <vector>

#include "controls/button/image_button.h"
#include "win32/window.h"

namespace pravik::controls::button {

class ButtonHost : public win32::Window {
 public:
  ButtonHost();
  // A plain child window that groups buttons (option buttons clear only within one).
  HWND AddContainer(int x, int y, int w, int h);
  // Creates a button in the host (or a container) and records its events.
  ImageButton& AddButton(const core::propbag::PropertyBag& layout, int x = 10, int y = 10, int w = 120, int h = 30,
                      HWND container = nullptr);
  std::vector<std::wstring> events;  // "Click", "MouseDown 1", ...

 private:
  std::vector<std::unique_ptr<ImageButton>> buttons_;
  std::vector<std::unique_ptr<win32::Window>> containers_;
};
using HostWindow = win32::Instance<ButtonHost>;

// The colour drawn at a client point of a window (0x00BBGGRR).
COLORREF ScreenPixel(HWND hwnd, int x, int y);
// All pixels of a client rectangle, row by row.
std::vector<COLORREF> ScreenPixels(HWND hwnd, RECT r);
// Puts the pointer on a client point of the window and lets the window see the move.
void PointAt(HWND hwnd, int x, int y);

}  // namespace pravik::controls::button
