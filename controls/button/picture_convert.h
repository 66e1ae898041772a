#pragma once
// Platform pictures (bitmaps, icons, cursors) into the button's plain-pixel pictures and back.
#include <windows.h>

#include <optional>

#include "core/button/picture.h"
#include "win32/handles.h"

namespace pravik::controls::button {

// A bitmap; 32-bit bitmaps keep their alpha, others are opaque and use the mask colour.
std::optional<core::button::ButtonPicture> PictureFromBitmap(HBITMAP bitmap);
// An icon or cursor drawn at its own size onto #C0C0C0 (the icon mask colour).
std::optional<core::button::ButtonPicture> PictureFromIcon(HICON icon);
// A cursor from a picture (its mask colour, or alpha, makes the transparent part).
win32::Icon CursorFromPicture(const core::button::ButtonPicture& picture, int hotX, int hotY);
// A 32 x 32 pointing-hand image (the system hand pointer), for hosts that store one as MouseIcon.
std::optional<core::button::ButtonPicture> PointingHandPicture();

}  // namespace pravik::controls::button
