#include "core/geometry/rounding.h"

#include <cmath>

namespace pravik::core::geometry {

std::int32_t RoundHalfEven(double value) {
  // nearbyint follows the current rounding mode, which is round-to-nearest-even by default.
  return static_cast<std::int32_t>(std::nearbyint(value));
}

std::int32_t TwipsToPixels(std::int32_t twips, double twipsPerPixel) {
  return RoundHalfEven(static_cast<double>(twips) / twipsPerPixel);
}

}  // namespace pravik::core::geometry
