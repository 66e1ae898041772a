#include "core/zip/crc32.h"

#include <zlib.h>

#include <algorithm>

namespace pravik::core::zip {
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
