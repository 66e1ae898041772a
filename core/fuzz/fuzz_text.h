#pragma once
// Turning fuzz bytes into the texts the parsers take, and a code page with real two-byte
// characters that needs no system tables.
#include <cstddef>
#include <cstdint>
#include <string>
#include <utility>

#include "core/convert/code_page.h"

namespace pravik::core::fuzz {

// Pairs of bytes as UTF-16 units (a last odd byte on its own).
inline std::u16string Utf16(const std::uint8_t* data, std::size_t size) {
  std::u16string text;
  for (std::size_t i = 0; i < size; i += 2)
    text.push_back(static_cast<char16_t>(data[i] | (i + 1 < size ? data[i + 1] << 8 : 0)));
  return text;
}

inline std::wstring Wide(const std::uint8_t* data, std::size_t size) {
  const std::u16string units = Utf16(data, size);
  return std::wstring(units.begin(), units.end());
}

// Two texts, cut at the first zero unit.
inline std::pair<std::wstring, std::wstring> SplitWide(const std::uint8_t* data, std::size_t size) {
  const std::wstring all = Wide(data, size);
  const std::size_t cut = all.find(L'\0');
  if (cut == std::wstring::npos) return {std::wstring(), all};
  return {all.substr(0, cut), all.substr(cut + 1)};
}

// Characters below 0x80 are one byte; every other is two, lead byte 0x80 or above.
class TwoByteCodePage final : public convert::CodePage {
 public:
  [[nodiscard]] std::string Encode(std::u16string_view text) const override {
    std::string out;
    for (char16_t c : text) {
      if (c < 0x80) {
        out.push_back(static_cast<char>(c));
      } else {
        out.push_back(static_cast<char>(0x80 | ((c >> 8) & 0x7F)));
        out.push_back(static_cast<char>(c & 0xFF));
      }
    }
    return out;
  }
  [[nodiscard]] std::u16string DecodeCharacter(std::string_view bytes) const override {
    if (bytes.empty()) return {};
    const auto lead = static_cast<unsigned char>(bytes[0]);
    if (bytes.size() == 1) return lead < 0x80 ? std::u16string(1, lead) : u"?";
    return std::u16string(1, static_cast<char16_t>(((lead & 0x7F) << 8) | static_cast<unsigned char>(bytes[1])));
  }
};

}  // namespace pravik::core::fuzz
