#include "core/pickbox/pick_settings.h"

#include "core/pickbox/pick_values.h"

namespace pravik::core::pickbox {

namespace {

const std::array<std::wstring, 6> kDialogMsg = {L"Locate Color...", L"Locate Folder...", L"Locate Font...",
                                                L"Locate File...",  L"Locate File...",   L"Locate Printer..."};
const std::array<std::wstring, 6> kToolTips = {L"Click Here to Locate Color.", L"Click Here to Locate Folder.",
                                               L"Click Here to Locate Font.",  L"Click Here to Locate File.",
                                               L"Click Here to Locate File",   L"Click Here to Locate Printer."};
const std::array<std::wstring, 2> kPrintStatus = {L"Print Cancelled...", L"Print Completed..."};

std::wstring Indexed(const wchar_t* name, std::size_t index) { return name + std::to_wstring(index); }

}  // namespace

const wchar_t kResetFilters[] = L"Supported files|*.*|All Files (*.*)";

Settings::Settings() : dialogMsg(kDialogMsg), printStatusMsg(kPrintStatus), toolTipTexts(kToolTips) {
  fileFlags = DefaultFileFlags(dialogType);
}

std::int32_t DefaultFileFlags(std::int32_t dialogType) { return dialogType == kOpen ? 0x280006 : 0x382004; }

void Reset(Settings& s) {
  s.dialogMsg = kDialogMsg;
  s.dialogType = 0;
  s.filters = kResetFilters;
  s.fileFlags = DefaultFileFlags(s.dialogType);
  s.fontFlags = 74051;
  s.printerFlags = 0x200001;
  s.printStatusMsg = kPrintStatus;
  s.toolTipTexts = kToolTips;
  s.toolTipTexts[3] = s.multiSelect ? L"Click Here to Locate Files." : L"Click Here to Locate File.";
  s.toolTipTexts[4] = L"Click Here to Locate File";
  s.toolTipTexts[5] = L"Click Here to Locate Printer";
  s.useDialogColor = false;
  s.useDialogText = true;
  s.path.clear();
}

Settings ReadSettings(const core::propbag::PropertyBag& bag) {
  const Settings d;
  Settings s;
  s.appearance = bag.Read(L"Appearance", d.appearance);
  s.useAutoForeColor = bag.Read(L"UseAutoForeColor", d.useAutoForeColor);
  s.backColor = static_cast<std::uint32_t>(bag.Read(L"BackColor", static_cast<std::int32_t>(d.backColor)));
  s.color = static_cast<std::uint32_t>(bag.Read(L"Color", static_cast<std::int32_t>(d.color)));
  s.colorFlags = bag.Read(L"ColorFlags", d.colorFlags);
  s.defaultExt = bag.Read(L"DefaultExt", d.defaultExt);
  for (std::size_t i = 0; i < s.dialogMsg.size(); ++i) s.dialogMsg[i] = bag.Read(Indexed(L"DialogMsg", i), d.dialogMsg[i]);
  s.dialogType = ClampDialogType(bag.Read(L"DialogType", d.dialogType));
  s.enabled = bag.Read(L"Enabled", d.enabled);
  s.fileFlags = bag.Read(L"FileFlags", DefaultFileFlags(s.dialogType));
  s.filters = bag.Read(L"Filters", d.filters);
  if (const auto* font = bag.Find(L"Font"); font && std::holds_alternative<core::propbag::FontDesc>(*font)) {
    s.font = std::get<core::propbag::FontDesc>(*font);
  }
  s.folderFlags = bag.Read(L"FolderFlags", d.folderFlags);
  s.fontFlags = bag.Read(L"FontFlags", d.fontFlags);
  s.foreColor = static_cast<std::uint32_t>(bag.Read(L"ForeColor", static_cast<std::int32_t>(d.foreColor)));
  s.multiSelect = bag.Read(L"MultiSelect", d.multiSelect);
  s.path = bag.Read(L"Path", d.path);
  s.printerFlags = bag.Read(L"PrinterFlags", d.printerFlags);
  s.printStatusMsg[0] = bag.Read(L"PrintStatusMsg0", d.printStatusMsg[0]);
  s.printStatusMsg[1] = bag.Read(L"PrintStatusMsg1", bag.Read(L"PrintStatusMsg", d.printStatusMsg[1]));
  s.theme = bag.Read(L"Theme", d.theme);
  for (std::size_t i = 0; i < s.toolTipTexts.size(); ++i) {
    s.toolTipTexts[i] = bag.Read(Indexed(L"ToolTipText", i), d.toolTipTexts[i]);
  }
  s.useDialogColor = bag.Read(L"UseDialogColor", d.useDialogColor);
  s.useDialogText = bag.Read(L"UseDialogText", d.useDialogText);
  return s;
}

void WriteSettings(const Settings& s, core::propbag::PropertyBag& bag) {
  const Settings d;
  bag.Write(L"Appearance", s.appearance, d.appearance);
  bag.Write(L"UseAutoForeColor", s.useAutoForeColor, d.useAutoForeColor);
  bag.Write(L"BackColor", static_cast<std::int32_t>(s.backColor), static_cast<std::int32_t>(d.backColor));
  bag.Write(L"Color", static_cast<std::int32_t>(s.color), static_cast<std::int32_t>(d.color));
  bag.Write(L"ColorFlags", s.colorFlags, d.colorFlags);
  bag.Write(L"DefaultExt", s.defaultExt, d.defaultExt);
  for (std::size_t i = 0; i < s.dialogMsg.size(); ++i) bag.Write(Indexed(L"DialogMsg", i), s.dialogMsg[i], d.dialogMsg[i]);
  bag.Write(L"DialogType", ClampDialogType(s.dialogType), d.dialogType);
  bag.Write(L"Enabled", s.enabled, d.enabled);
  bag.Write(L"FileFlags", s.fileFlags, DefaultFileFlags(s.dialogType));
  bag.Write(L"Filters", s.filters, d.filters);
  if (s.font) {
    bag.Set(L"Font", *s.font);
  } else {
    bag.Remove(L"Font");
  }
  bag.Write(L"FolderFlags", s.folderFlags, d.folderFlags);
  bag.Write(L"FontFlags", s.fontFlags, d.fontFlags);
  bag.Write(L"ForeColor", static_cast<std::int32_t>(s.foreColor), static_cast<std::int32_t>(d.foreColor));
  bag.Write(L"MultiSelect", s.multiSelect, d.multiSelect);
  bag.Write(L"Path", s.path, d.path);
  bag.Write(L"PrinterFlags", s.printerFlags, d.printerFlags);
  bag.Remove(L"PrintStatusMsg");  // the old single name is replaced by the two below
  bag.Write(L"PrintStatusMsg0", s.printStatusMsg[0], d.printStatusMsg[0]);
  bag.Write(L"PrintStatusMsg1", s.printStatusMsg[1], d.printStatusMsg[1]);
  bag.Write(L"Theme", s.theme, d.theme);
  for (std::size_t i = 0; i < s.toolTipTexts.size(); ++i) {
    bag.Write(Indexed(L"ToolTipText", i), s.toolTipTexts[i], d.toolTipTexts[i]);
  }
  bag.Write(L"UseDialogColor", s.useDialogColor, d.useDialogColor);
  bag.Write(L"UseDialogText", s.useDialogText, d.useDialogText);
}

}  // namespace pravik::core::pickbox
