#include "core/button/colour.h"

#include <algorithm>

#include "core/geometry/rounding.h"

namespace pravik::core::button {

namespace {
int ShiftChannel(int v, double a) noexcept {
  const int shifted = core::geometry::RoundHalfEven(v + a * 255.0);
  return a > 0 ? std::min(shifted, 255) : std::max(shifted, 0);
}
}  // namespace

Colour Shift(Colour c, double a) noexcept {
  return Rgb(ShiftChannel(Red(c), a), ShiftChannel(Green(c), a), ShiftChannel(Blue(c), a));
}

Colour Mix(Colour c1, Colour c2) noexcept {
  auto half = [](int u, int v) { return core::geometry::RoundHalfEven((u + v) / 2.0); };
  return Rgb(half(Red(c1), Red(c2)), half(Green(c1), Green(c2)), half(Blue(c1), Blue(c2)));
}

}  // namespace pravik::core::button
