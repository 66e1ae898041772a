#include "core/menu/layout.h"

#include "core/geometry/rounding.h"

namespace pravik::core::menu {

const ElementLayout* FindLayout(std::wstring_view name) {
  for (const auto& e : kLayout)
    if (e.name == name) return &e;
  return name == kWebNotice.name ? &kWebNotice : nullptr;
}

std::optional<PixelRect> LayoutPixels(std::wstring_view name, geometry::TwipsPerPixel scale) {
  const ElementLayout* e = FindLayout(name);
  if (!e) return std::nullopt;
  const auto x = [&](int twips) { return static_cast<int>(geometry::TwipsToPixels(twips, scale.x)); };
  const auto y = [&](int twips) { return static_cast<int>(geometry::TwipsToPixels(twips, scale.y)); };
  return PixelRect{x(e->left), y(e->top), x(e->width), y(e->height)};
}

PixelRect MenuPixels(geometry::TwipsPerPixel scale) {
  return {0, 0, static_cast<int>(geometry::TwipsToPixels(kMenuWidthTwips, scale.x)),
          static_cast<int>(geometry::TwipsToPixels(kMenuHeightTwips, scale.y))};
}

geometry::TwipsPerPixel MenuScale(geometry::TwipsPerPixel screen, const geometry::PixelRect& work) {
  return geometry::FitWithin(screen, kMenuWidthTwips, kMenuHeightTwips, work.right - work.left, work.bottom - work.top);
}

geometry::PixelRect PlaceMenu(std::int32_t buttonLeft, const geometry::PixelRect& button, std::int32_t earlierHeight,
                              const PixelRect& menuSize, const geometry::PixelRect& work) {
  const std::int32_t left = buttonLeft + (button.right - button.left);
  const std::int32_t top = button.top - earlierHeight + (button.bottom - button.top);
  return geometry::KeepInside({left, top, left + menuSize.width, top + menuSize.height}, work);
}

}  // namespace pravik::core::menu
