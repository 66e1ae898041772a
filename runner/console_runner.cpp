#include "runner/console_runner.h"

#include <windows.h>

#include <string>

#include "core/runner/output_limits.h"

#include "win32/handles.h"
#include "win32/launch.h"
#include "win32/message_pump.h"
#include "win32/text.h"

namespace pravik::runner {
namespace {

constexpr DWORD kPollMs = 15;

bool IsBlank(const std::wstring& text) { return text.find_first_not_of(L' ') == std::wstring::npos; }

// Reads what the pipe holds now, in pieces of at most 255 bytes. False once every writer has
// closed the pipe (or it failed).
bool DrainAvailable(HANDLE readEnd, std::string& collected) {
  while (!core::runner::OutputLimitReached(collected.size())) {
    DWORD available = 0;
    if (!::PeekNamedPipe(readEnd, nullptr, 0, nullptr, &available, nullptr)) return false;
    if (available == 0) return true;
    char piece[core::runner::kReadPieceBytes];
    DWORD read = 0;
    if (!::ReadFile(readEnd, piece, std::min<DWORD>(available, core::runner::kReadPieceBytes), &read, nullptr)) return false;
    collected.append(piece, read);
  }
  return true;
}

// Collects output until the limit, until every writer closed the pipe, or until the command's
// own process has ended and the pipe is empty; window messages are dispatched meanwhile.
void CollectOutput(HANDLE readEnd, HANDLE process, std::string& collected) {
  for (;;) {
    if (!DrainAvailable(readEnd, collected) || core::runner::OutputLimitReached(collected.size())) return;
    if (::WaitForSingleObject(process, 0) == WAIT_OBJECT_0) {
      // The process is gone; what it wrote is in the pipe already.
      DrainAvailable(readEnd, collected);
      return;
    }
    if (::MsgWaitForMultipleObjects(1, &process, FALSE, kPollMs, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
      win32::PumpPendingMessages();
  }
}

class RunningFlag {
 public:
  explicit RunningFlag(bool& flag) : flag_(flag) { flag_ = true; }
  RunningFlag(const RunningFlag&) = delete;
  RunningFlag& operator=(const RunningFlag&) = delete;
  ~RunningFlag() { flag_ = false; }

 private:
  bool& flag_;
};

}  // namespace

bool ConsoleRunner::Execute(const std::wstring& strCommand, const std::wstring& strPreFix) {
  // A call from a handler dispatched while this runner waits: refused, and the running
  // command's properties stay as they are.
  if (running_) return false;
  RunningFlag running(running_);
  Command = strCommand;
  Output.clear();
  ErrorNo = 0;
  ErrorMsg.clear();

  if (IsBlank(strCommand)) {
    ErrorNo = 1;
    ErrorMsg = L"Command line is empty";
    return false;
  }

  SECURITY_ATTRIBUTES inherit{sizeof(inherit), nullptr, TRUE};
  win32::Handle readEnd, writeEnd;
  if (!::CreatePipe(readEnd.put(), writeEnd.put(), &inherit, 0)) {
    const DWORD error = ::GetLastError();
    ErrorNo = 2;
    ErrorMsg = L"CreatePipe failed. (" + std::to_wstring(error) + L")";
    return false;
  }
  // Only the write end goes to the child; our read end stays ours.
  ::SetHandleInformation(readEnd.get(), HANDLE_FLAG_INHERIT, 0);

  STARTUPINFOW startup{};
  startup.cb = sizeof(startup);
  startup.dwFlags = STARTF_USESTDHANDLES | STARTF_USESHOWWINDOW;
  startup.wShowWindow = SW_HIDE;
  startup.hStdOutput = writeEnd.get();
  startup.hStdError = writeEnd.get();
  startup.hStdInput = nullptr;
  std::wstring commandLine = strPreFix + strCommand;
  PROCESS_INFORMATION info{};
  // The interpreter by its full system path, from the system folder, with the user's own rights
  // (see win32/launch.h).
  const win32::UserStart start = win32::StartConsoleCommand(commandLine, startup, SystemEnvironment, info);
  if (start == win32::UserStart::kNoUserToken) {
    ErrorNo = 4;
    ErrorMsg = win32::kNoUserTokenMessage;
    return false;
  }
  if (start != win32::UserStart::kStarted) {
    ErrorNo = 3;
    ErrorMsg = L"File or command not found";
    return false;
  }
  win32::Handle process(info.hProcess), thread(info.hThread);
  writeEnd.reset();

  std::string collected;
  CollectOutput(readEnd.get(), process.get(), collected);
  if (!collected.empty()) Output += win32::AnsiToWide(collected);
  // Normally it has ended already; past the limit it is stopped here.
  ::TerminateProcess(process.get(), 0);
  return true;
}

}  // namespace pravik::runner
