#pragma once
// Hangul arithmetic: composing conjoining jamo into syllables (the Hangul part of NFC) and the
// initial consonant of a syllable, as the compatibility jamo a keyboard types (ㄱ, ㄲ, ... ㅎ).
#include <string>
#include <string_view>

namespace pravik::core::search {

inline constexpr char16_t kSyllableFirst = 0xAC00;  // 가
inline constexpr char16_t kSyllableLast = 0xD7A3;   // 힣
inline constexpr int kLeadingCount = 19;
inline constexpr int kVowelCount = 21;
inline constexpr int kTrailingCount = 28;  // including "no trailing consonant"

constexpr bool IsSyllable(char16_t c) { return c >= kSyllableFirst && c <= kSyllableLast; }

// The compatibility jamo of the syllable's initial consonant; 0 for anything else.
char16_t InitialConsonant(char16_t syllable);

// The syllable without its trailing consonant (각 → 가); 0 for anything else.
char16_t WithoutTrailing(char16_t syllable);

// While a syllable is being typed an input method shows the next syllable's initial as this
// one's trailing consonant (메모 typed as ㅁㅔㅁ shows 멤 first). Splits that consonant off:
// 멤 → 메 + ㅁ, 닭 → 달 + ㄱ. False when the syllable has no trailing consonant.
bool SplitTrailing(char16_t syllable, char16_t& rest, char16_t& initial);

// True for the 19 compatibility consonants that can begin a syllable (ㄱ ㄲ ㄴ ... ㅎ), the only
// query characters that match a syllable by its initial. Clusters such as ㄳ cannot.
bool IsInitialConsonant(char16_t c);

// A conjoining jamo (U+1100 block, modern letters) as the compatibility jamo of the same letter;
// anything else unchanged. Decomposed text that did not compose still matches typed letters.
char16_t ToCompatibilityJamo(char16_t c);

// Canonical composition of Hangul: leading + vowel (+ trailing) conjoining jamo, and a
// vowel-ending syllable + trailing jamo, become the precomposed syllable. Everything else is
// copied unchanged, so for text whose only decomposed parts are Hangul this is its NFC form.
std::u16string ComposeHangul(std::u16string_view text);

}  // namespace pravik::core::search
