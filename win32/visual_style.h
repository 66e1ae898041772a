#pragma once
// The active visual style as the theme service names it.
#include <optional>
#include <string>

namespace pravik::win32 {

struct VisualStyle {
  std::wstring file;         // the style file's path
  std::wstring colorScheme;  // "NormalColor", "Metallic", ...
};

// Nothing when the theme service reports no style (none active, or the question failed).
std::optional<VisualStyle> CurrentVisualStyle();
// The display name a style file declares for itself ("Luna"); empty when it declares none.
std::wstring VisualStyleName(const std::wstring& file);

}  // namespace pravik::win32
