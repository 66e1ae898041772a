#include "core/geometry/taskbar.h"

namespace pravik::core::geometry {
namespace {

bool SameSingle(double a, double b) { return static_cast<float>(a) == static_cast<float>(b); }

}  // namespace

TaskbarEdge DeriveTaskbarEdge(const PixelRect& r, const ScreenMetrics& s) {
  const double rightTwips = r.right * s.twipsPerPixelX;
  const double bottomTwips = r.bottom * s.twipsPerPixelX;
  if (r.top > 0 && r.left == 0 && SameSingle(rightTwips, s.widthTwips)) return TaskbarEdge::Bottom;
  if (r.top == 0 && r.left == 0 && SameSingle(rightTwips, s.widthTwips)) return TaskbarEdge::Top;
  if (r.top == 0 && r.left == 0 && SameSingle(bottomTwips, s.heightTwips)) return TaskbarEdge::Left;
  if (r.top == 0 && r.left > 0 && SameSingle(bottomTwips, s.heightTwips)) return TaskbarEdge::Right;
  return TaskbarEdge::None;
}

std::optional<TwipsPoint> PlaceInCorner(std::int32_t corner, const PixelRect& r, const ScreenMetrics& s,
                                        double width, double height) {
  if (corner < 1 || corner > 4) return std::nullopt;
  const TaskbarEdge edge = DeriveTaskbarEdge(r, s);
  // In double: the difference of two extreme 32-bit edges does not fit 32 bits.
  const double barHeight = (static_cast<double>(r.bottom) - r.top) * s.twipsPerPixelY;
  const double barWidth = (static_cast<double>(r.right) - r.left) * s.twipsPerPixelX;
  const bool topRow = corner == 1 || corner == 2;
  const bool leftColumn = corner == 1 || corner == 3;

  TwipsPoint p;
  if (topRow)
    p.top = edge == TaskbarEdge::Top ? barHeight : 0;
  else
    p.top = s.heightTwips - height - (edge == TaskbarEdge::Bottom ? barHeight : 0);
  if (leftColumn)
    p.left = edge == TaskbarEdge::Left ? barWidth : 0;
  else
    p.left = s.widthTwips - width - (edge == TaskbarEdge::Right ? barWidth : 0);
  return p;
}

}  // namespace pravik::core::geometry
