#include "core/convert/ansi_text.h"

#include "core/convert/base64.h"
#include "core/convert/convert_error.h"

namespace pravik::core::convert {
namespace {

std::u16string Widen(const std::string& ascii) { return std::u16string(ascii.begin(), ascii.end()); }

void CheckLength(std::int32_t units) {
  if (units < 0) throw ConvertError(ErrorNumber::InvalidCall, "negative length");
}

}  // namespace

std::u16string Base64Encode(const CodePage& codePage, std::u16string_view text) {
  return Widen(EncodeBase64(codePage.Encode(text)));
}

std::u16string Base64Decode(const CodePage& codePage, std::u16string_view text) {
  const std::optional<std::string> bytes = DecodeBase64(text);
  if (!bytes) throw ConvertError(ErrorNumber::InvalidCall, "Base64Decode: not a Base64 text");
  return DecodeAnsiBytes(codePage, *bytes);
}

std::int16_t AnsiLength(const CodePage& codePage, std::u16string_view text) {
  const std::size_t n = codePage.Encode(text).size();
  if (n > 32767) throw ConvertError(ErrorNumber::Overflow, "String_Len: more than 32,767 bytes");
  return static_cast<std::int16_t>(n);
}

std::u16string AnsiLeft(const CodePage& codePage, std::u16string_view text, std::int32_t units) {
  CheckLength(units);
  const std::string bytes = codePage.Encode(text);
  return DecodeAnsiBytes(codePage, std::string_view(bytes).substr(0, 2 * static_cast<std::size_t>(units)));
}

std::u16string AnsiRight(const CodePage& codePage, std::u16string_view text, std::int32_t units) {
  CheckLength(units);
  const std::string bytes = codePage.Encode(text);
  const std::size_t keep = 2 * static_cast<std::size_t>(units);
  return DecodeAnsiBytes(codePage, keep >= bytes.size() ? bytes : bytes.substr(bytes.size() - keep));
}

std::u16string AnsiMid(const CodePage& codePage, std::u16string_view text, std::int32_t startUnit,
                       std::int32_t units) {
  CheckLength(units);
  if (startUnit < 1) throw ConvertError(ErrorNumber::InvalidCall, "String_Mid: start below 1");
  const std::string bytes = codePage.Encode(text);
  const std::size_t start = 2 * (static_cast<std::size_t>(startUnit) - 1);
  if (start >= bytes.size()) return {};
  return DecodeAnsiBytes(codePage, std::string_view(bytes).substr(start, 2 * static_cast<std::size_t>(units)));
}

}  // namespace pravik::core::convert
