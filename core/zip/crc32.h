#pragma once
// CRC-32 as zip archives use it (the IEEE polynomial, reflected).
#include <cstddef>
#include <cstdint>

namespace pravik::core::zip {

// One byte into a running CRC register (no pre- or post-inversion): the step the cipher uses.
std::uint32_t Crc32Step(std::uint32_t crc, std::uint8_t byte) noexcept;

// The checksum of a block, continuing from `crc` (0 for a fresh start).
std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size) noexcept;

}  // namespace pravik::core::zip
