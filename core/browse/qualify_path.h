#pragma once
// Folder paths end with "\", file paths never do.
#include <functional>
#include <string>

namespace pravik::core::browse {

using FolderTest = std::function<bool(const std::wstring&)>;

// Adds "\" to a folder path that does not end with one; anything else comes back unchanged.
std::wstring QualifyPath(const std::wstring& path, const FolderTest& isFolder);

}  // namespace pravik::core::browse
