#include "controls/button/picture_convert.h"

#include <vector>

#include "win32/dib.h"

namespace pravik::controls::button {

std::optional<core::button::ButtonPicture> PictureFromBitmap(HBITMAP bitmap) {
  BITMAP bm{};
  if (!bitmap || !::GetObjectW(bitmap, sizeof(bm), &bm) || bm.bmWidth <= 0 || bm.bmHeight <= 0) return std::nullopt;
  core::button::ButtonPicture p;
  p.kind = bm.bmBitsPixel == 32 ? core::button::PictureKind::AlphaBitmap : core::button::PictureKind::Bitmap;
  p.pixels = core::button::PixelBuffer(bm.bmWidth, bm.bmHeight);
  BITMAPINFO bi = win32::Dib32Info(bm.bmWidth, bm.bmHeight);
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
  win32::Dib dib = win32::CreateDib32(screen.get(), w, h);
  if (!dib) return std::nullopt;
  {
    win32::SelectScope select(dc.get(), dib.bitmap.get());
    win32::Brush grey(::CreateSolidBrush(RGB(0xC0, 0xC0, 0xC0)));
    RECT rc{0, 0, w, h};
    ::FillRect(dc.get(), &rc, grey.get());
    ::DrawIconEx(dc.get(), 0, 0, icon, w, h, 0, nullptr, DI_NORMAL);
    ::GdiFlush();
  }
  core::button::ButtonPicture p;
  p.kind = core::button::PictureKind::Icon;
  p.pixels = core::button::PixelBuffer(w, h);
  const auto* src = static_cast<const std::uint32_t*>(dib.bits);
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
  win32::WindowDc screen(nullptr);
  win32::Dib colour = win32::CreateDib32(screen.get(), w, h);
  if (!colour) return {};
  std::copy(argb.begin(), argb.end(), static_cast<std::uint32_t*>(colour.bits));
  win32::Bitmap mask(::CreateBitmap(w, h, 1, 1, nullptr));
  ICONINFO info{FALSE, static_cast<DWORD>(hotX), static_cast<DWORD>(hotY), mask.get(), colour.bitmap.get()};
  return win32::Icon(::CreateIconIndirect(&info));
}

std::optional<core::button::ButtonPicture> PointingHandPicture() {
  return PictureFromIcon(::LoadCursorW(nullptr, IDC_HAND));
}

}  // namespace pravik::controls::button
