#include "core/crypto/sha256.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace pravik::core::crypto {
namespace {

std::string Hex(const Sha256Digest& d) {
  static const char* digits = "0123456789abcdef";
  std::string out;
  for (std::uint8_t b : d) {
    out += digits[b >> 4];
    out += digits[b & 15];
  }
  return out;
}

std::span<const std::uint8_t> Bytes(const std::string& s) {
  return {reinterpret_cast<const std::uint8_t*>(s.data()), s.size()};
}

// The published vectors, with and without the processor's extensions.
TEST(Sha256, KnownAnswersOnBothPaths) {
  const std::string million(1000000, 'a');
  const struct {
    std::string input;
    const char* digest;
  } vectors[] = {
      {"", "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855"},
      {"abc", "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad"},
      {"abcdbcdecdefdefgefghfghighijhijkijkljklmklmnlmnomnopnopq",
       "248d6a61d20638b8e5c026930c3e6039a33ce45964ff2167f6ecedd419db06c1"},
      {million, "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0"},
  };
  for (bool extensions : {true, false}) {
    for (const auto& v : vectors) {
      SCOPED_TRACE(v.input.substr(0, 10) + (extensions ? " (extensions)" : " (portable)"));
      Sha256 hash(extensions);
      hash.Update(Bytes(v.input));
      EXPECT_EQ(Hex(hash.Finish()), v.digest);
    }
  }
}

// Pieces of every awkward size around the 64-byte block and the padding boundary give the
// one-shot digest, on both paths.
TEST(Sha256, PiecesAddUpToTheWhole) {
  std::string data(5000, '\0');
  for (std::size_t i = 0; i < data.size(); ++i) data[i] = static_cast<char>((i * 167 + 13) % 256);
  for (std::size_t length : {55u, 56u, 63u, 64u, 65u, 119u, 120u, 4999u}) {
    const std::string whole = data.substr(0, length);
    const Sha256Digest expected = Sha256Of(Bytes(whole));
    for (bool extensions : {true, false}) {
      for (std::size_t piece : {1u, 7u, 64u, 100u}) {
        Sha256 hash(extensions);
        for (std::size_t at = 0; at < whole.size(); at += piece) hash.Update(Bytes(whole.substr(at, piece)));
        EXPECT_EQ(hash.Finish(), expected) << length << " in pieces of " << piece << (extensions ? " (ext)" : "");
      }
    }
  }
}

}  // namespace
}  // namespace pravik::core::crypto
