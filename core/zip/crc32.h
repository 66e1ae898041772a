#pragma once
// CRC-32 as zip archives use it (the IEEE polynomial, reflected).
#include <array>
#include <cstddef>
#include <cstdint>

namespace pravik::core::zip {

namespace detail {
constexpr std::array<std::uint32_t, 256> MakeCrcTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
inline constexpr std::array<std::uint32_t, 256> kCrcTable = MakeCrcTable();
}  // namespace detail

// One byte into a running CRC register (no pre- or post-inversion): the step the cipher uses,
// inline since it runs twice for every byte the cipher decrypts.
inline std::uint32_t Crc32Step(std::uint32_t crc, std::uint8_t byte) noexcept {
  return detail::kCrcTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

// The checksum of a block, continuing from `crc` (0 for a fresh start).
std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size) noexcept;

}  // namespace pravik::core::zip
