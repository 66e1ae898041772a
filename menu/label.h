#pragma once
// A caption label: text drawn in its own colours over its back colour (the colour of the frame it
// sits on, so it looks transparent), a click report and an optional pointer of its own.
#include <windows.h>

#include <functional>
#include <string>

#include "win32/click_tracker.h"
#include "win32/handles.h"
#include "win32/window.h"

namespace pravik::menu {

class Label : public win32::Window {
 public:
  bool Create(HWND parent, int id, int x, int y, int width, int height, std::wstring text, HFONT font);
  void SetColors(COLORREF text, COLORREF back);
  void SetCursor(HCURSOR cursor) noexcept { cursor_ = cursor; }
  void SetCentered(bool centered) noexcept { centered_ = centered; }
  [[nodiscard]] COLORREF textColor() const noexcept { return text_; }
  [[nodiscard]] COLORREF backColor() const noexcept { return back_; }
  [[nodiscard]] const std::wstring& text() const noexcept { return caption_; }

  std::function<void()> onClick;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void Paint();
  std::wstring caption_;
  HFONT font_ = nullptr;  // owned by the window that made it
  COLORREF text_ = 0;
  COLORREF back_ = RGB(255, 255, 255);
  HCURSOR cursor_ = nullptr;
  win32::ClickTracker click_;
  bool centered_ = false;
};

}  // namespace pravik::menu
