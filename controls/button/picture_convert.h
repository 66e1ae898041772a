#pragma once
// Platform pictures (bitmaps, icons, cursors) into the button's plain-pixel pictures and back.
#include <windows.h>

#include <optional>

#include "button/picture.h"
#include "win32/handles.h"

namespace pravik::controls {

// A bitmap; 32-bit bitmaps keep their alpha, others are opaque and use the mask colour.
std::optional<button::ButtonPicture> PictureFromBitmap(HBITMAP bitmap);
// An icon or cursor drawn at its own size onto #C0C0C0 (the icon mask colour).
std::optional<button::ButtonPicture> PictureFromIcon(HICON icon);
// A cursor from a picture (its mask colour, or alpha, makes the transparent part).
win::Icon CursorFromPicture(const button::ButtonPicture& picture, int hotX, int hotY);
// A 32 x 32 pointing-hand image (the system hand pointer), for hosts that store one as MouseIcon.
std::optional<button::ButtonPicture> PointingHandPicture();

}  // namespace pravik::controls
