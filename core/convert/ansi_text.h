#pragma once
// Conversions that work on a text's ANSI bytes: Base64 both ways, the byte length, and cuts
// counted in units of two bytes (one double-byte character, or two single-byte ones).
#include <cstdint>
#include <string>
#include <string_view>

#include "core/convert/code_page.h"

namespace pravik::core::convert {

std::u16string Base64Encode(const CodePage& codePage, std::u16string_view text);
// Throws ConvertError (invalid call) for a character outside the alphabet, padding anywhere but
// at the end, or a final group of a single character.
std::u16string Base64Decode(const CodePage& codePage, std::u16string_view text);

// Throws ConvertError (overflow) beyond 32,767 bytes.
std::int16_t AnsiLength(const CodePage& codePage, std::u16string_view text);

// Throw ConvertError (invalid call) for a negative length or a start below 1.
std::u16string AnsiLeft(const CodePage& codePage, std::u16string_view text, std::int32_t units);
std::u16string AnsiRight(const CodePage& codePage, std::u16string_view text, std::int32_t units);
std::u16string AnsiMid(const CodePage& codePage, std::u16string_view text, std::int32_t startUnit, std::int32_t units);

}  // namespace pravik::core::convert
