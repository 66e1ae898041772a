#pragma once
// Window placement beside the taskbar and twips conversion for real windows.
#include "generated/win32/build_settings.h"
#include <windows.h>

#include <cstdint>

#include "core/geometry/display_scale.h"

namespace pravik::startup {

double TwipsPerPixelX();
double TwipsPerPixelY();
// Both factors of the screen, as the menu and the skins take them.
core::geometry::TwipsPerPixel ScreenTwipsPerPixel();
// The screen's dots per inch changed while the program runs (per-monitor scale, Windows 8.1).
void SetScreenDpi(int dpiX, int dpiY);

// Pixels from twips on one axis of the screen, halves to even.
std::int32_t TwipsToPixels(std::int32_t twips, bool horizontal);

// The taskbar's rectangle as the shell reports it (all zeros when there is none), and the part of
// the primary screen that the taskbar and other desktop bars leave free.
RECT TaskbarRect();
core::geometry::PixelRect WorkArea();
// Whether the shell's taskbar window exists yet (at sign-in it may come after this program).
bool TaskbarExists();
// Both, asked of the shell at once; any thread may ask.
struct Taskbar {
  RECT rect{};
  bool exists = false;
};
Taskbar FindTaskbar();

#if PRAVIK_TEST_SEAMS
// Test builds only: the taskbar rectangle the placement uses from now on instead of the shell's,
// since the test desktop's taskbar never moves. The work area is the screen beside it; an empty
// rectangle stands for a taskbar that does not exist yet.
void InjectTaskbarRect(const RECT& taskbar);
#endif

// Moves a top-level window into a corner of the work area (1 top-left .. 4 bottom-right)
// so that it does not cover the taskbar at `bar`; other corner values leave it where it is.
void PlaceWindow(std::int32_t corner, HWND window, const RECT& bar);

}  // namespace pravik::startup
