#pragma once
// The menu's commands, each on a runner of its own: a command that runs long (or for ever) never
// holds the next one, and none of them runs a message loop of its own. A runner reports its end
// with a posted message and is released then, outside any of its own calls.
#include <windows.h>

#include <memory>
#include <string_view>
#include <vector>

#include "runner/console_runner.h"

namespace pravik::menu {

inline constexpr std::size_t kMaxRunningCommands = 8;
inline constexpr wchar_t kTooManyCommandsText[] =
    L"이미 실행 중인 명령이 8개입니다. 실행 중인 명령이 끝난 뒤에 다시 시도하십시오.";
inline constexpr wchar_t kTooManyCommandsTitle[] = L"Pravik";

class CommandRunners {
 public:
  // `notify` gets `message` (lParam: the runner) when a command's output has ended; hand it to
  // Finished from there.
  CommandRunners(HWND notify, UINT message) : notify_(notify), message_(message) {}
  CommandRunners(const CommandRunners&) = delete;
  CommandRunners& operator=(const CommandRunners&) = delete;
  // Running commands are stopped and their threads joined.
  ~CommandRunners() = default;

  // Starts "prefix + command", with an environment built from system values when asked (the
  // fixed command lines). False when it did not start; with eight commands running, or when it
  // could not start without administrator rights, the user is told so.
  bool Run(std::wstring_view command, std::wstring_view prefix, bool systemEnvironment = false);
  void Finished(LPARAM runner) noexcept;
  [[nodiscard]] std::size_t running() const noexcept { return runners_.size(); }
  // The runner of the last command started (its properties are those of that command).
  [[nodiscard]] const runner::ConsoleRunner* last() const noexcept { return last_; }

 private:
  HWND notify_;
  UINT message_;
  std::vector<std::unique_ptr<runner::ConsoleRunner>> runners_;
  const runner::ConsoleRunner* last_ = nullptr;
};

}  // namespace pravik::menu
