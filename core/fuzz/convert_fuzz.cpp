// The control's conversions on script values: Base64 both ways (bytes and through the ANSI code
// page), hexadecimal both ways, the byte-counted cuts, text lines, colours and durations.
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string>

#include "core/convert/ansi_text.h"
#include "core/convert/base64.h"
#include "core/convert/code_page.h"
#include "core/convert/convert_error.h"
#include "core/convert/numbers.h"
#include "core/convert/text_lines.h"
#include "core/fuzz/fuzz_text.h"

using namespace pravik::core::convert;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const pravik::core::fuzz::TwoByteCodePage codePage;
  const std::u16string text = pravik::core::fuzz::Utf16(data, size);
  std::int32_t a = 0, b = 0;
  double number = 0;
  if (size >= 16) {
    std::memcpy(&a, data, 4);
    std::memcpy(&b, data + 4, 4);
    std::memcpy(&number, data + 8, 8);
  }
  try {
    (void)Base64Decode(codePage, Base64Encode(codePage, text));
    (void)Base64Decode(codePage, text);
    (void)AnsiLength(codePage, text);
    (void)AnsiLeft(codePage, text, a);
    (void)AnsiRight(codePage, text, b);
    (void)AnsiMid(codePage, text, a, b);
  } catch (const ConvertError&) {
  }
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  const std::string encoded = EncodeBase64(bytes);
  const auto decoded = DecodeBase64(std::u16string(encoded.begin(), encoded.end()));
  if (!decoded || *decoded != bytes) __builtin_trap();  // bytes survive the round trip
  (void)DecodeBase64(text);
  (void)DecodeAnsiBytes(codePage, bytes);
  (void)JoinLinesWithCrLf(bytes);
  try {
    (void)Dec2Hex(number);
  } catch (const ConvertError&) {
  }
  try {
    (void)Hex2Dec(text);
  } catch (const ConvertError&) {
  }
  (void)ColourToRgb(a);
  (void)SecondsToHourMinSec(a, text, u":", u"");
  return 0;
}
