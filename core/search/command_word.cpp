#include "core/search/command_word.h"

#include <array>

namespace pravik::core::search {
namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

char16_t AsciiLower(char16_t c) { return c >= u'A' && c <= u'Z' ? char16_t(c + 32) : c; }

bool EqualsIgnoringCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (AsciiLower(a[i]) != AsciiLower(b[i])) return false;
  return true;
}

constexpr std::array<std::u16string_view, 38> kInterpreterCommands = {
    u"assoc", u"break", u"call",   u"cd",    u"chdir", u"cls",   u"color",  u"copy",  u"date", u"del",
    u"dir",   u"echo",  u"endlocal", u"erase", u"exit", u"for",  u"ftype",  u"goto",  u"if",   u"md",
    u"mkdir", u"mklink", u"move",  u"path",  u"pause", u"popd",  u"prompt", u"pushd", u"rd",   u"rem",
    u"ren",   u"rename", u"rmdir", u"set",   u"setlocal", u"shift", u"start", u"type",
};

}  // namespace

std::u16string_view FirstWord(std::u16string_view text) {
  std::size_t at = 0;
  while (at < text.size() && IsBlank(text[at])) ++at;
  text.remove_prefix(at);
  if (!text.empty() && text.front() == u'"') {
    const std::size_t close = text.find(u'"', 1);
    return text.substr(1, close == std::u16string_view::npos ? std::u16string_view::npos : close - 1);
  }
  std::size_t end = 0;
  while (end < text.size() && !IsBlank(text[end])) ++end;
  return text.substr(0, end);
}

bool IsInterpreterCommand(std::u16string_view word) {
  // "echo." and "cd\" are read by the interpreter as echo and cd.
  const std::size_t stop = word.find_first_of(u".\\/:(");
  if (stop != std::u16string_view::npos && stop > 0) {
    const std::u16string_view head = word.substr(0, stop);
    for (std::u16string_view command : kInterpreterCommands)
      if (EqualsIgnoringCase(head, command) && (command == u"echo" || command == u"cd" || command == u"dir"))
        return true;
  }
  for (std::u16string_view command : kInterpreterCommands)
    if (EqualsIgnoringCase(word, command)) return true;
  return false;
}

bool FirstWordIsRunnable(std::u16string_view text, const ExistsLookup& exists) {
  const std::u16string_view word = FirstWord(text);
  if (word.empty()) return false;
  if (IsInterpreterCommand(word)) return true;
  return exists && exists(word);
}

}  // namespace pravik::core::search
