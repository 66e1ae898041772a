#pragma once
// The fourteen faces of the image button, drawn onto a pixel buffer. The parts the pixel buffer
// cannot do alone (caption and picture, window region, the platform theme, the focus rectangle)
// are called back through FaceHooks at the point of the drawing where they belong.
#include "core/button/button_logic.h"
#include "core/button/colour.h"
#include "core/button/pixels.h"

namespace pravik::core::button {

struct FaceState {
  int style = 1;
  int scheme = 0;
  ButtonState state = ButtonState::Normal;  // after the redraw's checked-means-down rule
  bool enabled = true;
  bool checked = false;           // Mode not 0 and Value true
  bool pointerOver = false;
  bool mouseHeld = false;
  bool hasFocus = false;
  bool displayAsDefault = false;
  bool hostActive = false;
  bool showFocusRect = false;
  bool userMode = true;           // the host runs the program (not a design environment)
  Colour base = 0;                // translated BackColor
  Colour surface = 0;             // the window background the surface is cleared to
  SystemColours sys;
};

class FaceHooks {
 public:
  virtual ~FaceHooks() = default;
  virtual void Contents(PixelView&) {}
  virtual void RebuildRegion() {}
  // Style 13: draw the theme's push button; false when there is no theme to draw with.
  virtual bool ThemeBackground(PixelView&, int /*themeState*/) { return false; }
  // Style 6 rewrites ForeColor before its contents.
  virtual void SetForeColor(Colour) {}
  virtual void FocusRect(PixelView& px, Rect r) { DottedFocusRect(px, r); }
};

// The state the redraw draws: checked counts as down except for styles 0 and 6.
ButtonState DrawnState(int style, ButtonState state, bool checked) noexcept;
// Clears the surface and draws the face of the state.
void PaintFace(PixelView& px, const FaceState& s, FaceHooks& hooks);

}  // namespace pravik::core::button
