#pragma once
// The system's ANSI code page for the byte-counting methods, and UTF-16 between the platform's
// wide strings and the portable core's u16strings (the same units on Windows).
#include <string>
#include <string_view>

#include "core/convert/code_page.h"

namespace pravik::controllib {

class AnsiCodePage final : public core::convert::CodePage {
 public:
  [[nodiscard]] std::string Encode(std::u16string_view text) const override;
  [[nodiscard]] std::u16string DecodeCharacter(std::string_view bytes) const override;
};

inline std::u16string_view AsU16(std::wstring_view text) noexcept {
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  return {reinterpret_cast<const char16_t*>(text.data()), text.size()};
}
inline std::wstring_view AsWide(std::u16string_view text) noexcept {
  return {reinterpret_cast<const wchar_t*>(text.data()), text.size()};
}

}  // namespace pravik::controllib
