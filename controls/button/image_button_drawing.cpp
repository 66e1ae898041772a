// How the zqbutton draws: one 32-bit DIB section per redraw that the portable face painter and
// GDI (text, theme, focus rectangle) share, then one copy to the window. Also its window
// region, pointer, tooltip and popup menu.
#include <windows.h>
#include <commctrl.h>
#include <uxtheme.h>
#include <vssym32.h>

#include <algorithm>
#include <cwctype>

#include "core/button/faces.h"
#include "core/button/layout.h"
#include "core/button/scheme.h"
#include "controls/button/picture_convert.h"
#include "controls/button/image_button.h"
#include "win32/dib.h"

namespace pravik::controls::button {

namespace {

core::button::SystemColours ReadSystemColours() {
  core::button::SystemColours c;
  c.buttonFace = ::GetSysColor(COLOR_BTNFACE);
  c.buttonText = ::GetSysColor(COLOR_BTNTEXT);
  c.grayText = ::GetSysColor(COLOR_GRAYTEXT);
  c.appWorkspace = ::GetSysColor(COLOR_APPWORKSPACE);
  c.light3d = ::GetSysColor(COLOR_3DLIGHT);
  c.highlight3d = ::GetSysColor(COLOR_3DHILIGHT);
  c.shadow3d = ::GetSysColor(COLOR_3DSHADOW);
  c.darkShadow3d = ::GetSysColor(COLOR_3DDKSHADOW);
  return c;
}

bool Blank(const std::wstring& text) {
  return std::all_of(text.begin(), text.end(), [](wchar_t c) { return c == L' '; });
}

}  // namespace

// Draws one face: the contents step and the platform's parts of the faces.
class ImageButtonPainter final : public core::button::FaceHooks {
 public:
  ImageButtonPainter(ImageButton& b, HDC dc, int w, int h) : b_(b), dc_(dc), w_(w), h_(h) {}

  core::button::ButtonState drawn = core::button::ButtonState::Normal;

  void Contents(core::button::PixelView& px) override {
    const auto& s = b_.s_;
    const bool down = drawn == core::button::ButtonState::Down;
    const bool hot = drawn == core::button::ButtonState::Hot;
    const bool checked = b_.logic_.Checked();
    // The picture of the state: down (or checked) prefers PictureDown, then PictureHot.
    const std::optional<core::button::ButtonPicture>* picture = &s.pictureNormal;
    if (down || checked) {
      picture = s.pictureDown ? &s.pictureDown : s.pictureHot ? &s.pictureHot : &s.pictureNormal;
    } else if (hot && s.pictureHot) {
      picture = &s.pictureHot;
    }
    const bool hasPicture = picture->has_value();

    const UINT rtl = s.rightToLeft ? DT_RTLREADING : 0;
    const int room = core::button::GlyphRoom(s.dropDownSymbol, s.dropDownSeparator, s.pictureAlign);
    RECT measure{0, 0, w_ - 8 - room, h_};
    win32::SelectScope font(dc_, b_.font_.get());
    ::DrawTextW(dc_, s.caption.c_str(), static_cast<int>(s.caption.size()), &measure,
                DT_CALCRECT | DT_WORDBREAK | rtl);

    core::button::LayoutInput in;
    in.width = w_;
    in.height = h_;
    in.style = s.buttonStyle;
    in.down = down;
    in.pictureAlign = s.pictureAlign;
    in.captionAlign = s.captionAlign;
    in.hasNormalPicture = s.pictureNormal.has_value();
    in.picW = hasPicture ? (*picture)->pixels.width : 0;
    in.picH = hasPicture ? (*picture)->pixels.height : 0;
    in.captionBlank = Blank(s.caption);
    in.textW = measure.right - measure.left;
    in.textH = measure.bottom - measure.top;
    in.dropDownSymbol = s.dropDownSymbol;
    in.dropDownSeparator = s.dropDownSeparator;
    const core::button::LayoutResult layout = core::button::LayoutContents(in);

    ::GdiFlush();
    if (layout.separator) core::button::DrawSeparator(px);
    if (hasPicture && layout.picture) {
      core::button::PictureSettings ps;
      ps.opacity = s.pictureOpacity;
      ps.opacityOnOver = s.pictureOpacityOnOver;
      ps.disabledMode = s.disabledPictureMode;
      ps.effectOnOver = s.pictureEffectOnOver;
      ps.effectOnDown = s.pictureEffectOnDown;
      ps.useMaskColor = s.useMaskColor;
      ps.maskColor = TranslateColour(s.maskColor);
      ps.pushOnHover = s.picturePushOnHover;
      ps.shadow = s.pictureShadow;
      core::button::DrawFacePicture(px, *layout.picture, **picture, ps, hot, down, s.enabled, base, b_.tables_);
    }

    ::SetBkMode(dc_, TRANSPARENT);
    const UINT format = DT_CENTER | DT_WORDBREAK | rtl;
    auto text = [&](core::button::Rect r, core::button::Colour c) {
      RECT rc{r.left, r.top, r.right, r.bottom};
      ::SetTextColor(dc_, c);
      ::DrawTextW(dc_, s.caption.c_str(), static_cast<int>(s.caption.size()), &rc, format);
    };
    const core::button::Colour grey = ::GetSysColor(COLOR_GRAYTEXT);
    if (s.captionEffects != 0) {
      static constexpr int kFour[4][2] = {{1, 1}, {-1, 1}, {1, -1}, {-1, -1}};
      switch (s.captionEffects) {
        case 1: text(layout.caption.Moved(-1, -1), core::button::Shift(base, 0.14)); break;
        case 2: text(layout.caption.Moved(1, 1), core::button::Shift(base, 0.14)); break;
        case 3: text(layout.caption.Moved(1, 1), core::button::Hex(0xC0C0C0)); break;
        case 4:
        case 5:
          for (const auto& o : kFour) {
            text(layout.caption.Moved(o[0], o[1]), core::button::Shift(base, s.captionEffects == 4 ? 0.1 : -0.1));
          }
          break;
        default: break;
      }
      text(layout.caption, s.enabled ? TranslateColour(s.foreColor) : grey);
    }
    text(layout.caption,
         !s.enabled ? grey : hot ? TranslateColour(s.foreColorHover) : TranslateColour(s.foreColor));

    if (layout.glyph) {
      if (!b_.glyphFont_) {
        b_.glyphFont_.reset(::CreateFontW(14, 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE, SYMBOL_CHARSET, 0, 0, 0, 0,
                                          L"Marlett"));
      }
      win32::SelectScope marlett(dc_, b_.glyphFont_.get());
      const wchar_t glyph[2] = {core::button::GlyphCharacter(s.dropDownSymbol), 0};
      RECT rc{layout.glyph->left, layout.glyph->top, layout.glyph->right, layout.glyph->bottom};
      ::SetTextColor(dc_, s.enabled ? TranslateColour(s.foreColor) : grey);
      ::DrawTextW(dc_, glyph, 1, &rc, DT_WORDBREAK);
    }
    ::GdiFlush();
  }

  void RebuildRegion() override { b_.SetRegion(); }

  bool ThemeBackground(core::button::PixelView&, int themeState) override {
    HTHEME theme = ::OpenThemeData(b_.hwnd(), L"Button");
    if (!theme) return false;
    ::GdiFlush();
    RECT rc{0, 0, w_, h_};
    ::DrawThemeBackground(theme, dc_, BP_PUSHBUTTON, themeState, &rc, nullptr);
    RECT regionRect{-1, -1, w_ + 1, h_ + 2};
    HRGN region = nullptr;
    if (SUCCEEDED(::GetThemeBackgroundRegion(theme, dc_, BP_PUSHBUTTON, themeState, &regionRect, &region)) && region) {
      b_.SetRegionHandle(1300 + themeState, region);
    }
    ::CloseThemeData(theme);
    ::GdiFlush();
    return true;
  }

  void SetForeColor(core::button::Colour c) override { b_.s_.foreColor = c; }

  void FocusRect(core::button::PixelView&, core::button::Rect r) override {
    ::GdiFlush();
    RECT rc{r.left, r.top, r.right, r.bottom};
    ::SetTextColor(dc_, RGB(0, 0, 0));
    ::SetBkColor(dc_, RGB(255, 255, 255));
    ::DrawFocusRect(dc_, &rc);
    ::GdiFlush();
  }

  core::button::Colour base = 0;

 private:
  ImageButton& b_;
  HDC dc_;
  int w_, h_;
};

bool ImageButton::ThemeActive() {
  if (!themed_) {
    win32::Module uxtheme(::LoadLibraryW(L"uxtheme.dll"));
    // Themed controls need the application themed and control theming allowed for it.
    themed_ = uxtheme && ::IsAppThemed() && (::GetThemeAppProperties() & STAP_ALLOW_CONTROLS) != 0;
  }
  return *themed_;
}

void ImageButton::Redraw() {
  if (!hwnd()) return;
  win32::WindowDc dc(hwnd());
  Paint(dc.get());
}

void ImageButton::Paint(HDC target) {
  RECT client{};
  ::GetClientRect(hwnd(), &client);
  const int w = client.right, h = client.bottom;
  if (w <= 0 || h <= 0 || !target) return;

  if (s_.buttonStyle == 13 && !ThemeActive()) {
    // Without visual styles the platform look is style 2 in the blue scheme.
    s_.buttonStyle = 2;
    s_.colorScheme = 0;
    ApplyScheme();
    Changed(L"ButtonStyle");
  }

  win32::MemoryDc mem(::CreateCompatibleDC(target));
  win32::Dib dib = win32::CreateDib32(target, w, h);
  if (!mem || !dib) return;
  win32::SelectScope select(mem.get(), dib.bitmap.get());
  core::button::PixelView px{static_cast<core::button::Pixel*>(dib.bits), w, h, w};

  core::button::FaceState fs;
  fs.style = s_.buttonStyle;
  fs.scheme = s_.colorScheme;
  fs.checked = logic_.Checked();
  fs.state = core::button::DrawnState(s_.buttonStyle, logic_.state, fs.checked);
  fs.enabled = s_.enabled;
  fs.pointerOver = logic_.over;
  fs.mouseHeld = logic_.buttonHeld;
  fs.hasFocus = logic_.hasFocus;
  fs.displayAsDefault = logic_.displayAsDefault;
  fs.hostActive = logic_.hostActive;
  fs.showFocusRect = s_.showFocusRect;
  fs.userMode = userMode_;
  fs.base = TranslateColour(s_.backColor);
  fs.sys = ReadSystemColours();
  fs.surface = s_.buttonStyle == 13 ? fs.sys.buttonFace : fs.base;

  ImageButtonPainter painter(*this, mem.get(), w, h);
  painter.drawn = fs.state;
  painter.base = fs.base;
  core::button::PaintFace(px, fs, painter);
  ::GdiFlush();
  ::BitBlt(target, 0, 0, w, h, mem.get(), 0, 0, SRCCOPY);
}

void ImageButton::SetRegionHandle(int key, HRGN region) {
  RECT rc{};
  ::GetClientRect(hwnd(), &rc);
  if (key == regionKind_ && rc.right == regionW_ && rc.bottom == regionH_) {
    ::DeleteObject(region);  // the same region is in place; handing it over again would repaint
    return;
  }
  regionKind_ = key;
  regionW_ = rc.right;
  regionH_ = rc.bottom;
  ::SetWindowRgn(hwnd(), region, TRUE);  // the window owns the region from here on
}

void ImageButton::SetRegion() {
  if (!hwnd()) return;
  RECT rc{};
  ::GetClientRect(hwnd(), &rc);
  const int w = rc.right, h = rc.bottom, style = s_.buttonStyle;
  int kind = 0;
  if (style == 2 || style == 3 || style == 7 || style == 9) kind = 3;
  if (style == 6 || style == 10) kind = 4;
  if (kind == regionKind_ && w == regionW_ && h == regionH_) return;
  SetRegionHandle(kind, kind ? ::CreateRoundRectRgn(0, 0, w + 1, h + 1, kind, kind) : ::CreateRectRgn(0, 0, w, h));
}

void ImageButton::ApplyCursor() {
  mouseCursor_.reset();
  pointerCursor_ = nullptr;
  if (s_.handPointer) return;  // the hand is set on every mouse message instead
  if (s_.mousePointer == 99) {
    if (s_.mouseIcon) mouseCursor_ = CursorFromPicture(*s_.mouseIcon, 0, 0);
    pointerCursor_ = mouseCursor_.get();
    return;
  }
  static const struct {
    int code;
    LPCWSTR id;
  } kShapes[] = {{1, IDC_ARROW},    {2, IDC_CROSS},     {3, IDC_IBEAM},  {5, IDC_SIZEALL},
                 {6, IDC_SIZENESW}, {7, IDC_SIZENS},    {8, IDC_SIZENWSE}, {9, IDC_SIZEWE},
                 {10, IDC_UPARROW}, {11, IDC_WAIT},     {12, IDC_NO},    {13, IDC_APPSTARTING},
                 {14, IDC_HELP},    {15, IDC_SIZEALL}};
  for (const auto& shape : kShapes) {
    if (shape.code == s_.mousePointer) pointerCursor_ = ::LoadCursorW(nullptr, shape.id);
  }
}

void ImageButton::CreateTooltip() {
  if (!s_.enabled || logic_.closedOver || logic_.state == core::button::ButtonState::Down) return;
  tooltip_.reset();
  const DWORD style = TTS_ALWAYSTIP | TTS_NOPREFIX | (s_.tooltipType == 1 ? TTS_BALLOON : 0);
  const DWORD exStyle = s_.rightToLeft ? WS_EX_LAYOUTRTL : 0;
  tooltip_.reset(::CreateWindowExW(exStyle, TOOLTIPS_CLASSW, nullptr, style, CW_USEDEFAULT, CW_USEDEFAULT,
                                   CW_USEDEFAULT, CW_USEDEFAULT, hwnd(), nullptr, win32::ThisModule(), nullptr));
  if (!tooltip_) return;
  HWND tip = tooltip_.get();
  ::SetClassLongPtrW(tip, GCL_STYLE, ::GetClassLongPtrW(tip, GCL_STYLE) | CS_DROPSHADOW);
  TTTOOLINFOW tool{};
  tool.cbSize = TTTOOLINFOW_V2_SIZE;
  tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
  tool.hwnd = hwnd();
  tool.uId = reinterpret_cast<UINT_PTR>(hwnd());
  ::GetClientRect(hwnd(), &tool.rect);
  std::wstring text = s_.toolTip;
  tool.lpszText = text.data();
  ::SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
  if (!s_.tooltipTitle.empty() || s_.tooltipIcon != 0) {
    ::SendMessageW(tip, TTM_SETTITLEW, static_cast<WPARAM>(s_.tooltipIcon),
                   reinterpret_cast<LPARAM>(s_.tooltipTitle.c_str()));
  }
  ::SendMessageW(tip, TTM_SETMAXTIPWIDTH, 0, 240);
  if (s_.tooltipBackColor != 0) {
    ::SendMessageW(tip, TTM_SETTIPBKCOLOR, TranslateColour(s_.tooltipBackColor), 0);
  }
}

void ImageButton::ShowPopup() {
  RECT rc{};
  ::GetClientRect(hwnd(), &rc);
  const int w = rc.right, h = rc.bottom;
  POINT at{0, 0};
  int flags = popupFlags_;
  switch (popupAlign_) {
    case 0: at = {0, h}; break;
    case 1: flags = TPM_BOTTOMALIGN; break;
    case 2: flags |= TPM_RIGHTALIGN; break;
    case 3: at = {w, 0}; break;
    case 4: flags = TPM_BOTTOMALIGN | TPM_RIGHTALIGN; break;
    case 5: at = {0, h}; flags |= TPM_RIGHTALIGN; break;
    case 6: at = {w, 0}; flags = TPM_BOTTOMALIGN; break;
    case 7: at = {w, h}; break;
    default:
      logic_.popupShowing = false;
      return;
  }
  popupFlags_ = flags;
  if (!popupMenu_ || !::IsMenu(popupMenu_)) {
    logic_.popupShowing = false;
    return;
  }
  if (popupDefault_) ::SetMenuDefaultItem(popupMenu_, *popupDefault_, FALSE);
  ::ClientToScreen(hwnd(), &at);
  ::ReleaseCapture();  // the menu's own loop takes the mouse
  ::TrackPopupMenuEx(popupMenu_, static_cast<UINT>(flags), at.x, at.y, host_ ? host_ : ::GetParent(hwnd()), nullptr);
  if (!hwnd()) return;
  POINT cursor;
  ::GetCursorPos(&cursor);
  Run(logic_.PopupClosed(::WindowFromPoint(cursor) == hwnd()), {});
}

}  // namespace pravik::controls::button
