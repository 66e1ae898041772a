#include "core/browse/browse_properties.h"

namespace pravik::core::browse {

BrowseProperties ReadBrowseProperties(const core::propbag::PropertyBag& bag) {
  const BrowseProperties d;
  BrowseProperties p;
  p.appearance = bag.Read<std::int32_t>(L"Appearance", d.appearance);
  p.checkBoxes = bag.Read<bool>(L"CheckBoxes", d.checkBoxes);
  p.enabled = bag.Read<bool>(L"Enabled", d.enabled);
  p.folderFlags = bag.Read<std::int32_t>(L"FolderFlags", d.folderFlags);
  p.fullRowSelect = bag.Read<bool>(L"FullRowSelect", d.fullRowSelect);
  p.hasLines = bag.Read<bool>(L"HasLines", d.hasLines);
  p.hasButtons = bag.Read<bool>(L"HasButtons", d.hasButtons);
  p.hideSelection = bag.Read<bool>(L"HideSelection", d.hideSelection);
  p.hotTracking = bag.Read<bool>(L"HotTracking", d.hotTracking);
  p.path = bag.Read<std::wstring>(L"Path", d.path);
  p.root = bag.Read<std::int32_t>(L"Root", d.root);
  p.theme = bag.Read<std::int32_t>(L"Theme", d.theme);
  return p;
}

void WriteBrowseProperties(const BrowseProperties& p, core::propbag::PropertyBag& bag) {
  const BrowseProperties d;
  bag.Write<std::int32_t>(L"Appearance", p.appearance, d.appearance);
  bag.Write<bool>(L"CheckBoxes", p.checkBoxes, d.checkBoxes);
  bag.Write<bool>(L"Enabled", p.enabled, d.enabled);
  bag.Write<std::int32_t>(L"FolderFlags", p.folderFlags, d.folderFlags);
  bag.Write<bool>(L"FullRowSelect", p.fullRowSelect, d.fullRowSelect);
  bag.Write<bool>(L"HasLines", p.hasLines, d.hasLines);
  bag.Write<bool>(L"HasButtons", p.hasButtons, d.hasButtons);
  bag.Write<bool>(L"HideSelection", p.hideSelection, d.hideSelection);
  bag.Write<bool>(L"HotTracking", p.hotTracking, d.hotTracking);
  bag.Write<std::wstring>(L"Path", p.path, d.path);
  bag.Write<std::int32_t>(L"Root", p.root, d.root);
  bag.Write<std::int32_t>(L"Theme", p.theme, d.theme);
}

}  // namespace pravik::core::browse
