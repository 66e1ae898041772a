#pragma once
// The picker's stored properties: names, defaults, the reset, and reading and writing them with
// the host's layout through the property bag.
#include <array>
#include <cstdint>
#include <optional>
#include <string>

#include "core/propbag/property_bag.h"

namespace pravik::core::pickbox {

struct Settings {
  std::int32_t appearance = 1;
  bool useAutoForeColor = true;
  std::uint32_t backColor = 0x00FFFFFF;
  std::uint32_t color = 0x00FFFFFF;
  std::int32_t colorFlags = 259;
  std::wstring defaultExt = L".txt";
  std::array<std::wstring, 6> dialogMsg;
  std::int32_t dialogType = 0;
  bool enabled = true;
  std::int32_t fileFlags = 0;  // filled by DefaultFileFlags when read
  std::wstring filters;
  std::optional<core::propbag::FontDesc> font;
  std::int32_t folderFlags = 4160;
  std::int32_t fontFlags = 74051;
  std::uint32_t foreColor = 0;
  bool multiSelect = false;
  std::wstring path;
  std::int32_t printerFlags = 0x200001;
  std::array<std::wstring, 2> printStatusMsg;
  std::int32_t theme = 0;
  std::array<std::wstring, 6> toolTipTexts;
  bool useDialogColor = false;
  bool useDialogText = true;

  // Defaults of a missing layout (dialog prompts, print texts and tooltips included).
  Settings();
};

// 0x280006 for the open dialog, 0x382004 otherwise.
std::int32_t DefaultFileFlags(std::int32_t dialogType);
// "Supported files|*.*|All Files (*.*)": what a reset puts into Filters.
extern const wchar_t kResetFilters[];

// The reset at creation: prompts, DialogType 0, Filters, flags, print texts, tooltips (slot 3
// follows MultiSelect), UseDialogColor false, UseDialogText true, Path cleared.
void Reset(Settings& settings);

// Reads every stored name (letter case ignored), missing ones taking their defaults. The two print
// texts are stored as "PrintStatusMsg0" and "PrintStatusMsg1"; a layout written under the single
// old name "PrintStatusMsg" (which held the second text, written last) still reads into slot 1.
Settings ReadSettings(const core::propbag::PropertyBag& bag);
// Writes every property, leaving out the values equal to their defaults.
void WriteSettings(const Settings& settings, core::propbag::PropertyBag& bag);

}  // namespace pravik::core::pickbox
