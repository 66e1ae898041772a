#include "core/button/layout.h"

#include <algorithm>
#include <cstdlib>

#include "core/geometry/rounding.h"

namespace pravik::core::button {

int GlyphRoom(int dropDownSymbol, bool dropDownSeparator, int pictureAlign) noexcept {
  if (dropDownSymbol == 0 && !dropDownSeparator) return 0;
  return (pictureAlign == 2 || pictureAlign == 3) ? 24 : 16;
}

namespace {
// Sizes past what a screen can hold are held to it, so the sums below stay far inside int.
constexpr int kMaxSize = 1 << 16;
int Held(int v) noexcept { return std::clamp(v, -kMaxSize, kMaxSize); }
}  // namespace

LayoutResult LayoutContents(const LayoutInput& raw) noexcept {
  LayoutInput in = raw;
  for (int* v : {&in.width, &in.height, &in.picW, &in.picH, &in.textW, &in.textH}) *v = Held(*v);
  const int W = in.width, H = in.height, picW = in.picW, picH = in.picH;
  const bool glyphShown = in.dropDownSymbol != 0 || in.dropDownSeparator;
  LayoutResult out;
  Rect r{0, 0, in.textW, in.textH};

  switch (in.captionAlign) {
    case 0:
      r = r.Moved(2, (H - in.textH) / 2);
      break;
    case 2:
      r = r.Moved(W - in.textW - 4, (H - in.textH) / 2);
      break;
    default:
      r = r.Moved((W - in.textW + picW) / 2, (H - in.textH) / 2);
      if (glyphShown) r = r.Moved(-8, 0);
      if (in.pictureAlign >= 5 && in.pictureAlign <= 8) r = r.Moved(-(picW / 2), 0);
      break;
  }

  if (in.hasNormalPicture) {
    switch (in.pictureAlign) {
      case 2:
      case 3:
        if (r.right > W - picW - 4) {
          r.right = W - picW - 4;
          r.left = r.left - picW - 4;
        }
        if (in.captionAlign == 1) r = r.Moved(-12, 0);
        break;
      case 4:
        if (in.captionAlign == 1) r = r.Moved(-16, 0);
        break;
      case 5:
      case 6:
        r = r.Moved(0, picH / 2);
        break;
      case 7:
      case 8:
        r = r.Moved(0, -(picH / 2));
        break;
      default:  // 0, 1
        if (in.captionAlign != 1 && r.left < picW + 4) {
          r.left = picW + 4;
          r.right = r.right + picW + 4;
        }
        break;
    }
  }

  if (in.captionAlign == 2 && glyphShown) r = r.Moved(-16, 0);
  if (in.style == 13) {
    r.left = std::max(r.left, 4);
    r.top = std::max(r.top, 4);
    r.right = std::min(r.right, W - 4);
    r.bottom = std::min(r.bottom, H - 4);
  }

  if (in.hasNormalPicture) {
    int px = 0, py = 0;
    if (!in.captionBlank && in.pictureAlign != 4) {
      switch (in.pictureAlign) {
        case 0: px = 3; py = (H - picH) / 2; break;
        case 1: px = r.left - picW - 4; py = (H - picH) / 2; break;
        case 2:
          px = W - picW - 3;
          py = (H - picH) / 2;
          if (glyphShown) px = std::max(px - 16, r.right + 2);
          break;
        case 3:
          px = r.right + 4;
          py = (H - picH) / 2;
          if (glyphShown) px = std::max(px - 16, r.right + 2);
          break;
        case 5: px = (W - picW) / 2; py = 4; break;
        case 6: px = (W - picW) / 2; py = r.top - picH - 2; break;
        case 7: px = (W - picW) / 2; py = H - picH - 4; break;
        default: px = (W - picW) / 2; py = r.bottom + 2; break;  // 8
      }
      if (in.pictureAlign >= 5 && glyphShown) px -= 8;
    } else {
      px = (W - picW) / 2;
      py = (H - picH) / 2;
      if (glyphShown) px -= 8;
    }
    out.picture = Rect{px, py, px + picW, py + picH};
  }

  if (in.dropDownSymbol != 0) {
    out.glyph = Rect{W - 15, core::geometry::RoundHalfEven(H / 2.0 - 7), W, core::geometry::RoundHalfEven(H / 2.0 + 8)};
  }
  out.separator = in.dropDownSeparator && W - 8 > r.right;

  static constexpr int kPressedShift[] = {0, 1, 5, 6, 7, 10, 11, 12};
  if (in.down && std::find(std::begin(kPressedShift), std::end(kPressedShift), in.style) != std::end(kPressedShift)) {
    r = r.Moved(1, 1);
    if (out.picture) out.picture = out.picture->Moved(1, 1);
    if (out.glyph) out.glyph = out.glyph->Moved(1, 1);
  }
  static constexpr int kGlyphShift[] = {0, 1, 6, 7, 11, 12};
  if (in.down && out.glyph &&
      std::find(std::begin(kGlyphShift), std::end(kGlyphShift), in.style) != std::end(kGlyphShift)) {
    out.glyph = out.glyph->Moved(1, 1);
  }
  out.caption = r;
  return out;
}

wchar_t GlyphCharacter(int dropDownSymbol) noexcept {
  long long v = std::llabs(static_cast<long long>(dropDownSymbol));
  while (v >= 10) v /= 10;
  return static_cast<wchar_t>(L'0' + v);
}

void DrawSeparator(PixelView& px) noexcept {
  const Colour c = px.Contains(7, 7) ? FromPixel(px.At(7, 7)) : kBlack;
  const int W = px.width, H = px.height;
  Line(px, W - 16, 3, W - 16, H - 3, Shift(c, -0.1));
  Line(px, W - 15, 3, W - 15, H - 3, Shift(c, 0.1));
}

}  // namespace pravik::core::button
