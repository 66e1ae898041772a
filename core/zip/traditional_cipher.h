#pragma once
// The traditional PKWARE zip encryption ("ZipCrypto"): three keys driven by the password, a
// 12-byte header before each entry's data whose last byte checks the password.
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace pravik::core::zip {

inline constexpr std::size_t kCipherHeaderSize = 12;

class TraditionalCipher {
 public:
  // The password's bytes as stored (the archiver's code page).
  explicit TraditionalCipher(std::string_view password) noexcept;

  // Decrypts the 12-byte header and tells whether its last byte matches `check` (the high byte
  // of the entry's CRC, or of its modification time when sizes follow the data). A wrong password
  // passes this test about once in 256 tries; the CRC of the data catches the rest.
  [[nodiscard]] bool AcceptHeader(const std::uint8_t (&header)[kCipherHeaderSize], std::uint8_t check) noexcept;
  void Decrypt(std::uint8_t* data, std::size_t size) noexcept;
  // Decrypts `count` independent streams, `size` bytes of each, as Decrypt on each would. Each
  // stream is one serial chain through the keys; several side by side keep the processor's idle
  // units busy: two give about 1.6 times the bytes per second of one, kMaxStreams (the widest
  // loop) about 2.5.
  static constexpr std::size_t kMaxStreams = 4;
  static void DecryptStreams(TraditionalCipher* const* ciphers, std::uint8_t* const* data, std::size_t count,
                             std::size_t size) noexcept;
  // For building test archives.
  void Encrypt(std::uint8_t* data, std::size_t size) noexcept;

 private:
  template <std::size_t kChains, bool kCarryBits>
  static void DecryptChains(TraditionalCipher* const* ciphers, std::uint8_t* const* data, std::size_t size) noexcept;
  std::uint8_t KeyByte() const noexcept;
  void Update(std::uint8_t plain) noexcept;
  std::uint32_t key0_ = 0x12345678, key1_ = 0x23456789, key2_ = 0x34567890;
};

}  // namespace pravik::core::zip
