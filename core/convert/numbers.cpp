#include "core/convert/numbers.h"

#include <cmath>
#include <cstdlib>

#include "core/convert/convert_error.h"

namespace pravik::core::convert {
namespace {

std::string HexDigits(std::uint64_t value, int width) {
  static const char kDigits[] = "0123456789ABCDEF";
  std::string out;
  do {
    out.insert(out.begin(), kDigits[value & 15]);
    value >>= 4;
  } while (value != 0);
  if (static_cast<int>(out.size()) < width) out.insert(0, static_cast<std::size_t>(width) - out.size(), '0');
  return out;
}

std::u16string TwoDigits(std::int32_t value) {
  const std::string digits = std::to_string(std::llabs(static_cast<long long>(value)));
  std::u16string out = value < 0 ? u"-" : u"";
  if (digits.size() < 2) out += u'0';
  out.append(digits.begin(), digits.end());
  return out;
}

}  // namespace

std::string Dec2Hex(double value) {
  if (!std::isfinite(value)) throw ConvertError(ErrorNumber::Overflow, "Dec2Hex: not a number");
  const double rounded = std::nearbyint(value);  // the default rounding mode: halves to even
  constexpr double k2to32 = 4294967296.0;
  if (rounded < -2147483648.0 || rounded >= 18446744073709551616.0)
    throw ConvertError(ErrorNumber::Overflow, "Dec2Hex: value out of range");
  if (rounded < 0) return HexDigits(static_cast<std::uint32_t>(static_cast<std::int32_t>(rounded)), 8);
  if (rounded < 65536) return HexDigits(static_cast<std::uint64_t>(rounded), 4);
  if (rounded < k2to32) return HexDigits(static_cast<std::uint64_t>(rounded), 8);
  const auto whole = static_cast<std::uint64_t>(rounded);
  return HexDigits(whole >> 32, 0) + HexDigits(whole & 0xFFFFFFFFu, 8);
}

std::int32_t Hex2Dec(std::u16string_view text) {
  double sum = 0;
  double weight = 1;
  for (std::size_t i = text.size(); i-- > 0; weight *= 16) {
    char16_t c = text[i];
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - u'a' + u'A');
    const double digit = (c >= u'0' && c <= u'9') ? c - u'0' : static_cast<double>(c) - 55;
    if (digit != 0) sum += digit * weight;
    if (sum > 2147483647.0 || sum < -2147483648.0)
      throw ConvertError(ErrorNumber::Overflow, "Hex2Dec: beyond the 32-bit range");
  }
  return static_cast<std::int32_t>(sum);
}

Rgb ColourToRgb(std::int32_t colour) {
  const auto c = static_cast<std::uint32_t>(colour);
  return {static_cast<std::int32_t>(c & 255), static_cast<std::int32_t>((c >> 8) & 255),
          static_cast<std::int32_t>((c >> 16) & 255)};
}

HourMinSec SecondsToHourMinSec(std::int32_t seconds, std::u16string_view hourString, std::u16string_view minString,
                               std::u16string_view secString) {
  const std::int32_t hours = (seconds - seconds % 3600) / 3600;
  const std::int32_t rest = seconds % 3600;
  const std::int32_t minutes = (rest - rest % 60) / 60;
  HourMinSec out;
  out.text = TwoDigits(hours);
  out.text += hourString;
  out.text += TwoDigits(minutes);
  out.text += minString;
  out.text += TwoDigits(rest % 60);
  out.text += secString;
  out.secondsLeft = rest;
  return out;
}

}  // namespace pravik::core::convert
