// A harmless DLL that only records that it was loaded: copies of it, named like system DLLs and
// placed beside the programs, must never be loaded.
#include <windows.h>

BOOL WINAPI DllMain(HINSTANCE module, DWORD reason, LPVOID) {
  if (reason != DLL_PROCESS_ATTACH) return TRUE;
  wchar_t path[MAX_PATH];
  const DWORD n = ::GetModuleFileNameW(module, path, MAX_PATH);
  if (n == 0 || n >= MAX_PATH) return TRUE;
  wchar_t* slash = wcsrchr(path, L'\\');
  if (!slash) return TRUE;
  char name[MAX_PATH];
  const int length = ::WideCharToMultiByte(CP_UTF8, 0, slash + 1, -1, name, MAX_PATH, nullptr, nullptr);
  lstrcpyW(slash + 1, L"planted-loads.log");
  HANDLE log = ::CreateFileW(path, FILE_APPEND_DATA, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
  if (log == INVALID_HANDLE_VALUE) return TRUE;
  DWORD written = 0;
  if (length > 1) ::WriteFile(log, name, static_cast<DWORD>(length - 1), &written, nullptr);
  ::WriteFile(log, "\r\n", 2, &written, nullptr);
  ::CloseHandle(log);
  return TRUE;
}
