#include "menu/command_runners.h"

#include <string>

namespace pravik::menu {

bool CommandRunners::Run(std::wstring_view command, std::wstring_view prefix, bool systemEnvironment) {
  if (runners_.size() >= kMaxRunningCommands) {
    ::MessageBoxW(notify_, kTooManyCommandsText, kTooManyCommandsTitle, MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  auto runner = std::make_unique<runner::ConsoleRunner>();
  runner->SystemEnvironment = systemEnvironment;
  if (!runner->Start(std::wstring(command), std::wstring(prefix), notify_, message_)) {
    // Not started (blank line, no interpreter): nothing runs, nothing to keep. Its error stays
    // unreported, as for every command of the menu, except a refusal to start the command with
    // administrator rights, which the user must hear of.
    if (runner->ErrorNo == 4) ::MessageBoxW(notify_, runner->ErrorMsg.c_str(), L"Pravik", MB_OK | MB_ICONWARNING);
    return false;
  }
  last_ = runner.get();
  runners_.push_back(std::move(runner));
  return true;
}

void CommandRunners::Finished(LPARAM runner) noexcept {
  // The report comes from the runner's last step: joining returns at once.
  for (auto it = runners_.begin(); it != runners_.end(); ++it)
    if (reinterpret_cast<LPARAM>(it->get()) == runner) {
      (*it)->Join();
      if (last_ == it->get()) last_ = nullptr;
      runners_.erase(it);
      return;
    }
}

}  // namespace pravik::menu
