#include "core/download/signature_format.h"

#include <gtest/gtest.h>

#include <string>

namespace pravik::core::download {
namespace {

const std::string kKeyA(128, 'a');
const std::string kKeyB = std::string(126, '0') + "1F";

TEST(ParsePublicKeysTest, ReadsEveryKeyOrNone) {
  const auto two = ParsePublicKeys(kKeyA + ";\n " + kKeyB + ",");
  ASSERT_TRUE(two.has_value());
  ASSERT_EQ(two->size(), 2u);
  EXPECT_EQ((*two)[0][0], 0xAA);
  EXPECT_EQ((*two)[1][63], 0x1F);
  EXPECT_EQ(ParsePublicKeys("")->size(), 0u);
  for (const std::string& bad : {kKeyA.substr(1), kKeyA + "0", kKeyA + ";" + kKeyB.substr(0, 127) + "g",
                                 std::string("04") + kKeyA}) {
    SCOPED_TRACE(bad);
    EXPECT_FALSE(ParsePublicKeys(bad).has_value());
  }
}

TEST(IsRawSignatureTest, OnlySixtyFourBytesWithBothHalvesSet) {
  std::vector<std::uint8_t> good(64, 1);
  EXPECT_TRUE(IsRawSignature(good));
  struct Case {
    const char* name;
    std::vector<std::uint8_t> bytes;
  } cases[] = {
      {"empty", {}},
      {"63 bytes", std::vector<std::uint8_t>(63, 1)},
      {"65 bytes", std::vector<std::uint8_t>(65, 1)},
      {"DER length", std::vector<std::uint8_t>(71, 1)},
      {"all zeros", std::vector<std::uint8_t>(64, 0)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_FALSE(IsRawSignature(c.bytes));
  }
  std::vector<std::uint8_t> zeroR = good;
  std::fill(zeroR.begin(), zeroR.begin() + 32, 0);
  EXPECT_FALSE(IsRawSignature(zeroR));
  std::vector<std::uint8_t> zeroS = good;
  std::fill(zeroS.begin() + 32, zeroS.end(), 0);
  EXPECT_FALSE(IsRawSignature(zeroS));
}

}  // namespace
}  // namespace pravik::core::download
