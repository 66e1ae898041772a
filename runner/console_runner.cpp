#include "runner/console_runner.h"

#include <algorithm>
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

// Collects output until the limit, until every writer closed the pipe, until the command's own
// process has ended and the pipe is empty, or until `stop` is set. Never blocks longer than one
// poll, so a stop request is honoured at once.
void CollectOutput(HANDLE readEnd, HANDLE process, HANDLE stop, std::string& collected) {
  for (;;) {
    if (!DrainAvailable(readEnd, collected) || core::runner::OutputLimitReached(collected.size())) return;
    const HANDLE waits[2] = {process, stop};
    const DWORD woke = ::WaitForMultipleObjects(2, waits, FALSE, kPollMs);
    if (woke == WAIT_OBJECT_0) {
      // The process is gone; what it wrote is in the pipe already.
      DrainAvailable(readEnd, collected);
      return;
    }
    if (woke != WAIT_TIMEOUT) return;
  }
}

}  // namespace

ConsoleRunner::~ConsoleRunner() {
  Stop();
  Join();
}

bool ConsoleRunner::Running() const noexcept { return running_ && done_ && ::WaitForSingleObject(done_.get(), 0) != WAIT_OBJECT_0; }

void ConsoleRunner::Stop() noexcept {
  if (stop_) ::SetEvent(stop_.get());
}

void ConsoleRunner::Join() noexcept {
  if (collector_.joinable()) collector_.join();
  running_ = false;
}

bool ConsoleRunner::Start(const std::wstring& strCommand, const std::wstring& strPreFix, HWND notify, UINT message) {
  // A call while this runner still collects: refused, and the running command's properties stay.
  if (running_ && Running()) return false;
  Join();
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
  process_.reset(info.hProcess);
  win32::Handle thread(info.hThread);
  writeEnd.reset();
  readEnd_ = std::move(readEnd);
  stop_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  done_.reset(::CreateEventW(nullptr, TRUE, FALSE, nullptr));
  running_ = true;
  collector_ = std::thread([this, notify, message] { Collect(notify, message); });
  return true;
}

void ConsoleRunner::Collect(HWND notify, UINT message) noexcept {
  std::string collected;
  CollectOutput(readEnd_.get(), process_.get(), stop_.get(), collected);
  if (!collected.empty()) {
    try {
      Output += win32::AnsiToWide(collected);
    } catch (...) {
      // Out of memory for the text: the command ran all the same.
    }
  }
  // Normally it has ended already; past the limit (or stopped) it is ended here.
  ::TerminateProcess(process_.get(), 0);
  process_.reset();
  readEnd_.reset();
  ::SetEvent(done_.get());
  if (notify) ::PostMessageW(notify, message, 0, reinterpret_cast<LPARAM>(this));
}

bool ConsoleRunner::Execute(const std::wstring& strCommand, const std::wstring& strPreFix) {
  if (!Start(strCommand, strPreFix, nullptr, 0)) return false;
  // Wait for the collector while the thread's windows stay live.
  const HANDLE done = done_.get();
  while (::MsgWaitForMultipleObjects(1, &done, FALSE, INFINITE, QS_ALLINPUT) == WAIT_OBJECT_0 + 1)
    if (!win32::PumpPendingMessages()) {
      // The program ends: the command is not waited for.
      Stop();
      break;
    }
  Join();
  return true;
}

}  // namespace pravik::runner
