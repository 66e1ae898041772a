#pragma once
// PNG skins: decoded, scaled with bicubic interpolation and flattened onto a background colour
// into an ordinary bitmap without transparency. A skin shown at its own pixel size is decoded by
// the core, so the start button shows without loading GDI+; scaling is GDI+'s.
#include <windows.h>

#include <string>

#include "win32/handles.h"
#include "win32/picture_box.h"

namespace pravik::drawing {

// Error 999, source "GDI+ Module", description "Error loading picture " + path on failure.
// width and height of -1 stand for the image's own size times `enlarge` and are replaced by it.
win32::Bitmap LoadPictureGdiPlus(const std::wstring& path, int& width, int& height, COLORREF backColor,
                                 double enlarge = 1.0);

// The skin drawn for the scale nearest to a factor (twips per pixel): folder\125\file at 125 %,
// folder\150\file, folder\200\file; folder\file at 100 % and wherever the scaled one is missing.
// With it the factor its pixels were drawn for (15 for the 100 % file).
struct ScaledSkin {
  std::wstring path;
  double twipsPerPixel;
};
ScaledSkin FindScaledSkin(const std::wstring& folder, const std::wstring& file, double twipsPerPixel);

// Error 999 as above unless the file opens for reading and starts as a PNG does: start-up checks
// every skin this way before the button shows and decodes those it does not show later.
void CheckSkinFile(const std::wstring& path);

// The file on white, at width x height (-1: its own size times `enlarge`, replaced by it): decoded
// by the core when it keeps its own pixel size, by GDI+ otherwise. Error 999 as above. Any thread.
win32::Bitmap DecodePngSkin(const std::wstring& path, int& width, int& height, double enlarge = 1.0);

// Puts the image into the box as its picture. With fit the image is scaled to the box's inner
// size (twips converted to pixels, halves to even); otherwise it keeps its own pixel size times
// `enlarge`.
void LoadPngSkin(const std::wstring& path, win32::PictureBox& box, bool fit, double enlarge = 1.0);

// The skin nearest to the factor the box is drawn at. A native one that was drawn for another
// factor (a window shrunk to fit, a missing scaled file) is resized to the size it stands for.
void LoadScaledSkin(const std::wstring& folder, const std::wstring& file, win32::PictureBox& box, bool fit,
                    double twipsPerPixel);
// The same skin's picture at its own size (as LoadScaledSkin without fit), for a box filled later.
win32::Bitmap DecodeScaledSkin(const std::wstring& folder, const std::wstring& file, double twipsPerPixel);

}  // namespace pravik::drawing
