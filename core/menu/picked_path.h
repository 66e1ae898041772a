#pragma once
// What the menu does with a path the tree reports, and how it tells its own program in front.
#include <string>
#include <string_view>

namespace pravik::core::menu {

// True when the last piece after the final "\" is not empty: a file, which is opened. Folders
// end with "\" and an item without a file-system path is empty; both only stay selected.
bool ShouldOpenPickedPath(std::wstring_view path);

// The foreground program's file name that means "this program": the executable's name without
// its extension, followed by ".exe" (taken from a full path or a bare name).
std::wstring OwnForegroundName(std::wstring_view executablePath);

// Exact and case-sensitive, as the watcher compares.
bool IsOwnProgramInFront(std::wstring_view foregroundFileName, std::wstring_view ownName);

}  // namespace pravik::core::menu
