#pragma once
// Folder paths end with "\", file paths never do. The file-system question is asked through a
// callback, each control answering it its own way, so the rule stays testable without a disk.
#include <functional>
#include <string>

namespace pravik::core::path {

using FolderTest = std::function<bool(const std::wstring&)>;

// Adds "\" to a folder path that does not end with one; anything else comes back unchanged.
std::wstring QualifyPath(const std::wstring& path, const FolderTest& isFolder);

}  // namespace pravik::core::path
