// The zqbutton's property setters and their special rules.
#include <algorithm>

#include "core/button/access_key.h"
#include "core/button/scheme.h"
#include "controls/button/image_button.h"

namespace pravik::controls::button {

namespace {
constexpr std::uint32_t kSysButtonFace = 0x8000000F;
constexpr std::uint32_t kSysButtonText = 0x80000012;
}  // namespace

void ImageButton::ApplyScheme() {
  const auto r = core::button::ApplyScheme(s_.buttonStyle, s_.colorScheme, kSysButtonFace, TranslateColour(kSysButtonText));
  if (r.backColor) s_.backColor = *r.backColor;
  s_.foreColor = r.foreColor;
  s_.showFocusRect = r.showFocusRect;
  if (r.picturePushOnHover) s_.picturePushOnHover = true;
}

void ImageButton::SetButtonStyle(int style) {
  s_.buttonStyle = std::clamp(style, 0, core::button::kStyleCount - 1);
  s_.colorScheme = core::button::SchemeAfterStyleChange(s_.buttonStyle, s_.colorScheme);
  ApplyScheme();
  SetRegion();
  Redraw();
  Changed(L"ButtonStyle");
}

void ImageButton::SetColorScheme(int scheme) {
  s_.colorScheme = scheme;
  ApplyScheme();
  Redraw();
  Changed(L"ColorScheme");
}

void ImageButton::SetBackColor(std::uint32_t colour) {
  s_.backColor = colour;
  if (s_.buttonStyle != 4) s_.colorScheme = core::button::kCustomScheme;
  Redraw();
  Changed(L"BackColor");
}

void ImageButton::SetForeColor(std::uint32_t colour) {
  s_.foreColor = colour;
  Redraw();
  Changed(L"ForeColor");
}

void ImageButton::SetForeColorHover(std::uint32_t colour) {
  s_.foreColorHover = colour;
  Redraw();
  Changed(L"ForeColorHover");
}

void ImageButton::SetCaption(const std::wstring& caption) {
  s_.caption = caption;
  accessKey_ = core::button::AccessKeyOf(caption);
  Redraw();
  Changed(L"Caption");
}

void ImageButton::SetEnabled(bool enabled) {
  s_.enabled = enabled;
  logic_.enabled = enabled;
  if (hwnd()) ::EnableWindow(hwnd(), enabled);
  Redraw();
  Changed(L"Enabled");
}

void ImageButton::SetFont(const core::propbag::FontDesc& font) {
  s_.font = font;
  ApplyFont();
  Redraw();
  Changed(L"Font");
}

void ImageButton::ApplyFont() {
  // Points to pixels at the scale drawn at: 20 twips a point.
  LOGFONTW lf{};
  lf.lfHeight = -static_cast<LONG>(s_.font.points * 20.0 / Scale().y + 0.5);
  lf.lfWeight = s_.font.weight;
  lf.lfItalic = s_.font.italic;
  lf.lfUnderline = s_.font.underline;
  lf.lfStrikeOut = s_.font.strikethrough;
  lf.lfCharSet = static_cast<BYTE>(s_.font.charset);
  lstrcpynW(lf.lfFaceName, s_.font.name.c_str(), LF_FACESIZE);
  font_.reset(::CreateFontIndirectW(&lf));
  if (hwnd()) ::SendMessageW(hwnd(), WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

void ImageButton::SetValue(bool value) {
  Run(logic_.SetValue(value), {});
  s_.value = logic_.value;
}

void ImageButton::SetMode(int mode) {
  s_.mode = mode;
  Run(logic_.SetMode(mode), {});
  Changed(L"Value");
  Changed(L"Mode");
}

void ImageButton::SetShowFocusRect(bool on) {
  s_.showFocusRect = on;
  Changed(L"ShowFocusRect");
}

void ImageButton::SetHandPointer(bool on) {
  s_.handPointer = on;
  if (on) {
    handCursor_ = ::LoadCursorW(nullptr, IDC_HAND);
    if (!handCursor_) s_.handPointer = false;
    mouseCursor_.reset();
  }
  ApplyCursor();
  Changed(L"HandPointer");
}

void ImageButton::SetMousePointer(int pointer) {
  s_.mousePointer = pointer;
  ApplyCursor();
  Changed(L"MousePointer");
}

void ImageButton::SetMouseIcon(std::optional<core::button::ButtonPicture> icon) {
  s_.mouseIcon = std::move(icon);
  if (s_.mouseIcon) {
    if (s_.handPointer) {
      s_.handPointer = false;
      Changed(L"HandPointer");
    }
    s_.mousePointer = 99;
  } else {
    s_.mousePointer = 0;
  }
  ApplyCursor();
  Changed(L"MouseIcon");
  Changed(L"MousePointer");
}

void ImageButton::SetPictureNormal(std::optional<core::button::ButtonPicture> picture) {
  if (picture && picture->empty()) picture.reset();
  s_.pictureNormal = std::move(picture);
  if (!s_.pictureNormal) {
    s_.pictureHot.reset();
    s_.pictureDown.reset();
    OnSize();
  } else {
    Redraw();
  }
  Changed(L"PictureNormal");
}

void ImageButton::SetPictureHot(std::optional<core::button::ButtonPicture> picture) {
  if (!s_.pictureNormal) {
    SetPictureNormal(std::move(picture));
    return;
  }
  s_.pictureHot = std::move(picture);
  Redraw();
  Changed(L"PictureHot");
}

void ImageButton::SetPictureDown(std::optional<core::button::ButtonPicture> picture) {
  if (!s_.pictureNormal) {
    SetPictureNormal(std::move(picture));
    return;
  }
  s_.pictureDown = std::move(picture);
  Redraw();
  Changed(L"PictureDown");
}

void ImageButton::SetPictureAlign(int align) {
  s_.pictureAlign = align;
  if (s_.pictureNormal) Redraw();
  Changed(L"PictureAlign");
}

void ImageButton::SetUseMaskColor(bool on) {
  s_.useMaskColor = on;
  if (s_.pictureNormal) Redraw();
  Changed(L"UseMaskColor");
}

// Plain setters: store, redraw, report.
#define ZQ_PLAIN_SETTER(Name, Type, field)  \
  void ImageButton::Set##Name(Type v) {        \
    s_.field = v;                           \
    Redraw();                               \
    Changed(L## #Name);                     \
  }
ZQ_PLAIN_SETTER(CaptionAlign, int, captionAlign)
ZQ_PLAIN_SETTER(MaskColor, std::uint32_t, maskColor)
ZQ_PLAIN_SETTER(PictureOpacityOnOver, int, pictureOpacityOnOver)
ZQ_PLAIN_SETTER(DisabledPictureMode, int, disabledPictureMode)
ZQ_PLAIN_SETTER(PicturePushOnHover, bool, picturePushOnHover)
ZQ_PLAIN_SETTER(PictureShadow, bool, pictureShadow)
ZQ_PLAIN_SETTER(PictureEffectOnOver, int, pictureEffectOnOver)
ZQ_PLAIN_SETTER(PictureEffectOnDown, int, pictureEffectOnDown)
ZQ_PLAIN_SETTER(CaptionEffects, int, captionEffects)
ZQ_PLAIN_SETTER(DropDownSymbol, int, dropDownSymbol)
ZQ_PLAIN_SETTER(DropDownSeparator, bool, dropDownSeparator)
ZQ_PLAIN_SETTER(ToolTip, const std::wstring&, toolTip)
ZQ_PLAIN_SETTER(TooltipTitle, const std::wstring&, tooltipTitle)
ZQ_PLAIN_SETTER(TooltipIcon, int, tooltipIcon)
ZQ_PLAIN_SETTER(TooltipType, int, tooltipType)
ZQ_PLAIN_SETTER(TooltipBackColor, std::uint32_t, tooltipBackColor)
ZQ_PLAIN_SETTER(RightToLeft, bool, rightToLeft)
#undef ZQ_PLAIN_SETTER

void ImageButton::SetPictureOpacity(int opacity) {
  s_.pictureOpacity = std::clamp(opacity, 0, 255);
  Redraw();
  Changed(L"PictureOpacity");
}

void ImageButton::SetPopupMenu(HMENU menu, int align, int flags, std::optional<UINT> defaultItem) {
  if (!menu || !::IsMenu(menu)) return;  // anything but a menu is ignored
  popupMenu_ = menu;
  popupAlign_ = align;
  popupFlags_ = flags;
  popupDefault_ = defaultItem;
  logic_.popupAttached = true;
}

void ImageButton::UnsetPopupMenu() {
  popupMenu_ = nullptr;
  popupDefault_.reset();
  logic_.popupAttached = false;
  logic_.closedOver = false;
}

void ImageButton::PreviewState(core::button::ButtonState state, bool pointerOver) {
  logic_.state = state;
  logic_.over = pointerOver;
  Redraw();
}

void ImageButton::SetDisplayAsDefault(bool on) {
  if (logic_.displayAsDefault == on) return;
  logic_.displayAsDefault = on;
  Redraw();
}

}  // namespace pravik::controls::button
