#pragma once
// The Rijndael cipher in its published form with a choice of block and key length (16, 24 or
// 32 bytes each). The control uses the 256-bit block with a 256-bit key (14 rounds), which is
// not the 128-bit-block AES; the 128-bit block is kept so the standard AES vectors can check
// the shared code.
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pravik::core::crypto {

class Rijndael {
 public:
  // Throws std::invalid_argument for a block or key length other than 16, 24 or 32 bytes.
  Rijndael(std::span<const std::uint8_t> key, std::size_t blockBytes);

  [[nodiscard]] std::size_t blockBytes() const noexcept { return 4 * nb_; }
  [[nodiscard]] int rounds() const noexcept { return nr_; }
  // One block in place; the span must be exactly one block long.
  void Encrypt(std::span<std::uint8_t> block) const;
  void Decrypt(std::span<std::uint8_t> block) const;

 private:
  std::size_t nb_;  // block length in 32-bit words (columns, row 0 in the high byte)
  int nr_;          // rounds
  std::vector<std::uint32_t> schedule_;
  // The round keys for the equivalent inverse cipher (inverse-mixed, rounds 1 .. nr-1).
  std::vector<std::uint32_t> inverseSchedule_;
};

// The control's whole-message encryption: the length n as 4 little-endian bytes, the message,
// zeros up to a multiple of 32 bytes, each 32-byte block encrypted on its own (ECB) with a
// 256-bit block and the 32-byte key.
std::vector<std::uint8_t> EncryptData(std::span<const std::uint8_t> message, std::span<const std::uint8_t, 32> key);
// The inverse; nothing when the data is not whole blocks or its length field does not fit.
std::optional<std::vector<std::uint8_t>> DecryptData(std::span<const std::uint8_t> data,
                                                     std::span<const std::uint8_t, 32> key);

}  // namespace pravik::core::crypto
