#include "core/zip/entry_path.h"

#include <algorithm>
#include <array>
#include <cctype>

namespace pravik::core::zip {
namespace {

bool IsSeparator(char c) { return c == '/' || c == '\\'; }

// Names the platform maps to devices whatever folder they stand in.
bool IsDeviceName(std::string_view step) {
  std::string base(step.substr(0, step.find('.')));
  while (!base.empty() && base.back() == ' ') base.pop_back();
  std::transform(base.begin(), base.end(), base.begin(), [](unsigned char c) { return static_cast<char>(std::toupper(c)); });
  static constexpr std::array<std::string_view, 6> kFixed{"CON", "PRN", "AUX", "NUL", "CONIN$", "CONOUT$"};
  if (std::find(kFixed.begin(), kFixed.end(), base) != kFixed.end()) return true;
  if (!(base.rfind("COM", 0) == 0 || base.rfind("LPT", 0) == 0)) return false;
  if (base.size() == 4) return base[3] >= '0' && base[3] <= '9';
  // The platform also maps COM and LPT followed by a superscript one, two or three (UTF-8 here).
  return base.size() == 5 && base[3] == '\xC2' && (base[4] == '\xB9' || base[4] == '\xB2' || base[4] == '\xB3');
}

bool IsAcceptableStep(std::string_view step) {
  // Only dots and blanks: the platform trims trailing dots and blanks, so "..." or ".. " is "..".
  if (step.find_first_not_of(". ") == std::string_view::npos) return false;
  for (unsigned char c : step) {
    if (c < 0x20) return false;
    if (c == ':' || c == '*' || c == '?' || c == '"' || c == '<' || c == '>' || c == '|') return false;
  }
  return !IsDeviceName(step);
}

}  // namespace

bool IsPlainFolder(std::uint32_t attributes) noexcept {
  constexpr std::uint32_t kUnreadable = 0xFFFFFFFF, kDirectory = 0x10, kReparsePoint = 0x400;
  return attributes != kUnreadable && (attributes & kDirectory) && !(attributes & kReparsePoint);
}

std::optional<std::vector<std::string>> SafeRelativePath(std::string_view storedName) {
  if (storedName.empty() || IsSeparator(storedName.front())) return std::nullopt;  // absolute, UNC
  std::vector<std::string> steps;
  std::size_t at = 0;
  while (at <= storedName.size()) {
    std::size_t end = at;
    while (end < storedName.size() && !IsSeparator(storedName[end])) ++end;
    const std::string_view step = storedName.substr(at, end - at);
    if (!step.empty() && step != ".") {
      if (!IsAcceptableStep(step)) return std::nullopt;
      steps.emplace_back(step);
    }
    at = end + 1;
  }
  return steps;
}

}  // namespace pravik::core::zip
