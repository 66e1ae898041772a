// The stored layout of a zqbutton: names, defaults when absent, and the writing rules.

#include "controls/button/image_button.h"
#include "win32/ole_colour.h"

namespace pravik::controls::button {

namespace {
constexpr std::uint32_t kSysButtonText = 0x80000012;
constexpr std::uint32_t kSysInfoBackground = 0x80000018;

std::uint32_t ReadColour(const core::propbag::PropertyBag& bag, const wchar_t* name, std::uint32_t fallback) {
  return static_cast<std::uint32_t>(bag.Read<std::int32_t>(name, static_cast<std::int32_t>(fallback)));
}
void WriteColour(core::propbag::PropertyBag& bag, const wchar_t* name, std::uint32_t value, std::uint32_t fallback) {
  bag.Write<std::int32_t>(name, static_cast<std::int32_t>(value), static_cast<std::int32_t>(fallback));
}
std::optional<core::button::ButtonPicture> ReadPicture(const core::propbag::PropertyBag& bag, const wchar_t* name) {
  const auto bytes = bag.Read<core::propbag::Bytes>(name, {});
  if (bytes.empty()) return std::nullopt;
  // Damaged data gives no picture; the rest of the layout still loads.
  std::optional<core::button::ButtonPicture> picture = core::button::DecodePicture(bytes);
  if (!picture.has_value() || picture->empty()) return std::nullopt;
  return picture;
}
void WritePicture(core::propbag::PropertyBag& bag, const wchar_t* name, const std::optional<core::button::ButtonPicture>& p) {
  if (p) {
    bag.Set(name, core::button::EncodePicture(*p));
  } else {
    bag.Remove(name);
  }
}
}  // namespace

std::uint32_t TranslateColour(std::uint32_t ole) noexcept {
  return win32::TranslateOleColour(static_cast<OLE_COLOR>(ole)).value_or(0xFFFFFFFFu);
}

ImageButtonSettings ReadSettings(const core::propbag::PropertyBag& bag, const core::propbag::FontDesc& ambientFont) {
  ImageButtonSettings s;
  s.buttonStyle = bag.Read(L"ButtonStyle", 1);
  s.showFocusRect = bag.Read<bool>(L"ShowFocusRect", false);
  s.font = bag.Read(L"Font", ambientFont);
  s.backColor = ReadColour(bag, L"BackColor", 0x8000000F);
  s.enabled = bag.Read<bool>(L"Enabled", true);
  s.caption = bag.Read(L"Caption", L"zqbutton");
  s.value = bag.Read<bool>(L"Value", false);
  s.mousePointer = bag.Read(L"MousePointer", 0);
  s.handPointer = bag.Read<bool>(L"HandPointer", false);
  s.mouseIcon = ReadPicture(bag, L"MouseIcon");
  s.pictureNormal = ReadPicture(bag, L"PictureNormal");
  s.pictureHot = ReadPicture(bag, L"PictureHot");
  s.pictureDown = ReadPicture(bag, L"PictureDown");
  s.pictureShadow = bag.Read<bool>(L"PictureShadow", false);
  s.pictureOpacity = bag.Read(L"PictureOpacity", 255) & 0xFF;
  s.pictureOpacityOnOver = bag.Read(L"PictureOpacityOnOver", 255) & 0xFF;
  s.disabledPictureMode = bag.Read(L"DisabledPictureMode", 0);
  s.picturePushOnHover = bag.Read<bool>(L"PicturePushOnHover", false);
  s.pictureEffectOnOver = bag.Read(L"PictureEffectOnOver", 1);
  s.pictureEffectOnDown = bag.Read(L"PictureEffectOnDown", 2);
  s.maskColor = ReadColour(bag, L"MaskColor", 0x00E0E0E0);
  s.useMaskColor = bag.Read<bool>(L"UseMaskColor", true);
  s.captionEffects = bag.Read(L"CaptionEffects", 0);
  s.mode = bag.Read(L"Mode", 0);
  s.pictureAlign = bag.Read(L"PictureAlign", 1);
  s.captionAlign = bag.Read(L"CaptionAlign", 1);
  s.foreColor = ReadColour(bag, L"ForeColor", TranslateColour(kSysButtonText));
  s.foreColorHover = ReadColour(bag, L"ForeColorHover", TranslateColour(kSysButtonText));
  s.dropDownSeparator = bag.Read<bool>(L"DropDownSeparator", false);
  s.tooltipTitle = bag.Read(L"TooltipTitle", L"");
  s.toolTip = bag.Read(L"ToolTip", L"");
  s.tooltipIcon = bag.Read(L"TooltipIcon", 0);
  s.tooltipType = bag.Read(L"TooltipType", 0);
  s.tooltipBackColor = ReadColour(bag, L"TooltipBackColor", TranslateColour(kSysInfoBackground));
  s.rightToLeft = bag.Read<bool>(L"RightToLeft", false);
  s.dropDownSymbol = bag.Read(L"DropDownSymbol", 0);
  s.colorScheme = bag.Read(L"ColorScheme", 0);
  return s;
}

void WriteSettings(const ImageButtonSettings& s, const core::propbag::FontDesc& ambientFont, core::propbag::PropertyBag& bag) {
  bag.Write(L"ButtonStyle", s.buttonStyle, 1);
  bag.Write(L"ShowFocusRect", s.showFocusRect, false);
  bag.Write(L"Font", s.font, ambientFont);
  WriteColour(bag, L"BackColor", s.backColor, 0x8000000F);
  bag.Write(L"Enabled", s.enabled, true);
  // The written default is "zqbutton1": a caption equal to it is left out (and reads back as
  // "zqbutton"). Stored layouts depend on this, so it stays.
  bag.Write(L"Caption", s.caption, L"zqbutton1");
  bag.Write(L"Value", s.value, false);
  bag.Write(L"MousePointer", s.mousePointer, 0);
  bag.Write(L"HandPointer", s.handPointer, false);
  WritePicture(bag, L"MouseIcon", s.mouseIcon);
  WritePicture(bag, L"PictureNormal", s.pictureNormal);
  WritePicture(bag, L"PictureHot", s.pictureHot);
  WritePicture(bag, L"PictureDown", s.pictureDown);
  bag.Write(L"PictureShadow", s.pictureShadow, false);
  bag.Write(L"PictureOpacity", s.pictureOpacity, 255);
  bag.Write(L"PictureOpacityOnOver", s.pictureOpacityOnOver, 255);
  bag.Write(L"DisabledPictureMode", s.disabledPictureMode, 0);
  bag.Write(L"PicturePushOnHover", s.picturePushOnHover, false);
  bag.Write(L"PictureEffectOnOver", s.pictureEffectOnOver, 1);
  bag.Write(L"PictureEffectOnDown", s.pictureEffectOnDown, 2);
  WriteColour(bag, L"MaskColor", s.maskColor, 0x00E0E0E0);
  bag.Write(L"UseMaskColor", s.useMaskColor, true);
  bag.Set(L"CaptionEffects", s.captionEffects);  // compared with an empty text: always written
  bag.Write(L"Mode", s.mode, 0);
  bag.Write(L"PictureAlign", s.pictureAlign, 1);
  bag.Write(L"CaptionAlign", s.captionAlign, 1);
  WriteColour(bag, L"ForeColor", s.foreColor, TranslateColour(kSysButtonText));
  WriteColour(bag, L"ForeColorHover", s.foreColorHover, TranslateColour(kSysButtonText));
  bag.Write(L"DropDownSeparator", s.dropDownSeparator, false);
  bag.Write(L"TooltipTitle", s.tooltipTitle, L"");
  bag.Write(L"ToolTip", s.toolTip, L"");
  bag.Write(L"TooltipIcon", s.tooltipIcon, 0);
  bag.Write(L"TooltipType", s.tooltipType, 0);
  WriteColour(bag, L"TooltipBackColor", s.tooltipBackColor, TranslateColour(kSysInfoBackground));
  bag.Write(L"RightToLeft", s.rightToLeft, false);
  bag.Write(L"DropDownSymbol", s.dropDownSymbol, 0);
  bag.Write(L"ColorScheme", s.colorScheme, 0);
}

}  // namespace pravik::controls::button
