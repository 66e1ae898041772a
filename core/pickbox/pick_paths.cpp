#include "core/pickbox/pick_paths.h"

#include <vector>

namespace pravik::core::pickbox {

std::wstring ExtractFilename(std::wstring_view path) {
  const auto slash = path.rfind(L'\\');
  return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(slash + 1));
}

std::wstring ExtractPath(std::wstring_view path) {
  const auto slash = path.rfind(L'\\');
  return slash == std::wstring_view::npos ? std::wstring() : std::wstring(path.substr(0, slash));
}

namespace {

std::vector<std::wstring> Split(std::wstring_view text, wchar_t separator) {
  std::vector<std::wstring> parts;
  std::size_t start = 0;
  for (;;) {
    const auto at = text.find(separator, start);
    parts.emplace_back(text.substr(start, at == std::wstring_view::npos ? std::wstring_view::npos : at - start));
    if (at == std::wstring_view::npos) return parts;
    start = at + 1;
  }
}

std::wstring Join(const std::vector<std::wstring>& parts, std::size_t from, wchar_t separator) {
  std::wstring out;
  for (std::size_t k = from; k < parts.size(); ++k) {
    if (k > from) out += separator;
    out += parts[k];
  }
  return out;
}

}  // namespace

std::wstring TrimPathByLen(const std::wstring& text, int width, const std::wstring& replacement,
                           const MeasureText& measure) {
  if (!measure || measure(text) <= width - kTrimMargin) return text;
  std::wstring_view subject = text;
  wchar_t separator = L'\\';
  if (subject.find(L'\\') == std::wstring_view::npos && subject.find(L':') == std::wstring_view::npos) {
    separator = L'/';
    const auto query = subject.find(L'?');
    if (query != std::wstring_view::npos) subject = subject.substr(0, query);
  }
  const auto parts = Split(subject, separator);
  if (parts.size() < 3) return std::wstring(subject);
  std::wstring candidate;
  // Drop middle components from the front of the middle until the rest fits.
  for (std::size_t keepFrom = 2; keepFrom < parts.size(); ++keepFrom) {
    candidate = parts[0] + separator + replacement + separator + Join(parts, keepFrom, separator);
    if (measure(candidate) <= width - kTrimMargin) return candidate;
  }
  return candidate;
}

bool HasExtension(std::wstring_view name) {
  const auto slash = name.rfind(L'\\');
  const std::wstring_view file = slash == std::wstring_view::npos ? name : name.substr(slash + 1);
  const auto dot = file.rfind(L'.');
  return dot != std::wstring_view::npos && dot + 1 < file.size();
}

std::wstring WithExtension(const std::wstring& name, std::wstring_view answer) {
  std::wstring base = name;
  if (!base.empty() && base.back() == L'.') base.pop_back();  // "name." has no extension either
  if (answer.empty()) return base + L".txt";
  if (answer.front() == L'.') return base + std::wstring(answer);
  return base + L"." + std::wstring(answer);
}

}  // namespace pravik::core::pickbox
