#include "core/convert/numbers.h"

#include <gtest/gtest.h>

#include "core/convert/convert_error.h"

namespace pravik::core::convert {
namespace {

TEST(Dec2Hex, WidthsTwosComplementAndLargeValues) {
  const struct {
    double value;
    const char* hex;
  } cases[] = {
      {0, "0000"}, {255, "00FF"}, {65535, "FFFF"}, {65536, "00010000"}, {70000, "00011170"},
      {4294967295.0, "FFFFFFFF"}, {4294967296.0, "100000000"}, {4294967296.0 * 0x1234 + 0xAB, "1234000000AB"},
      {-1, "FFFFFFFF"}, {-2147483648.0, "80000000"}, {254.5, "00FE"}, {255.5, "0100"}, {-0.4, "0000"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    EXPECT_EQ(Dec2Hex(c.value), c.hex);
  }
  EXPECT_THROW(Dec2Hex(-2147483649.0), ConvertError);
  EXPECT_THROW(Dec2Hex(1e30), ConvertError);
}

TEST(Hex2Dec, CharacterRuleAndOverflow) {
  EXPECT_EQ(Hex2Dec(u"ff"), 255);
  EXPECT_EQ(Hex2Dec(u"FF"), 255);
  EXPECT_EQ(Hex2Dec(u"7FFFFFFF"), 2147483647);
  EXPECT_EQ(Hex2Dec(u""), 0);
  EXPECT_EQ(Hex2Dec(u"000000000010"), 16);  // leading zeros add nothing, however many
  EXPECT_EQ(Hex2Dec(u"G"), 16);             // other letters are not rejected: 'G' - 55
  try {
    Hex2Dec(u"80000000");
    FAIL() << "no overflow";
  } catch (const ConvertError& e) {
    EXPECT_EQ(e.number(), ErrorNumber::Overflow);
  }
}

TEST(Colour, ComponentsOfAnOleColour) {
  const Rgb c = ColourToRgb(0x00C0FFEE);
  EXPECT_EQ(c.r, 0xEE);
  EXPECT_EQ(c.g, 0xFF);
  EXPECT_EQ(c.b, 0xC0);
  const Rgb system = ColourToRgb(static_cast<std::int32_t>(0x8000000F));
  EXPECT_EQ(system.r, 0x0F);
  EXPECT_EQ(system.b, 0);
}

TEST(SecondsToHourMinSec, DefaultsSeparatorsAndWriteBack) {
  const struct {
    std::int32_t seconds;
    const char16_t* text;
    std::int32_t left;
  } cases[] = {{3725, u"01:02:05", 125}, {59, u"00:00:59", 59}, {360000, u"100:00:00", 0}, {0, u"00:00:00", 0}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.seconds);
    const HourMinSec r = SecondsToHourMinSec(c.seconds, u":", u":", u"");
    EXPECT_EQ(r.text, c.text);
    EXPECT_EQ(r.secondsLeft, c.left);
  }
  EXPECT_EQ(SecondsToHourMinSec(3725, u"시간 ", u"분 ", u"초").text, u"01시간 02분 05초");
}

}  // namespace
}  // namespace pravik::core::convert
