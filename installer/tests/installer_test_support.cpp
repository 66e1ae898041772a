#include "installer/tests/installer_test_support.h"

#include "testsupport/files.h"
#include "testsupport/process.h"
#include "win32/handles.h"
#include "win32/text.h"

namespace pravik::installer {

std::wstring RegistryText(HKEY hive, const wchar_t* key, const wchar_t* name) {
  wchar_t value[1024] = {};
  DWORD size = sizeof(value) - sizeof(wchar_t);
  if (::RegGetValueW(hive, key, name, RRF_RT_REG_SZ, nullptr, value, &size) != ERROR_SUCCESS) return L"";
  return value;
}

bool KeyExists(HKEY hive, const wchar_t* key) {
  win32::RegKey opened;
  return ::RegOpenKeyExW(hive, key, 0, KEY_READ, opened.put()) == ERROR_SUCCESS;
}

DWORD RunAndWait(const std::wstring& exe, const std::wstring& arguments) {
  auto process = testsupport::ChildProcess::Launch(exe, arguments);
  if (!process.started()) return ~0u;
  return process.WaitExit(120000).value_or(~0u);
}

HWND VisibleStartButton(DWORD* pid) {
  HWND hwnd = ::FindWindowW(L"PravikStartButton", nullptr);
  if (!hwnd || !::IsWindowVisible(hwnd)) return nullptr;
  if (pid) ::GetWindowThreadProcessId(hwnd, pid);
  return hwnd;
}

void EndPravik() {
  for (int i = 0; i < 10; ++i) {
    HWND hwnd = ::FindWindowW(L"PravikStartButton", nullptr);
    if (!hwnd) return;
    DWORD pid = 0;
    ::GetWindowThreadProcessId(hwnd, &pid);
    win32::Handle process(::OpenProcess(PROCESS_TERMINATE | SYNCHRONIZE, FALSE, pid));
    if (process) {
      ::TerminateProcess(process.get(), 0);
      ::WaitForSingleObject(process.get(), 10000);
    }
  }
}

void RegisterBuiltQuessel() {
  const std::wstring ocx = testsupport::OutDir() + L"\\Quessel.ocx";
  if (testsupport::FileExists(ocx)) RunAndWait(L"C:\\windows\\system32\\regsvr32.exe", L"/s \"" + ocx + L"\"");
}

}  // namespace pravik::installer
