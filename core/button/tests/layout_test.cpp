#include <gtest/gtest.h>

#include <climits>
#include <cstdlib>

#include "core/button/layout.h"

namespace pravik::core::button {
namespace {

TEST(ButtonLayout, CaptionAlignments) {
  LayoutInput in;
  in.width = 162;
  in.height = 23;
  in.textW = 50;
  in.textH = 13;
  in.captionBlank = false;
  struct Case {
    int align;
    Rect want;
  } cases[] = {{0, {2, 5, 52, 18}}, {1, {56, 5, 106, 18}}, {2, {108, 5, 158, 18}}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.align);
    in.captionAlign = c.align;
    EXPECT_EQ(LayoutContents(in).caption, c.want);
  }
  in.captionAlign = 1;
  in.down = true;
  in.style = 0;
  EXPECT_EQ(LayoutContents(in).caption, (Rect{57, 6, 107, 19}));
  in.style = 4;  // style 4 does not move its contents when pressed
  EXPECT_EQ(LayoutContents(in).caption, (Rect{56, 5, 106, 18}));
}

TEST(ButtonLayout, PictureBesideAboveOrAloneAndTheGlyph) {
  LayoutInput in;
  in.width = 100;
  in.height = 40;
  in.textW = 30;
  in.textH = 13;
  in.captionBlank = false;
  in.hasNormalPicture = true;
  in.picW = 16;
  in.picH = 16;
  // Align 1: left of the caption, which is centred with the picture's width.
  auto r = LayoutContents(in);
  EXPECT_EQ(r.caption, (Rect{43, 13, 73, 26}));
  EXPECT_EQ(*r.picture, (Rect{23, 12, 39, 28}));
  // Align 5: top centre; caption moved down by half the picture.
  in.pictureAlign = 5;
  r = LayoutContents(in);
  EXPECT_EQ(*r.picture, (Rect{42, 4, 58, 20}));
  EXPECT_EQ(r.caption.top, 13 + 8);
  // Blank caption: centred.
  in.captionBlank = true;
  r = LayoutContents(in);
  EXPECT_EQ(*r.picture, (Rect{42, 12, 58, 28}));
  // Drop-down glyph: 15 pixels at the right, vertically centred; room shifts the picture.
  in.dropDownSymbol = 6;
  r = LayoutContents(in);
  EXPECT_EQ(*r.glyph, (Rect{85, 13, 100, 28}));
  EXPECT_EQ(r.picture->left, 34);
  EXPECT_EQ(GlyphRoom(6, false, 1), 16);
  EXPECT_EQ(GlyphRoom(0, true, 3), 24);
  EXPECT_EQ(GlyphRoom(0, false, 3), 0);
  EXPECT_EQ(GlyphCharacter(6), L'6');
  EXPECT_EQ(GlyphCharacter(16), L'1');
}

TEST(ButtonLayout, ExtremeSizesAreHeldToAScreen) {
  // Found by fuzzing: huge sizes overflowed the sums; they are held to what a screen can hold.
  LayoutInput in;
  in.width = INT_MAX;
  in.height = INT_MIN;
  in.hasNormalPicture = true;
  in.pictureAlign = 3;
  in.picW = INT_MAX;
  in.picH = INT_MAX;
  in.captionBlank = false;
  in.textW = INT_MIN;
  in.textH = INT_MAX;
  in.dropDownSymbol = 1;
  const LayoutResult out = LayoutContents(in);
  ASSERT_TRUE(out.picture.has_value());
  EXPECT_LT(std::abs(out.caption.left), 1 << 20);
  EXPECT_LT(std::abs(out.picture->right), 1 << 20);
}

TEST(ButtonLayout, SeparatorTakesItsColoursFromTheFace) {
  PixelBuffer buf(40, 20, ToPixel(Hex(0x808080)));
  auto v = buf.View();
  DrawSeparator(v);
  EXPECT_EQ(buf.ColourAt(24, 3), Shift(Hex(0x808080), -0.1));
  EXPECT_EQ(buf.ColourAt(25, 16), Shift(Hex(0x808080), 0.1));
  EXPECT_EQ(buf.ColourAt(24, 17), Hex(0x808080));  // end point not drawn
}

}  // namespace
}  // namespace pravik::core::button
