#pragma once
// The screen's scale as twips per pixel, and the arithmetic that keeps scaled windows on the
// screen: moved only as far as needed, shrunk only where the area is too small for them.
#include <cstdint>

#include "core/geometry/taskbar.h"

namespace pravik::core::geometry {

// Twips per pixel on each axis: 1440 / dots per inch, so 15 at 96 (100 %) and 12 at 120 (125 %).
struct TwipsPerPixel {
  double x = 15;
  double y = 15;
  bool operator==(const TwipsPerPixel&) const = default;
};
TwipsPerPixel TwipsPerPixelAt(int dpiX, int dpiY);

// The rectangle moved only as far as needed to lie inside the area, its size unchanged. One
// larger than the area keeps its left and top edges on the area's.
PixelRect KeepInside(const PixelRect& window, const PixelRect& area);

// The factor at which something widthTwips x heightTwips is drawn inside an area of the given
// pixels: the screen's own where it fits there, otherwise the largest uniform scale that fits.
TwipsPerPixel FitWithin(TwipsPerPixel screen, std::int32_t widthTwips, std::int32_t heightTwips, std::int32_t areaWidth,
                        std::int32_t areaHeight);

// The skin set (100, 125, 150 or 200 %) drawn nearest to a factor; ties go to the larger set.
int NearestSkinPercent(double twipsPerPixel);

}  // namespace pravik::core::geometry
