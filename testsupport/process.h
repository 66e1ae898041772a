#pragma once
// Child processes and their windows, for tests that drive the real programs.
#include <windows.h>

#include <optional>
#include <string>

#include "testsupport/files.h"  // MakeTempFolder, for the folders children run in
#include "win32/handles.h"

namespace pravik::testsupport {

class ChildProcess {
 public:
  // Starts exe with the argument text (appended after the quoted path) in the given folder.
  static ChildProcess Launch(const std::wstring& exe, const std::wstring& arguments = L"",
                             const std::wstring& folder = L"");
  [[nodiscard]] bool started() const noexcept { return process_.valid(); }
  [[nodiscard]] DWORD pid() const noexcept { return pid_; }
  [[nodiscard]] HANDLE handle() const noexcept { return process_.get(); }
  // The exit code once the process ended within the time, nothing otherwise.
  std::optional<DWORD> WaitExit(DWORD timeoutMs) const;
  void Terminate() const;

 private:
  win32::Handle process_;
  DWORD pid_ = 0;
};

// The first top-level window of a process with this class (any class when null) that appears
// within the time; visibleOnly skips hidden ones.
// Looks every pollMs.
HWND WaitForWindow(DWORD pid, const wchar_t* className, DWORD timeoutMs, bool visibleOnly = true, DWORD pollMs = 20);
// Pumps this thread's messages for a while (tests that own windows must keep them live).
void PumpFor(DWORD ms);
// Waits until the predicate holds, asking every pollMs and pumping messages in between; false
// when the time ran out.
template <typename Predicate>
bool WaitUntil(Predicate predicate, DWORD timeoutMs, DWORD pollMs = 20) {
  const ULONGLONG end = ::GetTickCount64() + timeoutMs;
  while (!predicate()) {
    if (::GetTickCount64() >= end) return false;
    PumpFor(pollMs);
  }
  return true;
}

// HKEY_CURRENT_USER values for tests; a null value deletes it.
void SetUserString(const std::wstring& key, const std::wstring& name, const std::wstring* value);
// Removes the update record and log Pravik and Molvane keep under %ProgramData%\Pravik, so
// one test's hand-over does not hold back the next.
void ForgetUpdateAttempts();
// Moves the recorded hand-over's time back by this many hours (as if that much time had passed).
void BackdateHandOver(unsigned hours);
// The update log's text (empty when there is none).
std::string UpdateLogText();
// The folder the built programs are in (out/x86_64), as a Windows path.
std::wstring OutDir();

}  // namespace pravik::testsupport
