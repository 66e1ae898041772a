#include <gtest/gtest.h>

#include "core/button/picture.h"

namespace pravik::core::button {
namespace {

ButtonPicture TwoPixels(Colour left, Colour right) {
  ButtonPicture p;
  p.pixels = PixelBuffer(2, 1);
  p.pixels.pixels = {ToPixel(left), ToPixel(right)};
  return p;
}

TEST(ButtonEffectTables, BrightenAndDarkenFollowTheirFormulas) {
  const EffectTables t;
  EXPECT_EQ(t.brighten[0], 0);
  EXPECT_EQ(t.brighten[100], 114);  // 100 * 293 / 255 = 114.9
  EXPECT_EQ(t.brighten[222], 255);  // 255.08 limited
  EXPECT_EQ(t.brighten[255], 255);
  EXPECT_EQ(t.darken[255], 217);
  EXPECT_EQ(t.darken[100], 85);  // 85.1
  EXPECT_EQ(t.darken[1], 0);
}

TEST(ButtonPictureRenderer, MaskColourShowsTheFaceUnlessMaskingIsOff) {
  const EffectTables t;
  const Colour face = Hex(0x00B0F0), mask = Hex(0xE0E0E0), red = Hex(0xFF0000);
  PictureDraw how;
  how.maskColor = mask;
  for (bool useMask : {true, false}) {
    SCOPED_TRACE(useMask);
    PixelBuffer surface(2, 1, ToPixel(face));
    auto v = surface.View();
    how.useMaskColor = useMask;
    DrawPicture(v, 0, 0, TwoPixels(mask, red), how, t);
    EXPECT_EQ(surface.ColourAt(0, 0), useMask ? face : mask);
    EXPECT_EQ(surface.ColourAt(1, 0), red);
  }
}

TEST(ButtonPictureRenderer, OpacityGreyEffectsAndSilhouettes) {
  const EffectTables t;
  struct Case {
    const char* name;
    PictureDraw how;
    Colour want;
  };
  const Colour d = Rgb(0, 0, 0), s = Rgb(200, 100, 50);
  PictureDraw faded;
  faded.opacity = 52;  // disabled, mode 0
  PictureDraw grey;
  grey.opacity = 191;  // round(255 * 0.75), disabled mode 1
  grey.grey = true;
  PictureDraw bright;
  bright.effect = PictureEffect::Brighten;
  PictureDraw dark;
  dark.effect = PictureEffect::Darken;
  PictureDraw silhouette;
  silhouette.silhouette = Hex(0xC0C0C0);
  PictureDraw invisible;
  invisible.opacity = 0;
  const Case cases[] = {
      {"faded", faded, Rgb(52 * 200 / 256, 52 * 100 / 256, 52 * 50 / 256)},
      {"grey", grey, Rgb(191 * 124 / 256, 191 * 124 / 256, 191 * 124 / 256)},
      {"brighten", bright, Rgb(229, 114, 57)},
      {"darken", dark, Rgb(170, 85, 42)},
      {"silhouette", silhouette, Hex(0xC0C0C0)},
      {"opacity 0", invisible, d},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    PixelBuffer surface(1, 1, ToPixel(d));
    auto v = surface.View();
    ButtonPicture p = TwoPixels(s, s);
    DrawPicture(v, 0, 0, p, c.how, t);
    EXPECT_EQ(surface.ColourAt(0, 0), c.want);
  }
  EXPECT_EQ(GreyOf(s), 124);  // round(59 + 60 + 5.5), half to even
}

TEST(ButtonPictureRenderer, AlphaWeightsByPixelAlphaAndOpacity) {
  const EffectTables t;
  ButtonPicture p;
  p.kind = PictureKind::AlphaBitmap;
  p.pixels = PixelBuffer(3, 1);
  p.pixels.pixels = {0xFF0000FFu, 0x800000FFu, 0x000000FFu};  // blue at alpha 255, 128, 0
  PixelBuffer surface(3, 1, ToPixel(Hex(0x000000)));
  auto v = surface.View();
  PictureDraw how;
  how.maskColor = Hex(0x0000FF);  // the mask colour plays no part for alpha pictures
  DrawPicture(v, 0, 0, p, how, t);
  EXPECT_EQ(surface.ColourAt(0, 0), Hex(0x0000FF));
  EXPECT_EQ(surface.ColourAt(1, 0), Hex(0x00007F));  // 128 * 255 / 256
  EXPECT_EQ(surface.ColourAt(2, 0), Hex(0x000000));
}

TEST(ButtonPictureBlob, RoundTripsAndRefusesDamage) {
  ButtonPicture p = TwoPixels(Hex(0x010203), Hex(0xE0E0E0));
  p.kind = PictureKind::Icon;
  auto bytes = EncodePicture(p);
  auto back = DecodePicture(bytes);
  ASSERT_TRUE(back);
  EXPECT_EQ(*back, p);

  auto truncated = bytes;
  truncated.pop_back();
  EXPECT_FALSE(DecodePicture(truncated));
  auto badKind = bytes;
  badKind[4] = 9;
  EXPECT_FALSE(DecodePicture(badKind));
  auto huge = bytes;
  huge[5] = huge[6] = huge[7] = huge[8] = 0xFF;  // width 4 billion: no allocation attempted
  EXPECT_FALSE(DecodePicture(huge));
  EXPECT_FALSE(DecodePicture({}));
}

}  // namespace
}  // namespace pravik::core::button

namespace pravik::core::button {
namespace {

TEST(ButtonPictureRenderer, PushOnHoverLiftsThePictureOverAGreySilhouette) {
  const EffectTables t;
  ButtonPicture p;
  p.pixels = PixelBuffer(4, 4, ToPixel(Hex(0xFF0000)));
  PictureSettings settings;
  settings.pushOnHover = true;
  settings.effectOnOver = 0;
  const Colour face = Hex(0x00B0F0);
  PixelBuffer surface(12, 12, ToPixel(face));
  auto v = surface.View();
  DrawFacePicture(v, {4, 4, 8, 8}, p, settings, /*hot*/ true, false, true, face, t);
  EXPECT_EQ(surface.ColourAt(2, 2), Hex(0xFF0000));   // moved 2 up and left
  EXPECT_EQ(surface.ColourAt(5, 5), Hex(0xFF0000));
  EXPECT_EQ(surface.ColourAt(6, 6), Hex(0xC0C0C0));   // the silhouette at the old place
  EXPECT_EQ(surface.ColourAt(7, 7), Hex(0xC0C0C0));
  EXPECT_EQ(surface.ColourAt(8, 8), face);
  // Not hot: drawn in place, no silhouette.
  PixelBuffer rest(12, 12, ToPixel(face));
  auto rv = rest.View();
  DrawFacePicture(rv, {4, 4, 8, 8}, p, settings, false, false, true, face, t);
  EXPECT_EQ(rest.ColourAt(3, 3), face);
  EXPECT_EQ(rest.ColourAt(7, 7), Hex(0xFF0000));
}

TEST(ButtonPictureRenderer, DisabledOpacityByMode) {
  PictureSettings s;
  s.opacity = 200;
  EXPECT_EQ(PictureDrawFor(s, false, false, false).opacity, 52);
  EXPECT_FALSE(PictureDrawFor(s, false, false, false).grey);
  s.disabledMode = 1;
  EXPECT_EQ(PictureDrawFor(s, false, false, false).opacity, 150);
  EXPECT_TRUE(PictureDrawFor(s, false, false, false).grey);
  EXPECT_EQ(PictureDrawFor(s, true, false, true).effect, PictureEffect::Brighten);
  EXPECT_EQ(PictureDrawFor(s, false, true, true).effect, PictureEffect::Darken);
  EXPECT_EQ(PictureDrawFor(s, false, false, true).effect, PictureEffect::None);
}

}  // namespace
}  // namespace pravik::core::button
