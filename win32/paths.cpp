#include "win32/paths.h"

#include <windows.h>

namespace pravik::win32 {

std::wstring ModulePath(void* module) {
  std::wstring path(MAX_PATH, L'\0');
  for (;;) {
    const DWORD n = ::GetModuleFileNameW(static_cast<HMODULE>(module), path.data(), static_cast<DWORD>(path.size()));
    if (n < path.size()) {
      path.resize(n);
      return path;
    }
    path.resize(path.size() * 2);
  }
}

std::wstring ProgramFolder() {
  std::wstring path = ModulePath();
  const auto slash = path.find_last_of(L"\\/");
  if (slash == std::wstring::npos) return path;
  // A drive root keeps its separator ("C:\").
  if (slash == 2 && path[1] == L':') return path.substr(0, 3);
  return path.substr(0, slash);
}

}  // namespace pravik::win32
