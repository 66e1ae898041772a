#include "core/geometry/display_scale.h"

#include <algorithm>
#include <cmath>

#include "core/geometry/rounding.h"

namespace pravik::core::geometry {

TwipsPerPixel TwipsPerPixelAt(int dpiX, int dpiY) {
  return {1440.0 / (dpiX > 0 ? dpiX : 96), 1440.0 / (dpiY > 0 ? dpiY : 96)};
}

PixelRect KeepInside(const PixelRect& w, const PixelRect& area) {
  // Back in from the far edge first, then from the near edge, which wins for a window larger
  // than the area.
  std::int32_t dx = w.right > area.right ? area.right - w.right : 0;
  if (w.left + dx < area.left) dx = area.left - w.left;
  std::int32_t dy = w.bottom > area.bottom ? area.bottom - w.bottom : 0;
  if (w.top + dy < area.top) dy = area.top - w.top;
  return {w.left + dx, w.top + dy, w.right + dx, w.bottom + dy};
}

TwipsPerPixel FitWithin(TwipsPerPixel screen, std::int32_t widthTwips, std::int32_t heightTwips, std::int32_t areaWidth,
                        std::int32_t areaHeight) {
  if (TwipsToPixels(widthTwips, screen.x) <= areaWidth && TwipsToPixels(heightTwips, screen.y) <= areaHeight)
    return screen;
  if (areaWidth <= 0 || areaHeight <= 0) return screen;
  // The same enlargement of the factor on both axes keeps the proportions.
  const double k = std::max(widthTwips / (areaWidth * screen.x), heightTwips / (areaHeight * screen.y));
  return {screen.x * k, screen.y * k};
}

int NearestSkinPercent(double twipsPerPixel) {
  const double percent = 1500.0 / twipsPerPixel;
  int best = 100;
  for (int set : {100, 125, 150, 200})
    if (std::abs(percent - set) <= std::abs(percent - best)) best = set;
  return best;
}

}  // namespace pravik::core::geometry
