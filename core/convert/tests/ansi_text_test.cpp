#include "core/convert/ansi_text.h"

#include <gtest/gtest.h>

#include "core/convert/base64.h"
#include "core/convert/convert_error.h"
#include "core/convert/text_lines.h"
#include "core/convert/tests/cp949.h"

namespace pravik::core::convert {
namespace {

const Cp949 kCp949;

TEST(Base64, PaddingAndRoundTripsAddNothing) {
  EXPECT_EQ(Base64Encode(kCp949, u"A"), u"QQ==");
  EXPECT_EQ(Base64Encode(kCp949, u"AB"), u"QUI=");
  EXPECT_EQ(Base64Encode(kCp949, u"ABC"), u"QUJD");
  EXPECT_EQ(Base64Encode(kCp949, u""), u"");
  EXPECT_EQ(Base64Encode(kCp949, u"한"), u"x9E=");  // 0xC7 0xD1 in code page 949
  for (const char16_t* text : {u"A", u"AB", u"ABC", u"한", u"한글", u"a한b글c", u"시작 메뉴!", u"", u"똠방각하"}) {
    SCOPED_TRACE(testing::Message() << "length " << std::u16string_view(text).size());
    EXPECT_EQ(Base64Decode(kCp949, Base64Encode(kCp949, text)), text);
  }
}

TEST(Base64, LeadByteRuleOnDecoding) {
  // 0x41 'A', lead 0xB0 + trail 0xA1 ("가"), then a lone lead byte at the end.
  EXPECT_EQ(DecodeAnsiBytes(kCp949, "\x41\xB0\xA1"), u"A가");
  EXPECT_EQ(DecodeAnsiBytes(kCp949, "\xB0\xA1\x42"), u"가B");
  // Code page 949 has trail bytes below 128: the pending lead takes them.
  EXPECT_EQ(DecodeAnsiBytes(kCp949, "\x81\x41"), u"갂");
  EXPECT_EQ(DecodeAnsiBytes(kCp949, "A\xB0").substr(0, 1), u"A");
}

TEST(Base64, BadTextIsAnErrorNotAGuess) {
  for (const char16_t* bad : {u"QQ=A", u"Q!==", u"QQ==QQ==", u"Q", u"한글", u"QUJD=", u"===="}) {
    SCOPED_TRACE(testing::Message() << "case length " << std::u16string_view(bad).size());
    EXPECT_THROW(Base64Decode(kCp949, bad), ConvertError);
  }
  EXPECT_EQ(Base64Decode(kCp949, u"QUI"), u"AB");  // unpadded final group
  EXPECT_EQ(Base64Decode(kCp949, u"QUJDQQ=="), u"ABCA");
}

TEST(AnsiCuts, CountInTwoByteUnits) {
  EXPECT_EQ(AnsiLength(kCp949, u"abc"), 3);
  EXPECT_EQ(AnsiLength(kCp949, u"한글ab"), 6);
  EXPECT_EQ(AnsiLeft(kCp949, u"한글", 1), u"한");
  EXPECT_EQ(AnsiLeft(kCp949, u"abcdef", 1), u"ab");
  EXPECT_EQ(AnsiLeft(kCp949, u"한글", 10), u"한글");
  EXPECT_EQ(AnsiLeft(kCp949, u"한글", 0), u"");
  EXPECT_EQ(AnsiRight(kCp949, u"한글", 1), u"글");
  EXPECT_EQ(AnsiRight(kCp949, u"abcdef", 2), u"cdef");
  EXPECT_EQ(AnsiMid(kCp949, u"시작메뉴", 2, 2), u"작메");
  EXPECT_EQ(AnsiMid(kCp949, u"abcdef", 2, 1), u"cd");
  EXPECT_EQ(AnsiMid(kCp949, u"abcdef", 9, 1), u"");
  EXPECT_THROW(AnsiLeft(kCp949, u"abc", -1), ConvertError);
  EXPECT_THROW(AnsiMid(kCp949, u"abc", 0, 1), ConvertError);
}

TEST(AnsiCuts, LengthLimit) {
  EXPECT_EQ(AnsiLength(kCp949, std::u16string(32767, u'a')), 32767);
  EXPECT_THROW(AnsiLength(kCp949, std::u16string(16384, u'한')), ConvertError);
}

TEST(TextLines, AnyLineEndBecomesCrLfWithoutATrailingOne) {
  const struct {
    const char* file;
    const char* text;
  } cases[] = {{"a\r\nb\r\n", "a\r\nb"}, {"a\nb", "a\r\nb"}, {"a\rb\r", "a\r\nb"}, {"", ""},
               {"a\r\n\r\n", "a\r\n"}, {"\n", ""},         {"x\r\n\ny", "x\r\n\r\ny"}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.file);
    EXPECT_EQ(JoinLinesWithCrLf(c.file), c.text);
  }
}

}  // namespace
}  // namespace pravik::core::convert
