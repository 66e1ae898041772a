#pragma once
// Runs one command line in a hidden console process and collects what it writes to standard
// output and standard error (one shared pipe), reporting failures by number and message.
#include <string>

namespace pravik::runner {

class ConsoleRunner {
 public:
  // The last command given to Execute (without the prefix), its output, and its failure.
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
  // desktop stays live; a second Execute arriving meanwhile on this runner returns false and
  // leaves the running command's properties alone.
  bool Execute(const std::wstring& strCommand, const std::wstring& strPreFix);

 private:
  bool running_ = false;
};

}  // namespace pravik::runner
