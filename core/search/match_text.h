#pragma once
// The form names and queries are compared in: one code unit for each code unit of the
// composed (NFC) text, so a match position is also a position in the displayed name.
#include <string>
#include <string_view>

namespace pravik::core::search {

// Simple lower-casing: ASCII, Latin-1, Latin Extended-A, basic Greek and Cyrillic. Other
// scripts (and full case folding such as ß → ss) are left as they are.
char16_t FoldCase(char16_t c);

// Composed text in matching form: case folded, leftover conjoining jamo as compatibility
// jamo, lone surrogates as U+FFFD (so half of a pair never matches half of another).
std::u16string MatchForm(std::u16string_view composed);

// For each character of a matching form: the initial consonant of a syllable, else the
// character itself. A typed consonant is compared against this.
std::u16string InitialsOf(std::u16string_view matchForm);

// Characters that end a word: spaces, punctuation, symbols. A match right after one starts a word.
bool IsWordSeparator(char16_t c);

}  // namespace pravik::core::search
