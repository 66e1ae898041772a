#include "drawing/png_skin.h"

#include <gdiplus.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <utility>
#include <vector>

#include "core/geometry/display_scale.h"
#include "core/image/png_decoder.h"
#include "win32/app_error.h"
#include "win32/dib.h"
#include "win32/gdiplus_session.h"

namespace pravik::drawing {
namespace {

struct GpImageOwner {
  Gdiplus::GpImage* image = nullptr;
  GpImageOwner() = default;
  GpImageOwner(const GpImageOwner&) = delete;
  GpImageOwner& operator=(const GpImageOwner&) = delete;
  ~GpImageOwner() {
    if (image) Gdiplus::DllExports::GdipDisposeImage(image);
  }
};

[[noreturn]] void RaiseLoadError(const std::wstring& path) {
  throw win32::AppError(999, L"GDI+ Module", L"Error loading picture " + path);
}

// Skins are small; anything near this is not one.
constexpr DWORD kMaxSkinFileBytes = 32u * 1024 * 1024;

// The file decoded by the core when it is in a format the core reads and the picture keeps its own
// pixel size: no GDI+ or codec is loaded for it. Empty when GDI+ must decode or scale it.
win32::Bitmap LoadUnscaled(const std::wstring& path, int& width, int& height, COLORREF backColor) {
  win32::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!file || !::GetFileSizeEx(file.get(), &size) || size.QuadPart <= 0 || size.QuadPart > kMaxSkinFileBytes) return {};
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size.QuadPart));
  DWORD read = 0;
  if (!::ReadFile(file.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr) || read != bytes.size())
    return {};
  const core::image::PngResult png = core::image::DecodePng(bytes);
  if (png.error != core::image::PngError::kNone) return {};
  if ((width != -1 && width != png.image.width) || (height != -1 && height != png.image.height)) return {};
  const std::vector<std::uint32_t> pixels = core::image::FlattenToBgrx(
      png.image, GetRValue(backColor), GetGValue(backColor), GetBValue(backColor));

  // The same kind of bitmap GDI+'s path makes: compatible with the screen.
  win32::MemoryDc canvas(::CreateCompatibleDC(nullptr));
  win32::Bitmap bitmap(::CreateBitmap(png.image.width, png.image.height,
                                      static_cast<UINT>(::GetDeviceCaps(canvas.get(), PLANES)),
                                      static_cast<UINT>(::GetDeviceCaps(canvas.get(), BITSPIXEL)), nullptr));
  const BITMAPINFO info = win32::Dib32Info(png.image.width, png.image.height);
  if (!bitmap || ::SetDIBits(canvas.get(), bitmap.get(), 0, static_cast<UINT>(png.image.height), pixels.data(),
                             &info, DIB_RGB_COLORS) != png.image.height)
    return {};
  width = png.image.width;
  height = png.image.height;
  return bitmap;
}

// Within a hundredth the file is drawn for this scale: its own pixels, untouched.
double Enlargement(const ScaledSkin& skin, double twipsPerPixel) {
  const double enlarge = skin.twipsPerPixel / twipsPerPixel;
  return std::abs(enlarge - 1.0) < 0.01 ? 1.0 : enlarge;
}

}  // namespace

win32::Bitmap DecodePngSkin(const std::wstring& path, int& width, int& height, double enlarge) {
  if (enlarge == 1.0) {
    if (win32::Bitmap bitmap = LoadUnscaled(path, width, height, RGB(255, 255, 255))) return bitmap;
  }
  // GDI+ lives only for one load, so no GDI+ state outlives a call.
  win32::GdiplusSession session;
  return LoadPictureGdiPlus(path, width, height, RGB(255, 255, 255), enlarge);
}

win32::Bitmap LoadPictureGdiPlus(const std::wstring& path, int& width, int& height, COLORREF backColor,
                                 double enlarge) {
  using namespace Gdiplus::DllExports;
  GpImageOwner image;
  if (GdipLoadImageFromFile(path.c_str(), &image.image) != Gdiplus::Ok) RaiseLoadError(path);
  if (width == -1 || height == -1) {
    UINT w = 0, h = 0;
    GdipGetImageWidth(image.image, &w);
    GdipGetImageHeight(image.image, &h);
    width = std::max(1, static_cast<int>(std::lround(w * enlarge)));
    height = std::max(1, static_cast<int>(std::lround(h * enlarge)));
  }

  // Canvas: a screen-compatible bitmap filled with the background colour.
  win32::MemoryDc canvas(::CreateCompatibleDC(nullptr));
  const int planes = ::GetDeviceCaps(canvas.get(), PLANES);
  const int bits = ::GetDeviceCaps(canvas.get(), BITSPIXEL);
  // A memory DC made without a reference answers the screen's planes and bits per pixel.
  win32::Bitmap bitmap(::CreateBitmap(width, height, static_cast<UINT>(planes), static_cast<UINT>(bits), nullptr));
  if (!bitmap) RaiseLoadError(path);
  {
    win32::SelectScope selectBitmap(canvas.get(), bitmap.get());
    win32::Brush brush(::CreateSolidBrush(backColor));
    {
      win32::SelectScope selectBrush(canvas.get(), brush.get());
      ::PatBlt(canvas.get(), 0, 0, width, height, PATCOPY);
    }
    Gdiplus::GpGraphics* graphics = nullptr;
    if (GdipCreateFromHDC(canvas.get(), &graphics) == Gdiplus::Ok) {
      GdipSetInterpolationMode(graphics, Gdiplus::InterpolationModeHighQualityBicubic);
      GdipDrawImageRectI(graphics, image.image, 0, 0, width, height);
      GdipDeleteGraphics(graphics);
    }
  }
  return bitmap;
}

ScaledSkin FindScaledSkin(const std::wstring& folder, const std::wstring& file, double twipsPerPixel) {
  const int percent = core::geometry::NearestSkinPercent(twipsPerPixel);
  if (percent != 100) {
    std::wstring scaled = folder + L"\\" + std::to_wstring(percent) + L"\\" + file;
    if (::GetFileAttributesW(scaled.c_str()) != INVALID_FILE_ATTRIBUTES) return {scaled, 1500.0 / percent};
  }
  return {folder + L"\\" + file, 15.0};
}

void LoadScaledSkin(const std::wstring& folder, const std::wstring& file, win32::PictureBox& box, bool fit,
                    double twipsPerPixel) {
  const ScaledSkin skin = FindScaledSkin(folder, file, twipsPerPixel);
  LoadPngSkin(skin.path, box, fit, Enlargement(skin, twipsPerPixel));
}

win32::Bitmap DecodeScaledSkin(const std::wstring& folder, const std::wstring& file, double twipsPerPixel) {
  const ScaledSkin skin = FindScaledSkin(folder, file, twipsPerPixel);
  int width = -1, height = -1;
  return DecodePngSkin(skin.path, width, height, Enlargement(skin, twipsPerPixel));
}

void CheckSkinFile(const std::wstring& path) {
  static constexpr unsigned char kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  win32::FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                       FILE_ATTRIBUTE_NORMAL, nullptr));
  unsigned char head[sizeof(kSignature)] = {};
  DWORD read = 0;
  if (!file || !::ReadFile(file.get(), head, sizeof(head), &read, nullptr) || read != sizeof(head) ||
      std::memcmp(head, kSignature, sizeof(head)) != 0)
    RaiseLoadError(path);
}

void LoadPngSkin(const std::wstring& path, win32::PictureBox& box, bool fit, double enlarge) {
  int width = -1, height = -1;
  if (fit && box.hwnd()) {
    // The box's inner size: its client area in pixels (its twips divided by the factor).
    RECT client;
    ::GetClientRect(box.hwnd(), &client);
    width = client.right;
    height = client.bottom;
  }
  box.SetPicture(DecodePngSkin(path, width, height, enlarge));
}

}  // namespace pravik::drawing
