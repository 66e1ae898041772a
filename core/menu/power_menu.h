#pragma once
// The session and power popup's entries and the commands behind them.
#include <array>
#include <optional>
#include <string_view>

namespace pravik::core::menu {

enum class PowerEntryKind { kText, kSeparator };

struct PowerEntry {
  unsigned id;
  PowerEntryKind kind;
  std::wstring_view text;
};

inline constexpr std::array<PowerEntry, 7> kPowerMenu = {{
    {1, PowerEntryKind::kText, L"사용자전환"},
    {2, PowerEntryKind::kText, L"로그오프"},
    {3, PowerEntryKind::kText, L"잠금"},
    {4, PowerEntryKind::kSeparator, L""},
    {5, PowerEntryKind::kText, L"다시시작"},
    {6, PowerEntryKind::kSeparator, L""},
    {7, PowerEntryKind::kText, L"절전"},
}};

inline constexpr unsigned kPowerSwitchUser = 1;
inline constexpr unsigned kPowerLock = 3;

inline constexpr std::wstring_view kShutdownCommand = L"shutdown.exe /s /t 0";
inline constexpr std::wstring_view kCommandPrefix = L"cmd.exe /c ";

// The shutdown.exe command of a chosen entry: log off, restart, hibernate. Nothing for the
// dismissed popup (0), for switch user and lock (the platform's own actions) and the rest.
std::optional<std::wstring_view> PowerCommand(unsigned id);

// One of the menu's own fixed command lines (shortcuts, shutdown button, power entries), which
// run with an environment built from system values; anything else is the user's own command.
bool IsFixedCommand(std::wstring_view command);

}  // namespace pravik::core::menu
