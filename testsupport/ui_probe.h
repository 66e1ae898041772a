#pragma once
// Driving and reading another process's windows, shared by the tests and the benchmarks.
#include <windows.h>

#include <string_view>

namespace pravik::testsupport {

// Types text into the focused window as Unicode key strokes.
void TypeUnicode(std::wstring_view text);

// The first descendant window of the class, shown or hidden; null when there is none.
HWND FindDescendantOfClass(HWND root, const wchar_t* className);

}  // namespace pravik::testsupport
