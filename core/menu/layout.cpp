#include "menu/layout.h"

#include "geometry/rounding.h"

namespace pravik::menu {

const ElementLayout* FindLayout(std::wstring_view name) {
  for (const auto& e : kLayout)
    if (e.name == name) return &e;
  return nullptr;
}

std::optional<PixelRect> LayoutPixels(std::wstring_view name) {
  const ElementLayout* e = FindLayout(name);
  if (!e) return std::nullopt;
  const auto px = [](int twips) { return static_cast<int>(RoundHalfEven(twips / 15.0)); };
  return PixelRect{px(e->left), px(e->top), px(e->width), px(e->height)};
}

}  // namespace pravik::menu
