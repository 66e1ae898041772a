#pragma once
// A picture box: a child window that shows a bitmap from its top-left corner over its back
// colour and reports the mouse to its owner. The menu and the start button are built from these.
#include <windows.h>

#include <functional>

#include "win32/click_tracker.h"
#include "win32/handles.h"
#include "win32/window.h"

namespace pravik::win32 {

struct MouseEventArgs {
  int button = 0;  // 1 left, 2 right, 4 middle (the pressed buttons for moves)
  int shift = 0;   // 1 Shift, 2 Ctrl, 4 Alt
  int x = 0, y = 0;  // client pixels
};

class PictureBox : public Window {
 public:
  // Creates the box at a position and size given in pixels within the parent.
  bool Create(HWND parent, int id, int x, int y, int width, int height, COLORREF back = RGB(255, 255, 255));

  void SetPicture(Bitmap picture);  // takes ownership; Bitmap{} clears it
  [[nodiscard]] HBITMAP picture() const noexcept { return picture_.get(); }
  void SetBackColor(COLORREF back);
  void SetCursor(HCURSOR cursor) noexcept { cursor_ = cursor; }

  std::function<void()> onClick;
  std::function<void(const MouseEventArgs&)> onMouseMove;
  std::function<void(const MouseEventArgs&)> onMouseDown;
  std::function<void(const MouseEventArgs&)> onMouseUp;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  MouseEventArgs ArgsFrom(WPARAM wParam, LPARAM lParam, int button) const;
  Bitmap picture_;
  Brush back_;
  COLORREF backColor_ = RGB(255, 255, 255);
  HCURSOR cursor_ = nullptr;
  ClickTracker click_;
};

}  // namespace pravik::win32
