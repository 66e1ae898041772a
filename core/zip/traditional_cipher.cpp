#include "core/zip/traditional_cipher.h"

#include <array>

#include "core/zip/crc32.h"

namespace pravik::core::zip {
namespace {

constexpr std::uint32_t kKey1Factor = 134775813u;

// The byte the keys mask the next data byte with. It depends only on bits 2..15 of key 2: bit 1
// is forced on, and t * (t ^ 1) is the same product whichever of the pair bit 0 picks.
constexpr std::uint8_t MaskByte(std::uint32_t key2) {
  const std::uint32_t temp = (key2 | 2) & 0xFFFF;
  return static_cast<std::uint8_t>((temp * (temp ^ 1)) >> 8);
}

// Decryption is one serial chain through the three keys, so its speed is the length of that chain
// per byte. The CRC table is linear (T[a ^ b] == T[a] ^ T[b]), which moves most of the work off
// it; what stays on it is key 2's bits 2..15 -> (table) the low byte the mask adds to key 0 ->
// key 1 -> its top byte -> (table) key 2's next bits 2..15: two loads and one multiply, 17 cycles
// a byte instead of 31.
//   kMaskCrcLow[i]: the low byte of T[mask byte] for key 2's bits 2..15 equal to i (in 16 bits:
//                   a byte table lets the compiler add a zero extension to the chain).
//   kCrcBits[x]:    bits 2..15 of T[x].
// Three or four chains side by side are bound by the count of instructions instead, and by the
// registers: there, key 2's bits 2..15 are taken from key 2 again (two steps more on the chain, one
// register less), and the mask byte comes from a table beside its low CRC byte.
//   kWide.maskAndLow[2i], [2i + 1]: the mask byte, and the low byte of T[mask byte], for bits
//                                   2..15 equal to i.
constexpr auto kMaskCrcLow = [] {
  std::array<std::uint16_t, 1u << 14> table{};
  for (std::uint32_t i = 0; i < table.size(); ++i)
    table[i] = static_cast<std::uint16_t>(detail::kCrcTable[MaskByte(i << 2)] & 0xFF);
  return table;
}();
constexpr auto kCrcBits = [] {
  std::array<std::uint16_t, 256> table{};
  for (std::uint32_t x = 0; x < 256; ++x) table[x] = static_cast<std::uint16_t>((detail::kCrcTable[x] >> 2) & 0x3FFF);
  return table;
}();
// For three or four chains: every table behind one base register.
struct WideTables {
  std::array<std::uint32_t, 256> crc;
  std::array<std::uint8_t, 2u << 14> maskAndLow;
};
constexpr WideTables kWide = [] {
  WideTables tables{detail::kCrcTable, {}};
  for (std::uint32_t i = 0; i < (1u << 14); ++i) {
    tables.maskAndLow[2 * i] = MaskByte(i << 2);
    tables.maskAndLow[2 * i + 1] = static_cast<std::uint8_t>(detail::kCrcTable[MaskByte(i << 2)] & 0xFF);
  }
  return tables;
}();

}  // namespace

TraditionalCipher::TraditionalCipher(std::string_view password) noexcept {
  for (char c : password) Update(static_cast<std::uint8_t>(c));
}

std::uint8_t TraditionalCipher::KeyByte() const noexcept { return MaskByte(key2_); }

void TraditionalCipher::Update(std::uint8_t plain) noexcept {
  key0_ = Crc32Step(key0_, plain);
  key1_ = (key1_ + (key0_ & 0xFF)) * kKey1Factor + 1;
  key2_ = Crc32Step(key2_, static_cast<std::uint8_t>(key1_ >> 24));
}

bool TraditionalCipher::AcceptHeader(const std::uint8_t (&header)[kCipherHeaderSize], std::uint8_t check) noexcept {
  std::uint8_t plain[kCipherHeaderSize];
  for (std::size_t i = 0; i < kCipherHeaderSize; ++i) plain[i] = header[i];
  Decrypt(plain, kCipherHeaderSize);
  return plain[kCipherHeaderSize - 1] == check;
}

template <std::size_t kChains, bool kCarryBits>
void TraditionalCipher::DecryptChains(TraditionalCipher* const* ciphers, std::uint8_t* const* data,
                                      std::size_t size) noexcept {
  // In locals, so that they stay in registers; the stream pointers too, since a byte store may alias
  // anything in memory and the compiler would load them again after every store. When kCarryBits,
  // `scaled` (key1 * factor + 1) is carried instead of key 1, so that the step on the chain is one
  // multiply and one add, and `bits` is key 2's bits 2..15.
  std::uint32_t k0[kChains], k1[kChains], k2[kChains], scaled[kChains], bits[kChains];
  std::uint8_t* stream[kChains];
  for (std::size_t c = 0; c < kChains; ++c) {
    stream[c] = data[c];
    k0[c] = ciphers[c]->key0_;
    k1[c] = ciphers[c]->key1_;
    k2[c] = ciphers[c]->key2_;
    scaled[c] = k1[c] * kKey1Factor + 1;
    bits[c] = (k2[c] >> 2) & 0x3FFF;
  }
  for (std::size_t n = 0; n < size; ++n) {
    // The chains share nothing: the processor overlaps their steps. Unrolled, so that every
    // chain's keys stay in registers.
#pragma GCC unroll 4
    for (std::size_t c = 0; c < kChains; ++c) {
      const std::uint8_t cipher = stream[c][n];
      if constexpr (kCarryBits) {
        const auto& crc = detail::kCrcTable;
        const std::uint8_t mask = MaskByte(k2[c]);
        stream[c][n] = static_cast<std::uint8_t>(cipher ^ mask);
        // Key 0 takes the plain byte (cipher ^ mask): its cipher half now, its mask half by table.
        const std::uint32_t half = crc[(k0[c] ^ cipher) & 0xFF] ^ (k0[c] >> 8);
        k0[c] = half ^ crc[mask];
        k1[c] = scaled[c] + ((half & 0xFF) ^ kMaskCrcLow[bits[c]]) * kKey1Factor;
        scaled[c] = k1[c] * kKey1Factor + 1;
        const std::uint32_t top = k1[c] >> 24;
        // Key 2 takes key 1's top byte: the part from key 2 itself does not wait for key 1.
        const std::uint32_t own = crc[k2[c] & 0xFF] ^ (k2[c] >> 8);
        k2[c] = own ^ crc[top];
        bits[c] = ((own >> 2) & 0x3FFF) ^ kCrcBits[top];
      } else {
        // The same steps with fewer instructions and registers, the chain a little longer.
        const WideTables& t = kWide;
        const std::uint32_t at = (k2[c] >> 1) & 0x7FFE;  // 2 * bits 2..15
        const std::uint8_t mask = t.maskAndLow[at];
        stream[c][n] = static_cast<std::uint8_t>(cipher ^ mask);
        const std::uint32_t half = t.crc[(k0[c] ^ cipher) & 0xFF] ^ (k0[c] >> 8);
        k0[c] = half ^ t.crc[mask];
        k1[c] = (k1[c] + ((half & 0xFF) ^ t.maskAndLow[at + 1])) * kKey1Factor + 1;
        k2[c] = t.crc[k2[c] & 0xFF] ^ (k2[c] >> 8) ^ t.crc[k1[c] >> 24];
      }
    }
  }
  for (std::size_t c = 0; c < kChains; ++c) {
    ciphers[c]->key0_ = k0[c];
    ciphers[c]->key1_ = k1[c];
    ciphers[c]->key2_ = k2[c];
  }
}

void TraditionalCipher::Decrypt(std::uint8_t* data, std::size_t size) noexcept {
  TraditionalCipher* const self = this;
  DecryptChains<1, true>(&self, &data, size);
}

void TraditionalCipher::DecryptStreams(TraditionalCipher* const* ciphers, std::uint8_t* const* data,
                                       std::size_t count, std::size_t size) noexcept {
  // More than the widest loop takes: four at a time.
  for (; count > kMaxStreams; count -= kMaxStreams, ciphers += kMaxStreams, data += kMaxStreams)
    DecryptChains<kMaxStreams, false>(ciphers, data, size);
  switch (count) {
    case 1: return DecryptChains<1, true>(ciphers, data, size);
    case 2: return DecryptChains<2, true>(ciphers, data, size);
    case 3: return DecryptChains<3, false>(ciphers, data, size);
    case 4: return DecryptChains<4, false>(ciphers, data, size);
    default: return;  // none
  }
}

void TraditionalCipher::Encrypt(std::uint8_t* data, std::size_t size) noexcept {
  for (std::size_t i = 0; i < size; ++i) {
    const std::uint8_t plain = data[i];
    data[i] = static_cast<std::uint8_t>(plain ^ KeyByte());
    Update(plain);
  }
}

}  // namespace pravik::core::zip
