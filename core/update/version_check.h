#pragma once
#include <optional>
#include <string>

namespace pravik::core::update {

// What the update server's version file says against the installed version.
struct VersionVerdict {
  bool current = true;           // true: no update due (every failure counts as current)
  std::wstring updaterArguments; // field 1 exactly as served, when the file has one
};

// Removes leading and trailing U+0020 only; tabs and line breaks stay.
std::wstring TrimSpaces(const std::wstring& text);

// The version file is fields separated by ";" with no quoting and no line structure. No body
// (a failed fetch), an empty body or a body without ";" is current. Otherwise field 0 and the
// installed version are compared after trimming, case-sensitively.
VersionVerdict JudgeVersionFile(const std::optional<std::wstring>& body, const std::wstring& installed);

}  // namespace pravik::core::update
