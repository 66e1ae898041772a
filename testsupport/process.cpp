#include "testsupport/process.h"

#include <fstream>
#include <sstream>
#include <vector>

#include "win32/text.h"
#include "win32/update_record.h"

namespace pravik::testsupport {

ChildProcess ChildProcess::Launch(const std::wstring& exe, const std::wstring& arguments, const std::wstring& folder) {
  ChildProcess child;
  std::wstring commandLine = L"\"" + exe + L"\"";
  if (!arguments.empty()) commandLine += L" " + arguments;
  STARTUPINFOW si{};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi{};
  if (::CreateProcessW(exe.c_str(), commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                       folder.empty() ? nullptr : folder.c_str(), &si, &pi)) {
    win32::Handle thread(pi.hThread);
    child.process_.reset(pi.hProcess);
    child.pid_ = pi.dwProcessId;
  }
  return child;
}

std::optional<DWORD> ChildProcess::WaitExit(DWORD timeoutMs) const {
  if (::WaitForSingleObject(process_.get(), timeoutMs) != WAIT_OBJECT_0) return std::nullopt;
  DWORD code = 0;
  ::GetExitCodeProcess(process_.get(), &code);
  return code;
}

void ChildProcess::Terminate() const {
  if (process_) {
    ::TerminateProcess(process_.get(), 1);
    ::WaitForSingleObject(process_.get(), 5000);
  }
}

namespace {
struct WindowSearch {
  DWORD pid;
  const wchar_t* className;
  bool visibleOnly;
  HWND found;
};

BOOL CALLBACK MatchWindow(HWND hwnd, LPARAM param) {
  auto* search = reinterpret_cast<WindowSearch*>(param);
  DWORD pid = 0;
  ::GetWindowThreadProcessId(hwnd, &pid);
  if (pid != search->pid) return TRUE;
  if (search->visibleOnly && !::IsWindowVisible(hwnd)) return TRUE;
  if (search->className) {
    wchar_t name[256];
    ::GetClassNameW(hwnd, name, 256);
    if (lstrcmpiW(name, search->className) != 0) return TRUE;
  }
  search->found = hwnd;
  return FALSE;
}
}  // namespace

HWND WaitForWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs, bool visibleOnly, DWORD pollMs) {
  WindowSearch search{pid, className, visibleOnly, nullptr};
  WaitUntil(
      [&] {
        ::EnumWindows(&MatchWindow, reinterpret_cast<LPARAM>(&search));
        return search.found != nullptr;
      },
      timeoutMs, pollMs);
  return search.found;
}

void PumpFor(DWORD ms) {
  const ULONGLONG end = ::GetTickCount64() + ms;
  MSG msg;
  for (;;) {
    while (::PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      ::TranslateMessage(&msg);
      ::DispatchMessageW(&msg);
    }
    const ULONGLONG now = ::GetTickCount64();
    if (now >= end) return;
    ::MsgWaitForMultipleObjects(0, nullptr, FALSE, static_cast<DWORD>(end - now), QS_ALLINPUT);
  }
}

void SetUserString(const std::wstring& key, const std::wstring& name, const std::wstring* value) {
  win32::RegKey k;
  if (::RegCreateKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, k.put(), nullptr) !=
      ERROR_SUCCESS)
    return;
  if (value)
    ::RegSetValueExW(k.get(), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value->c_str()),
                     static_cast<DWORD>((value->size() + 1) * sizeof(wchar_t)));
  else
    ::RegDeleteValueW(k.get(), name.c_str());
}

std::wstring OutDir() { return FromUnixPath(PRAVIK_OUT_DIR); }

void ForgetUpdateAttempts() {
  if (const auto folder = win32::UpdateDataFolder()) {
    ::DeleteFileW((*folder + L"\\" + win32::kUpdateRecordName).c_str());
    ::DeleteFileW((*folder + L"\\" + win32::kUpdateLogName).c_str());
  }
}

void BackdateHandOver(unsigned hours) {
  const auto folder = win32::UpdateDataFolder();
  if (!folder) return;
  const std::wstring path = *folder + L"\\" + win32::kUpdateRecordName;
  std::string record;
  {
    std::ifstream in(path.c_str(), std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    record = text.str();
  }
  const auto newline = record.find('\n');
  if (newline == std::string::npos) return;
  const unsigned long long when = std::stoull(record.substr(0, newline));
  record = std::to_string(when - hours * 3600ULL * 10'000'000ULL) + record.substr(newline);
  std::ofstream(path.c_str(), std::ios::binary | std::ios::trunc) << record;
}

std::string UpdateLogText() {
  const auto folder = win32::UpdateDataFolder();
  if (!folder) return {};
  std::ifstream in((*folder + L"\\" + win32::kUpdateLogName).c_str(), std::ios::binary);
  std::stringstream text;
  text << in.rdbuf();
  return text.str();
}

}  // namespace pravik::testsupport
