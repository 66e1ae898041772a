#include "core/zip/crc32.h"

#include <zlib.h>

#include <algorithm>
#include <array>

namespace pravik::core::zip {
namespace {

constexpr std::array<std::uint32_t, 256> MakeTable() {
  std::array<std::uint32_t, 256> table{};
  for (std::uint32_t n = 0; n < 256; ++n) {
    std::uint32_t c = n;
    for (int k = 0; k < 8; ++k) c = (c & 1) ? 0xEDB88320u ^ (c >> 1) : c >> 1;
    table[n] = c;
  }
  return table;
}
constexpr auto kTable = MakeTable();

}  // namespace

std::uint32_t Crc32Step(std::uint32_t crc, std::uint8_t byte) noexcept {
  return kTable[(crc ^ byte) & 0xFF] ^ (crc >> 8);
}

std::uint32_t Crc32(std::uint32_t crc, const std::uint8_t* data, std::size_t size) noexcept {
  // zlib's several-bytes-at-a-time code: the table above goes a byte at a time.
  while (size > 0) {
    const auto n = static_cast<uInt>(std::min<std::size_t>(size, 1u << 30));
    crc = static_cast<std::uint32_t>(::crc32(crc, data, n));
    data += n;
    size -= n;
  }
  return crc;
}

}  // namespace pravik::core::zip
