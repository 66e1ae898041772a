#include "core/pickbox/pick_values.h"

#include <algorithm>
#include <cwctype>

#include "core/geometry/rounding.h"

namespace pravik::core::pickbox {

std::int32_t ClampDialogType(std::int32_t value) { return std::clamp(value, 0, 5); }

std::wstring LongToHexColor(std::uint32_t color) {
  static constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
  const int digits = (color >> 24) ? 8 : 6;
  std::wstring out = L"&H";
  for (int k = digits - 1; k >= 0; --k) out += kDigits[(color >> (4 * k)) & 0xF];
  return out;
}

std::optional<std::uint32_t> ParseTypedColor(std::wstring_view text) {
  while (!text.empty() && std::iswspace(static_cast<wint_t>(text.front()))) text.remove_prefix(1);
  while (!text.empty() && std::iswspace(static_cast<wint_t>(text.back()))) text.remove_suffix(1);
  if (text.empty()) return std::nullopt;
  std::uint64_t value = 0;
  if (text.size() > 2 && text[0] == L'&' && (text[1] == L'H' || text[1] == L'h')) {
    text.remove_prefix(2);
    if (text.empty() || text.size() > 8) return std::nullopt;
    for (wchar_t c : text) {
      int digit;
      if (c >= L'0' && c <= L'9') digit = c - L'0';
      else if (c >= L'A' && c <= L'F') digit = c - L'A' + 10;
      else if (c >= L'a' && c <= L'f') digit = c - L'a' + 10;
      else return std::nullopt;
      value = value * 16 + static_cast<std::uint64_t>(digit);
    }
    return static_cast<std::uint32_t>(value);
  }
  if (text.size() > 10) return std::nullopt;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    value = value * 10 + static_cast<std::uint64_t>(c - L'0');
  }
  if (value > 0xFFFFFFFFull) return std::nullopt;
  return static_cast<std::uint32_t>(value);
}

Look ResolveLook(std::int32_t theme, std::wstring_view schemeName) {
  switch (static_cast<Theme>(theme)) {
    case Theme::kClassic: return Look::kClassic;
    case Theme::kBlue: return Look::kBlue;
    case Theme::kHomeStead: return Look::kHomeStead;
    case Theme::kMetallic: return Look::kMetallic;
    case Theme::kNone: return Look::kNone;
    case Theme::kAuto:
      if (schemeName == L"NormalColor") return Look::kBlue;
      if (schemeName == L"HomeStead") return Look::kHomeStead;
      if (schemeName == L"Metallic") return Look::kMetallic;
      return Look::kClassic;
  }
  return Look::kClassic;
}

Layout ComputeLayout(int requestedWidth, double twipsPerPixelX, double twipsPerPixelY, bool showDrop) {
  Layout layout;
  const int minWidth = core::geometry::TwipsToPixels(kMinWidthTwips, twipsPerPixelX);
  layout.width = std::max(requestedWidth, minWidth);
  layout.height = core::geometry::TwipsToPixels(kHeightTwips, twipsPerPixelY);
  // Square pick button; the drop button is a narrow arrow beside it.
  layout.pickWidth = layout.height;
  layout.pickLeft = layout.width - layout.pickWidth;
  layout.dropWidth = showDrop ? layout.height * 3 / 4 : 0;
  layout.dropLeft = layout.pickLeft - layout.dropWidth;
  layout.textWidth = layout.dropLeft;
  return layout;
}

int ShownPathWidth(int textBoxWidth, int pickWidth, double twipsPerPixelX) {
  const std::int64_t width = static_cast<std::int64_t>(textBoxWidth) - pickWidth -
                             core::geometry::TwipsToPixels(kShownPathMarginTwips, twipsPerPixelX);
  return static_cast<int>(std::clamp<std::int64_t>(width, 0, INT32_MAX));
}

}  // namespace pravik::core::pickbox
