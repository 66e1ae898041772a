#include "drawing/drop_shadow.h"

#include <uxtheme.h>

#include <cstring>
#include <optional>

namespace pravik::drawing {

namespace {

// Marks a window that carries a shadow already: one subclassing per window for this component.
constexpr const wchar_t* kMarker = L"PravikDropShadow";

// The visual style's theme name ("Luna" on the rounded style). The library is loaded for the
// question only; when it is missing the earlier answer stands.
std::optional<std::wstring> CurrentThemeName() {
  win32::Module uxtheme(::LoadLibraryW(L"uxtheme.dll"));
  if (!uxtheme) return std::nullopt;
  using GetName = HRESULT(WINAPI*)(LPWSTR, int, LPWSTR, int, LPWSTR, int);
  using GetDoc = HRESULT(WINAPI*)(LPCWSTR, LPCWSTR, LPWSTR, int);
  auto getName = reinterpret_cast<GetName>(reinterpret_cast<void*>(::GetProcAddress(uxtheme.get(), "GetCurrentThemeName")));
  auto getDoc =
      reinterpret_cast<GetDoc>(reinterpret_cast<void*>(::GetProcAddress(uxtheme.get(), "GetThemeDocumentationProperty")));
  if (!getName || !getDoc) return std::nullopt;
  wchar_t file[256] = {};
  if (FAILED(getName(file, 255, nullptr, 0, nullptr, 0))) return std::wstring();
  wchar_t name[256] = {};
  if (FAILED(getDoc(file, L"ThemeName", name, 255))) return std::wstring();
  return std::wstring(name);
}

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
  OSVERSIONINFOW version{};
  version.dwOSVersionInfoSize = sizeof version;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  const bool known = ::GetVersionExW(&version) != FALSE;
#pragma GCC diagnostic pop
  if (!known) return;
  int bitsPerPixel = 0;
  {
    win32::WindowDc screen(nullptr);
    if (screen.get()) bitsPerPixel = ::GetDeviceCaps(screen.get(), BITSPIXEL);
  }
  const auto result = core::shadow::EvaluateCapability(version.dwPlatformId == VER_PLATFORM_WIN32_NT, version.dwMajorVersion,
                                                 version.dwMinorVersion, bitsPerPixel, themeMessages_);
  if (version.dwPlatformId == VER_PLATFORM_WIN32_NT && version.dwMajorVersion >= 5 && version.dwMinorVersion > 0) {
    if (auto name = CurrentThemeName()) roundedTheme_ = core::shadow::IsRoundedThemeName(*name);
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
  const COLORREF value = (color & 0x80000000u) ? ::GetSysColor(static_cast<int>(color & 0xFF)) : color;
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

  BITMAPINFO info{};
  info.bmiHeader.biSize = sizeof info.bmiHeader;
  info.bmiHeader.biWidth = rect.width;
  info.bmiHeader.biHeight = rect.height;  // positive: rows bottom-up, as the pixels are laid out
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  win32::WindowDc screen(nullptr);
  win32::Bitmap image(::CreateDIBSection(screen.get(), &info, DIB_RGB_COLORS, &bits, nullptr, 0));
  if (!image || !bits) return;
  std::memcpy(bits, pixels.data(), pixels.size() * sizeof pixels[0]);
  win32::MemoryDc memory(::CreateCompatibleDC(screen.get()));
  if (!memory) return;
  win32::SelectScope select(memory.get(), image.get());
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
