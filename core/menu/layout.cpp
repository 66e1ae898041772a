#include "core/menu/layout.h"

#include "core/geometry/rounding.h"

namespace pravik::core::menu {

const ElementLayout* FindLayout(std::wstring_view name) {
  for (const auto& e : kLayout)
    if (e.name == name) return &e;
  return nullptr;
}

std::optional<PixelRect> LayoutPixels(std::wstring_view name) {
  const ElementLayout* e = FindLayout(name);
  if (!e) return std::nullopt;
  const auto px = [](int twips) { return static_cast<int>(core::geometry::RoundHalfEven(twips / 15.0)); };
  return PixelRect{px(e->left), px(e->top), px(e->width), px(e->height)};
}

}  // namespace pravik::core::menu
