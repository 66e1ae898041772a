#include "core/update/version_check.h"

#include <cwctype>

namespace pravik::core::update {
namespace {

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t k = 0; k < prefix.size(); ++k) {
    if (std::towlower(static_cast<wint_t>(text[k])) != static_cast<wint_t>(prefix[k])) return false;
  }
  return true;
}

std::wstring_view TrimLineBreaks(std::wstring_view text) {
  while (!text.empty() && (text.back() == L'\r' || text.back() == L'\n')) text.remove_suffix(1);
  return text;
}

}  // namespace

std::optional<Version> ParseVersion(std::wstring_view text) {
  Version version;
  std::size_t at = 0;
  for (;;) {
    std::size_t end = at;
    unsigned long number = 0;
    while (end < text.size() && text[end] >= L'0' && text[end] <= L'9') {
      if (end - at == 9) return std::nullopt;
      number = number * 10 + static_cast<unsigned long>(text[end] - L'0');
      ++end;
    }
    if (end == at) return std::nullopt;
    version.push_back(number);
    if (end == text.size()) return version;
    if (text[end] != L'.') return std::nullopt;
    at = end + 1;
  }
}

int CompareVersions(const Version& a, const Version& b) {
  for (std::size_t k = 0; k < a.size() || k < b.size(); ++k) {
    const unsigned long x = k < a.size() ? a[k] : 0;
    const unsigned long y = k < b.size() ? b[k] : 0;
    if (x != y) return x < y ? -1 : 1;
  }
  return 0;
}

std::wstring TrimSpaces(const std::wstring& text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  const auto last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

bool IsWebAddress(std::wstring_view address, bool httpsOnly) {
  std::size_t schemeLength = 0;
  if (!httpsOnly && StartsWithNoCase(address, L"http://")) {
    schemeLength = 7;
  } else if (StartsWithNoCase(address, L"https://")) {
    schemeLength = 8;
  } else {
    return false;
  }
  for (wchar_t c : address) {
    if (c <= 0x20 || c == 0x7F) return false;
  }
  // A host must follow: "http:///x" or "http://\\server" would leave the choice to the platform.
  const std::wstring_view rest = address.substr(schemeLength);
  if (rest.empty()) return false;
  const wchar_t first = rest.front();
  return first != L'/' && first != L'\\' && first != L'?' && first != L'#' && first != L'@';
}

VersionVerdict JudgeVersionFile(const std::optional<std::wstring>& body, const Version& installed, bool httpsOnly) {
  VersionVerdict failed;
  if (!body || body->empty()) return failed;
  const auto firstSeparator = body->find(L';');
  if (firstSeparator == std::wstring::npos) return failed;
  const auto announced = ParseVersion(TrimSpaces(body->substr(0, firstSeparator)));
  if (!announced) return failed;
  const auto secondSeparator = body->find(L';', firstSeparator + 1);
  const std::wstring field1 = body->substr(
      firstSeparator + 1, secondSeparator == std::wstring::npos ? std::wstring::npos : secondSeparator - firstSeparator - 1);
  const std::wstring_view address = TrimLineBreaks(field1);
  if (!IsWebAddress(address, httpsOnly)) return failed;
  VersionVerdict verdict;
  verdict.updaterArguments = std::wstring(address);
  verdict.current = CompareVersions(*announced, installed) <= 0;
  return verdict;
}

}  // namespace pravik::core::update
