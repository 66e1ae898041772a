// Each style's face on a 20 x 12 button, sampled at chosen points. The expected colours are
// worked out by hand from the face descriptions (base #808080 unless noted).
#include <gtest/gtest.h>

#include "core/button/faces.h"

namespace pravik::core::button {
namespace {

constexpr int kW = 20, kH = 12;
constexpr Colour kBase = Hex(0x808080), kSurface = Hex(0x123456);

enum Kind { N, Ht, Dn, Ck, Dis };

struct RecordingHooks : FaceHooks {
  int contents = 0, regions = 0, themeState = 0;
  Colour foreColor = 0;
  void Contents(PixelView&) override { ++contents; }
  void RebuildRegion() override { ++regions; }
  bool ThemeBackground(PixelView&, int state) override {
    themeState = state;
    return false;
  }
  void SetForeColor(Colour c) override { foreColor = c; }
};

FaceState StateFor(int style, int scheme, Kind kind, Colour base) {
  FaceState s;
  s.style = style;
  s.scheme = scheme;
  s.base = base;
  s.surface = kSurface;
  s.enabled = kind != Dis;
  s.checked = kind == Ck;
  const ButtonState raw = kind == Ht ? ButtonState::Hot : kind == Dn ? ButtonState::Down : ButtonState::Normal;
  s.state = DrawnState(style, raw, s.checked);
  return s;
}

struct Point {
  int x, y;
  Colour want;
};
struct Case {
  int style, scheme;
  Kind kind;
  std::vector<Point> points;
  Colour base = kBase;
};

TEST(ButtonFaces, EachStyleAndStateAtChosenPoints) {
  const SystemColours sys;
  const Colour grey = Hex(0x808080);
  const std::vector<Case> cases = {
      {0, 0, N, {{0, 0, sys.light3d}, {1, 1, sys.highlight3d}, {19, 11, sys.darkShadow3d}, {18, 10, sys.shadow3d}, {10, 6, grey}}},
      {0, 0, Ht, {{0, 0, sys.light3d}, {10, 6, grey}}},
      {0, 0, Dn, {{0, 0, kBlack}, {1, 1, Hex(0xACA899)}, {10, 6, grey}}},
      {0, 0, Ck, {{0, 0, sys.shadow3d}, {1, 1, sys.darkShadow3d}, {10, 6, Hex(0x858585)}}},
      {0, 0, Dis, {{0, 0, sys.light3d}, {10, 6, kSurface}}},
      {1, 0, N, {{0, 0, sys.highlight3d}, {19, 11, sys.shadow3d}, {1, 1, grey}}},
      {1, 0, Dn, {{0, 0, sys.grayText}, {19, 11, kWhite}, {10, 6, grey}}},
      {11, 0, N, {{0, 0, grey}}},
      {11, 0, Ht, {{0, 0, sys.light3d}}},
      {11, 0, Dn, {{0, 0, sys.shadow3d}}},
      {12, 0, Ck, {{0, 0, Hex(0x858585)}}},
      {12, 0, Ht, {{0, 0, sys.highlight3d}}},
      {2, 0, N, {{0, 5, Hex(0x003C74)}, {1, 1, Hex(0x4C88C0)}, {1, 5, Hex(0xC0C0C0)}, {10, 2, Hex(0x969696)},
                 {10, 6, Hex(0x898989)}, {10, 10, Hex(0x696969)}, {18, 5, Hex(0x6C6C6C)}}},
      {2, 0, Ht, {{5, 2, Hex(0xFDD889)}, {5, 10, Hex(0xE59700)}, {0, 0, Hex(0x003C74)}}},
      {2, 0, Dn, {{10, 6, Hex(0x737373)}, {5, 1, Hex(0x575757)}}},
      {2, 0, Dis, {{10, 6, Hex(0xC5C5C5)}, {0, 5, Hex(0x666666)}}},
      {3, 2, N, {{10, 6, Hex(0x7B7B7B)}, {0, 5, Hex(0x707070)}, {5, 1, kWhite}, {1, 1, Hex(0x5F96BE)}}},
      {3, 2, Ht, {{10, 3, Hex(0xE3F7FF)}, {0, 0, Hex(0x3275A7)}, {1, 1, Hex(0x5F96BE)}}},
      {3, 2, Dn, {{10, 4, Hex(0xC2E4F6)}, {10, 8, Hex(0x9AD2F0)}, {0, 5, Hex(0x1D415C)}, {10, 1, Hex(0x719CB3)}}},
      {4, 0, N, {{0, 0, grey}, {10, 6, grey}}},
      {4, 0, Ht, {{10, 6, Hex(0xC9DAF6)}, {0, 0, Hex(0x316AC5)}}},
      {4, 0, Dn, {{10, 6, Hex(0xADBEDA)}, {19, 11, Hex(0x316AC5)}}},
      {4, 0, Ck, {{10, 6, Hex(0xB4C5E1)}, {0, 0, Hex(0x316AC5)}}},
      {4, 3, Ht, {{0, 0, Hex(0x0091D1)}}, Hex(0x00B0F0)},
      {5, 0, N, {{10, 0, Hex(0xCACACA)}, {10, 6, grey}}},
      {5, 0, Ht, {{10, 1, Hex(0xFFF1C7)}, {0, 0, Hex(0x000080)}}},
      {5, 0, Dn, {{10, 1, Hex(0xFE9753)}}},
      {5, 0, Ck, {{10, 1, Hex(0xFFD287)}, {0, 5, Hex(0x000080)}}},
      {6, 0, N, {{0, 0, grey}}},
      {6, 0, Ht, {{10, 1, Hex(0xFCFDFA)}, {0, 5, Hex(0xCECEC3)}}},
      {6, 0, Dn, {{10, 5, Hex(0xE5E4DD)}, {0, 5, Hex(0x9D9D92)}}},
      {6, 0, Ck, {{10, 5, Hex(0xFEFFFE)}, {0, 5, Hex(0x7A98AF)}}},
      {7, 0, N, {{0, 0, grey}, {1, 1, grey}}},
      {7, 0, Ht, {{0, 5, Hex(0x619ECA)}, {1, 1, Hex(0xAEEAFF)}, {5, 2, Hex(0xEEF9FD)}}},
      {7, 0, Dis, {{1, 1, grey}, {10, 6, grey}}},
      {8, 0, N, {{10, 1, Hex(0xB5B5B5)}, {0, 0, Hex(0x292929)}}},
      {8, 0, Ht, {{10, 1, Hex(0xFFF8D0)}}},
      {8, 0, Dn, {{10, 1, Hex(0xFFBB56)}}},
      {8, 0, Ck, {{10, 1, Hex(0xFFD196)}}},
      {9, 0, N, {{10, 3, Hex(0xB3B3B3)}, {10, 8, grey}, {1, 5, kWhite}, {0, 5, Hex(0x4D4D4D)}, {1, 1, Hex(0x8D8D8D)},
                 {5, 11, Hex(0x404040)}}},
      {9, 0, Dis, {{10, 3, Hex(0xB3B3B3)}, {5, 11, Hex(0x404040)}}},
      {9, 0, Dn, {{10, 3, Hex(0xA4A4A4)}, {0, 5, Hex(0x454545)}, {5, 11, Hex(0x1A1A1A)}}},
      {10, 0, N, {{10, 2, Hex(0xADADAD)}, {10, 5, Hex(0x787878)}, {10, 6, Hex(0x737373)}, {0, 5, Hex(0x2C2C2C)},
                  {1, 1, Hex(0x242424)}}},
      {10, 0, Ht, {{10, 2, Hex(0xB3B3B3)}, {0, 5, Hex(0x393939)}}},
      {10, 0, Dn, {{10, 6, Hex(0x6C6C6C)}, {0, 5, Hex(0x242424)}}},
      {10, 0, Dis, {{10, 5, grey}, {10, 2, Hex(0xA7A7A7)}, {0, 5, Hex(0x4D4D4D)}}},
      {13, 0, N, {{10, 6, kSurface}}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << "style " << c.style << " scheme " << c.scheme << " kind " << c.kind);
    PixelBuffer buf(kW, kH, 0);
    auto v = buf.View();
    RecordingHooks hooks;
    PaintFace(v, StateFor(c.style, c.scheme, c.kind, c.base), hooks);
    EXPECT_EQ(hooks.contents, 1);
    for (const auto& p : c.points) {
      EXPECT_EQ(buf.ColourAt(p.x, p.y), p.want) << "at " << p.x << "," << p.y << std::hex << " want " << p.want
                                                << " got " << buf.ColourAt(p.x, p.y);
    }
  }
}

TEST(ButtonFaces, HighlightLinesAndPressedStripsKeepTheirExtent) {
  auto paint = [](int style, int scheme, Kind kind) {
    PixelBuffer buf(kW, kH, 0);
    auto v = buf.View();
    RecordingHooks hooks;
    PaintFace(v, StateFor(style, scheme, kind, kBase), hooks);
    return buf;
  };
  // Style 2 hot: each highlight line ends one pixel before its end point, as the normal lines do.
  const PixelBuffer hot = paint(2, 0, Ht);
  // (W - 2, H - 3) is the right side line's last pixel, not the y = H - 3 line's.
  EXPECT_EQ(hot.ColourAt(17, 9), Hex(0xF8B330));
  EXPECT_EQ(hot.ColourAt(18, 9), Hex(0xF9BD49));
  EXPECT_EQ(hot.ColourAt(17, 1), Hex(0xFFF0CF));
  // Style 3 pressed: the side strips are drawn after the lines, over their ends.
  const PixelBuffer down = paint(3, 2, Dn);
  EXPECT_EQ(down.ColourAt(10, 2), Hex(0xA9C6D6));
  EXPECT_NE(down.ColourAt(3, 2), Hex(0xA9C6D6));
  EXPECT_NE(down.ColourAt(16, 2), Hex(0xA9C6D6));
}

TEST(ButtonFaces, RegionIsRebuiltAtTheStartOfNormalStatesOnly) {
  for (int style = 0; style < 14; ++style) {
    SCOPED_TRACE(style);
    const bool rebuilds = style != 4 && style != 8 && style != 13;
    for (Kind kind : {N, Ht, Dn}) {
      PixelBuffer buf(kW, kH, 0);
      auto v = buf.View();
      RecordingHooks hooks;
      PaintFace(v, StateFor(style, 0, kind, kBase), hooks);
      EXPECT_EQ(hooks.regions, kind == N && rebuilds ? 1 : 0) << "kind " << kind;
    }
  }
}

TEST(ButtonFaces, ThemeStatesAndStyle6ForeColor) {
  struct Case {
    Kind kind;
    bool isDefault;
    int want;
  } cases[] = {{N, false, 1}, {Ht, false, 2}, {Dn, false, 3}, {Dis, false, 4}, {N, true, 5}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.want);
    PixelBuffer buf(kW, kH, 0);
    auto v = buf.View();
    RecordingHooks hooks;
    FaceState s = StateFor(13, 0, c.kind, kBase);
    s.displayAsDefault = c.isDefault;
    s.hostActive = true;
    PaintFace(v, s, hooks);
    EXPECT_EQ(hooks.themeState, c.want);
  }
  const SystemColours sys;
  for (Kind kind : {N, Ht, Dn, Ck}) {
    SCOPED_TRACE(kind);
    PixelBuffer buf(kW, kH, 0);
    auto v = buf.View();
    RecordingHooks hooks;
    PaintFace(v, StateFor(6, 0, kind, kBase), hooks);
    EXPECT_EQ(hooks.foreColor, kind == Dn ? kWhite : sys.buttonText);
  }
}

TEST(ButtonFaces, TinyButtonsDrawWithoutWritingOutside) {
  for (int style = 0; style < 14; ++style) {
    for (Kind kind : {N, Ht, Dn, Ck, Dis}) {
      for (int w : {1, 2, 3}) {
        std::vector<Pixel> guard(static_cast<std::size_t>(w) * 3 + 8, 0xABCDEFu);
        PixelView v{guard.data() + 4, w, 3, w};
        RecordingHooks hooks;
        PaintFace(v, StateFor(style, 0, kind, kBase), hooks);
        EXPECT_EQ(guard[0], 0xABCDEFu);
        EXPECT_EQ(guard.back(), 0xABCDEFu);
      }
    }
  }
}

}  // namespace
}  // namespace pravik::core::button
