#include "core/menu/picked_path.h"

namespace pravik::core::menu {

bool ShouldOpenPickedPath(std::wstring_view path) {
  const auto slash = path.find_last_of(L'\\');
  const std::wstring_view last = slash == std::wstring_view::npos ? path : path.substr(slash + 1);
  return !last.empty();
}

std::wstring OwnForegroundName(std::wstring_view executablePath) {
  const auto slash = executablePath.find_last_of(L"\\/");
  std::wstring_view name = slash == std::wstring_view::npos ? executablePath : executablePath.substr(slash + 1);
  const auto dot = name.find_last_of(L'.');
  if (dot != std::wstring_view::npos) name = name.substr(0, dot);
  return std::wstring(name) + L".exe";
}

bool IsOwnProgramInFront(std::wstring_view foregroundFileName, std::wstring_view ownName) {
  return foregroundFileName == ownName;
}

}  // namespace pravik::core::menu
