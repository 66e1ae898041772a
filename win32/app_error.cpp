#include "win32/app_error.h"

#include <windows.h>

#include "win32/paths.h"

namespace pravik::win32 {

void EndWithError(const std::wstring& description) noexcept {
  std::wstring title = ModulePath();
  const auto slash = title.find_last_of(L"\\/");
  if (slash != std::wstring::npos) title.erase(0, slash + 1);
  const auto dot = title.find_last_of(L'.');
  if (dot != std::wstring::npos) title.erase(dot);
  ::MessageBoxW(nullptr, description.c_str(), title.c_str(), MB_OK | MB_ICONERROR | MB_TASKMODAL);
  ::ExitProcess(1);
}

}  // namespace pravik::win32
