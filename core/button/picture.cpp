#include "core/button/picture.h"

#include <algorithm>

#include "core/geometry/rounding.h"

namespace pravik::core::button {

namespace {
constexpr std::uint8_t kMagic[4] = {'Z', 'Q', 'P', 'I'};
constexpr std::size_t kHeader = 4 + 1 + 4 + 4;
constexpr std::int64_t kMaxSide = 4096;  // far beyond any button picture; guards the allocation

void PutU32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int i = 0; i < 4; ++i) out.push_back(static_cast<std::uint8_t>(v >> (8 * i)));
}
std::uint32_t GetU32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
         (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}
}  // namespace

std::vector<std::uint8_t> EncodePicture(const ButtonPicture& picture) {
  std::vector<std::uint8_t> out(std::begin(kMagic), std::end(kMagic));
  out.push_back(static_cast<std::uint8_t>(picture.kind));
  PutU32(out, static_cast<std::uint32_t>(picture.pixels.width));
  PutU32(out, static_cast<std::uint32_t>(picture.pixels.height));
  for (Pixel p : picture.pixels.pixels) PutU32(out, p);
  return out;
}

std::optional<ButtonPicture> DecodePicture(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < kHeader || !std::equal(std::begin(kMagic), std::end(kMagic), bytes.begin())) return std::nullopt;
  if (bytes[4] > static_cast<std::uint8_t>(PictureKind::Icon)) return std::nullopt;
  const std::int64_t w = GetU32(&bytes[5]), h = GetU32(&bytes[9]);
  if (w > kMaxSide || h > kMaxSide) return std::nullopt;
  if (bytes.size() != kHeader + static_cast<std::size_t>(w * h * 4)) return std::nullopt;
  ButtonPicture picture;
  picture.kind = static_cast<PictureKind>(bytes[4]);
  picture.pixels = PixelBuffer(static_cast<int>(w), static_cast<int>(h));
  for (std::size_t i = 0; i < picture.pixels.pixels.size(); ++i) picture.pixels.pixels[i] = GetU32(&bytes[kHeader + 4 * i]);
  return picture;
}

EffectTables::EffectTables() noexcept {
  for (int i = 0; i < 256; ++i) {
    brighten[i] = static_cast<std::uint8_t>(std::min(255, i * 293 / 255));
    darken[i] = static_cast<std::uint8_t>(i * 217 / 255);
  }
}

int GreyOf(Colour c) noexcept {
  return core::geometry::RoundHalfEven(Green(c) * 0.59 + core::geometry::RoundHalfEven(Red(c) * 0.3) + Blue(c) * 0.11);
}

void DrawPicture(PixelView& surface, int x, int y, const ButtonPicture& picture, const PictureDraw& how,
                 const EffectTables& tables) {
  if (picture.empty() || how.opacity <= 0) return;
  const bool alpha = picture.kind == PictureKind::AlphaBitmap;
  const Colour mask = picture.kind == PictureKind::Icon ? Hex(0xC0C0C0) : how.maskColor;
  const int o = std::min(how.opacity, 255);
  for (int row = 0; row < picture.pixels.height; ++row) {
    for (int col = 0; col < picture.pixels.width; ++col) {
      const int dx = x + col, dy = y + row;
      if (!surface.Contains(dx, dy)) continue;
      const Pixel raw = picture.pixels.pixels[static_cast<std::size_t>(row) * picture.pixels.width + col];
      const Colour pc = FromPixel(raw);
      int weight = o;
      if (alpha) {
        weight = static_cast<int>(raw >> 24) * o / 255;
        if (weight == 0) continue;
      } else if (how.useMaskColor && pc == mask) {
        continue;
      }
      Colour s = pc;
      if (how.silhouette) {
        s = *how.silhouette;
      } else if (how.grey) {
        const int g = std::clamp(GreyOf(pc), 0, 255);
        s = Rgb(g, g, g);
      } else if (how.effect != PictureEffect::None) {
        const auto& table = how.effect == PictureEffect::Brighten ? tables.brighten : tables.darken;
        s = Rgb(table[Red(pc)], table[Green(pc)], table[Blue(pc)]);
      }
      if (weight >= 255) {
        surface.Put(dx, dy, ToPixel(s));
        continue;
      }
      const Colour d = FromPixel(surface.At(dx, dy));
      auto blend = [weight](int sv, int dv) { return (weight * sv + (255 - weight) * dv) / 256; };
      surface.Put(dx, dy, ToPixel(Rgb(blend(Red(s), Red(d)), blend(Green(s), Green(d)), blend(Blue(s), Blue(d)))));
    }
  }
}

PictureDraw PictureDrawFor(const PictureSettings& settings, bool hot, bool down, bool enabled) noexcept {
  PictureDraw how;
  how.useMaskColor = settings.useMaskColor;
  how.maskColor = settings.maskColor;
  if (hot) {
    how.opacity = settings.opacityOnOver;
  } else if (enabled) {
    how.opacity = settings.opacity;
  } else if (settings.disabledMode == 1) {
    how.opacity = core::geometry::RoundHalfEven(settings.opacity * 0.75);
    how.grey = true;
  } else {
    how.opacity = 52;
  }
  const int effect = hot ? settings.effectOnOver : down ? settings.effectOnDown : 0;
  how.effect = (effect == 1 || effect == 2) ? static_cast<PictureEffect>(effect) : PictureEffect::None;
  return how;
}

void DrawFacePicture(PixelView& surface, Rect at, const ButtonPicture& picture, const PictureSettings& settings,
                     bool hot, bool down, bool enabled, Colour base, const EffectTables& tables) {
  const PictureDraw how = PictureDrawFor(settings, hot, down, enabled);
  auto silhouette = [&](Colour c, int dx, int dy) {
    PictureDraw s = how;
    s.silhouette = c;
    DrawPicture(surface, at.left + dx, at.top + dy, picture, s, tables);
  };
  if (settings.pushOnHover && hot) {
    silhouette(Hex(0xC0C0C0), 0, 0);
    DrawPicture(surface, at.left - 2, at.top - 2, picture, how, tables);
    return;
  }
  if (settings.shadow) {
    const Colour m = Mix(Hex(0x808080), base);
    silhouette(Shift(m, 0.05), 2, 2);
    silhouette(Shift(m, -0.05), 1, 1);
  }
  DrawPicture(surface, at.left, at.top, picture, how, tables);
}

}  // namespace pravik::core::button
