#pragma once
// Builds small zip archives in memory for tests: stored entries, any stored name (hostile ones
// included), optionally with traditional encryption.
#include <cstdint>
#include <string>
#include <vector>

#include "core/zip/crc32.h"
#include "core/zip/traditional_cipher.h"

namespace pravik::core::zip {

class ZipBuilder {
 public:
  ZipBuilder& Add(std::string name, std::string data, std::string password = {}) {
    Entry e{std::move(name), std::move(data), std::move(password)};
    entries_.push_back(std::move(e));
    return *this;
  }

  std::string Build() const {
    std::string out, central;
    for (const Entry& e : entries_) {
      const auto* bytes = reinterpret_cast<const std::uint8_t*>(e.data.data());
      const std::uint32_t crc = Crc32(0, bytes, e.data.size());
      std::string payload = e.data;
      std::uint16_t flags = 0;
      if (!e.password.empty()) {
        flags |= 1;
        TraditionalCipher cipher(e.password);
        std::string header(kCipherHeaderSize, '\x5a');
        header[kCipherHeaderSize - 1] = static_cast<char>(crc >> 24);
        payload = header + payload;
        cipher.Encrypt(reinterpret_cast<std::uint8_t*>(payload.data()), payload.size());
      }
      const auto offset = static_cast<std::uint32_t>(out.size());
      out += U32(0x04034b50) + U16(20) + U16(flags) + U16(0) + U16(0) + U16(0) + U32(crc) +
             U32(static_cast<std::uint32_t>(payload.size())) + U32(static_cast<std::uint32_t>(e.data.size())) +
             U16(static_cast<std::uint16_t>(e.name.size())) + U16(0) + e.name + payload;
      central += U32(0x02014b50) + U16(20) + U16(20) + U16(flags) + U16(0) + U16(0) + U16(0) + U32(crc) +
                 U32(static_cast<std::uint32_t>(payload.size())) + U32(static_cast<std::uint32_t>(e.data.size())) +
                 U16(static_cast<std::uint16_t>(e.name.size())) + U16(0) + U16(0) + U16(0) + U16(0) + U32(0) +
                 U32(offset) + e.name;
    }
    const auto dirOffset = static_cast<std::uint32_t>(out.size());
    const auto count = static_cast<std::uint16_t>(entries_.size());
    out += central;
    out += U32(0x06054b50) + U16(0) + U16(0) + U16(count) + U16(count) +
           U32(static_cast<std::uint32_t>(central.size())) + U32(dirOffset) + U16(0);
    return out;
  }

 private:
  struct Entry {
    std::string name, data, password;
  };
  static std::string U16(std::uint16_t v) { return {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8)}; }
  static std::string U32(std::uint32_t v) { return U16(static_cast<std::uint16_t>(v)) + U16(static_cast<std::uint16_t>(v >> 16)); }
  std::vector<Entry> entries_;
};

}  // namespace pravik::core::zip
