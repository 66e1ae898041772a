#include <gtest/gtest.h>

#include "core/update/version_check.h"

namespace pravik::core::update {
namespace {

struct VersionCase {
  const char* name;
  std::optional<std::wstring> body;
  std::wstring installed;
  bool current;
  std::wstring arguments;
};

TEST(VersionCheck, Verdicts) {
  const VersionCase cases[] = {
      {"equal", L"1.0.3;http://h/setup.exe", L"1.0.3", true, L"http://h/setup.exe"},
      {"installed padded with zeros", L"1.0.3.0;http://h/x", L"1.0.3", true, L"http://h/x"},
      {"announced padded with spaces", L" 1.0.3  ;http://h/x", L"1.0.3", true, L"http://h/x"},
      {"letters are no version", L"1.0.3A;http://h/x", L"1.0.2", true, L""},
      {"line break before separator", L"1.0.4\r\n;http://h/x", L"1.0.3", true, L""},
      {"tab is not trimmed", L"1.0.4\t;http://h/x", L"1.0.3", true, L""},
      {"no separator", L"2.0", L"1.0", true, L""},
      {"empty body", L"", L"1.0", true, L""},
      {"failed fetch", std::nullopt, L"1.0", true, L""},
      {"blank announced", L"   ;http://h/x", L"1.0", true, L""},
      {"third field ignored", L"1.1;http://h/a;more", L"1.0", false, L"http://h/a"},
      {"trailing line break trimmed off the address", L"1.1;http://h/a\r\n", L"1.0", false, L"http://h/a"},
      {"address with blanks or quotes is no address", L"1.1; \"q\" ", L"1.0", true, L""},
      {"error page with separator", L"<html>;</html>", L"1.0", true, L""},
      {"404 page holding a version file", L"9.9;http://h/x but not found", L"1.0", true, L""},
      {"not an http(s) address", L"9.9;file:///c:/x.exe", L"1.0", true, L""},
      {"number by number", L"1.10;https://h/x", L"1.9", false, L"https://h/x"},
      {"older announced is not due", L"1.9;https://h/x", L"1.10", true, L"https://h/x"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto verdict = JudgeVersionFile(c.body, *ParseVersion(c.installed));
    EXPECT_EQ(verdict.current, c.current);
    EXPECT_EQ(verdict.updaterArguments, c.arguments);
  }
  // A release takes only https addresses.
  EXPECT_TRUE(JudgeVersionFile(L"2.0;http://h/x", *ParseVersion(L"1.0"), true).current);
  EXPECT_FALSE(JudgeVersionFile(L"2.0;https://h/x", *ParseVersion(L"1.0"), true).current);
}

TEST(VersionCheck, OnlyDottedNumbersAreVersions) {
  for (const wchar_t* bad : {L"", L"1.", L".1", L"1..2", L"1.2a", L"v1", L"1,2", L"-1", L"1 .2", L"1234567890"})
    EXPECT_FALSE(ParseVersion(bad).has_value()) << bad;
  EXPECT_EQ(*ParseVersion(L"10.0.1"), (Version{10, 0, 1}));
  EXPECT_GT(CompareVersions(*ParseVersion(L"1.10"), *ParseVersion(L"1.9")), 0);
  EXPECT_EQ(CompareVersions(*ParseVersion(L"1"), *ParseVersion(L"1.0.0")), 0);
}

}  // namespace
}  // namespace pravik::core::update
