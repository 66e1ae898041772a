#include "core/zip/traditional_cipher.h"

#include "core/zip/crc32.h"

namespace pravik::core::zip {

TraditionalCipher::TraditionalCipher(std::string_view password) noexcept {
  for (char c : password) Update(static_cast<std::uint8_t>(c));
}

std::uint8_t TraditionalCipher::KeyByte() const noexcept {
  const std::uint32_t temp = (key2_ | 2) & 0xFFFF;
  return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
}

void TraditionalCipher::Update(std::uint8_t plain) noexcept {
  key0_ = Crc32Step(key0_, plain);
  key1_ = (key1_ + (key0_ & 0xFF)) * 134775813u + 1;
  key2_ = Crc32Step(key2_, static_cast<std::uint8_t>(key1_ >> 24));
}

bool TraditionalCipher::AcceptHeader(const std::uint8_t (&header)[kCipherHeaderSize], std::uint8_t check) noexcept {
  std::uint8_t plain[kCipherHeaderSize];
  for (std::size_t i = 0; i < kCipherHeaderSize; ++i) plain[i] = header[i];
  Decrypt(plain, kCipherHeaderSize);
  return plain[kCipherHeaderSize - 1] == check;
}

void TraditionalCipher::Decrypt(std::uint8_t* data, std::size_t size) noexcept {
  // The keys in locals: the compiler then keeps them in registers for the whole block.
  std::uint32_t k0 = key0_, k1 = key1_, k2 = key2_;
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint32_t temp = (k2 | 2) & 0xFFFF;
    const auto plain = static_cast<std::uint8_t>(data[i] ^ static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8));
    data[i] = plain;
    k0 = Crc32Step(k0, plain);
    k1 = (k1 + (k0 & 0xFF)) * 134775813u + 1;
    k2 = Crc32Step(k2, static_cast<std::uint8_t>(k1 >> 24));
  }
  key0_ = k0;
  key1_ = k1;
  key2_ = k2;
}

void TraditionalCipher::Encrypt(std::uint8_t* data, std::size_t size) noexcept {
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t plain = data[i];
    data[i] = static_cast<std::uint8_t>(plain ^ KeyByte());
    Update(plain);
  }
}

}  // namespace pravik::core::zip
