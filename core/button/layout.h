#pragma once
// Where the caption, the picture and the drop-down glyph go on a button face.
#include <optional>

#include "core/button/pixels.h"

namespace pravik::core::button {

struct LayoutInput {
  int width = 0, height = 0;   // W, H
  int style = 1;
  bool down = false;           // the state being drawn is down
  int pictureAlign = 1;        // 0..8
  int captionAlign = 1;        // 0..2
  bool hasNormalPicture = false;
  int picW = 0, picH = 0;      // size of the picture of this state (0 without)
  bool captionBlank = true;    // empty after trimming spaces
  int textW = 0, textH = 0;    // measured caption
  int dropDownSymbol = 0;
  bool dropDownSeparator = false;
};

struct LayoutResult {
  Rect caption;
  std::optional<Rect> picture;
  std::optional<Rect> glyph;
  bool separator = false;  // draw the two separator lines at W - 16 and W - 15
};

// Room the glyph takes at the right; the caption is measured in (0, 0, W - 8 - room, H).
int GlyphRoom(int dropDownSymbol, bool dropDownSeparator, int pictureAlign) noexcept;
LayoutResult LayoutContents(const LayoutInput& in) noexcept;
// The glyph character: the first decimal digit of DropDownSymbol (16 gives "1").
wchar_t GlyphCharacter(int dropDownSymbol) noexcept;
// The separator lines, coloured from the surface pixel (7, 7) as drawn so far.
void DrawSeparator(PixelView& px) noexcept;

}  // namespace pravik::core::button
