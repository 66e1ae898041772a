#pragma once
// 32-bit DIB sections: the one pixel format the drawing code reads and writes directly.
#include <windows.h>

#include "win32/handles.h"

namespace pravik::win32 {

enum class RowOrder { kTopDown, kBottomUp };

// The header of a 32-bit BI_RGB bitmap of the given size.
BITMAPINFO Dib32Info(int width, int height, RowOrder order = RowOrder::kTopDown) noexcept;

struct Dib {
  Bitmap bitmap;
  void* bits = nullptr;
  explicit operator bool() const noexcept { return bitmap && bits; }
};

// A DIB section compatible with `dc` (the screen when null); empty on failure.
Dib CreateDib32(HDC dc, int width, int height, RowOrder order = RowOrder::kTopDown) noexcept;

}  // namespace pravik::win32
