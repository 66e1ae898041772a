#include "core/path/qualify_path.h"

namespace pravik::core::path {

std::wstring QualifyPath(const std::wstring& path, const FolderTest& isFolder) {
  if (!path.empty() && path.back() == L'\\') return path;
  return isFolder && isFolder(path) ? path + L'\\' : path;
}

}  // namespace pravik::core::path
