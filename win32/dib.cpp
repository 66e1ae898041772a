#include "win32/dib.h"

namespace pravik::win32 {

BITMAPINFO Dib32Info(int width, int height, RowOrder order) noexcept {
  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = width;
  info.bmiHeader.biHeight = order == RowOrder::kTopDown ? -height : height;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  return info;
}

Dib CreateDib32(HDC dc, int width, int height, RowOrder order) noexcept {
  const BITMAPINFO info = Dib32Info(width, height, order);
  Dib dib;
  dib.bitmap.reset(::CreateDIBSection(dc, &info, DIB_RGB_COLORS, &dib.bits, nullptr, 0));
  if (!dib.bitmap) dib.bits = nullptr;
  return dib;
}

}  // namespace pravik::win32
