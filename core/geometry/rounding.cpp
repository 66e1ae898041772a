#include "core/geometry/rounding.h"

#include <cmath>
#include <cstdint>

namespace pravik::core::geometry {

std::int32_t RoundHalfEven(double value) {
  // Casting NaN or a value outside the 32-bit range is undefined: NaN counts as 0 and anything
  // else is held to the range first.
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT32_MAX;
  if (value <= -2147483648.0) return INT32_MIN;
  // nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
  return static_cast<std::int32_t>(std::nearbyint(value));
}

std::int32_t TwipsToPixels(std::int32_t twips, double twipsPerPixel) {
  return RoundHalfEven(static_cast<double>(twips) / twipsPerPixel);
}

}  // namespace pravik::core::geometry
