#pragma once
// The control's one fixed size: 450 twips square, whatever a container asks for.
#include <windows.h>

namespace pravik::controllib {

constexpr long kFaceTwips = 450;
// The face colour 0x00C0FFFF as an OLE colour: red 255, green 255, blue 192.
constexpr COLORREF kFaceColour = RGB(255, 255, 192);

// In HIMETRIC (0.01 mm), the unit of IOleObject extents: 450 twips = 793.75, rounded.
constexpr long kFaceHimetric = 794;

// In pixels of the screen for one axis (30 at 96 dots per inch).
int FacePixels(bool horizontal) noexcept;

}  // namespace pravik::controllib
