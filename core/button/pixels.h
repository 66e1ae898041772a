#pragma once
// Drawing primitives of the image button on a plain 32-bit pixel buffer (top-down rows of
// 0x00RRGGBB). Everything clips to the buffer, so faces of tiny buttons never write outside it.
#include <cstdint>
#include <vector>

#include "core/button/colour.h"

namespace pravik::core::button {

struct Rect {
  int left = 0, top = 0, right = 0, bottom = 0;  // right and bottom exclusive
  [[nodiscard]] int width() const noexcept { return right - left; }
  [[nodiscard]] int height() const noexcept { return bottom - top; }
  [[nodiscard]] Rect Moved(int dx, int dy) const noexcept { return {left + dx, top + dy, right + dx, bottom + dy}; }
  bool operator==(const Rect&) const = default;
};

// A view of pixels someone else owns (a DIB section, or a PixelBuffer).
struct PixelView {
  Pixel* bits = nullptr;
  int width = 0;
  int height = 0;
  int stride = 0;  // pixels per row

  [[nodiscard]] bool Contains(int x, int y) const noexcept { return x >= 0 && y >= 0 && x < width && y < height; }
  [[nodiscard]] Pixel At(int x, int y) const noexcept { return bits[y * stride + x] & 0x00FFFFFFu; }
  void Put(int x, int y, Pixel p) noexcept {
    if (Contains(x, y)) bits[y * stride + x] = p & 0x00FFFFFFu;
  }
};

// An owned buffer: pictures, and test surfaces.
struct PixelBuffer {
  int width = 0;
  int height = 0;
  std::vector<Pixel> pixels;  // 0xAARRGGBB; alpha is used only by pictures with alpha

  PixelBuffer() = default;
  PixelBuffer(int w, int h, Pixel fill = 0);
  [[nodiscard]] PixelView View() noexcept { return {pixels.data(), width, height, width}; }
  [[nodiscard]] Colour ColourAt(int x, int y) const noexcept { return FromPixel(pixels[y * width + x]); }
};

// The platform's three-dimensional edge colours and the other system colours the faces use.
struct SystemColours {
  Colour buttonFace = Hex(0xF0F0F0);
  Colour buttonText = Hex(0x000000);
  Colour grayText = Hex(0x6D6D6D);
  Colour appWorkspace = Hex(0xABABAB);
  Colour light3d = Hex(0xE3E3E3);
  Colour highlight3d = Hex(0xFFFFFF);
  Colour shadow3d = Hex(0xA0A0A0);
  Colour darkShadow3d = Hex(0x696969);
};

enum class EdgeKind { Raised, RaisedInner, Sunken };

void Fill(PixelView& px, Rect r, Colour c) noexcept;
void Frame(PixelView& px, int x, int y, int w, int h, Colour c) noexcept;
// One-pixel line, end point not drawn.
void Line(PixelView& px, int x1, int y1, int x2, int y2, Colour c) noexcept;
// dir 0 left to right, 1 top to bottom, 2 diagonal from top left, 3 diagonal from bottom left.
void Gradient(PixelView& px, int x, int y, int w, int h, Colour c1, Colour c2, int dir);
// Single pixels at (1, 1), (1, H - 2), (W - 2, 1), (W - 2, H - 2).
void Corners(PixelView& px, Colour c) noexcept;
void Edge(PixelView& px, Rect r, EdgeKind kind, const SystemColours& sys) noexcept;
// A dotted rectangle that inverts every other pixel of its outline, as a focus rectangle does.
void DottedFocusRect(PixelView& px, Rect r) noexcept;

// The ramp a gradient paints: n + 1 entries, per channel u + (v - u) * i / n truncated. A count
// past kMaxRampSteps is held to it (no screen shows more).
inline constexpr int kMaxRampSteps = 1 << 16;
std::vector<Colour> GradientRamp(Colour c1, Colour c2, int n);

}  // namespace pravik::core::button
