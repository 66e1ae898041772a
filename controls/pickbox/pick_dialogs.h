#pragma once
// The six common dialogs of the picker, each owned by the host window, and the small input box
// that asks for a missing file extension.
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "core/pickbox/pick_settings.h"

namespace pravik::controls::pickbox {

std::optional<std::uint32_t> PickColor(HWND owner, std::uint32_t color, std::int32_t flags);

struct FontChoice {
  core::propbag::FontDesc font;
  std::uint32_t color = 0;
};
std::optional<FontChoice> PickFont(HWND owner, const std::optional<core::propbag::FontDesc>& font, std::uint32_t color,
                                   std::int32_t flags);

// Open: the chosen full paths (several with multiSelect). Save: one path.
std::vector<std::wstring> PickOpenFiles(HWND owner, const std::wstring& filters, std::int32_t flags, bool multiSelect);
std::optional<std::wstring> PickSaveFile(HWND owner, const std::wstring& filters, std::int32_t flags,
                                         const std::wstring& defaultExt);
// True when the print dialog was confirmed.
bool PickPrinter(HWND owner, std::int32_t flags);

// The folder dialog: `start` is selected when it opens; the chosen folder's file-system path, or
// empty when cancelled or when the choice has no file-system path.
std::wstring BrowseFolder(HWND owner, const std::wstring& title, std::int32_t flags, const std::wstring& start);

// A modal box with a prompt, a one-line edit and OK / Cancel, near `anchor` (screen pixels).
// Nothing when cancelled.
std::optional<std::wstring> InputBox(HWND owner, const std::wstring& prompt, const std::wstring& title, POINT anchor);

}  // namespace pravik::controls::pickbox
