#pragma once
// Window placement beside the taskbar, topmost ordering and twips conversion for real windows.
#include <windows.h>

#include <cstdint>

namespace pravik::startup {

double TwipsPerPixelX();
double TwipsPerPixelY();

// Pixels from twips on one axis of the screen, halves to even.
std::int32_t TwipsToPixels(std::int32_t twips, bool horizontal);

// Moves a top-level window into a corner of the work area (1 top-left .. 4 bottom-right)
// so that it does not cover the taskbar; other corner values leave it where it is.
void PlaceWindow(std::int32_t corner, HWND window);

void SetWindowTopmost(HWND window, bool topmost);

}  // namespace pravik::startup
