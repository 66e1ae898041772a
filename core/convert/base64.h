#pragma once
// Standard Base64 (RFC 4648) over bytes, without line breaks.
#include <optional>
#include <string>
#include <string_view>

namespace pravik::core::convert {

std::string EncodeBase64(std::string_view bytes);
// Nothing for a character outside the alphabet, padding before the end, or a lone last character.
// A last group of two or three characters without padding is accepted.
std::optional<std::string> DecodeBase64(std::u16string_view text);

}  // namespace pravik::core::convert
