#include "core/crypto/rijndael.h"

#include <gtest/gtest.h>

#include <string>

#include "core/crypto/unique_number.h"

namespace pravik::core::crypto {
namespace {

std::vector<std::uint8_t> FromHex(const std::string& hex) {
  std::vector<std::uint8_t> out;
  for (std::size_t i = 0; i < hex.size(); i += 2) out.push_back(static_cast<std::uint8_t>(std::stoi(hex.substr(i, 2), nullptr, 16)));
  return out;
}

struct Vector {
  const char* name;
  const char* key;
  const char* plain;
  const char* cipher;
};

TEST(Rijndael, KnownAnswerVectorsEncryptAndDecrypt) {
  const Vector vectors[] = {
      // FIPS-197 appendix C: the 128-bit block, which shares every step but the row shifts.
      {"AES-128", "000102030405060708090a0b0c0d0e0f", "00112233445566778899aabbccddeeff",
       "69c4e0d86a7b0430d8cdb78070b4c55a"},
      {"AES-256", "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
       "00112233445566778899aabbccddeeff", "8ea2b7ca516745bfeafc49904b496089"},
      // The Rijndael proposal's example for a 256-bit block and a 256-bit key.
      {"block 256 key 256, proposal example", "2b7e151628aed2a6abf7158809cf4f3c762e7160f38b4da56a784d9045190cfe",
       "3243f6a8885a308d313198a2e03707344a4093822299f31d0082efa98ec4e6c8",
       "a49406115dfb30a40418aafa4869b7c6a886ff31602a7dd19c889dc64f7e4e7a"},
      // Confirmed with an independent implementation of the 256-bit block (libmcrypt's rijndael-256).
      {"block 256 key 256, zeros", "0000000000000000000000000000000000000000000000000000000000000000",
       "0000000000000000000000000000000000000000000000000000000000000000",
       "c6227e7740b7e53b5cb77865278eab0726f62366d9aabad908936123a1fc8af3"},
      {"block 256 key 256, counting", "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
       "000102030405060708090a0b0c0d0e0f101112131415161718191a1b1c1d1e1f",
       "623d2bd4ca3796dc3d02ecf2f37fb637fd3da58509cebb67ab9265b04db51e7d"},
  };
  for (const Vector& v : vectors) {
    SCOPED_TRACE(v.name);
    const auto key = FromHex(v.key);
    auto block = FromHex(v.plain);
    const Rijndael cipher(key, block.size());
    cipher.Encrypt(block);
    EXPECT_EQ(block, FromHex(v.cipher));
    cipher.Decrypt(block);
    EXPECT_EQ(block, FromHex(v.plain));
  }
  EXPECT_EQ(Rijndael(FromHex(vectors[2].key), 32).rounds(), 14);
}

TEST(Rijndael, RejectsOtherLengths) {
  const std::vector<std::uint8_t> key(20, 0);
  EXPECT_THROW(Rijndael(key, 32), std::invalid_argument);
  const std::vector<std::uint8_t> good(32, 0);
  EXPECT_THROW(Rijndael(good, 20), std::invalid_argument);
  std::vector<std::uint8_t> shortBlock(16, 0);
  EXPECT_THROW(Rijndael(good, 32).Encrypt(shortBlock), std::invalid_argument);
}

TEST(EncryptData, LengthPrefixedBlocksRoundTrip) {
  std::array<std::uint8_t, 32> key{};
  key[0] = 'q';
  for (std::size_t n : {0u, 1u, 27u, 28u, 29u, 60u, 61u, 100u}) {
    SCOPED_TRACE(n);
    std::vector<std::uint8_t> message(n);
    for (std::size_t i = 0; i < n; ++i) message[i] = static_cast<std::uint8_t>(i * 7 + 1);
    const auto cipher = EncryptData(message, key);
    EXPECT_EQ(cipher.size(), (n + 4 + 31) / 32 * 32);
    EXPECT_EQ(DecryptData(cipher, key), message);
  }
  // ECB: equal plain blocks give equal cipher blocks.
  const std::vector<std::uint8_t> repeated(28 + 64, 0xAB);
  const auto cipher = EncryptData(repeated, key);
  EXPECT_TRUE(std::equal(cipher.begin() + 32, cipher.begin() + 64, cipher.begin() + 64));
  EXPECT_FALSE(DecryptData(std::vector<std::uint8_t>(31, 0), key).has_value());
}

TEST(UniqueNumber, EncryptionRoundTripAndLength) {
  const std::u16string text = u"00155D01020312345678901234";
  const std::string hex = EncryptToHex(text, u"qz4");
  EXPECT_EQ(hex.size() % 64, 0u);
  EXPECT_EQ(hex.size(), (text.size() * 2 + 4 + 31) / 32 * 64);
  EXPECT_EQ(hex.find_first_not_of("0123456789ABCDEF"), std::string::npos);
  EXPECT_EQ(DecryptFromHex(hex, u"qz4"), text);
  EXPECT_NE(DecryptFromHex(hex, u"qz5"), text);
  EXPECT_EQ(EncryptToHex(text, u"qz4"), hex);  // the same machine always gives the same number
  EXPECT_EQ(EncryptToHex(u"", u"qz4"), "");
  EXPECT_EQ(EncryptToHex(text, u""), "");
  // The key is the password's UTF-16 bytes, zero-padded: check the first block by hand.
  std::array<std::uint8_t, 32> key{'q', 0, 'z', 0, '4', 0};
  const auto expected = EncryptData(std::vector<std::uint8_t>{'A', 0}, key);
  std::string expectedHex;
  for (auto b : expected) {
    static const char d[] = "0123456789ABCDEF";
    expectedHex += d[b >> 4];
    expectedHex += d[b & 15];
  }
  EXPECT_EQ(EncryptToHex(u"A", u"qz4"), expectedHex);
}

TEST(UniqueNumber, IdentityTextRules) {
  EXPECT_EQ(MachineIdentityText({u"000000000000", u"00155D010203", u"000000000000"}, {0, 1234, 0, 7, -5}),
            u"00155D01020312347-5");
  EXPECT_EQ(MachineIdentityText({u"000000000000"}, {0, 0}), u"");
  double values[] = {0.0, 0.99999, 0.5, 0.1, 0.2, 0.3, 0.4, 0.6, 0.7, 0.8};
  int i = 0;
  EXPECT_EQ(RandomIdentityText([&] { return values[i++]; }), u"0" u"9998" u"4999" u"999" u"1999" u"2999" u"3999" u"5999" u"6999" u"7999");
}

}  // namespace
}  // namespace pravik::core::crypto
