#include "core/search/hangul.h"

#include <array>

namespace pravik::core::search {
namespace {

constexpr char16_t kLeadingFirst = 0x1100;
constexpr char16_t kVowelFirst = 0x1161;
constexpr char16_t kTrailingFirst = 0x11A7;  // one before the first real trailing consonant

// Compatibility jamo of the 19 leading consonants, in syllable-arithmetic order.
constexpr std::array<char16_t, kLeadingCount> kLeadingCompat = {
    u'ㄱ', u'ㄲ', u'ㄴ', u'ㄷ', u'ㄸ', u'ㄹ', u'ㅁ', u'ㅂ', u'ㅃ', u'ㅅ',
    u'ㅆ', u'ㅇ', u'ㅈ', u'ㅉ', u'ㅊ', u'ㅋ', u'ㅌ', u'ㅍ', u'ㅎ'};

// Compatibility jamo of the 27 trailing consonants (U+11A8 onwards).
constexpr std::array<char16_t, kTrailingCount - 1> kTrailingCompat = {
    u'ㄱ', u'ㄲ', u'ㄳ', u'ㄴ', u'ㄵ', u'ㄶ', u'ㄷ', u'ㄹ', u'ㄺ', u'ㄻ', u'ㄼ', u'ㄽ', u'ㄾ', u'ㄿ',
    u'ㅀ', u'ㅁ', u'ㅂ', u'ㅄ', u'ㅅ', u'ㅆ', u'ㅇ', u'ㅈ', u'ㅊ', u'ㅋ', u'ㅌ', u'ㅍ', u'ㅎ'};

bool IsLeading(char16_t c) { return c >= kLeadingFirst && c < kLeadingFirst + kLeadingCount; }
bool IsVowel(char16_t c) { return c >= kVowelFirst && c < kVowelFirst + kVowelCount; }
bool IsTrailing(char16_t c) { return c > kTrailingFirst && c < kTrailingFirst + kTrailingCount; }

}  // namespace

char16_t InitialConsonant(char16_t syllable) {
  if (!IsSyllable(syllable)) return 0;
  return kLeadingCompat[(syllable - kSyllableFirst) / (kVowelCount * kTrailingCount)];
}

bool IsInitialConsonant(char16_t c) {
  for (char16_t initial : kLeadingCompat)
    if (c == initial) return true;
  return false;
}

char16_t ToCompatibilityJamo(char16_t c) {
  if (IsLeading(c)) return kLeadingCompat[c - kLeadingFirst];
  if (IsVowel(c)) return static_cast<char16_t>(u'ㅏ' + (c - kVowelFirst));  // same order
  if (IsTrailing(c)) return kTrailingCompat[c - kTrailingFirst - 1];
  return c;
}

std::u16string ComposeHangul(std::u16string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char16_t c : text) {
    if (!out.empty()) {
      const char16_t last = out.back();
      if (IsLeading(last) && IsVowel(c)) {
        out.back() = static_cast<char16_t>(kSyllableFirst +
                                           ((last - kLeadingFirst) * kVowelCount + (c - kVowelFirst)) * kTrailingCount);
        continue;
      }
      if (IsSyllable(last) && (last - kSyllableFirst) % kTrailingCount == 0 && IsTrailing(c)) {
        out.back() = static_cast<char16_t>(last + (c - kTrailingFirst));
        continue;
      }
    }
    out.push_back(c);
  }
  return out;
}

}  // namespace pravik::core::search
