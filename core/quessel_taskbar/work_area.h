#pragma once
// The control's taskbar queries: where the taskbar lies and which part of the screen it leaves
// free. Pixel values from the taskbar rectangle are scaled by S(v) = v * t / 15 (t = twips per
// pixel) and compared for exact equality with the screen size, so that at other than 96 dots per
// inch the tests fail and every result falls to the "unrecognised" row, as callers expect.
#include <cstdint>

namespace pravik::core::quessel_taskbar {

struct TaskbarRect {
  std::int32_t left = 0, top = 0, right = 0, bottom = 0;
};

struct TaskbarScreen {
  std::int32_t width = 0;   // primary display, pixels
  std::int32_t height = 0;
  double twipsPerPixelX = 15;
  double twipsPerPixelY = 15;
};

// Position codes of cTaskBar_Type.
enum TaskbarType : std::int32_t { kTaskbarTop = 0, kTaskbarRight = 1, kTaskbarBottom = 2, kTaskbarLeft = 3 };

struct TaskbarWorkArea {
  std::int32_t type = kTaskbarTop;  // 0 also when the rectangle is not recognised
  std::int32_t left = 0, top = 0, width = 0, height = 0;
};

TaskbarWorkArea ComputeTaskbarWorkArea(const TaskbarRect& bar, const TaskbarScreen& screen);

}  // namespace pravik::core::quessel_taskbar
