#pragma once
// Runs one command line in a hidden console process and collects what it writes to standard
// output and standard error (one shared pipe), reporting failures by number and message.
#include <windows.h>

#include <string>
#include <thread>

#include "win32/handles.h"

namespace pravik::runner {

class ConsoleRunner {
 public:
  ConsoleRunner() = default;
  ConsoleRunner(const ConsoleRunner&) = delete;
  ConsoleRunner& operator=(const ConsoleRunner&) = delete;
  // A command still being collected is stopped (its process ended, as past the output limit)
  // and its thread joined: nothing outlives the object.
  ~ConsoleRunner();

  // The last command given to Execute or Start (without the prefix), its output, and its failure.
  // While a started command is collected they belong to its thread: read them after its report.
  std::wstring Command;
  std::wstring Output;
  long ErrorNo = 0;  // 0 none, 1 empty command, 2 pipe not created, 3 process not started,
                     // 4 refused: no unelevated user token to start it with
  std::wstring ErrorMsg;
  // Run the next commands with an environment built from system values instead of this
  // process's own (the menu's fixed command lines; a typed command keeps the user's own).
  bool SystemEnvironment = false;

  // Starts prefix + command (nothing in between: the prefix carries its own space) hidden and
  // collects its output, at most about 30750 bytes read in pieces of 255.
  //
  // The wait ends when the command's own process has ended and the pipe holds nothing more:
  // programs it started in turn (a GUI program, "start ...") keep the pipe's write end but do
  // not hold the caller. While it waits, the thread's window messages are dispatched so the
  // desktop stays live; a second Execute or Start arriving meanwhile on this runner returns false
  // and leaves the running command's properties alone.
  bool Execute(const std::wstring& strCommand, const std::wstring& strPreFix);

  // Starts the command like Execute and returns as soon as its process runs (false, with the
  // error properties set, when it could not start). A thread of this runner collects the output;
  // when it is done, `message` is posted to `notify` with this runner as lParam. No message loop
  // runs on the caller's thread meanwhile.
  bool Start(const std::wstring& strCommand, const std::wstring& strPreFix, HWND notify, UINT message);

  // Whether a started command is still being collected.
  [[nodiscard]] bool Running() const noexcept;
  // Ends the collection at once; the command's process is ended as past the limit.
  void Stop() noexcept;
  // Waits for the collecting thread (after its report, this returns at once).
  void Join() noexcept;

 private:
  void Collect(HWND notify, UINT message) noexcept;

  win32::Handle process_, readEnd_, stop_, done_;
  std::thread collector_;
  bool running_ = false;
};

}  // namespace pravik::runner
