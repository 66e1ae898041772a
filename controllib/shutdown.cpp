#include "controllib/shutdown.h"

#include <string>

#include "controllib/method_error.h"
#include "win32/handles.h"

namespace pravik::controllib {
namespace {

constexpr wchar_t kSource[] = L"Quessel.mShutDown";

// The system's text for an error code: at most 255 characters, no inserts, empty when none.
std::wstring SystemMessage(DWORD code) {
  wchar_t text[256] = {};
  const DWORD n = ::FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, code, 0, text,
                                   255, nullptr);
  return std::wstring(text, n);
}

[[noreturn]] void Fail(HRESULT number, const std::wstring& description) {
  throw MethodError(number, description, kSource);
}

void EnableShutdownPrivilege() {
  LUID privilege{};
  if (!::LookupPrivilegeValueW(nullptr, SE_SHUTDOWN_NAME, &privilege)) {
    const DWORD error = ::GetLastError();
    Fail(static_cast<HRESULT>(0x8004062C),
         L"Can't enable shutdown: Can't find the SE_SHUTDOWN_NAME privilege value. [" + SystemMessage(error) + L"]");
  }
  const HANDLE process = ::GetCurrentProcess();  // a pseudo handle: nothing to close
  if (!process) {
    const DWORD error = ::GetLastError();
    Fail(static_cast<HRESULT>(0x8004062D),
         L"Can't enable shutdown: Can't determine the current process. [" + SystemMessage(error) + L"]");
  }
  const std::wstring denied = L"Can't enable shutdown: You do not have the privileges to shutdown this system. [";
  win32::Handle token;
  if (!::OpenProcessToken(process, TOKEN_ADJUST_PRIVILEGES | TOKEN_QUERY, token.put())) {
    const DWORD error = ::GetLastError();
    Fail(static_cast<HRESULT>(0x8004062E), denied + SystemMessage(error) + L"]");
  }
  TOKEN_PRIVILEGES change{};
  change.PrivilegeCount = 1;
  change.Privileges[0].Luid = privilege;
  change.Privileges[0].Attributes = SE_PRIVILEGE_ENABLED;
  if (!::AdjustTokenPrivileges(token.get(), FALSE, &change, 0, nullptr, nullptr)) {
    const DWORD error = ::GetLastError();
    Fail(static_cast<HRESULT>(0x8004062E), denied + SystemMessage(error) + L"]");
  }
}

}  // namespace

bool RequestSessionEnd(long flags, bool ntFamily) {
  if (flags < 0 || flags > 31)
    Fail(static_cast<HRESULT>(0x8004062F), L"Invalid parameter to ShutdownSystem: " + std::to_wstring(flags));
  if (ntFamily) EnableShutdownPrivilege();
  if (::ExitWindowsEx(static_cast<UINT>(flags), 0xFFFFFFFF)) return true;
  const DWORD error = ::GetLastError();
  Fail(static_cast<HRESULT>(0x8004062B), L"ShutdownSystem failed: " + SystemMessage(error));
}

}  // namespace pravik::controllib
