#include "core/button/pixels.h"

#include <algorithm>
#include <climits>
#include <cstdlib>

namespace pravik::core::button {

PixelBuffer::PixelBuffer(int w, int h, Pixel fill)
    : width(std::max(w, 0)), height(std::max(h, 0)), pixels(static_cast<std::size_t>(width) * height, fill) {}

void Fill(PixelView& px, Rect r, Colour c) noexcept {
  const int l = std::max(r.left, 0), t = std::max(r.top, 0);
  const int rr = std::min(r.right, px.width), b = std::min(r.bottom, px.height);
  // Nothing to fill: no pointer is formed at all (one past a clipped edge may lie far outside).
  if (l >= rr || t >= b) return;
  const Pixel p = ToPixel(c);
  for (int y = t; y < b; ++y) std::fill(px.bits + y * px.stride + l, px.bits + y * px.stride + rr, p);
}

void Frame(PixelView& px, int x, int y, int w, int h, Colour c) noexcept {
  if (w <= 0 || h <= 0) return;
  // Edges in 64 bits, held to int: a far-off or huge frame clips instead of overflowing.
  auto at = [](long long v) { return static_cast<int>(std::clamp<long long>(v, INT_MIN, INT_MAX)); };
  const int right = at(static_cast<long long>(x) + w), bottom = at(static_cast<long long>(y) + h);
  const int lastColumn = at(right - 1LL), lastRow = at(bottom - 1LL);
  Fill(px, {x, y, right, at(y + 1LL)}, c);
  Fill(px, {x, lastRow, right, bottom}, c);
  Fill(px, {x, y, at(x + 1LL), bottom}, c);
  Fill(px, {lastColumn, y, right, bottom}, c);
}

void Line(PixelView& px, int x1, int y1, int x2, int y2, Colour c) noexcept {
  // Far past anything a face draws, the step arithmetic would overflow and the walk take
  // billions of steps: such a line is not drawn.
  constexpr int kFar = 1 << 16;
  for (int v : {x1, y1, x2, y2})
    if (v > kFar || v < -kFar) return;
  const Pixel p = ToPixel(c);
  const int dx = std::abs(x2 - x1), dy = -std::abs(y2 - y1);
  const int sx = x1 < x2 ? 1 : -1, sy = y1 < y2 ? 1 : -1;
  int err = dx + dy;
  int x = x1, y = y1;
  while (x != x2 || y != y2) {
    px.Put(x, y, p);
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y += sy;
    }
  }
}

namespace {
// Entry i of an n-step ramp, in 64 bits so a huge n or i cannot overflow.
Colour RampAt(Colour c1, Colour c2, long long i, long long n) noexcept {
  auto ch = [&](int u, int v) { return static_cast<int>(u + static_cast<long long>(v - u) * i / n); };
  return Rgb(ch(Red(c1), Red(c2)), ch(Green(c1), Green(c2)), ch(Blue(c1), Blue(c2)));
}
}  // namespace

std::vector<Colour> GradientRamp(Colour c1, Colour c2, int n) {
  if (n <= 0) {
    // One entry: each channel's halves, both truncated.
    return {Rgb(Red(c1) / 2 + Red(c2) / 2, Green(c1) / 2 + Green(c2) / 2, Blue(c1) / 2 + Blue(c2) / 2)};
  }
  // No more entries than a picture could show; the last entry is always the end colour.
  const long long steps = std::min<long long>(n, kMaxRampSteps);
  std::vector<Colour> ramp(static_cast<std::size_t>(steps) + 1);
  for (long long i = 0; i <= steps; ++i) ramp[static_cast<std::size_t>(i)] = RampAt(c1, c2, i, steps);
  return ramp;
}

void Gradient(PixelView& px, int x, int y, int w, int h, Colour c1, Colour c2, int dir) {
  if (w <= 0 || h <= 0) return;
  // Colours are worked out for the visible pixels only, in 64 bits: a huge or far-off rectangle
  // costs no more than the buffer and reads no ramp outside its range.
  const long long n = dir == 0 ? w - 1LL : dir == 1 ? h - 1LL : static_cast<long long>(w) + h - 2;
  const Colour middle = GradientRamp(c1, c2, 0).front();
  auto colourAt = [&](long long i) { return n <= 0 ? middle : RampAt(c1, c2, i, n); };
  const long long top = std::max<long long>(y, 0), bottom = std::min<long long>(static_cast<long long>(y) + h, px.height);
  const long long left = std::max<long long>(x, 0), right = std::min<long long>(static_cast<long long>(x) + w, px.width);
  for (long long py = top; py < bottom; ++py) {
    const long long row = py - y;
    Pixel* line = px.bits + py * px.stride;
    if (dir == 1) {
      if (left < right) std::fill(line + left, line + right, ToPixel(colourAt(row)));
      continue;
    }
    const long long diagonalRow = dir == 3 ? h - 1LL - row : row;
    for (long long pxX = left; pxX < right; ++pxX) {
      const long long col = pxX - x;
      line[pxX] = ToPixel(colourAt(dir == 0 ? col : col + diagonalRow));
    }
  }
}

void Corners(PixelView& px, Colour c) noexcept {
  const Pixel p = ToPixel(c);
  px.Put(1, 1, p);
  px.Put(1, px.height - 2, p);
  px.Put(px.width - 2, 1, p);
  px.Put(px.width - 2, px.height - 2, p);
}

namespace {
// One border ring: top and left in the first colour, bottom and right (corners included) in the second.
void Ring(PixelView& px, Rect r, Colour topLeft, Colour bottomRight) noexcept {
  if (r.width() <= 0 || r.height() <= 0) return;
  Fill(px, {r.left, r.top, r.right - 1, r.top + 1}, topLeft);
  Fill(px, {r.left, r.top, r.left + 1, r.bottom - 1}, topLeft);
  Fill(px, {r.left, r.bottom - 1, r.right, r.bottom}, bottomRight);
  Fill(px, {r.right - 1, r.top, r.right, r.bottom}, bottomRight);
}
}  // namespace

void Edge(PixelView& px, Rect r, EdgeKind kind, const SystemColours& sys) noexcept {
  const Rect inner{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1};
  switch (kind) {
    case EdgeKind::Raised:
      Ring(px, r, sys.light3d, sys.darkShadow3d);
      Ring(px, inner, sys.highlight3d, sys.shadow3d);
      break;
    case EdgeKind::RaisedInner:
      Ring(px, r, sys.highlight3d, sys.shadow3d);
      break;
    case EdgeKind::Sunken:
      Ring(px, r, sys.shadow3d, sys.highlight3d);
      Ring(px, inner, sys.darkShadow3d, sys.light3d);
      break;
  }
}

void DottedFocusRect(PixelView& px, Rect r) noexcept {
  if (r.width() <= 0 || r.height() <= 0) return;
  auto invert = [&](int x, int y) {
    if (((x + y) & 1) == 0 && px.Contains(x, y)) px.Put(x, y, ~px.At(x, y));
  };
  for (int x = r.left; x < r.right; ++x) {
    invert(x, r.top);
    if (r.bottom - 1 != r.top) invert(x, r.bottom - 1);
  }
  for (int y = r.top + 1; y < r.bottom - 1; ++y) {
    invert(r.left, y);
    if (r.right - 1 != r.left) invert(r.right - 1, y);
  }
}

}  // namespace pravik::core::button
