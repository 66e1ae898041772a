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

namespace pravik::core::download {
namespace {

std::vector<std::uint8_t> Bytes(const std::string& statement, std::uint8_t fill = 7) {
  std::vector<std::uint8_t> b(statement.begin(), statement.end());
  b.insert(b.end(), kRawSignatureSize, fill);
  return b;
}

TEST(ParseSignedStatementTest, TakesOnlyTheExactForm) {
  const std::string digest(64, 'a');
  const auto good = ParseSignedStatement(Bytes("Pravik installer\nversion 1.10.2\nsha256 " + digest + "\n"));
  ASSERT_TRUE(good.has_value());
  EXPECT_EQ(good->version, "1.10.2");
  EXPECT_EQ(good->installerSha256[0], 0xaa);
  EXPECT_EQ(good->statement.size(), 17u + 15u + 72u);
  for (const std::string& bad : {
           "Pravik installer\nversion 1.1-beta\nsha256 " + digest + "\n",  // not dotted numbers
           "Pravik installer\nversion 1.1\nsha256 " + std::string(64, 'A') + "\n",
           "Pravik installer\nversion 1.1\nsha256 " + digest,               // no final line break
           "Pravik installer\r\nversion 1.1\r\nsha256 " + digest + "\r\n",
           "version 1.1\nsha256 " + digest + "\n",
           "Pravik installer\nversion 1.1\nsha256 " + digest + "\nextra\n"})
    EXPECT_FALSE(ParseSignedStatement(Bytes(bad)).has_value()) << bad;
  // The bare 64-byte signature of the old form, and an all-zero signature, are no statement.
  EXPECT_FALSE(ParseSignedStatement(std::vector<std::uint8_t>(64, 1)).has_value());
  EXPECT_FALSE(ParseSignedStatement(Bytes("Pravik installer\nversion 1.1\nsha256 " + digest + "\n", 0)).has_value());
}

}  // namespace
}  // namespace pravik::core::download
