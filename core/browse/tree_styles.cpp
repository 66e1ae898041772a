#include "core/browse/tree_styles.h"

namespace pravik::core::browse {
namespace {

std::uint32_t Toggle(std::uint32_t style, std::uint32_t bit, bool on) { return on ? (style | bit) : (style & ~bit); }

}  // namespace

std::optional<std::uint32_t> TreeStyleFor(std::uint32_t currentStyle, const TreeStyleOptions& options) {
  std::uint32_t style = currentStyle & kTreeStyleKeepMask;
  if (style == 0) return std::nullopt;
  if (options.checkBoxes) style |= kTvsCheckBoxes;
  style = Toggle(style, kTvsFullRowSelect, options.fullRowSelect);
  style = Toggle(style, kTvsHasButtons, options.hasButtons);
  style = Toggle(style, kTvsHasLines, options.hasLines);
  style = Toggle(style, kTvsShowSelAlways, !options.hideSelection);
  style = Toggle(style, kTvsTrackSelect, options.hotTracking);
  return style;
}

}  // namespace pravik::core::browse
