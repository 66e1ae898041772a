#pragma once
// The image button's pictures as plain pixels, and the renderer that lays them onto a face:
// mask colour, opacity, the brighten and darken effects, grey, and silhouettes.
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

#include "core/button/colour.h"
#include "core/button/pixels.h"

namespace pravik::core::button {

enum class PictureKind : std::uint8_t {
  Bitmap = 0,       // opaque pixels; the mask colour marks transparency
  AlphaBitmap = 1,  // 32-bit pixels with their own alpha
  Icon = 2,         // drawn onto #C0C0C0, which then is the mask colour
};

struct ButtonPicture {
  PictureKind kind = PictureKind::Bitmap;
  PixelBuffer pixels;
  [[nodiscard]] bool empty() const noexcept { return pixels.width <= 0 || pixels.height <= 0; }
  bool operator==(const ButtonPicture& o) const noexcept {
    return kind == o.kind && pixels.width == o.pixels.width && pixels.height == o.pixels.height &&
           pixels.pixels == o.pixels.pixels;
  }
};

// Stored form of a picture: "ZQPI", kind, width and height (32-bit little endian), then
// width * height pixels 0xAARRGGBB little endian. Decode refuses anything inconsistent.
std::vector<std::uint8_t> EncodePicture(const ButtonPicture& picture);
std::optional<ButtonPicture> DecodePicture(const std::vector<std::uint8_t>& bytes);

// The two 256-entry effect tables, filled once per control.
struct EffectTables {
  std::array<std::uint8_t, 256> brighten{};
  std::array<std::uint8_t, 256> darken{};
  EffectTables() noexcept;
};

enum class PictureEffect { None = 0, Brighten = 1, Darken = 2 };

struct PictureDraw {
  int opacity = 255;  // 0..255
  bool grey = false;
  PictureEffect effect = PictureEffect::None;
  std::optional<Colour> silhouette;
  bool useMaskColor = true;
  Colour maskColor = Hex(0xE0E0E0);
};

// Blends the picture onto the surface with its top-left corner at (x, y).
void DrawPicture(PixelView& surface, int x, int y, const ButtonPicture& picture, const PictureDraw& how,
                 const EffectTables& tables);

// What the state asks of the picture: opacity, grey and effect.
struct PictureSettings {
  int opacity = 255;
  int opacityOnOver = 255;
  int disabledMode = 0;  // 0 faded, 1 grey
  int effectOnOver = 1;
  int effectOnDown = 2;
  bool useMaskColor = true;
  Colour maskColor = Hex(0xE0E0E0);
  bool pushOnHover = false;
  bool shadow = false;
};
PictureDraw PictureDrawFor(const PictureSettings& settings, bool hot, bool down, bool enabled) noexcept;

// Draws the picture of a face at its rectangle: lifted by (-2, -2) over a #C0C0C0 silhouette
// when pushed on hover, or over its two-step shadow (from the face colour) when asked.
void DrawFacePicture(PixelView& surface, Rect at, const ButtonPicture& picture, const PictureSettings& settings,
                     bool hot, bool down, bool enabled, Colour base, const EffectTables& tables);

// Grey value of a colour: round(G * 0.59 + round(R * 0.3) + B * 0.11).
int GreyOf(Colour c) noexcept;

}  // namespace pravik::core::button
