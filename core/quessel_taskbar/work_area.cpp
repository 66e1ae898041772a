#include "core/quessel_taskbar/work_area.h"

#include "core/geometry/rounding.h"

namespace pravik::core::quessel_taskbar {
namespace {

// In double throughout: the span between two extreme 32-bit edges does not fit 32 bits, and the
// rounding helper holds results to the 32-bit range.
double Scale(double pixels, double twipsPerPixel) { return pixels * twipsPerPixel / 15.0; }
double Span(std::int32_t from, std::int32_t to) { return static_cast<double>(to) - from; }

}  // namespace

TaskbarWorkArea ComputeTaskbarWorkArea(const TaskbarRect& bar, const TaskbarScreen& s) {
  const double sw = s.width;
  const double sh = s.height;
  TaskbarWorkArea area;
  if (bar.left == 0 && Scale(bar.right, s.twipsPerPixelX) == sw) {
    area.width = s.width;
    if (bar.top == 0) {
      area.type = kTaskbarTop;
      area.top = core::geometry::RoundHalfEven(Scale(bar.bottom, s.twipsPerPixelY));
      area.height = core::geometry::RoundHalfEven(sh - Scale(bar.bottom, s.twipsPerPixelY));
    } else {
      area.type = kTaskbarBottom;
      area.height = core::geometry::RoundHalfEven(sh - Scale(Span(bar.top, bar.bottom), s.twipsPerPixelY));
    }
    return area;
  }
  // The vertical test converts the bottom edge with the horizontal factor, as callers rely on.
  if (bar.top == 0 && Scale(bar.bottom, s.twipsPerPixelX) == sh) {
    area.height = s.height;
    if (bar.left == 0) {
      area.type = kTaskbarLeft;
      area.left = core::geometry::RoundHalfEven(Scale(bar.right, s.twipsPerPixelX));
      area.width = core::geometry::RoundHalfEven(sw - Scale(bar.right, s.twipsPerPixelX));
    } else {
      area.type = kTaskbarRight;
      area.width = core::geometry::RoundHalfEven(sw - Scale(Span(bar.left, bar.right), s.twipsPerPixelX));
    }
    return area;
  }
  return {};
}

}  // namespace pravik::core::quessel_taskbar
