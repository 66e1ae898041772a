// The drawing and geometry core at any sizes and places: button faces and primitives on a small
// buffer with extreme coordinates, the contents layout, the shadow strips, the taskbar work area
// and placement, and the rounding helper.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstddef>
#include <cstdint>

#include "core/button/faces.h"
#include "core/button/layout.h"
#include "core/button/pixels.h"
#include "core/geometry/rounding.h"
#include "core/geometry/taskbar.h"
#include "core/quessel_taskbar/work_area.h"
#include "core/shadow/shadow_strips.h"

using namespace pravik::core;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  FuzzedDataProvider in(data, size);
  auto any = [&] { return in.ConsumeIntegral<int>(); };
  // The buffer itself stays small; everything drawn on it may be anywhere.
  button::PixelBuffer buffer(in.ConsumeIntegralInRange(0, 64), in.ConsumeIntegralInRange(0, 64));
  button::PixelView view = buffer.View();
  const button::Colour c1 = in.ConsumeIntegral<std::uint32_t>() & 0xFFFFFF, c2 = in.ConsumeIntegral<std::uint32_t>() & 0xFFFFFF;
  button::Gradient(view, any(), any(), any(), any(), c1, c2, in.ConsumeIntegralInRange(0, 3));
  button::Fill(view, {any(), any(), any(), any()}, c1);
  button::Frame(view, any(), any(), any(), any(), c2);
  button::Line(view, any(), any(), any(), any(), c1);
  (void)button::GradientRamp(c1, c2, in.ConsumeIntegralInRange(-5, 1 << 20));

  button::FaceState face;
  face.style = in.ConsumeIntegralInRange(0, 15);
  face.scheme = in.ConsumeIntegralInRange(0, 8);
  face.state = static_cast<button::ButtonState>(in.ConsumeIntegralInRange(0, 2));
  face.checked = in.ConsumeBool();
  face.pointerOver = in.ConsumeBool();
  face.hasFocus = in.ConsumeBool();
  face.showFocusRect = in.ConsumeBool();
  face.base = c1;
  button::FaceHooks hooks;
  button::PaintFace(view, face, hooks);

  button::LayoutInput layout;
  layout.width = any();
  layout.height = any();
  layout.style = face.style;
  layout.pictureAlign = in.ConsumeIntegralInRange(0, 8);
  layout.captionAlign = in.ConsumeIntegralInRange(0, 2);
  layout.hasNormalPicture = in.ConsumeBool();
  layout.picW = any();
  layout.picH = any();
  layout.captionBlank = in.ConsumeBool();
  layout.textW = any();
  layout.textH = any();
  layout.dropDownSymbol = in.ConsumeIntegralInRange(0, 6);
  (void)button::LayoutContents(layout);

  const std::int32_t x = any(), y = any(), cx = any(), cy = any(), depth = in.ConsumeIntegralInRange(-8, 64);
  for (const auto strip : {shadow::Strip::kRight, shadow::Strip::kBottom}) {
    const shadow::StripRect r = strip == shadow::Strip::kRight ? shadow::RightStripRect(x, y, cx, cy, depth)
                                                               : shadow::BottomStripRect(x, y, cx, cy, depth);
    if (r.width > 1 << 15 || r.height > 1 << 15) __builtin_trap();  // never larger than a screen
    // The pixels themselves only for small strips: big ones cost time, not coverage.
    if (static_cast<long long>(r.width) * r.height > 1 << 14) continue;
    const auto pixels = shadow::StripPixels(strip, r.width, r.height, c1, in.ConsumeBool());
    if (!pixels.empty() && pixels.size() != static_cast<std::size_t>(r.width) * static_cast<std::size_t>(r.height))
      __builtin_trap();
  }
  (void)shadow::RightStripAlpha(any(), any(), any(), any());
  (void)shadow::BottomStripAlpha(any(), any(), any(), any());

  const double factor = in.ConsumeFloatingPoint<double>();
  (void)quessel_taskbar::ComputeTaskbarWorkArea({any(), any(), any(), any()}, {any(), any(), factor, factor});
  const geometry::ScreenMetrics screen{in.ConsumeFloatingPoint<double>(), in.ConsumeFloatingPoint<double>(), factor,
                                       factor};
  (void)geometry::PlaceInCorner(in.ConsumeIntegralInRange(0, 5), {any(), any(), any(), any()}, screen,
                                in.ConsumeFloatingPoint<double>(), in.ConsumeFloatingPoint<double>());
  (void)geometry::RoundHalfEven(in.ConsumeFloatingPoint<double>());
  (void)geometry::TwipsToPixels(any(), factor);
  return 0;
}
