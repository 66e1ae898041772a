#include "startup/placement.h"

#include <shellapi.h>

#include "core/geometry/rounding.h"
#include "core/geometry/taskbar.h"

namespace pravik::startup {
namespace {

double ScreenTwipsPerPixel(int axis) {
  HDC screen = ::GetDC(nullptr);
  const int dpi = screen ? ::GetDeviceCaps(screen, axis) : 96;
  if (screen) ::ReleaseDC(nullptr, screen);
  return 1440.0 / (dpi > 0 ? dpi : 96);
}

}  // namespace

// The factors are fixed for a log-on session; the slide timers ask for them on every tick.
double TwipsPerPixelX() {
  static const double factor = ScreenTwipsPerPixel(LOGPIXELSX);
  return factor;
}
double TwipsPerPixelY() {
  static const double factor = ScreenTwipsPerPixel(LOGPIXELSY);
  return factor;
}

std::int32_t TwipsToPixels(std::int32_t twips, bool horizontal) {
  return core::geometry::TwipsToPixels(twips, horizontal ? TwipsPerPixelX() : TwipsPerPixelY());
}

void PlaceWindow(std::int32_t corner, HWND window) {
  APPBARDATA bar{};
  bar.cbSize = sizeof(bar);
  ::SHAppBarMessage(ABM_GETTASKBARPOS, &bar);

  core::geometry::ScreenMetrics screen;
  screen.twipsPerPixelX = TwipsPerPixelX();
  screen.twipsPerPixelY = TwipsPerPixelY();
  screen.widthTwips = ::GetSystemMetrics(SM_CXSCREEN) * screen.twipsPerPixelX;
  screen.heightTwips = ::GetSystemMetrics(SM_CYSCREEN) * screen.twipsPerPixelY;

  RECT outer;
  ::GetWindowRect(window, &outer);
  const double width = (outer.right - outer.left) * screen.twipsPerPixelX;
  const double height = (outer.bottom - outer.top) * screen.twipsPerPixelY;
  const core::geometry::PixelRect taskbar{bar.rc.left, bar.rc.top, bar.rc.right, bar.rc.bottom};
  const auto place = core::geometry::PlaceInCorner(corner, taskbar, screen, width, height);
  if (!place) return;
  ::SetWindowPos(window, nullptr, core::geometry::RoundHalfEven(place->left / screen.twipsPerPixelX),
                 core::geometry::RoundHalfEven(place->top / screen.twipsPerPixelY), 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void SetWindowTopmost(HWND window, bool topmost) {
  ::SetWindowPos(window, topmost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

}  // namespace pravik::startup
