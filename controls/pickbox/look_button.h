#pragma once
// pbPick and pbDrop: the picker's buttons in the three image looks. Each look has its own set of
// button pictures per state, drawn by this code (no image files); the button follows the pointer
// (hot while over it, down while pressed).
#include <windows.h>

#include <functional>

#include "core/pickbox/pick_values.h"
#include "win32/click_tracker.h"
#include "win32/picture_box.h"
#include "win32/window.h"

namespace pravik::controls::pickbox {

enum class ButtonState { kNormal, kHot, kDown, kDisabled };
enum class Glyph { kEllipsis, kArrow };

// The colours of one look's picture for a state: top and bottom of the face, edge, glyph.
struct ButtonColors {
  COLORREF top, bottom, edge, glyph;
};
ButtonColors ColorsFor(core::pickbox::Look look, ButtonState state);
// The look's border colour (the border shape around the control).
COLORREF BorderColorFor(core::pickbox::Look look);

class LookButton : public win32::Window {
 public:
  bool Create(HWND parent, int id, Glyph glyph);
  void SetLook(core::pickbox::Look look);
  [[nodiscard]] ButtonState state() const noexcept { return state_; }

  std::function<void()> onClick;
  std::function<void()> onMouseEnter;
  std::function<void()> onMouseLeave;
  std::function<void(const win32::MouseEventArgs&)> onMouseDown;
  std::function<void(const win32::MouseEventArgs&)> onMouseMove;
  std::function<void(const win32::MouseEventArgs&)> onMouseUp;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  void SetState(ButtonState state);
  void Paint();
  core::pickbox::Look look_ = core::pickbox::Look::kBlue;
  Glyph glyph_ = Glyph::kEllipsis;
  ButtonState state_ = ButtonState::kNormal;
  bool tracking_ = false;
  win32::ClickTracker click_;
};

}  // namespace pravik::controls::pickbox
