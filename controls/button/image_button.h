#pragma once
// zqbutton: Pravik's owner-drawn image button (fourteen looks, caption, a picture per state,
// push/check/option modes, its own tooltip, an optional popup menu instead of clicking).
//
// How a host window uses one (the start menu's shutdown button, for example):
//
//   core::propbag::PropertyBag layout;                       // the host's stored settings for it
//   layout.Set(L"ButtonStyle", std::int32_t{4});
//   layout.Set(L"ColorScheme", std::int32_t{3});
//   layout.Set(L"BackColor", std::int32_t{0x00F0B000});
//   layout.Set(L"Caption", std::wstring(L"시스템 종료"));
//   layout.Set(L"ForeColor", std::int32_t{0x00FFFFFF});
//   layout.Set(L"ForeColorHover", std::int32_t{0x00FFFFFF});
//   core::propbag::FontDesc tahoma;                          // "Tahoma" 8.25, normal weight
//   layout.Set(L"Font", tahoma);
//   layout.Set(L"PicturePushOnHover", true);
//   layout.Set(L"PictureEffectOnOver", std::int32_t{0});
//   layout.Set(L"PictureEffectOnDown", std::int32_t{0});
//   layout.Set(L"TooltipBackColor", std::int32_t{0});
//   layout.Set(L"MousePointer", std::int32_t{99});     // the custom pointer below
//   layout.Set(L"MouseIcon", core::button::EncodePicture(*PointingHandPicture()));  // picture_convert.h
//
//   auto button = std::make_unique<controls::button::ImageButton>();   // the host owns it (one per control)
//   button->onClick = [this] { RunShutdown(); };
//   button->Create(containerHwnd, /*id*/ 1, x, y, 162, 23, layout);  // pixels in the container
//
// Missing entries take their defaults (style 1, caption "zqbutton", ...). Save() writes the
// settings back, leaving out values equal to their defaults. The host routes access keys with
// RouteAccessKey(host, ch) when it sees WM_SYSCHAR, and tells the control whether it is shown as
// the default button with SetDisplayAsDefault. Everything runs on the host's UI thread.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "core/button/button_logic.h"
#include "core/button/picture.h"
#include "core/geometry/display_scale.h"
#include "core/propbag/property_bag.h"
#include "win32/handles.h"
#include "win32/window.h"
#include "win32/window_hook.h"

namespace pravik::controls::button {

// Every stored property with its default when absent.
struct ImageButtonSettings {
  std::int32_t buttonStyle = 1;
  bool showFocusRect = false;
  core::propbag::FontDesc font;  // replaced by the host's ambient font when absent
  std::uint32_t backColor = 0x8000000F;  // system button face
  bool enabled = true;
  std::wstring caption = L"zqbutton";
  bool value = false;
  std::int32_t mousePointer = 0;
  bool handPointer = false;
  std::optional<core::button::ButtonPicture> mouseIcon;
  std::optional<core::button::ButtonPicture> pictureNormal, pictureHot, pictureDown;
  bool pictureShadow = false;
  std::int32_t pictureOpacity = 255;
  std::int32_t pictureOpacityOnOver = 255;
  std::int32_t disabledPictureMode = 0;
  bool picturePushOnHover = false;
  std::int32_t pictureEffectOnOver = 1;
  std::int32_t pictureEffectOnDown = 2;
  std::uint32_t maskColor = 0x00E0E0E0;
  bool useMaskColor = true;
  std::int32_t captionEffects = 0;
  std::int32_t mode = 0;
  std::int32_t pictureAlign = 1;
  std::int32_t captionAlign = 1;
  std::uint32_t foreColor = 0;       // translated system button text when absent
  std::uint32_t foreColorHover = 0;  // translated system button text when absent
  bool dropDownSeparator = false;
  std::wstring tooltipTitle;
  std::wstring toolTip;
  std::int32_t tooltipIcon = 0;
  std::int32_t tooltipType = 0;
  std::uint32_t tooltipBackColor = 0;  // translated system tooltip background when absent
  bool rightToLeft = false;
  std::int32_t dropDownSymbol = 0;
  std::int32_t colorScheme = 0;
};

// Reads a stored layout (names without regard to case; absent entries take their defaults) and
// writes one back (values equal to their defaults left out, CaptionEffects always written).
ImageButtonSettings ReadSettings(const core::propbag::PropertyBag& bag, const core::propbag::FontDesc& ambientFont);
void WriteSettings(const ImageButtonSettings& s, const core::propbag::FontDesc& ambientFont, core::propbag::PropertyBag& bag);

// OLE colour translation: system colours through the platform; failure gives 0xFFFFFFFF (-1).
std::uint32_t TranslateColour(std::uint32_t ole) noexcept;

class ImageButton : public win32::Window {
 public:
  ImageButton();
  ~ImageButton() override;

  // Creates the control at (x, y, width, height) pixels in the container and reads the layout.
  // userMode false is a design environment: no subclassing, no focus rectangles.
  bool Create(HWND container, int id, int x, int y, int width, int height, const core::propbag::PropertyBag& layout,
              bool userMode = true);
  void Save(core::propbag::PropertyBag& layout) const;
  // The host draws at this factor (twips per pixel) rather than the screen's, as a menu shrunk to
  // fit does: the font and the smallest size follow it. Before Create or at any time after.
  void SetHostScale(core::geometry::TwipsPerPixel scale);
  // The host routes an access key (or Enter/Escape for its default/cancel button) here.
  static bool RouteAccessKey(HWND host, wchar_t key);
  // The host presses this button by its access key, or by Enter (13) or Escape (27) when the
  // button is its default or cancel button.
  void PressAccessKey(int key);

  [[nodiscard]] const ImageButtonSettings& settings() const noexcept { return s_; }
  [[nodiscard]] core::button::ButtonState state() const noexcept { return logic_.state; }
  [[nodiscard]] wchar_t accessKey() const noexcept { return accessKey_; }
  [[nodiscard]] HWND tooltipWindow() const noexcept { return tooltip_.get(); }

  // Properties (each setter redraws and reports the change unless its rule says otherwise).
  void SetButtonStyle(int style);
  void SetColorScheme(int scheme);
  void SetBackColor(std::uint32_t colour);
  void SetForeColor(std::uint32_t colour);
  void SetForeColorHover(std::uint32_t colour);
  void SetCaption(const std::wstring& caption);
  void SetEnabled(bool enabled);
  void SetFont(const core::propbag::FontDesc& font);
  void SetValue(bool value);
  void SetMode(int mode);
  void SetShowFocusRect(bool on);
  void SetHandPointer(bool on);
  void SetMousePointer(int pointer);
  void SetMouseIcon(std::optional<core::button::ButtonPicture> icon);
  void SetPictureNormal(std::optional<core::button::ButtonPicture> picture);
  void SetPictureHot(std::optional<core::button::ButtonPicture> picture);
  void SetPictureDown(std::optional<core::button::ButtonPicture> picture);
  void SetPictureAlign(int align);
  void SetCaptionAlign(int align);
  void SetUseMaskColor(bool on);
  void SetMaskColor(std::uint32_t colour);
  void SetPictureOpacity(int opacity);
  void SetPictureOpacityOnOver(int opacity);
  void SetDisabledPictureMode(int mode);
  void SetPicturePushOnHover(bool on);
  void SetPictureShadow(bool on);
  void SetPictureEffectOnOver(int effect);
  void SetPictureEffectOnDown(int effect);
  void SetCaptionEffects(int effects);
  void SetDropDownSymbol(int symbol);
  void SetDropDownSeparator(bool on);
  void SetRightToLeft(bool on);
  void SetToolTip(const std::wstring& text);
  void SetTooltipTitle(const std::wstring& title);
  void SetTooltipIcon(int icon);
  void SetTooltipType(int type);
  void SetTooltipBackColor(std::uint32_t colour);

  // Attaches a menu of the host shown on a left press instead of clicking (align 0..7).
  void SetPopupMenu(HMENU menu, int align, int flags = 0, std::optional<UINT> defaultItem = std::nullopt);
  void UnsetPopupMenu();
  // Ambient: the host shows this button as its default button.
  void SetDisplayAsDefault(bool on);
  // Shows a state without input, for previews (the gallery) and pixel tests.
  void PreviewState(core::button::ButtonState state, bool pointerOver);
  // Redraws now (the redraw of every property change, paint, resize and state change).
  void Redraw();

  // Events, in their order of declaration. MouseMove is declared for hosts but never raised.
  std::function<void()> onClick;
  std::function<void()> onDblClick;
  std::function<void()> onMouseEnter;
  std::function<void()> onMouseLeave;
  std::function<void(int button, int shift, float x, float y)> onMouseMove;
  std::function<void(int button, int shift, float x, float y)> onMouseUp;
  std::function<void(int button, int shift, float x, float y)> onMouseDown;
  std::function<void(std::int16_t& keyCode, int shift)> onKeyDown;
  std::function<void(std::int16_t& keyCode, int shift)> onKeyUp;
  std::function<void(std::int16_t& keyAscii)> onKeyPress;
  // The host's layout must be saved again: this property changed.
  std::function<void(const wchar_t* property)> onPropertyChanged;

 protected:
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

 private:
  struct EventArgs {
    int button = 0, shift = 0;
    float x = 0, y = 0;
    std::int16_t key = 0;
  };
  void Run(const core::button::Actions& actions, EventArgs args);
  void Changed(const wchar_t* property);
  void ApplyScheme();
  void ApplyFont();
  void ApplyCursor();
  void SetRegion();
  void SetRegionHandle(int key, HRGN region);
  void CreateTooltip();
  void ShowPopup();
  void ClearOtherOptions();
  void MoveFocus(bool previous);
  bool ThemeActive();
  void OnMouseButton(UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT OnKey(UINT message, WPARAM wParam, LPARAM lParam);
  void OnSize();
  [[nodiscard]] core::geometry::TwipsPerPixel Scale() const;
  void Paint(HDC target);
  void OnHostMessage(UINT message, WPARAM wParam);

  friend class ImageButtonPainter;

  ImageButtonSettings s_;
  core::button::ButtonLogic logic_;
  core::button::EffectTables tables_;
  core::propbag::FontDesc ambientFont_;
  std::optional<core::geometry::TwipsPerPixel> hostScale_;
  win32::Font font_;
  win32::Font glyphFont_;
  win32::Icon mouseCursor_;
  HCURSOR handCursor_ = nullptr;     // shared system cursor, never destroyed
  HCURSOR pointerCursor_ = nullptr;  // MousePointer's shape: a shared system cursor or mouseCursor_
  win32::Module shell_;
  win32::OwnedWindow tooltip_;
  HWND host_ = nullptr;
  bool userMode_ = true;
  bool canTrackLeave_ = false;
  bool wideText_ = true;
  wchar_t accessKey_ = 0;
  // Popup attachment.
  HMENU popupMenu_ = nullptr;  // the host's menu; the host keeps ownership
  int popupAlign_ = 0;
  int popupFlags_ = 0;
  std::optional<UINT> popupDefault_;
  // Theme check, asked once for the life of the control.
  std::optional<bool> themed_;
  // The region the window was last given: (kind, W, H).
  int regionKind_ = -1, regionW_ = -1, regionH_ = -1;
  // Last, so it stops first: the host's activation changes the look (one hook per button).
  win32::WindowHook hostHook_;
};

}  // namespace pravik::controls::button
