#include "core/download/download_rules.h"

#include <gtest/gtest.h>

namespace pravik::core::download {
namespace {

using Kind = AnnouncedLength::Kind;

TEST(AnnouncedLengthTest, ReadsTheLeadingNumberLikeThePlatform) {
  struct Case {
    const wchar_t* header;
    Kind kind;
    std::int32_t value;
  } cases[] = {
      {L"2500", Kind::Length, 2500},
      {L" 25 00 ", Kind::Length, 2500},  // blanks inside the number are skipped
      {L"1024abc", Kind::Length, 1024},
      {L"2.5", Kind::Length, 2},          // halves to even
      {L"3.5", Kind::Length, 4},
      {L"1e3", Kind::Length, 1000},
      {L"&H10", Kind::Length, 16},
      {L"2147483647", Kind::Length, 2147483647},
      {L"", Kind::NotPositive, 0},
      {L"abc", Kind::NotPositive, 0},
      {L"0", Kind::NotPositive, 0},
      {L"-5", Kind::NotPositive, -5},
      {L"0.4", Kind::NotPositive, 0},
      {L"2147483648", Kind::OutOfRange, 0},
      {L"4294967296", Kind::OutOfRange, 0},
      {L"-99999999999", Kind::OutOfRange, 0},
      {L"1e400", Kind::OutOfRange, 0},
      {L"999999999999999999999999999999999999999999", Kind::OutOfRange, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.header)));
    const AnnouncedLength got = ReadAnnouncedLength(c.header);
    EXPECT_EQ(got.kind, c.kind);
    if (c.kind != Kind::OutOfRange) {
      EXPECT_EQ(got.value, c.value);
    }
  }
}

TEST(PercentTextTest, FloorsThePercentage) {
  EXPECT_EQ(PercentText(0, 2500), L"0 %");
  EXPECT_EQ(PercentText(1024, 2500), L"40 %");
  EXPECT_EQ(PercentText(2499, 2500), L"99 %");
  EXPECT_EQ(PercentText(2500, 2500), L"100 %");
  // Found by fuzzing: no length (0) or infinite values must not reach the integer cast.
  EXPECT_EQ(PercentText(5, 0), L"0 %");
  EXPECT_EQ(PercentText(-5, 0), L"0 %");
  EXPECT_EQ(PercentText(0, 0), L"0 %");
  EXPECT_EQ(PercentText(1e300, 1e-300), L"0 %");
}

TEST(ArgumentTextTest, KeepsEverythingAfterTheProgramName) {
  struct Case {
    const wchar_t* line;
    const wchar_t* arguments;
  } cases[] = {
      {L"\"C:\\Program Files\\Pravik\\Molvane.exe\" http://h/a b.exe", L"http://h/a b.exe"},
      {L"Molvane.exe \"http://h/x.exe\" ", L"\"http://h/x.exe\" "},
      {L"\"C:\\a b\\Molvane.exe\"", L""},
      {L"Molvane.exe", L""},
      {L"Molvane.exe   http://h/x\r\n", L"http://h/x\r\n"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::PrintToString(std::wstring(c.line)));
    EXPECT_EQ(ArgumentText(c.line), c.arguments);
  }
}

}  // namespace
}  // namespace pravik::core::download
