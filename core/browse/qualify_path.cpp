#include "core/browse/qualify_path.h"

namespace pravik::core::browse {

std::wstring QualifyPath(const std::wstring& path, const FolderTest& isFolder) {
  if (path.empty() || path.back() == L'\\') return path;
  return isFolder(path) ? path + L'\\' : path;
}

}  // namespace pravik::core::browse
