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
      {"installed padded with spaces", L"1.0.3;x", L"  1.0.3 ", true, L"x"},
      {"announced padded with spaces", L" 1.0.3  ;x", L"1.0.3", true, L"x"},
      {"case differs", L"1.0.3A;x", L"1.0.3a", false, L"x"},
      {"line break before separator", L"1.0.3\r\n;x", L"1.0.3", false, L"x"},
      {"tab is not trimmed", L"1.0.3\t;x", L"1.0.3", false, L"x"},
      {"no separator", L"2.0", L"1.0", true, L""},
      {"empty body", L"", L"1.0", true, L""},
      {"failed fetch", std::nullopt, L"1.0", true, L""},
      {"no installed version", L"1.1;args", L"", false, L"args"},
      {"no installed version, blank announced", L"   ;args", L"", true, L"args"},
      {"third field ignored", L"1.1;args;more", L"1.0", false, L"args"},
      {"trailing line break stays with arguments", L"1.1;http://h/a b\r\n", L"1.0", false,
       L"http://h/a b\r\n"},
      {"arguments untrimmed", L"1.1; \"q\" ", L"1.0", false, L" \"q\" "},
      {"error page with separator", L"<html>;</html>", L"1.0", false, L"</html>"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const auto verdict = JudgeVersionFile(c.body, c.installed);
    EXPECT_EQ(verdict.current, c.current);
    EXPECT_EQ(verdict.updaterArguments, c.arguments);
  }
}

}  // namespace
}  // namespace pravik::core::update
