#pragma once
// clsShadow: a soft drop shadow along the right and bottom edges of one top-level window, made of
// two click-through per-pixel-alpha popups owned by that window. It follows the window by
// subclassing it and reacts to moves, sizes, hiding, showing, display and theme changes.
#include <windows.h>

#include <cstdint>
#include <string>

#include "core/shadow/shadow_strips.h"
#include "win32/handles.h"
#include "win32/window_hook.h"

namespace pravik::drawing {

class DropShadow {
 public:
  DropShadow();
  ~DropShadow();
  DropShadow(const DropShadow&) = delete;
  DropShadow& operator=(const DropShadow&) = delete;

  // Attaches to `target` (once per instance). False without any change when already attached,
  // when the machine cannot show layered shadows or when the window cannot be subclassed.
  bool Shadow(HWND target);

  [[nodiscard]] COLORREF Color() const noexcept { return color_; }
  // A value with the top bit set names a system colour.
  void SetColor(std::uint32_t color);
  [[nodiscard]] std::int32_t Depth() const noexcept { return depth_; }
  void SetDepth(std::int32_t depth);
  [[nodiscard]] std::uint8_t Transparency() const noexcept { return transparency_; }
  // Only the low 8 bits count.
  void SetTransparency(std::int32_t value);

  // For tests and diagnosis.
  [[nodiscard]] HWND rightStrip() const noexcept { return right_.get(); }
  [[nodiscard]] HWND bottomStrip() const noexcept { return bottom_.get(); }
  [[nodiscard]] bool capable() const noexcept { return capable_; }
  [[nodiscard]] int drawCount() const noexcept { return drawCount_; }
  // The last diagnostic produced by a failing operation; nothing shows or raises it.
  [[nodiscard]] const std::wstring& lastDiagnostic() const noexcept { return diagnostic_; }

 private:
  void OnMessage(UINT message, WPARAM wParam, LPARAM lParam) noexcept;
  void OnWindowPosChanged(const WINDOWPOS& pos);
  void OnDisplayChange();

  void CheckCapability();
  bool CreateStrips();
  void DestroyStrips() noexcept;
  void DrawStrip(core::shadow::Strip which);
  void RedrawBoth();
  void MoveStrips();
  void ShowStrips(bool show, bool force = false);
  void Diagnose(const wchar_t* source, std::wstring text);

  HWND target_ = nullptr;
  bool capable_ = false;
  bool themeMessages_ = false;
  bool roundedTheme_ = false;
  COLORREF color_ = 0;
  std::int32_t depth_ = 7;
  std::uint8_t transparency_ = 140;
  win32::OwnedWindow right_;
  win32::OwnedWindow bottom_;
  bool shown_ = false;
  WINDOWPOS last_{};
  std::int32_t lastWidth_ = 0;
  std::int32_t lastHeight_ = 0;
  int drawCount_ = 0;
  std::wstring diagnostic_;
  // Last, so it stops first.
  win32::WindowHook hook_;
};

}  // namespace pravik::drawing
