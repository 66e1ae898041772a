#include "drawing/drop_shadow.h"

#include <uxtheme.h>

#include <cstring>

#include "core/button/colour.h"
#include "win32/dib.h"
#include "win32/ole_colour.h"
#include "win32/os_version.h"
#include "win32/visual_style.h"

namespace pravik::drawing {

namespace {

// Marks a window that carries a shadow already: one subclassing per window for this component.
constexpr const wchar_t* kMarker = L"PravikDropShadow";

}  // namespace

DropShadow::DropShadow() { CheckCapability(); }

DropShadow::~DropShadow() {
  if (hook_.hwnd()) ::RemovePropW(target_, kMarker);
  hook_.Remove();
  DestroyStrips();
}

void DropShadow::Diagnose(const wchar_t* source, std::wstring text) {
  // Kept for inspection only; callers see nothing but the false result.
  diagnostic_ = std::wstring(source) + L": " + std::move(text);
}

void DropShadow::CheckCapability() {
  capable_ = false;
  const auto version = win32::ReadWindowsVersion();
  if (!version) return;
  int bitsPerPixel = 0;
  {
    win32::WindowDc screen(nullptr);
    if (screen.get()) bitsPerPixel = ::GetDeviceCaps(screen.get(), BITSPIXEL);
  }
  const auto result =
      core::shadow::EvaluateCapability(version->IsNt(), version->major, version->minor, bitsPerPixel, themeMessages_);
  if (version->IsNt() && version->major >= 5 && version->minor > 0) {
    // The style's own name ("Luna" on the rounded style); no style means no rounded corners.
    const auto style = win32::CurrentVisualStyle();
    roundedTheme_ = core::shadow::IsRoundedThemeName(style ? win32::VisualStyleName(style->file) : std::wstring());
  }
  themeMessages_ = result.themeMessages;
  capable_ = result.capable;
}

bool DropShadow::Shadow(HWND target) {
  if (target_) {
    Diagnose(L"Shadow", L"Only a single form per cShadow instance is allowed");
    return false;
  }
  if (!capable_) return false;
  target_ = target;  // remembered even when subclassing fails, so a second call fails too
  if (!::IsWindow(target)) {
    Diagnose(L"ssc_Subclass", L"Invalid window handle");
    return false;
  }
  DWORD pid = 0;
  ::GetWindowThreadProcessId(target, &pid);
  if (pid != ::GetCurrentProcessId()) {
    Diagnose(L"ssc_Subclass", L"Window handle belongs to another process");
    return false;
  }
  if (::GetPropW(target, kMarker)) {
    Diagnose(L"ssc_Subclass", L"Window handle is already subclassed");
    return false;
  }
  const bool hooked = hook_.Install(target, [this](UINT message, WPARAM wParam, LPARAM lParam, LRESULT&) {
    OnMessage(message, wParam, lParam);
    return false;
  });
  if (!hooked) {
    Diagnose(L"ssc_Subclass", L"SetWindowLong failed, error #" + std::to_wstring(::GetLastError()));
    return false;
  }
  ::SetPropW(target, kMarker, reinterpret_cast<HANDLE>(this));
  return CreateStrips();
}

bool DropShadow::CreateStrips() {
  const DWORD exStyle = WS_EX_LAYERED | WS_EX_TRANSPARENT | WS_EX_NOPARENTNOTIFY;
  // The platform's dialog class: no class of our own to register or to outlive.
  right_.reset(::CreateWindowExW(exStyle, L"#32770", L"", WS_POPUP, 0, 0, 0, 0, target_, nullptr,
                                 ::GetModuleHandleW(nullptr), nullptr));
  bottom_.reset(::CreateWindowExW(exStyle, L"#32770", L"", WS_POPUP, 0, 0, 0, 0, target_, nullptr,
                                  ::GetModuleHandleW(nullptr), nullptr));
  shown_ = false;
  lastWidth_ = 0;
  lastHeight_ = 0;
  return right_ && bottom_;
}

void DropShadow::DestroyStrips() noexcept {
  // Owned windows die with their owner; a strip already gone is only let go of.
  for (win32::OwnedWindow* strip : {&right_, &bottom_}) {
    if (strip->valid() && !::IsWindow(strip->get())) (void)strip->release();
    strip->reset();
  }
  shown_ = false;
}

void DropShadow::SetColor(std::uint32_t color) {
  // A system colour the platform does not know draws black, as its colour lookup answers.
  const COLORREF value = core::button::IsSystemColour(color) ? win32::TranslateOleColour(color).value_or(0) : color;
  if (value == color_) return;
  color_ = value;
  RedrawBoth();
}

void DropShadow::SetDepth(std::int32_t depth) {
  if (depth == depth_) return;
  depth_ = depth;
  RedrawBoth();
}

void DropShadow::SetTransparency(std::int32_t value) {
  const auto low = static_cast<std::uint8_t>(value & 0xFF);
  if (low == transparency_) return;
  transparency_ = low;
  RedrawBoth();
}

void DropShadow::RedrawBoth() {
  if (!capable_ || !target_ || !::IsWindowVisible(target_)) return;
  DrawStrip(core::shadow::Strip::kRight);
  DrawStrip(core::shadow::Strip::kBottom);
}

void DropShadow::DrawStrip(core::shadow::Strip which) {
  HWND strip = which == core::shadow::Strip::kRight ? right_.get() : bottom_.get();
  if (!strip) return;
  const core::shadow::StripRect rect = which == core::shadow::Strip::kRight
                                     ? core::shadow::RightStripRect(last_.x, last_.y, last_.cx, last_.cy, depth_)
                                     : core::shadow::BottomStripRect(last_.x, last_.y, last_.cx, last_.cy, depth_);
  const auto pixels = core::shadow::StripPixels(which, rect.width, rect.height, color_, roundedTheme_);
  if (pixels.empty()) return;

  win32::WindowDc screen(nullptr);
  // Bottom-up rows, as the pixels are laid out.
  win32::Dib image = win32::CreateDib32(screen.get(), rect.width, rect.height, win32::RowOrder::kBottomUp);
  if (!image) return;
  std::memcpy(image.bits, pixels.data(), pixels.size() * sizeof pixels[0]);
  win32::MemoryDc memory(::CreateCompatibleDC(screen.get()));
  if (!memory) return;
  win32::SelectScope select(memory.get(), image.bitmap.get());
  POINT position{rect.x, rect.y};
  SIZE size{rect.width, rect.height};
  POINT source{0, 0};
  BLENDFUNCTION blend{AC_SRC_OVER, 0, transparency_, AC_SRC_ALPHA};
  ::UpdateLayeredWindow(strip, screen.get(), &position, &size, memory.get(), &source, 0, &blend, ULW_ALPHA);
  ++drawCount_;
}

void DropShadow::MoveStrips() {
  const auto r = core::shadow::RightStripRect(last_.x, last_.y, last_.cx, last_.cy, depth_);
  const auto b = core::shadow::BottomStripRect(last_.x, last_.y, last_.cx, last_.cy, depth_);
  if (right_) ::MoveWindow(right_.get(), r.x, r.y, r.width, r.height, FALSE);
  if (bottom_) ::MoveWindow(bottom_.get(), b.x, b.y, b.width, b.height, FALSE);
}

void DropShadow::ShowStrips(bool show, bool force) {
  if (show == shown_ && !force) return;
  shown_ = show;
  const int command = show ? SW_SHOWNOACTIVATE : SW_HIDE;
  if (right_) ::ShowWindow(right_.get(), command);
  if (bottom_) ::ShowWindow(bottom_.get(), command);
}

void DropShadow::OnWindowPosChanged(const WINDOWPOS& pos) {
  last_ = pos;
  // A record for a pure show, hide or z-order change need not carry the position; take the
  // window's own rectangle then, so the strips never jump to the screen's corner.
  if (pos.flags & (SWP_NOMOVE | SWP_NOSIZE)) {
    RECT rect{};
    if (::GetWindowRect(target_, &rect)) {
      if (pos.flags & SWP_NOMOVE) {
        last_.x = rect.left;
        last_.y = rect.top;
      }
      if (pos.flags & SWP_NOSIZE) {
        last_.cx = rect.right - rect.left;
        last_.cy = rect.bottom - rect.top;
      }
    }
  }
  if (pos.flags & SWP_HIDEWINDOW) {
    ShowStrips(false);
    return;
  }
  if (last_.cx != lastWidth_) {
    lastWidth_ = last_.cx;
    DrawStrip(core::shadow::Strip::kBottom);
  }
  if (last_.cy != lastHeight_) {
    lastHeight_ = last_.cy;
    DrawStrip(core::shadow::Strip::kRight);
  }
  MoveStrips();
  if (pos.flags & SWP_SHOWWINDOW) ShowStrips(true);
}

void DropShadow::OnDisplayChange() {
  const bool before = capable_;
  CheckCapability();
  if (before && !capable_) {
    DestroyStrips();
  } else if (!before && capable_) {
    CreateStrips();
    RedrawBoth();
    if (::IsWindowVisible(target_)) ShowStrips(true, true);
  }
}

void DropShadow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept {
  switch (message) {
    case WM_NCDESTROY:
      // The window goes first: let go of it so the destructor does not touch a dead handle.
      ::RemovePropW(target_, kMarker);
      DestroyStrips();
      break;
    case WM_WINDOWPOSCHANGED:
      if (lParam) OnWindowPosChanged(*reinterpret_cast<const WINDOWPOS*>(lParam));
      break;
    case WM_SIZE:
      if (wParam == SIZE_RESTORED && ::IsWindowVisible(target_)) ShowStrips(true);
      break;
    case WM_DISPLAYCHANGE:
      OnDisplayChange();
      break;
    case WM_THEMECHANGED:
      if (themeMessages_) {
        CheckCapability();
        RedrawBoth();
      }
      break;
    default:
      break;
  }
}

}  // namespace pravik::drawing
