#include "core/download/download_rules.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <string>

namespace pravik::core::download {
namespace {

bool IsBlank(wchar_t c) { return c == L' ' || c == L'\t' || c == L'\n'; }

// The characters the numeric reading looks at, blanks removed.
std::wstring Squeeze(std::wstring_view text) {
  std::wstring out;
  for (wchar_t c : text)
    if (!IsBlank(c)) out.push_back(c);
  return out;
}

double ReadRadix(const std::wstring& digits, std::size_t at, int radix) {
  double value = 0;
  for (; at < digits.size(); ++at) {
    const wchar_t c = digits[at];
    int d;
    if (c >= L'0' && c <= L'9') d = c - L'0';
    else if (c >= L'a' && c <= L'f') d = c - L'a' + 10;
    else if (c >= L'A' && c <= L'F') d = c - L'A' + 10;
    else break;
    if (d >= radix) break;
    value = value * radix + d;
  }
  return value;
}

double NumericValue(std::wstring_view text) {
  const std::wstring s = Squeeze(text);
  if (s.size() >= 2 && s[0] == L'&') {
    if (s[1] == L'H' || s[1] == L'h') return ReadRadix(s, 2, 16);
    if (s[1] == L'O' || s[1] == L'o') return ReadRadix(s, 2, 8);
  }
  // Take the longest prefix shaped like [sign]digits[.digits][(E|D)[sign]digits].
  std::string number;
  std::size_t i = 0;
  if (i < s.size() && (s[i] == L'+' || s[i] == L'-')) number.push_back(static_cast<char>(s[i++]));
  bool digits = false;
  while (i < s.size() && s[i] >= L'0' && s[i] <= L'9') number.push_back(static_cast<char>(s[i++])), digits = true;
  if (i < s.size() && s[i] == L'.') {
    number.push_back('.');
    ++i;
    while (i < s.size() && s[i] >= L'0' && s[i] <= L'9') number.push_back(static_cast<char>(s[i++])), digits = true;
  }
  if (!digits) return 0;
  if (i < s.size() && (s[i] == L'E' || s[i] == L'e' || s[i] == L'D' || s[i] == L'd')) {
    std::string exponent = "e";
    std::size_t j = i + 1;
    if (j < s.size() && (s[j] == L'+' || s[j] == L'-')) exponent.push_back(static_cast<char>(s[j++]));
    bool any = false;
    while (j < s.size() && s[j] >= L'0' && s[j] <= L'9') exponent.push_back(static_cast<char>(s[j++])), any = true;
    if (any) number += exponent;
  }
  return std::strtod(number.c_str(), nullptr);
}

}  // namespace

AnnouncedLength ReadAnnouncedLength(std::wstring_view header) {
  const double value = NumericValue(header);
  AnnouncedLength result;
  if (!std::isfinite(value) || value >= 2147483647.5 || value < -2147483648.5) {
    result.kind = AnnouncedLength::Kind::OutOfRange;
    return result;
  }
  const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
  result.value = static_cast<std::int32_t>(rounded);
  result.kind = result.value > 0 ? AnnouncedLength::Kind::Length : AnnouncedLength::Kind::NotPositive;
  return result;
}

std::wstring PercentText(double value, double maximum) {
  double percent = std::floor(value / maximum * 100.0);
  // No length yet (maximum 0) or absurd values: casting NaN or infinity is undefined; show 0.
  if (!std::isfinite(percent)) percent = 0;
  percent = std::clamp(percent, -1e15, 1e15);
  return std::to_wstring(static_cast<long long>(percent)) + L" %";
}

std::wstring ArgumentText(std::wstring_view commandLine) {
  std::size_t i = 0;
  if (!commandLine.empty() && commandLine[0] == L'"') {
    const std::size_t close = commandLine.find(L'"', 1);
    i = close == std::wstring_view::npos ? commandLine.size() : close + 1;
  }
  while (i < commandLine.size() && commandLine[i] != L' ' && commandLine[i] != L'\t') ++i;
  while (i < commandLine.size() && (commandLine[i] == L' ' || commandLine[i] == L'\t')) ++i;
  return std::wstring(commandLine.substr(i));
}

}  // namespace pravik::core::download
