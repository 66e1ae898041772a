#pragma once
// The start button's sliding: its Left in twips (single precision), 20 twips a tick, out to the
// hidden position H = -(2/3 x Width) and back to 0. Two timers drive it; each tick here says
// what the timers do next.
#include <cstdint>

namespace pravik::core::startbutton {

constexpr float kSlideStepTwips = 20;

// H for a window of the given outer width in twips: -390 for 585.
std::int32_t HiddenLeft(double widthTwips);

struct SlideTick {
  float left;         // the window's new Left
  bool stopMove;      // stop the slide-out timer (timMove)
  bool stopMoveView;  // stop the slide-in timer (timMoveView)
};

// One tick of timMove: step left until H is reached, then settle on H and stop.
SlideTick SlideOutTick(float left, double widthTwips);
// One tick of timMoveView: step right (cancelling a slide-out) until 0 is reached or passed.
SlideTick SlideInTick(float left);

}  // namespace pravik::core::startbutton
