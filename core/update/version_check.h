#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pravik::core::update {

// A product version: dotted numbers ("1.10.2"), nothing else.
using Version = std::vector<unsigned long>;

// Nothing unless the text is numbers (at most 9 digits each) separated by single dots.
std::optional<Version> ParseVersion(std::wstring_view text);
// Number by number, a missing number counting as 0 (1.10 > 1.9, 1.0 == 1.0.0): <0, 0, >0.
int CompareVersions(const Version& a, const Version& b);

// What the update server's version file says against the installed version.
struct VersionVerdict {
  bool current = true;           // true: no update due (every failure counts as current)
  std::wstring updaterArguments; // field 1, with a trailing line break trimmed, when the file is sound
};

// Removes leading and trailing U+0020 only; tabs and line breaks stay.
std::wstring TrimSpaces(const std::wstring& text);

// An absolute http:// or https:// address (https only when httpsOnly) with a host, without
// control characters or blanks: what may be handed to the updater or the web panel.
bool IsWebAddress(std::wstring_view address, bool httpsOnly = false);

// The version file is fields separated by ";" with no quoting. It counts only when field 0
// (trimmed of spaces) is a dotted version and field 1 (with the line break that ends a file
// saved by an editor trimmed off) is a web address; anything else is a failed fetch, which is
// current. An update is due only when the announced version is newer than the installed one.
VersionVerdict JudgeVersionFile(const std::optional<std::wstring>& body, const Version& installed,
                                bool httpsOnly = false);

}  // namespace pravik::core::update
