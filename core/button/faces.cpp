#include "core/button/faces.h"

#include "core/button/scheme.h"
#include "core/geometry/rounding.h"

namespace pravik::core::button {

namespace {

struct Face {
  PixelView& px;
  const FaceState& s;
  FaceHooks& hooks;
  int W = px.width;
  int H = px.height;
  Colour base = s.base;

  [[nodiscard]] bool focusedOrDefault() const { return s.hasFocus || s.displayAsDefault; }
  [[nodiscard]] int half() const { return core::geometry::RoundHalfEven(H / 2.0); }
  void fill(Colour c) { Fill(px, {0, 0, W, H}, c); }
  void frame(int x, int y, int w, int h, Colour c) { Frame(px, x, y, w, h, c); }
  void line(int x1, int y1, int x2, int y2, Colour c) { Line(px, x1, y1, x2, y2, c); }
  void grad(int x, int y, int w, int h, Colour c1, Colour c2, int dir = 1) { Gradient(px, x, y, w, h, c1, c2, dir); }
  void contents() { hooks.Contents(px); }
  void region() { hooks.RebuildRegion(); }
  void edge(Rect r, EdgeKind k) { Edge(px, r, k, s.sys); }
  void focusRect(Rect r) { hooks.FocusRect(px, r); }
};

bool Down(const FaceState& s) { return s.state == ButtonState::Down; }
bool Hot(const FaceState& s) { return s.state == ButtonState::Hot; }

// Styles 0, 1, 11 and 12.
void Classic(Face& f) {
  const auto& s = f.s;
  const int st = s.style;
  const Rect all{0, 0, f.W, f.H};
  if (!s.enabled) {
    if (st == 0) f.edge(all, EdgeKind::Raised);
    if (st == 1) f.edge(all, EdgeKind::RaisedInner);
    f.contents();
    return;
  }
  if (s.checked) {
    f.fill(Shift(f.base, 0.02));
    f.contents();
    if (st == 12) return;
    f.edge(all, EdgeKind::Sunken);
    if (st == 0) {
      if (s.showFocusRect && s.hasFocus) f.frame(4, 4, f.W - 7, f.H - 7, s.sys.appWorkspace);
      return;
    }
  } else if (Down(s)) {
    f.fill(f.base);
    f.contents();
    if (st == 0) {
      f.frame(1, 1, f.W - 2, f.H - 2, Hex(0xACA899));
      f.frame(0, 0, f.W, f.H, kBlack);
    } else if (st == 11) {
      f.edge(all, EdgeKind::Sunken);
    } else {
      f.frame(0, 0, f.W, f.H, kWhite);
      f.frame(0, 0, f.W + 1, f.H + 1, s.sys.grayText);
    }
  } else if (Hot(s)) {
    f.fill(f.base);
    f.contents();
    f.edge(all, (st == 1 || st == 12) ? EdgeKind::RaisedInner : EdgeKind::Raised);
  } else {
    f.region();
    f.fill(f.base);
    f.contents();
    if (st == 0) f.edge(all, EdgeKind::Raised);
    if (st == 1) f.edge(all, EdgeKind::RaisedInner);
  }
  if (!f.focusedOrDefault()) return;
  if (s.userMode && s.showFocusRect && s.hostActive) {
    f.focusRect((st == 0 || st == 11) ? Rect{4, 4, f.W - 4, f.H - 4} : Rect{3, 3, f.W - 3, f.H - 3});
  }
  if (st == 0 && !Down(s)) {
    f.edge({0, 0, f.W - 1, f.H - 1}, EdgeKind::Raised);
    f.frame(0, 0, f.W - 1, f.H - 1, s.sys.appWorkspace);
    f.frame(0, 0, f.W, f.H, kBlack);
  }
}

// The highlight pattern style 2 draws when hot, and in other colours when focused.
struct HighlightColours {
  Colour y2, y1, sides, innerLeft, innerRight, yH3, yH2;
};
void Highlight(Face& f, const HighlightColours& c) {
  const int W = f.W, H = f.H;
  // "x a to b" is a line from a to b with its end point not drawn, as the normal face's lines.
  f.line(1, 2, W - 2, 2, c.y2);
  f.line(1, 1, W - 2, 1, c.y1);
  f.line(1, 1, 1, H - 2, c.sides);
  f.line(W - 2, 2, W - 2, H - 2, c.sides);
  f.line(2, 2, 2, H - 3, c.innerLeft);
  f.line(W - 3, 3, W - 3, H - 3, c.innerRight);
  f.line(2, H - 3, W - 2, H - 3, c.yH3);
  f.line(2, H - 2, W - 2, H - 2, c.yH2);
}

void Style2(Face& f) {
  const auto& s = f.s;
  const int W = f.W, H = f.H, mid = f.half();
  const Colour b = f.base;
  if (!s.enabled) {
    f.region();
    f.fill(Mix(s.sys.buttonFace, Shift(b, 0.1)));
    f.contents();
    f.frame(0, 0, W, H, Shift(b, -0.1));
    Corners(f.px, Shift(b, -0.1));
    return;
  }
  auto gradients = [&] {
    if (s.scheme == 2) {
      f.grad(0, 0, W, mid, Shift(b, 0.22), b);
      f.grad(0, mid, W, mid, Shift(b, -0.01), Shift(b, -0.15));
    } else {
      f.grad(0, 0, W, H, Shift(b, 0.07), b);
      f.grad(0, 0, W, 4, Shift(b, 0.1), Shift(b, 0.08));
    }
  };
  if (Down(s)) {
    if (s.scheme == 2) {
      f.grad(0, 0, W, H - 6, Shift(b, -0.2), Shift(b, 0.05));
      f.grad(0, H - 6, W, H - 1, Shift(b, 0.08), kWhite);
      f.contents();
      f.frame(1, 1, W - 2, H - 2, kWhite);
    } else {
      f.fill(Shift(b, -0.05));
      f.contents();
      f.line(1, 1, W - 1, 1, Shift(b, -0.16));
      f.line(1, 2, W - 1, 2, Shift(b, -0.1));
      f.line(1, H - 2, W - 1, H - 2, Shift(b, 0.01));
      f.line(1, 1, 1, H - 1, Shift(b, -0.16));
      f.line(2, 2, 2, H - 1, Shift(b, -0.1));
      f.line(W - 2, 2, W - 2, H - 1, Shift(b, 0.04));
    }
  } else if (Hot(s)) {
    gradients();
    f.contents();
    Highlight(f, {Hex(0xFDD889), Hex(0xFFF0CF), Hex(0xF9BD49), Hex(0xFCD27A), Hex(0xFCD27A), Hex(0xF8B330),
                  Hex(0xE59700)});
  } else {
    f.region();
    gradients();
    f.contents();
    if (s.scheme == 2) {
      f.line(W - 2, 2, W - 2, H - 2, kWhite);
      f.line(1, 1, 1, H - 2, kWhite);
    } else {
      f.line(1, H - 2, W - 2, H - 2, Shift(b, -0.09));
      f.line(1, H - 3, W - 2, H - 3, Shift(b, -0.05));
      f.line(1, H - 4, W - 2, H - 4, Shift(b, -0.01));
      f.line(W - 2, 2, W - 2, H - 2, Shift(b, -0.08));
      f.line(1, 1, 1, H - 2, Mix(kWhite, b));
    }
    if (f.focusedOrDefault() && s.hostActive) {
      if (s.scheme == 1) {
        const Colour side = Hex(0xA0C868);
        Highlight(f, {Hex(0xC2D18F), Hex(0xB1CB80), side, side, side, side, Hex(0xA8A766)});
      } else {
        const Colour inner = s.scheme == 2 ? kWhite : Hex(0xB8D1F4);
        Highlight(f, {Hex(0xBCD4F6), Hex(0xCEE7FF), Hex(0x8EAFE6), inner, inner, Hex(0x89ADE4), Hex(0x6982EE)});
      }
    }
  }
  if (s.showFocusRect && s.hostActive && f.focusedOrDefault()) f.focusRect({2, 2, W - 2, H - 2});
  const Colour border = s.scheme == 1 ? Hex(0x376206) : Hex(0x003C74);
  f.frame(0, 0, W, H, border);
  Corners(f.px, Shift(border, 0.3));
}

void Style3(Face& f) {
  const auto& s = f.s;
  const int W = f.W, H = f.H, mid = f.half();
  const Colour b = f.base;
  if (!s.enabled) {
    f.region();
    f.fill(Shift(b, 0.03));
    f.contents();
    f.frame(0, 0, W, H, Shift(b, -0.25));
    f.frame(1, 1, W - 2, H - 2, Shift(b, 0.25));
    Corners(f.px, Shift(b, -0.03));
    return;
  }
  auto strips = [&](Colour upOuter, Colour upInner, Colour lowOuter, Colour lowInner) {
    f.grad(1, 1, 5, mid - 1, upOuter, upInner, 0);
    f.grad(W - 6, 1, 5, mid - 1, upInner, upOuter, 0);
    f.grad(1, mid, 5, H - 1 - mid, lowOuter, lowInner, 0);
    f.grad(W - 6, mid, 5, H - 1 - mid, lowInner, lowOuter, 0);
  };
  if (Down(s)) {
    Fill(f.px, {1, 1, W - 1, H - 1}, Hex(0xC2E4F6));
    Fill(f.px, {1, mid, W - 1, H - 1}, Hex(0x9AD2F0));
    f.frame(0, 0, W, H, Hex(0x1D415C));
    f.line(1, 1, W - 1, 1, Hex(0x719CB3));
    f.line(1, 2, W - 1, 2, Hex(0xA9C6D6));
    f.line(1, 3, W - 1, 3, Hex(0xB9D9EC));
    f.line(1, 1, 1, mid, Hex(0x73B0CF));
    f.line(1, mid, 1, H - 1, Hex(0x2B91C5));
    // The side strips go over the lines' ends.
    strips(Shift(Hex(0x91C8E6), -0.01), Shift(Hex(0xC2E4F6), 0.01), Shift(Hex(0x4EABDC), -0.02),
           Shift(Hex(0x9AD2F0), 0.02));
    f.contents();
  } else if (Hot(s)) {
    f.grad(1, 1, W - 1, H, Hex(0xE4F7FF), Hex(0xDAF3FF));
    f.grad(1, mid, W - 2, H - 2, Hex(0xC1E9FF), Hex(0xAEE1FD));
    strips(Hex(0xCDEEFF), Hex(0xE4F7FF), Hex(0x8FD6FA), Shift(Hex(0xACE1FD), 0.01));
    f.contents();
    f.frame(0, 0, W, H, Hex(0x3275A7));
    f.frame(1, 1, W - 2, H - 2, kWhite);
  } else {
    f.region();
    f.grad(1, 1, W - 1, H, Shift(b, 0.05), b);
    f.grad(1, mid, W - 2, H - 2, Shift(b, -0.02), Shift(b, -0.15));
    f.contents();
    if (f.focusedOrDefault() && s.hostActive) {
      f.frame(0, 0, W, H, Hex(0x3275A7));
      f.frame(1, 1, W - 2, H - 2, Hex(0x48D8FB));
      if (s.showFocusRect && s.hasFocus) f.focusRect({2, 2, W - 2, H - 2});
    } else {
      f.frame(0, 0, W, H, Hex(0x707070));
      f.frame(1, 1, W - 2, H - 2, kWhite);
    }
  }
  Corners(f.px, Hex(0x5F96BE));
}

void Style4(Face& f) {
  const auto& s = f.s;
  const FlatColours c = FlatSchemeColours(s.scheme, f.base);
  if (s.checked) {
    f.fill(Shift(c.fill, -0.05));
    f.frame(0, 0, f.W, f.H, c.border);
    if (s.pointerOver) {
      f.fill(Shift(c.fill, -0.01));
      f.frame(0, 0, f.W, f.H, c.border);
    }
    f.contents();
  } else if (Down(s)) {
    f.fill(Shift(c.fill, -0.08));
    f.contents();
    f.frame(0, 0, f.W, f.H, c.border);
  } else if (Hot(s)) {
    f.fill(Shift(c.fill, 0.03));
    f.contents();
    f.frame(0, 0, f.W, f.H, c.border);
  } else {
    f.fill(f.base);
    f.contents();
  }
}

void Style5(Face& f) {
  const auto& s = f.s;
  const int W = f.W, H = f.H, mid = f.half();
  if (s.enabled && s.checked) {
    const bool over = s.pointerOver;
    f.grad(0, 0, W, H, over ? Hex(0xFE914E) : Hex(0xFFD58C), over ? Hex(0xFFD38E) : Hex(0xFFAD55));
    f.contents();
    f.frame(0, 0, W, H, Hex(0x000080));
    return;
  }
  if (s.enabled && Hot(s)) {
    f.grad(0, 0, W, H, Hex(0xFFF4CC), Hex(0xFFD091));
  } else if (s.enabled && Down(s)) {
    f.grad(0, 0, W, H, Hex(0xFE914E), Hex(0xFFD38E));
  } else {
    f.region();
    f.grad(0, 0, W, mid, Mix(kWhite, Shift(f.base, 0.08)), f.base);
    f.grad(0, mid, W, core::geometry::RoundHalfEven(H / 2.0 + 1), f.base, Shift(f.base, -0.15));
    f.contents();
    return;
  }
  f.contents();
  f.frame(0, 0, W, H, Hex(0x000080));
}

void Style6(Face& f) {
  const auto& s = f.s;
  const int W = f.W, H = f.H, mid = f.half();
  const bool down = s.enabled && (Down(s) || (s.checked && s.mouseHeld));
  f.hooks.SetForeColor(down ? kWhite : s.sys.buttonText);
  if (s.enabled && s.checked && !s.mouseHeld) {
    f.fill(Hex(0xFEFFFE));
    f.contents();
    f.frame(0, 0, W, H, Hex(0x7A98AF));
    Corners(f.px, Shift(Hex(0xA0B3C1), -0.2));
    if (s.pointerOver) {
      f.line(W - 2, 2, W - 2, H - 2, Hex(0xF2F0ED));
      f.line(2, H - 2, W - 2, H - 2, Hex(0xE4DED8));
      f.line(1, H - 3, W - 1, H - 3, Hex(0xEFEBE8));
      f.line(1, H - 4, W - 1, H - 4, Hex(0xFAF8F8));
    }
  } else if (down) {
    f.fill(Hex(0xE5E4DD));
    f.contents();
    f.line(1, 1, W - 2, 1, Shift(Hex(0xDCDAD1), -0.02));
    f.line(1, 2, W - 2, 2, Shift(Hex(0xE3E3DA), -0.02));
    f.line(1, H - 3, W - 2, H - 3, Shift(Hex(0xE6E5DE), 0.02));
    f.line(1, H - 2, W - 2, H - 2, Shift(Hex(0xEBEAE5), 0.02));
    f.frame(0, 0, W, H, Hex(0x9D9D92));
    Corners(f.px, Shift(Hex(0xB5B3AB), -0.2));
  } else if (s.enabled && Hot(s)) {
    f.grad(0, 0, W, mid, Hex(0xFEFFFD), Hex(0xF4F4EE));
    f.grad(0, mid, W, mid, Hex(0xF4F4EE), Hex(0xF1F1EA));
    f.contents();
    f.line(W - 2, 2, W - 2, H - 2, Hex(0xEAE7E0));
    f.line(W - 3, 2, W - 3, H - 2, Hex(0xF0F0EA));
    f.line(0, H - 4, W, H - 4, Hex(0xEEEDE5));
    f.line(0, H - 3, W, H - 3, Hex(0xE4E1D6));
    f.line(0, H - 2, W, H - 2, Hex(0xD7D2C6));
    f.frame(0, 0, W, H, Hex(0xCECEC3));
    Corners(f.px, Shift(Hex(0xD4D4C9), -0.05));
  } else {
    f.region();
    f.fill(f.base);
    f.contents();
  }
}

void Style7(Face& f) {
  const auto& s = f.s;
  const int W = f.W, H = f.H;
  if (!s.enabled) {
    f.fill(f.base);
    f.contents();
    Corners(f.px, f.base);
    return;
  }
  if (Hot(s) || Down(s)) {
    if (Hot(s)) {
      f.grad(1, 1, W - 2, H - 2, Hex(0xF1FAFD), Hex(0xD0EBF8));
      f.grad(1, core::geometry::RoundHalfEven(H / 1.7), W - 2, H - 2, Hex(0xD0EBF8), Hex(0xD0EBF8));
    } else {
      f.grad(1, 1, W - 2, H - 2, Hex(0xB0DEF1), Hex(0xDBF2F9));
    }
    f.contents();
    f.frame(0, 0, W, H, Hex(0x619ECA));
    f.frame(1, 1, W - 2, H - 2, kWhite);
    Corners(f.px, Shift(Hex(0x619ECA), 0.3));
    return;
  }
  f.region();
  f.fill(f.base);
  f.contents();
}

void Style8(Face& f) {
  const auto& s = f.s;
  const int W = f.W, H = f.H, top = core::geometry::RoundHalfEven(H / 2.7), rest = core::geometry::RoundHalfEven(H - H / 2.7);
  const Colour b = f.base;
  auto two = [&](Colour u1, Colour u2, Colour l1, Colour l2) {
    f.grad(0, 0, W, top, u1, u2);
    f.grad(0, top, W, rest, l1, l2);
  };
  if (s.enabled && s.checked && !s.pointerOver) {
    two(Hex(0xFFD9A9), Hex(0xFFC06F), Hex(0xFFAB3F), Hex(0xFFE175));
  } else if (s.enabled && Down(s)) {
    two(Hex(0xFFC158), Hex(0xFFAF51), Hex(0xFF8F46), Hex(0xFFD35F));
  } else if (s.enabled && Hot(s)) {
    two(Hex(0xFFFFE1), Hex(0xFFEAAC), Hex(0xFFD767), Hex(0xFFE499));
  } else {
    f.fill(b);
    two(Mix(Shift(b, 0.09), kWhite), Mix(Shift(b, 0.07), b), b, Shift(b, 0.03));
  }
  f.contents();
  f.frame(0, 0, W, H, Shift(b, -0.34));
}

void Style9(Face& f) {
  const auto& s = f.s;
  const int W = f.W, H = f.H, mid = f.half();
  const Colour b = f.base;
  if (s.enabled && Down(s)) {
    f.grad(0, 0, W, mid, kWhite, Shift(b, -0.1));
    f.grad(0, mid, W, H - mid, Shift(b, -0.05), b);
    f.contents();
    f.frame(1, 1, W - 2, H, kWhite);
    f.frame(0, 0, W, H, Shift(b, -0.23));
    f.line(2, H - 1, W - 2, H - 1, Shift(b, -0.4));
  } else {
    // A disabled style 9 button looks like its normal state.
    if (!(s.enabled && Hot(s))) f.region();
    f.grad(0, 0, W, mid, kWhite, b);
    Fill(f.px, {0, mid, W, H}, b);
    f.contents();
    f.frame(1, 1, W - 2, H, kWhite);
    f.frame(0, 0, W, H, Shift(b, -0.2));
    f.line(2, H - 1, W - 2, H - 1, Shift(b, -0.25));
  }
  Corners(f.px, Shift(b, 0.05));
  if (s.hostActive && s.showFocusRect && f.focusedOrDefault()) f.focusRect({3, 3, W - 3, H - 3});
}

void Style10(Face& f) {
  const auto& s = f.s;
  const Colour b = f.base;
  struct Row {
    Colour face;
    double a;
    Colour c1;
    double bb, k, j;
  };
  Row r;
  if (!s.enabled) {
    r = {b, 0.05, Shift(b, -0.02), 0.08, -0.2, -0.23};
  } else if (Hot(s)) {
    r = {Shift(b, -0.03), 0.15, Shift(b, -0.05), 0.2, -0.28, -0.36};
  } else if (Down(s)) {
    r = {Shift(b, -0.03), 0.1, Shift(b, -0.08), 0.05, -0.36, -0.36};
  } else {
    f.region();
    r = {Shift(b, -0.03), 0.1, Shift(b, -0.05), 0.1, -0.33, -0.36};
  }
  f.fill(r.face);
  f.grad(0, 0, f.W, 5, Shift(Mix(b, kWhite), r.a), b);
  f.grad(0, 6, f.W, f.H - 1, r.c1, Mix(kWhite, Shift(b, r.bb)));
  f.contents();
  f.frame(0, 0, f.W, f.H, Shift(b, r.k));
  Corners(f.px, Shift(b, r.j));
}

void Style13(Face& f) {
  const auto& s = f.s;
  int themeState = 1;
  if (!s.enabled) {
    themeState = 4;
  } else if (Down(s)) {
    themeState = 3;
  } else if (Hot(s)) {
    themeState = 2;
  } else if (f.focusedOrDefault() && s.hostActive) {
    themeState = 5;
  }
  f.hooks.ThemeBackground(f.px, themeState);
  f.contents();
}

}  // namespace

ButtonState DrawnState(int style, ButtonState state, bool checked) noexcept {
  if (checked && style != 0 && style != 6) return ButtonState::Down;
  return state;
}

void PaintFace(PixelView& px, const FaceState& s, FaceHooks& hooks) {
  Fill(px, {0, 0, px.width, px.height}, s.surface);
  Face f{px, s, hooks};
  switch (s.style) {
    case 0:
    case 1:
    case 11:
    case 12: Classic(f); break;
    case 2: Style2(f); break;
    case 3: Style3(f); break;
    case 4: Style4(f); break;
    case 5: Style5(f); break;
    case 6: Style6(f); break;
    case 7: Style7(f); break;
    case 8: Style8(f); break;
    case 9: Style9(f); break;
    case 10: Style10(f); break;
    case 13: Style13(f); break;
    default: f.contents(); break;
  }
}

}  // namespace pravik::core::button
