#include "win32/launch.h"

#include <shlobj.h>

#include "generated/win32/build_settings.h"
#include "win32/handles.h"

namespace pravik::win32 {

std::wstring SystemFolder() {
#if PRAVIK_TEST_SEAMS
  wchar_t standIns[MAX_PATH];
  const DWORD length = ::GetEnvironmentVariableW(L"PRAVIK_TEST_SYSTEM_FOLDER", standIns, MAX_PATH);
  if (length > 0 && length < MAX_PATH) return standIns;
#endif
  wchar_t folder[MAX_PATH];
  const UINT n = ::GetSystemDirectoryW(folder, MAX_PATH);
  return n > 0 && n < MAX_PATH ? std::wstring(folder, n) : std::wstring(L"C:\\Windows\\System32");
}

std::optional<std::wstring> KnownFolderPath(const GUID& id) {
  PWSTR path = nullptr;
  const HRESULT hr = ::SHGetKnownFolderPath(id, KF_FLAG_DONT_VERIFY, nullptr, &path);
  std::optional<std::wstring> result;
  if (SUCCEEDED(hr) && path && *path) result = path;
  ::CoTaskMemFree(path);
  return result;
}

bool StartProgram(const std::wstring& fullPath, const std::wstring& arguments) {
  std::wstring commandLine = L"\"" + fullPath + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  const auto slash = fullPath.find_last_of(L'\\');
  std::wstring folder = slash == std::wstring::npos ? std::wstring() : fullPath.substr(0, slash);
  if (folder.size() == 2 && folder[1] == L':') folder += L'\\';  // a drive root keeps its separator
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_SHOWNORMAL;
  PROCESS_INFORMATION started{};
  if (!::CreateProcessW(fullPath.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                        folder.empty() ? nullptr : folder.c_str(), &startup, &started))
    return false;
  Handle process(started.hProcess);
  Handle thread(started.hThread);
  return true;
}

}  // namespace pravik::win32
