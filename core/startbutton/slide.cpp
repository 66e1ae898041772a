#include "core/startbutton/slide.h"

#include "core/geometry/rounding.h"

namespace pravik::core::startbutton {

std::int32_t HiddenLeft(double widthTwips) { return core::geometry::RoundHalfEven(-(2.0 / 3.0 * widthTwips)); }

SlideTick SlideOutTick(float left, double widthTwips) {
  const std::int32_t a = core::geometry::RoundHalfEven(left);
  const std::int32_t hidden = HiddenLeft(widthTwips);
  if (hidden < a) return {left - kSlideStepTwips, false, false};
  return {static_cast<float>(hidden), true, false};
}

SlideTick SlideInTick(float left) {
  const std::int32_t a = core::geometry::RoundHalfEven(left);
  if (a == 0) return {left, false, true};
  if (a < 0) return {left + kSlideStepTwips, true, false};
  return {0.0f, false, true};
}

}  // namespace pravik::core::startbutton
