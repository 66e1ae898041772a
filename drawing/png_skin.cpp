#include "drawing/png_skin.h"

#include <gdiplus.h>

#include <cstring>

#include "core/geometry/display_scale.h"
#include "win32/app_error.h"
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

}  // namespace

win32::Bitmap LoadPictureGdiPlus(const std::wstring& path, int& width, int& height, COLORREF backColor) {
  using namespace Gdiplus::DllExports;
  GpImageOwner image;
  if (GdipLoadImageFromFile(path.c_str(), &image.image) != Gdiplus::Ok) RaiseLoadError(path);
  if (width == -1 || height == -1) {
    UINT w = 0, h = 0;
    GdipGetImageWidth(image.image, &w);
    GdipGetImageHeight(image.image, &h);
    width = static_cast<int>(w);
    height = static_cast<int>(h);
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

std::wstring ScaledSkinPath(const std::wstring& folder, const std::wstring& file, double twipsPerPixel) {
  const int percent = core::geometry::NearestSkinPercent(twipsPerPixel);
  if (percent != 100) {
    std::wstring scaled = folder + L"\\" + std::to_wstring(percent) + L"\\" + file;
    if (::GetFileAttributesW(scaled.c_str()) != INVALID_FILE_ATTRIBUTES) return scaled;
  }
  return folder + L"\\" + file;
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

void LoadPngSkin(const std::wstring& path, win32::PictureBox& box, bool fit) {
  // GDI+ lives only for one load, so no GDI+ state outlives a call.
  win32::GdiplusSession session;
  int width = -1, height = -1;
  if (fit && box.hwnd()) {
    // The box's inner size: its client area in pixels (its twips divided by the factor).
    RECT client;
    ::GetClientRect(box.hwnd(), &client);
    width = client.right;
    height = client.bottom;
  }
  box.SetPicture(LoadPictureGdiPlus(path, width, height, RGB(255, 255, 255)));
}

}  // namespace pravik::drawing
