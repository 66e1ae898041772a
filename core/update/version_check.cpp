#include "core/update/version_check.h"

namespace pravik::core::update {

std::wstring TrimSpaces(const std::wstring& text) {
  const auto first = text.find_first_not_of(L' ');
  if (first == std::wstring::npos) return {};
  const auto last = text.find_last_not_of(L' ');
  return text.substr(first, last - first + 1);
}

VersionVerdict JudgeVersionFile(const std::optional<std::wstring>& body, const std::wstring& installed) {
  VersionVerdict verdict;
  if (!body || body->empty()) return verdict;
  const auto firstSeparator = body->find(L';');
  if (firstSeparator == std::wstring::npos) return verdict;
  const std::wstring announced = body->substr(0, firstSeparator);
  const auto secondSeparator = body->find(L';', firstSeparator + 1);
  verdict.updaterArguments = body->substr(firstSeparator + 1, secondSeparator == std::wstring::npos
                                                                  ? std::wstring::npos
                                                                  : secondSeparator - firstSeparator - 1);
  verdict.current = TrimSpaces(announced) == TrimSpaces(installed);
  return verdict;
}

}  // namespace pravik::core::update
