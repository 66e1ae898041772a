// Saving a picture object as JPEG, GIF or PNG through the GDI+ encoders. Any GDI+ failure
// reaches the caller as error 5 with the GDI+ status number, after GDI+ has been shut down.
#include <windows.h>
#include <gdiplus.h>
#include <olectl.h>

#include <string>

#include "controllib/bstr.h"
#include "controllib/method_error.h"
#include "controllib/quessel.h"
#include "win32/com_ptr.h"
#include "win32/gdiplus_session.h"

namespace pravik::controllib {
namespace {

namespace gp = Gdiplus;

constexpr CLSID kJpegEncoder = {0x557CF401, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr CLSID kGifEncoder = {0x557CF402, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr CLSID kPngEncoder = {0x557CF406, 0x1A04, 0x11D3, {0x9A, 0x73, 0x00, 0x00, 0xF8, 0x1E, 0xF3, 0x2E}};
constexpr GUID kQuality = {0x1D5BE4B5, 0xFA4A, 0x452D, {0x9C, 0xDD, 0x5D, 0xB3, 0x51, 0x05, 0xE7, 0xEB}};

[[noreturn]] void FailWithStatus(int status) {
  throw MethodError(ErrorNumberToHresult(5), L"Cannot save the image. GDI+ Error:" + std::to_wstring(status),
                    L"Quessel");
}

class GpBitmapOwner {
 public:
  GpBitmapOwner() = default;
  GpBitmapOwner(const GpBitmapOwner&) = delete;
  GpBitmapOwner& operator=(const GpBitmapOwner&) = delete;
  ~GpBitmapOwner() {
    if (bitmap_) gp::DllExports::GdipDisposeImage(bitmap_);
  }
  gp::GpBitmap** put() noexcept { return &bitmap_; }
  [[nodiscard]] gp::GpBitmap* get() const noexcept { return bitmap_; }

 private:
  gp::GpBitmap* bitmap_ = nullptr;
};

HRESULT SavePicture(IPictureDisp** pict, BSTR filename, const CLSID& encoder, const long* quality) noexcept {
  return RunMethod([&] {
    if (!pict || !*pict) throw MethodError(ErrorNumberToHresult(91), L"Object variable not set", L"Quessel");
    win32::ComPtr<IPicture> picture;
    if (FAILED((*pict)->QueryInterface(IID_IPicture, picture.put_void())))
      throw MethodError(ErrorNumberToHresult(13), L"Type mismatch: not a picture", L"Quessel");
    // Only a bitmap can be handed to GDI+ as one; an icon or a metafile is the same type error.
    SHORT type = PICTYPE_UNINITIALIZED;
    if (FAILED(picture->get_Type(&type)) || type != PICTYPE_BITMAP)
      throw MethodError(ErrorNumberToHresult(13), L"Type mismatch: not a picture", L"Quessel");
    OLE_HANDLE handle = 0;
    picture->get_Handle(&handle);
    const std::wstring path(View(filename));
    int status = gp::Ok;
    {
      win32::GdiplusSession session;
      if (session.status() != gp::Ok) FailWithStatus(session.status());
      GpBitmapOwner bitmap;
      status = gp::DllExports::GdipCreateBitmapFromHBITMAP(reinterpret_cast<HBITMAP>(static_cast<UINT_PTR>(handle)),
                                                           nullptr, bitmap.put());
      if (status == gp::Ok) {
        gp::EncoderParameters parameters{};
        LONG value = quality ? *quality : 0;
        parameters.Count = 1;
        parameters.Parameter[0].Guid = kQuality;
        parameters.Parameter[0].NumberOfValues = 1;
        parameters.Parameter[0].Type = gp::EncoderParameterValueTypeLong;
        parameters.Parameter[0].Value = &value;
        status = gp::DllExports::GdipSaveImageToFile(bitmap.get(), path.c_str(), &encoder,
                                                     quality ? &parameters : nullptr);
      }
    }
    if (status != gp::Ok) FailWithStatus(status);
    return S_OK;
  });
}

}  // namespace

STDMETHODIMP Quessel::cSaveJPG(IPictureDisp** Pict, BSTR Filename, LONG* Quality0to100) noexcept {
  // Wine passes an omitted optional reference as null: the default quality is 80.
  const long quality = Quality0to100 ? *Quality0to100 : 80;
  return SavePicture(Pict, Filename, kJpegEncoder, &quality);
}

STDMETHODIMP Quessel::cSaveGIF(IPictureDisp** Pict, BSTR Filename) noexcept {
  return SavePicture(Pict, Filename, kGifEncoder, nullptr);
}

STDMETHODIMP Quessel::cSavePNG(IPictureDisp** Pict, BSTR Filename) noexcept {
  return SavePicture(Pict, Filename, kPngEncoder, nullptr);
}

}  // namespace pravik::controllib
