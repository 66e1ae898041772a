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

// For each trailing consonant: the trailing consonant that stays (0 for none, else its index)
// and the one that moves on as the next syllable's initial. Clusters keep their first half.
struct TrailingSplit {
  int kept;
  char16_t moved;
};
constexpr std::array<TrailingSplit, kTrailingCount - 1> kTrailingSplit = {{
    {0, u'ㄱ'}, {0, u'ㄲ'}, {1, u'ㅅ'}, {0, u'ㄴ'}, {4, u'ㅈ'}, {4, u'ㅎ'}, {0, u'ㄷ'}, {0, u'ㄹ'}, {8, u'ㄱ'},
    {8, u'ㅁ'}, {8, u'ㅂ'}, {8, u'ㅅ'}, {8, u'ㅌ'}, {8, u'ㅍ'}, {8, u'ㅎ'}, {0, u'ㅁ'}, {0, u'ㅂ'}, {17, u'ㅅ'},
    {0, u'ㅅ'}, {0, u'ㅆ'}, {0, u'ㅇ'}, {0, u'ㅈ'}, {0, u'ㅊ'}, {0, u'ㅋ'}, {0, u'ㅌ'}, {0, u'ㅍ'}, {0, u'ㅎ'}}};

bool IsLeading(char16_t c) { return c >= kLeadingFirst && c < kLeadingFirst + kLeadingCount; }
bool IsVowel(char16_t c) { return c >= kVowelFirst && c < kVowelFirst + kVowelCount; }
bool IsTrailing(char16_t c) { return c > kTrailingFirst && c < kTrailingFirst + kTrailingCount; }

}  // namespace

char16_t InitialConsonant(char16_t syllable) {
  if (!IsSyllable(syllable)) return 0;
  return kLeadingCompat[(syllable - kSyllableFirst) / (kVowelCount * kTrailingCount)];
}

char16_t WithoutTrailing(char16_t syllable) {
  if (!IsSyllable(syllable)) return 0;
  return static_cast<char16_t>(syllable - (syllable - kSyllableFirst) % kTrailingCount);
}

bool SplitTrailing(char16_t syllable, char16_t& rest, char16_t& initial) {
  if (!IsSyllable(syllable)) return false;
  const int trailing = (syllable - kSyllableFirst) % kTrailingCount;
  if (trailing == 0) return false;
  const TrailingSplit& split = kTrailingSplit[trailing - 1];
  rest = static_cast<char16_t>(syllable - trailing + split.kept);
  initial = split.moved;
  return true;
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
