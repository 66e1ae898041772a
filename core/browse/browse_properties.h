#pragma once
// The folder tree control's twelve stored properties, their keys and defaults.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

#include "core/propbag/property_bag.h"

namespace pravik::core::browse {

// BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT | BIF_BROWSEFORCOMPUTER
constexpr std::int32_t kDefaultFolderFlags = 4101;
// What a FolderFlags of 0 stands for: BIF_RETURNONLYFSDIRS | BIF_STATUSTEXT.
constexpr std::int32_t kZeroFolderFlags = 5;
// BIF_BROWSEINCLUDEFILES: files are listed as well as folders.
constexpr std::int32_t kFolderFlagsIncludeFiles = 16384;

struct BrowseProperties {
  std::int32_t appearance = 1;
  bool checkBoxes = false;
  bool enabled = true;
  std::int32_t folderFlags = kDefaultFolderFlags;
  bool fullRowSelect = false;
  bool hasLines = false;
  bool hasButtons = true;
  bool hideSelection = true;
  bool hotTracking = true;
  std::wstring path;
  std::int32_t root = 0;
  std::int32_t theme = 0;
  bool operator==(const BrowseProperties&) const = default;
};

// The keys in the order they are read and written (HasLines before HasButtons).
constexpr std::array<std::wstring_view, 12> kBrowseStoredOrder = {
    L"Appearance", L"CheckBoxes", L"Enabled", L"FolderFlags", L"FullRowSelect", L"HasLines",
    L"HasButtons", L"HideSelection", L"HotTracking", L"Path", L"Root", L"Theme"};

// A missing entry takes its default.
BrowseProperties ReadBrowseProperties(const core::propbag::PropertyBag& bag);
// A value equal to its default is not written.
void WriteBrowseProperties(const BrowseProperties& properties, core::propbag::PropertyBag& bag);

// The flags handed to the dialog: 0 stands for 5.
constexpr std::int32_t EffectiveFolderFlags(std::int32_t folderFlags) {
  return folderFlags == 0 ? kZeroFolderFlags : folderFlags;
}

}  // namespace pravik::core::browse
