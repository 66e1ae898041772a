#include "core/quessel_sysinfo/platform_name.h"

#include <gtest/gtest.h>

namespace pravik::core::quessel_sysinfo {
namespace {

TEST(PlatformName, ConsumerNtAndOtherPlatforms) {
  const struct {
    std::uint32_t platform, major, minor;
    const wchar_t* name;
  } cases[] = {
      {1, 4, 0, L"95"}, {1, 4, 10, L"98/98SE"}, {1, 4, 90, L"ME"}, {1, 4, 3, L"9X"},
      {2, 4, 0, L"NT"}, {2, 5, 0, L"2000"},     {2, 5, 1, L"XP"},  {2, 6, 2, L"2000"},
      {2, 10, 0, L"2000"}, {2, 6, 1, L"XP"},    {0, 6, 2, L"UNKNOWN"}, {3, 1, 1, L"UNKNOWN"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(testing::Message() << c.platform << " " << c.major << "." << c.minor);
    EXPECT_EQ(PlatformName(c.platform, c.major, c.minor), c.name);
  }
}

}  // namespace
}  // namespace pravik::core::quessel_sysinfo
