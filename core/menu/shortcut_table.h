#pragma once
// The shortcut column: nine item frames with captions (item 7 hidden), their icons and commands.
#include <array>
#include <optional>
#include <string_view>

namespace pravik::core::menu {

struct ShortcutItem {
  std::wstring_view caption;
  int frameTopTwips;
  int iconTopTwips;
  std::wstring_view command;  // empty: the item runs nothing
  bool visible;
};

inline constexpr int kShortcutCount = 9;
inline constexpr int kHiddenShortcut = 7;

inline constexpr std::array<ShortcutItem, kShortcutCount> kShortcuts = {{
    {L"문서", 360, 330, L"%SystemRoot%\\explorer.exe /N,::{450D8FBA-AD25-11D0-98A8-0800361B1103}", true},
    {L"사진", 1020, 990, L"explorer %userprofile%\\Pictures", true},
    {L"음악", 1680, 1650, L"explorer %userprofile%\\Music", true},
    {L"게임", 2340, 2310, L"explorer %userprofile%\\Game", true},
    {L"컴퓨터", 3000, 2970, L"%SystemRoot%\\explorer.exe /E,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}", true},
    {L"제어판", 3660, 3630,
     L"%SystemRoot%\\explorer.exe /N,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\::{21EC2020-3AEA-1069-A2DD-08002B30309D}",
     true},
    {L"장치 및 프린터", 4320, 4290,
     L"%SystemRoot%\\explorer.exe /N,::{20D04FE0-3AEA-1069-A2D8-08002B30309D}\\::{21EC2020-3AEA-1069-A2DD-08002B30309D}"
     L"\\::{2227A280-3AEA-1069-A2DE-08002B30309D}",
     true},
    {L"즐겨찾기", 5970, 5970, L"", false},
    {L"도움말 및 지원", 5010, 4950, L"%SystemRoot%\\WinHlp32.exe", true},
}};

// The command line of item index (without the interpreter prefix); nothing for item 7 and
// for any index outside 0..8.
std::optional<std::wstring_view> ShortcutCommand(int index);

// Highlight colours (&H00BBGGRR); the caption's normal colour is the system button text.
inline constexpr unsigned kHighlightBack = 0x00F0B000;
inline constexpr unsigned kHighlightText = 0x00FFFFFF;
inline constexpr unsigned kNormalBack = 0x00FFFFFF;

}  // namespace pravik::core::menu
