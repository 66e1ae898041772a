#include "core/button/scheme.h"

namespace pravik::core::button {

int SchemeAfterStyleChange(int style, int currentScheme) noexcept {
  switch (style) {
    case 3:
    case 9:
      return 2;
    case 5:
    case 11:
    case 12:
    case 13:
      return currentScheme;
    default:
      return 0;
  }
}

SchemeResult ApplyScheme(int style, int scheme, Colour systemButtonFace, Colour systemButtonText) noexcept {
  SchemeResult r;
  auto pick = [&](Colour s0, Colour s1, Colour s2) -> std::optional<Colour> {
    switch (scheme) {
      case 0: return s0;
      case 1: return s1;
      case 2: return s2;
      default: return std::nullopt;
    }
  };
  switch (style) {
    case 2: r.backColor = pick(Hex(0xECEBE7), Hex(0xF3EEDB), Hex(0xF0F1FC)); break;
    case 3: r.backColor = pick(Hex(0xE0ECFD), Hex(0xE8EDDE), Shift(Hex(0xD4D4D4), 0.06)); break;
    case 5: r.backColor = pick(Hex(0xCAE1FC), Hex(0xD4D6BA), Shift(Hex(0xA09EBA), 0.15)); break;
    case 8:
    case 10: r.backColor = pick(Hex(0xADD1FF), Hex(0xD4D6BA), Hex(0xE0DFE3)); break;
    case 9: r.backColor = pick(Hex(0xADD1FF), Hex(0xD4D6BA), Hex(0xD5D6E1)); break;
    case 13: break;
    default: r.backColor = systemButtonFace; break;  // 0, 1, 4, 6, 7, 11, 12 in every scheme
  }
  r.foreColor = systemButtonText;
  r.showFocusRect = style == 0 || style == 1 || style == 9;
  r.picturePushOnHover = style == 4;
  return r;
}

FlatColours FlatSchemeColours(int scheme, Colour base) noexcept {
  switch (scheme) {
    case 0: return {Hex(0xC1D2EE), Hex(0x316AC5)};
    case 1: return {Hex(0xD4D6BA), Hex(0x93A070)};
    case 2: return {Hex(0xE0DFE3), Hex(0xB2B4BF)};
    case 3: return {base, Shift(base, -0.12)};
    default: return {kBlack, kBlack};
  }
}

}  // namespace pravik::core::button
