#pragma once
// PNG skins through GDI+: decoded, scaled with bicubic interpolation and flattened onto a
// background colour into an ordinary bitmap without transparency.
#include <windows.h>

#include <string>

#include "win32/handles.h"
#include "win32/picture_box.h"

namespace pravik::drawing {

// Error 999, source "GDI+ Module", description "Error loading picture " + path on failure.
// width and height of -1 stand for the image's own size and are replaced by it.
win32::Bitmap LoadPictureGdiPlus(const std::wstring& path, int& width, int& height, COLORREF backColor);

// The skin drawn for the scale nearest to a factor (twips per pixel): folder\125\file at 125 %,
// folder\150\file, folder\200\file; folder\file at 100 % and wherever the scaled one is missing.
std::wstring ScaledSkinPath(const std::wstring& folder, const std::wstring& file, double twipsPerPixel);

// Error 999 as above unless the file opens for reading and starts as a PNG does: start-up checks
// every skin this way before the button shows and decodes those it does not show later.
void CheckSkinFile(const std::wstring& path);

// Puts the image into the box as its picture. With fit the image is scaled to the box's inner
// size (twips converted to pixels, halves to even); otherwise it keeps its own pixel size.
void LoadPngSkin(const std::wstring& path, win32::PictureBox& box, bool fit);

}  // namespace pravik::drawing
