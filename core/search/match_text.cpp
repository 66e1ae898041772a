#include "core/search/match_text.h"

#include "core/search/hangul.h"

namespace pravik::core::search {
namespace {

bool IsHighSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDBFF; }
bool IsLowSurrogate(char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; }

}  // namespace

char16_t FoldCase(char16_t c) {
  if (c < 0x80) return (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c + 0x20) : c;
  if (c >= 0xC0 && c <= 0xDE && c != 0xD7) return static_cast<char16_t>(c + 0x20);
  if (c >= 0x100 && c <= 0x17F) {
    if (c == 0x130) return u'i';     // İ
    if (c == 0x178) return 0xFF;     // Ÿ → ÿ
    if ((c >= 0x139 && c <= 0x148) || (c >= 0x179 && c <= 0x17E))
      return (c % 2 == 1) ? static_cast<char16_t>(c + 1) : c;  // odd capitals in these runs
    if (c == 0x138 || c == 0x149 || c == 0x17F) return c;      // ĸ ŉ ſ have no pair
    return (c % 2 == 0) ? static_cast<char16_t>(c + 1) : c;
  }
  if (c >= 0x391 && c <= 0x3A9 && c != 0x3A2) return static_cast<char16_t>(c + 0x20);  // Greek
  if (c >= 0x410 && c <= 0x42F) return static_cast<char16_t>(c + 0x20);                // Cyrillic
  if (c >= 0x400 && c <= 0x40F) return static_cast<char16_t>(c + 0x50);                // Ѐ..Џ
  return c;
}

std::u16string MatchForm(std::u16string_view composed) {
  std::u16string out(composed.size(), u'\0');
  for (std::size_t i = 0; i < composed.size(); ++i) {
    const char16_t c = composed[i];
    if (IsHighSurrogate(c) && i + 1 < composed.size() && IsLowSurrogate(composed[i + 1])) {
      out[i] = c;
      out[i + 1] = composed[i + 1];
      ++i;
    } else if (IsHighSurrogate(c) || IsLowSurrogate(c)) {
      out[i] = 0xFFFD;
    } else {
      out[i] = FoldCase(ToCompatibilityJamo(c));
    }
  }
  return out;
}

std::u16string InitialsOf(std::u16string_view matchForm) {
  std::u16string out(matchForm);
  for (char16_t& c : out)
    if (IsSyllable(c)) c = InitialConsonant(c);
  return out;
}

bool IsWordSeparator(char16_t c) {
  if (c < 0x80) return !((c >= u'0' && c <= u'9') || (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z'));
  return (c >= 0xA0 && c <= 0xBF) || c == 0xD7 || c == 0xF7 || (c >= 0x2000 && c <= 0x206F) ||
         (c >= 0x3000 && c <= 0x303F) || (c >= 0xFF01 && c <= 0xFF0F);
}

}  // namespace pravik::core::search
