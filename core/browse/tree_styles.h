#pragma once
// The tree's style bits as the control's options set them. The dialog sets bits of its own
// (lines at root, label editing, no drag and drop, single expand, info tips); they are cleared.
#include <cstdint>
#include <optional>

namespace pravik::core::browse {

struct TreeStyleOptions {
  bool checkBoxes = false;
  bool fullRowSelect = false;
  bool hasButtons = true;
  bool hasLines = false;
  bool hideSelection = true;
  bool hotTracking = true;
};

// Keeps every bit outside &H0001..&H2000 and TVS_RTLREADING (&H0040).
constexpr std::uint32_t kTreeStyleKeepMask = 0xFFFFC040u;

constexpr std::uint32_t kTvsHasButtons = 0x0001;
constexpr std::uint32_t kTvsHasLines = 0x0002;
constexpr std::uint32_t kTvsShowSelAlways = 0x0020;
constexpr std::uint32_t kTvsCheckBoxes = 0x0100;
constexpr std::uint32_t kTvsTrackSelect = 0x0200;
constexpr std::uint32_t kTvsFullRowSelect = 0x1000;

// The new window style, or nothing when the masked style is 0 (then nothing is to be changed).
std::optional<std::uint32_t> TreeStyleFor(std::uint32_t currentStyle, const TreeStyleOptions& options);

}  // namespace pravik::core::browse
