#pragma once
// The installer's detached signature and the keys that may have made it: SHA-256 with ECDSA
// P-256, the signature as raw r||s (64 bytes), each public key as raw X||Y (64 bytes).
#include <array>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pravik::core::download {

using RawPublicKey = std::array<std::uint8_t, 64>;
inline constexpr std::size_t kRawSignatureSize = 64;

// Keys written in hex, separated by ';', ',' or blanks. Nothing when any of them is not exactly
// 64 bytes of hex: a mistyped key must not quietly leave fewer keys in force.
std::optional<std::vector<RawPublicKey>> ParsePublicKeys(std::string_view text);

// A signature in the one accepted form: 64 bytes whose halves r and s are both non-zero.
// (The DER form OpenSSL writes, 70 to 72 bytes, is refused: the release tooling converts it.)
bool IsRawSignature(const std::vector<std::uint8_t>& bytes);

// The file published at the installer's address + ".sig": a statement binding the installer's
// bytes to its version, then the 64-byte raw signature of SHA-256 of the statement's bytes:
//   "Pravik installer\n" "version " <dotted version> "\n" "sha256 " <64 lowercase hex> "\n"
struct SignedStatement {
  std::vector<std::uint8_t> statement;  // the signed bytes
  std::vector<std::uint8_t> signature;  // raw r||s
  std::string version;                  // as signed: dotted numbers
  std::array<std::uint8_t, 32> installerSha256{};
};
// Nothing unless the bytes are exactly that form (anything else is malformed, never guessed at).
std::optional<SignedStatement> ParseSignedStatement(const std::vector<std::uint8_t>& bytes);

}  // namespace pravik::core::download
