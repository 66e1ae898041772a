#include "controllib/window_lookup.h"

#include <tlhelp32.h>

#include "win32/handles.h"

namespace pravik::controllib {

std::wstring WindowProgramName(HWND hwnd) {
  DWORD pid = 0;
  if (::GetWindowThreadProcessId(hwnd, &pid) == 0 || pid == 0) return {};
  win32::FileHandle snapshot(::CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0));
  if (!snapshot) return {};
  // The wide record: an executable name outside the ANSI code page keeps its characters.
  PROCESSENTRY32W entry{};
  entry.dwSize = sizeof entry;
  for (BOOL more = ::Process32FirstW(snapshot.get(), &entry); more; more = ::Process32NextW(snapshot.get(), &entry)) {
    if (entry.th32ProcessID != pid) continue;
    const std::size_t capacity = sizeof entry.szExeFile / sizeof entry.szExeFile[0];
    const std::wstring_view field(entry.szExeFile, capacity);
    const std::size_t end = field.find(L'\0');
    return end == std::wstring_view::npos ? std::wstring() : std::wstring(field.substr(0, end));
  }
  return {};
}

std::wstring WindowTitle(HWND hwnd) {
  if (!::IsWindow(hwnd)) return {};
  const int length = ::GetWindowTextLengthW(hwnd);
  if (length <= 0) return {};
  std::wstring title(static_cast<std::size_t>(length) + 1, L'\0');
  const int copied = ::GetWindowTextW(hwnd, title.data(), length + 1);
  title.resize(static_cast<std::size_t>(copied > 0 ? copied : 0));
  return title;
}

}  // namespace pravik::controllib
