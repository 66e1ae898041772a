#pragma once
// GDI+ started for the length of a scope, so no GDI+ state outlives the work that needed it.
#include <windows.h>
#include <gdiplus.h>

namespace pravik::win32 {

class GdiplusSession {
 public:
  GdiplusSession() noexcept {
    Gdiplus::GdiplusStartupInput input;
    status_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr);
  }
  GdiplusSession(const GdiplusSession&) = delete;
  GdiplusSession& operator=(const GdiplusSession&) = delete;
  ~GdiplusSession() {
    if (status_ == Gdiplus::Ok) Gdiplus::GdiplusShutdown(token_);
  }
  [[nodiscard]] Gdiplus::Status status() const noexcept { return status_; }

 private:
  ULONG_PTR token_ = 0;
  Gdiplus::Status status_ = Gdiplus::GenericError;
};

}  // namespace pravik::win32
