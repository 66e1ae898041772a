#pragma once
#include <cstdint>
#include <optional>

namespace pravik::core::geometry {

struct PixelRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

enum class TaskbarEdge { None, Bottom, Top, Left, Right };

// The screen as the placement arithmetic sees it: size in twips and the twips-per-pixel factors.
struct ScreenMetrics {
  double widthTwips = 0;   // SW
  double heightTwips = 0;  // SH
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
};

// Which edge the taskbar rectangle lies on. The comparisons with the screen size are exact
// equality tests on single-precision values, and both r.right and r.bottom are converted with
// the horizontal factor; a rectangle that meets no condition counts as no taskbar.
TaskbarEdge DeriveTaskbarEdge(const PixelRect& taskbar, const ScreenMetrics& screen);

enum class WindowCorner : std::int32_t { TopLeft = 1, TopRight = 2, BottomLeft = 3, BottomRight = 4 };

struct TwipsPoint {
  double top = 0;
  double left = 0;
};

// Where a window of the given outer size (twips) goes for a corner value; nothing for a corner
// value outside 1..4, which leaves the window where it is.
std::optional<TwipsPoint> PlaceInCorner(std::int32_t corner, const PixelRect& taskbar,
                                        const ScreenMetrics& screen, double widthTwips,
                                        double heightTwips);

}  // namespace pravik::core::geometry
