#pragma once
// Value rules of the picker control: dialog type range, colour texts, looks and layout.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace pravik::core::pickbox {

enum DialogType : std::int32_t { kColor = 0, kFolder = 1, kFont = 2, kOpen = 3, kSave = 4, kPrinter = 5 };
// Values below 0 become 0, above 5 become 5.
std::int32_t ClampDialogType(std::int32_t value);

// "&H" followed by the colour in upper-case hexadecimal, six digits (&H00BBGGRR's colour part,
// or all eight when the top byte is set).
std::wstring LongToHexColor(std::uint32_t color);
// A typed colour: decimal digits or "&H" hexadecimal (at most 8 digits), surrounding blanks
// allowed. Nothing for words, signs, fractions or values beyond 32 bits.
std::optional<std::uint32_t> ParseTypedColor(std::wstring_view text);
// The text colour that stays readable on a chosen background.
constexpr std::uint32_t InverseTextColor(std::uint32_t color) { return (color ^ 0x00FFFFFFu) & 0x00FFFFFFu; }

enum class Theme : std::int32_t { kAuto = 0, kClassic = 1, kBlue = 2, kHomeStead = 3, kMetallic = 4, kNone = 5 };
enum class Look { kClassic, kBlue, kHomeStead, kMetallic, kNone };
// The look a theme value gives; Auto follows the visual style's colour scheme name
// ("NormalColor" Blue, "HomeStead", "Metallic"); no style or no name gives Classic.
Look ResolveLook(std::int32_t theme, std::wstring_view schemeName);

// Layout in pixels for a requested size: at least 1455 twips wide, exactly 315 twips high.
struct Layout {
  int width = 0, height = 0;
  int textWidth = 0;          // the text box fills the width left of the buttons
  int pickLeft = 0, pickWidth = 0;
  int dropLeft = 0, dropWidth = 0;  // 0 wide unless multi-file open shows it
};
constexpr int kMinWidthTwips = 1455;
constexpr int kHeightTwips = 315;
Layout ComputeLayout(int requestedWidth, double twipsPerPixelX, double twipsPerPixelY, bool showDrop);
// Pixels a shown path may take: the text box width less the pick button's width and a
// 40-twip margin (never below 0).
constexpr int kShownPathMarginTwips = 40;
int ShownPathWidth(int textBoxWidth, int pickWidth, double twipsPerPixelX);

}  // namespace pravik::core::pickbox
