#include "startup/placement.h"

#include <shellapi.h>

#include <optional>

#include "core/geometry/rounding.h"
#include "core/geometry/taskbar.h"

namespace pravik::startup {
namespace {

#if PRAVIK_TEST_SEAMS
std::optional<RECT> injectedTaskbar;
#endif

core::geometry::ScreenMetrics Screen() {
  core::geometry::ScreenMetrics screen;
  screen.twipsPerPixelX = TwipsPerPixelX();
  screen.twipsPerPixelY = TwipsPerPixelY();
  screen.widthTwips = ::GetSystemMetrics(SM_CXSCREEN) * screen.twipsPerPixelX;
  screen.heightTwips = ::GetSystemMetrics(SM_CYSCREEN) * screen.twipsPerPixelY;
  return screen;
}

double AxisTwipsPerPixel(int axis) {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, axis) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  return core::geometry::TwipsPerPixelAt(dpi, dpi).x;
}

// The system's factors are fixed for a log-on session; a per-monitor DPI change replaces them.
// The slide timers ask for them on every tick.
core::geometry::TwipsPerPixel& CurrentTwipsPerPixel() {
  static core::geometry::TwipsPerPixel factor{AxisTwipsPerPixel(LOGPIXELSX), AxisTwipsPerPixel(LOGPIXELSY)};
  return factor;
}

}  // namespace

double TwipsPerPixelX() { return CurrentTwipsPerPixel().x; }
double TwipsPerPixelY() { return CurrentTwipsPerPixel().y; }

core::geometry::TwipsPerPixel ScreenTwipsPerPixel() { return CurrentTwipsPerPixel(); }

void SetScreenDpi(int dpiX, int dpiY) { CurrentTwipsPerPixel() = core::geometry::TwipsPerPixelAt(dpiX, dpiY); }

std::int32_t TwipsToPixels(std::int32_t twips, bool horizontal) {
  return core::geometry::TwipsToPixels(twips, horizontal ? TwipsPerPixelX() : TwipsPerPixelY());
}

#if PRAVIK_TEST_SEAMS
void InjectTaskbarRect(const RECT& taskbar) { injectedTaskbar = taskbar; }
#endif

RECT TaskbarRect() {
#if PRAVIK_TEST_SEAMS
  if (injectedTaskbar) return *injectedTaskbar;
#endif
  APPBARDATA bar{};
  bar.cbSize = sizeof(bar);
  ::SHAppBarMessage(ABM_GETTASKBARPOS, &bar);
  return bar.rc;
}

bool TaskbarExists() {
#if PRAVIK_TEST_SEAMS
  if (injectedTaskbar) return !::IsRectEmpty(&*injectedTaskbar);
#endif
  return ::FindWindowW(L"Shell_TrayWnd", nullptr) != nullptr;
}

core::geometry::PixelRect WorkArea() {
#if PRAVIK_TEST_SEAMS
  if (injectedTaskbar) {
    const RECT& t = *injectedTaskbar;
    core::geometry::PixelRect area{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
    switch (core::geometry::DeriveTaskbarEdge({t.left, t.top, t.right, t.bottom}, Screen())) {
      case core::geometry::TaskbarEdge::Bottom: area.bottom = t.top; break;
      case core::geometry::TaskbarEdge::Top: area.top = t.bottom; break;
      case core::geometry::TaskbarEdge::Left: area.left = t.right; break;
      case core::geometry::TaskbarEdge::Right: area.right = t.left; break;
      case core::geometry::TaskbarEdge::None: break;
    }
    return area;
  }
#endif
  RECT work{0, 0, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CYSCREEN)};
  ::SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  return {work.left, work.top, work.right, work.bottom};
}

Taskbar FindTaskbar() { return {TaskbarRect(), TaskbarExists()}; }

void PlaceWindow(std::int32_t corner, HWND window, const RECT& bar) {
  const core::geometry::ScreenMetrics screen = Screen();

  RECT outer;
  ::GetWindowRect(window, &outer);
  const double width = (outer.right - outer.left) * screen.twipsPerPixelX;
  const double height = (outer.bottom - outer.top) * screen.twipsPerPixelY;
  const core::geometry::PixelRect taskbar{bar.left, bar.top, bar.right, bar.bottom};
  const auto place = core::geometry::PlaceInCorner(corner, taskbar, screen, width, height);
  if (!place) return;
  ::SetWindowPos(window, nullptr, core::geometry::RoundHalfEven(place->left / screen.twipsPerPixelX),
                 core::geometry::RoundHalfEven(place->top / screen.twipsPerPixelY), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace pravik::startup
