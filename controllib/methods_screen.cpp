// Screen size and the taskbar queries; the work-area arithmetic lives in core/quessel_taskbar.
#include "controllib/quessel.h"
#include "core/quessel_taskbar/work_area.h"
#include "win32/handles.h"

namespace pravik::controllib {
namespace {

core::quessel_taskbar::TaskbarScreen ScreenNow() noexcept {
  win32::WindowDc screen(nullptr);
  core::quessel_taskbar::TaskbarScreen s;
  if (!screen.get()) return s;
  s.width = ::GetDeviceCaps(screen.get(), HORZRES);
  s.height = ::GetDeviceCaps(screen.get(), VERTRES);
  const int dpiX = ::GetDeviceCaps(screen.get(), LOGPIXELSX);
  const int dpiY = ::GetDeviceCaps(screen.get(), LOGPIXELSY);
  if (dpiX > 0) s.twipsPerPixelX = 1440.0 / dpiX;
  if (dpiY > 0) s.twipsPerPixelY = 1440.0 / dpiY;
  return s;
}

}  // namespace

RECT Quessel::QueryTaskbarRect() noexcept {
  taskbarRecord_.cbSize = sizeof taskbarRecord_;
  ::SHAppBarMessage(ABM_GETTASKBARPOS, &taskbarRecord_);
  return taskbarRecord_.rc;
}

STDMETHODIMP Quessel::cScreen_Width(LONG* result) noexcept {
  if (!result) return E_POINTER;
  *result = ScreenNow().width;
  return S_OK;
}

STDMETHODIMP Quessel::cScreen_Height(LONG* result) noexcept {
  if (!result) return E_POINTER;
  *result = ScreenNow().height;
  return S_OK;
}

namespace {

template <typename Pick>
HRESULT WorkAreaValue(const RECT& r, LONG* result, Pick pick) noexcept {
  if (!result) return E_POINTER;
  const core::quessel_taskbar::TaskbarWorkArea area = ComputeTaskbarWorkArea({r.left, r.top, r.right, r.bottom}, ScreenNow());
  *result = pick(area);
  return S_OK;
}

}  // namespace

STDMETHODIMP Quessel::cTaskBar_Type(LONG* result) noexcept {
  return WorkAreaValue(QueryTaskbarRect(), result, [](const core::quessel_taskbar::TaskbarWorkArea& a) { return a.type; });
}
STDMETHODIMP Quessel::cTask_Left(LONG* result) noexcept {
  return WorkAreaValue(QueryTaskbarRect(), result, [](const core::quessel_taskbar::TaskbarWorkArea& a) { return a.left; });
}
STDMETHODIMP Quessel::cTask_Top(LONG* result) noexcept {
  return WorkAreaValue(QueryTaskbarRect(), result, [](const core::quessel_taskbar::TaskbarWorkArea& a) { return a.top; });
}
STDMETHODIMP Quessel::cTask_Width(LONG* result) noexcept {
  return WorkAreaValue(QueryTaskbarRect(), result, [](const core::quessel_taskbar::TaskbarWorkArea& a) { return a.width; });
}
STDMETHODIMP Quessel::cTask_Height(LONG* result) noexcept {
  return WorkAreaValue(QueryTaskbarRect(), result, [](const core::quessel_taskbar::TaskbarWorkArea& a) { return a.height; });
}

}  // namespace pravik::controllib
