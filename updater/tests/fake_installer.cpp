// Stands in for a downloaded installer: records each start as one line in a log beside itself.
#include <windows.h>

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(nullptr, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return 1;
  wchar_t* slash = wcsrchr(path, L'\\');
  if (!slash) return 1;
  lstrcpyW(slash + 1, L"installer-runs.log");
  HANDLE log = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return 1;
  DWORD written = 0;
  ::WriteFile(log, "run\r\n", 5, &written, nullptr);
  ::CloseHandle(log);
  return 0;
}
