// Stands in for a downloaded installer: records each start as one line in a log beside itself.
// A copy named Pravik.exe stands in for the installed program (it carries the build's version
// resource) and logs to pravik-runs.log instead, with its argument text.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  wchar_t* slash = wcsrchr(path, L'\\');
  if (!slash) return 1;
  const bool asPravik = lstrcmpiW(slash + 1, L"Pravik.exe") == 0;
  lstrcpyW(slash + 1, asPravik ? L"pravik-runs.log" : L"installer-runs.log");
  HANDLE log = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(log, "run\r\n", 5, &written, nullptr);
  ::CloseHandle(log);
  return 0;
}
