#pragma once
// A message box that closes itself after a time with the answer 32000, as the system's
// time-out message box does. Built here on a thread timer because Wine's MessageBoxTimeout
// ignores its time-out, which would leave the caller waiting for good.
#include <windows.h>

#include <string>

namespace pravik::controllib {

constexpr int kMessageBoxTimedOut = 32000;

int ShowTimedMessageBox(const std::wstring& text, const std::wstring& caption, UINT style, DWORD timeoutMs);

}  // namespace pravik::controllib
