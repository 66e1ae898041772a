#pragma once
// Number and time conversions of the control: hexadecimal both ways, colours, durations.
#include <cstdint>
#include <string>
#include <string_view>

namespace pravik::core::convert {

// Upper-case hexadecimal of the value rounded half to even: 4 digits below 65536 (a negative
// value gives its 8-digit 32-bit two's complement), 8 digits up to 2^32 - 1, and from 2^32 on
// the digits of value / 2^32 followed by 8 digits of the remainder.
// Throws ConvertError (overflow) below -2^31, from 2^64 on, and for values that are no number.
std::string Dec2Hex(double value);

// Sums d * 16^k from the right, d being a digit's value or the upper-case character's code
// minus 55 (so A-F give 10-15; other characters are not rejected). Throws ConvertError
// (overflow) when the sum leaves the 32-bit signed range. An empty text gives 0.
std::int32_t Hex2Dec(std::u16string_view text);

struct Rgb {
  std::int32_t r, g, b;
};
// Red, green and blue of an OLE colour 0x00BBGGRR.
Rgb ColourToRgb(std::int32_t colour);

struct HourMinSec {
  std::u16string text;
  std::int32_t secondsLeft;  // seconds modulo 3600, written back to the caller's variable
};
// h, m and s with at least two digits each, each followed by its separator: 3725 -> 01:02:05.
HourMinSec SecondsToHourMinSec(std::int32_t seconds, std::u16string_view hourString, std::u16string_view minString,
                               std::u16string_view secString);

}  // namespace pravik::core::convert
