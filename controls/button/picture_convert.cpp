#include "controls/button/picture_convert.h"

#include <vector>

namespace pravik::controls::button {

namespace {
BITMAPINFO TopDown32(int w, int h) {
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof(bi.bmiHeader);
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = -h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 32;
  bi.bmiHeader.biCompression = BI_RGB;
  return bi;
}
}  // namespace

std::optional<core::button::ButtonPicture> PictureFromBitmap(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return std::nullopt;
  core::button::ButtonPicture p;
  p.kind = bm.bmBitsPixel == 32 ? core::button::PictureKind::AlphaBitmap : core::button::PictureKind::Bitmap;
  p.pixels = core::button::PixelBuffer(bm.bmWidth, bm.bmHeight);
  BITMAPINFO bi = TopDown32(bm.bmWidth, bm.bmHeight);
  win32::WindowDc screen(nullptr);
  if (!::GetDIBits(screen.get(), bitmap, 0, static_cast<UINT>(bm.bmHeight), p.pixels.pixels.data(), &bi,
                   DIB_RGB_COLORS)) {
    return std::nullopt;
  }
  if (p.kind == core::button::PictureKind::Bitmap) {
    for (auto& px : p.pixels.pixels) px &= 0x00FFFFFFu;
  }
  return p;
}

std::optional<core::button::ButtonPicture> PictureFromIcon(HICON icon) {
  ICONINFO info{};
  if (!icon || !::GetIconInfo(icon, &info)) return std::nullopt;
  win32::Bitmap colour(info.hbmColor), mask(info.hbmMask);
  BITMAP bm{};
  if (!::GetObjectW(mask.get(), sizeof(bm), &bm)) return std::nullopt;
  const int w = bm.bmWidth, h = colour ? bm.bmHeight : bm.bmHeight / 2;
  if (w <= 0 || h <= 0) return std::nullopt;
  win32::WindowDc screen(nullptr);
  win32::MemoryDc dc(::CreateCompatibleDC(screen.get()));
  BITMAPINFO bi = TopDown32(w, h);
  void* bits = nullptr;
  win32::Bitmap dib(::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!dib || !bits) return std::nullopt;
  {
    win32::SelectScope select(dc.get(), dib.get());
    win32::Brush grey(::CreateSolidBrush(RGB(0xC0, 0xC0, 0xC0)));
    RECT rc{0, 0, w, h};
    ::FillRect(dc.get(), &rc, grey.get());
    ::DrawIconEx(dc.get(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    ::GdiFlush();
  }
  core::button::ButtonPicture p;
  p.kind = core::button::PictureKind::Icon;
  p.pixels = core::button::PixelBuffer(w, h);
  const auto* src = static_cast<const std::uint32_t*>(bits);
  for (std::size_t i = 0; i < p.pixels.pixels.size(); ++i) p.pixels.pixels[i] = src[i] & 0x00FFFFFFu;
  return p;
}

win32::Icon CursorFromPicture(const core::button::ButtonPicture& picture, int hotX, int hotY) {
  const int w = picture.pixels.width, h = picture.pixels.height;
  if (picture.empty()) return {};
  const bool alpha = picture.kind == core::button::PictureKind::AlphaBitmap;
  const core::button::Colour maskColour =
      picture.kind == core::button::PictureKind::Icon ? core::button::Hex(0xC0C0C0) : core::button::Hex(0xE0E0E0);
  std::vector<std::uint32_t> argb(picture.pixels.pixels.size());
  for (std::size_t i = 0; i < argb.size(); ++i) {
    const std::uint32_t px = picture.pixels.pixels[i];
    const bool transparent = alpha ? (px >> 24) == 0 : core::button::FromPixel(px) == maskColour;
    argb[i] = transparent ? 0u : (alpha ? px : (px | 0xFF000000u));
  }
  BITMAPINFO bi = TopDown32(w, h);
  win32::WindowDc screen(nullptr);
  void* bits = nullptr;
  win32::Bitmap colour(::CreateDIBSection(screen.get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!colour || !bits) return {};
  std::copy(argb.begin(), argb.end(), static_cast<std::uint32_t*>(bits));
  win32::Bitmap mask(::CreateBitmap(w, h, 1, 1, nullptr));
  ICONINFO info{FALSE, static_cast<DWORD>(hotX), static_cast<DWORD>(hotY), mask.get(), colour.get()};
  return win32::Icon(::CreateIconIndirect(&info));
}

std::optional<core::button::ButtonPicture> PointingHandPicture() {
  return PictureFromIcon(::LoadCursorW(nullptr, IDC_HAND));
}

}  // namespace pravik::controls::button
