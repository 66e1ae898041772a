#include "core/crypto/rijndael.h"

#include <algorithm>
#include <stdexcept>

namespace pravik::core::crypto {
namespace {

std::uint8_t Times2(std::uint8_t x) { return static_cast<std::uint8_t>((x << 1) ^ ((x & 0x80) ? 0x1B : 0)); }

std::uint8_t Multiply(std::uint8_t a, std::uint8_t b) {
  std::uint8_t product = 0;
  for (; b; b >>= 1, a = Times2(a))
    if (b & 1) product ^= a;
  return product;
}

constexpr std::uint32_t Rotr8(std::uint32_t w) { return (w >> 8) | (w << 24); }

// The S-boxes and the round tables, generated once from their definition. A round table entry is
// one byte's whole contribution to its column after substitution and (inverse) column mixing;
// the tables for rows 1..3 are the same words rotated.
struct Tables {
  std::array<std::uint8_t, 256> sbox{}, inverse{};
  std::uint32_t encrypt[4][256], decrypt[4][256];
  Tables() {
    for (int x = 0; x < 256; ++x) {
      std::uint8_t inv = 0;  // multiplicative inverse in GF(2^8); 0 maps to 0
      for (int y = 1; x && y < 256; ++y)
        if (Multiply(static_cast<std::uint8_t>(x), static_cast<std::uint8_t>(y)) == 1) {
          inv = static_cast<std::uint8_t>(y);
          break;
        }
      std::uint8_t s = inv;
      for (int k = 1; k < 5; ++k) s ^= static_cast<std::uint8_t>((inv << k) | (inv >> (8 - k)));
      s ^= 0x63;
      sbox[x] = s;
      inverse[s] = static_cast<std::uint8_t>(x);
    }
    for (int x = 0; x < 256; ++x) {
      const std::uint8_t s = sbox[x], i = inverse[x];
      encrypt[0][x] = std::uint32_t{Multiply(s, 2)} << 24 | std::uint32_t{s} << 16 | std::uint32_t{s} << 8 | Multiply(s, 3);
      decrypt[0][x] = std::uint32_t{Multiply(i, 14)} << 24 | std::uint32_t{Multiply(i, 9)} << 16 |
                      std::uint32_t{Multiply(i, 13)} << 8 | Multiply(i, 11);
      for (int r = 1; r < 4; ++r) {
        encrypt[r][x] = Rotr8(encrypt[r - 1][x]);
        decrypt[r][x] = Rotr8(decrypt[r - 1][x]);
      }
    }
  }
};

const Tables& tables() {
  static const Tables t;
  return t;
}

constexpr std::uint8_t Byte(std::uint32_t w, int row) { return static_cast<std::uint8_t>(w >> (24 - 8 * row)); }

std::uint32_t SubWord(std::uint32_t w) {
  const auto& s = tables().sbox;
  return static_cast<std::uint32_t>(s[w >> 24]) << 24 | static_cast<std::uint32_t>(s[(w >> 16) & 255]) << 16 |
         static_cast<std::uint32_t>(s[(w >> 8) & 255]) << 8 | s[w & 255];
}

// Row shifts by block length: 128 and 192 bits shift rows 1..3 by 1, 2, 3; 256 bits by 1, 3, 4.
constexpr int Shift(std::size_t nb, int row) {
  constexpr int kShort[4] = {0, 1, 2, 3};
  constexpr int kLong[4] = {0, 1, 3, 4};
  return nb == 8 ? kLong[row] : kShort[row];
}

bool ValidLength(std::size_t bytes) { return bytes == 16 || bytes == 24 || bytes == 32; }

}  // namespace

Rijndael::Rijndael(std::span<const std::uint8_t> key, std::size_t blockBytes) {
  if (!ValidLength(key.size()) || !ValidLength(blockBytes))
    throw std::invalid_argument("Rijndael: block and key must be 16, 24 or 32 bytes");
  nb_ = blockBytes / 4;
  const std::size_t nk = key.size() / 4;
  nr_ = static_cast<int>(std::max(nb_, nk)) + 6;
  schedule_.resize(nb_ * (static_cast<std::size_t>(nr_) + 1));
  for (std::size_t i = 0; i < nk; ++i)
    schedule_[i] = static_cast<std::uint32_t>(key[4 * i]) << 24 | static_cast<std::uint32_t>(key[4 * i + 1]) << 16 |
                   static_cast<std::uint32_t>(key[4 * i + 2]) << 8 | key[4 * i + 3];
  std::uint8_t rcon = 1;
  for (std::size_t i = nk; i < schedule_.size(); ++i) {
    std::uint32_t temp = schedule_[i - 1];
    if (i % nk == 0) {
      temp = SubWord((temp << 8) | (temp >> 24)) ^ (static_cast<std::uint32_t>(rcon) << 24);
      rcon = Times2(rcon);
    } else if (nk > 6 && i % nk == 4) {
      temp = SubWord(temp);
    }
    schedule_[i] = schedule_[i - nk] ^ temp;
  }
  // Inverse mixing of a word: the decrypt table of the byte's S-box image undoes the inverse S-box.
  const Tables& t = tables();
  inverseSchedule_ = schedule_;
  for (std::size_t i = nb_; i < nb_ * static_cast<std::size_t>(nr_); ++i) {
    const std::uint32_t w = schedule_[i];
    inverseSchedule_[i] = t.decrypt[0][t.sbox[Byte(w, 0)]] ^ t.decrypt[1][t.sbox[Byte(w, 1)]] ^
                          t.decrypt[2][t.sbox[Byte(w, 2)]] ^ t.decrypt[3][t.sbox[Byte(w, 3)]];
  }
}

namespace {

constexpr std::uint32_t LoadColumn(const std::uint8_t* p) {
  return std::uint32_t{p[0]} << 24 | std::uint32_t{p[1]} << 16 | std::uint32_t{p[2]} << 8 | p[3];
}

// One block through all rounds, with the block length fixed at compile time so the column loops
// and the row shifts unroll. `Sign` is +1 for encryption (rows move left) and -1 for decryption.
template <std::size_t Nb, int Sign>
void Rounds(const std::uint32_t (&table)[4][256], const std::array<std::uint8_t, 256>& box, const std::uint32_t* key,
            std::ptrdiff_t step, int nr, std::uint8_t* block) noexcept {
  constexpr std::size_t s1 = (Nb + Sign * Shift(Nb, 1)) % Nb, s2 = (Nb + Sign * Shift(Nb, 2)) % Nb,
                        s3 = (Nb + Sign * Shift(Nb, 3)) % Nb;
  std::uint32_t a[Nb], b[Nb];
  for (std::size_t c = 0; c < Nb; ++c) a[c] = LoadColumn(block + 4 * c) ^ key[c];
  for (int round = 1; round < nr; ++round) {
    key += step;
    for (std::size_t c = 0; c < Nb; ++c)
      b[c] = table[0][Byte(a[c], 0)] ^ table[1][Byte(a[(c + s1) % Nb], 1)] ^ table[2][Byte(a[(c + s2) % Nb], 2)] ^
             table[3][Byte(a[(c + s3) % Nb], 3)] ^ key[c];
    for (std::size_t c = 0; c < Nb; ++c) a[c] = b[c];
  }
  key += step;
  for (std::size_t c = 0; c < Nb; ++c) {
    const std::uint32_t w = key[c];
    block[4 * c] = static_cast<std::uint8_t>(box[Byte(a[c], 0)] ^ Byte(w, 0));
    block[4 * c + 1] = static_cast<std::uint8_t>(box[Byte(a[(c + s1) % Nb], 1)] ^ Byte(w, 1));
    block[4 * c + 2] = static_cast<std::uint8_t>(box[Byte(a[(c + s2) % Nb], 2)] ^ Byte(w, 2));
    block[4 * c + 3] = static_cast<std::uint8_t>(box[Byte(a[(c + s3) % Nb], 3)] ^ Byte(w, 3));
  }
}

template <int Sign>
void AllRounds(std::size_t nb, const std::uint32_t (&table)[4][256], const std::array<std::uint8_t, 256>& box,
               const std::uint32_t* key, int nr, std::uint8_t* block) noexcept {
  const std::ptrdiff_t step = Sign * static_cast<std::ptrdiff_t>(nb);
  if (nb == 8)
    Rounds<8, Sign>(table, box, key, step, nr, block);
  else if (nb == 6)
    Rounds<6, Sign>(table, box, key, step, nr, block);
  else
    Rounds<4, Sign>(table, box, key, step, nr, block);
}

}  // namespace

void Rijndael::Encrypt(std::span<std::uint8_t> block) const {
  if (block.size() != blockBytes()) throw std::invalid_argument("Rijndael: not one block");
  const Tables& t = tables();
  AllRounds<1>(nb_, t.encrypt, t.sbox, schedule_.data(), nr_, block.data());
}

void Rijndael::Decrypt(std::span<std::uint8_t> block) const {
  if (block.size() != blockBytes()) throw std::invalid_argument("Rijndael: not one block");
  const Tables& t = tables();
  // The equivalent inverse cipher: the same steps with the inverse tables, the round keys backwards.
  AllRounds<-1>(nb_, t.decrypt, t.inverse, inverseSchedule_.data() + nb_ * static_cast<std::size_t>(nr_), nr_,
                block.data());
}

std::vector<std::uint8_t> EncryptData(std::span<const std::uint8_t> message, std::span<const std::uint8_t, 32> key) {
  const std::size_t n = message.size();
  std::vector<std::uint8_t> buffer((n + 4 + 31) / 32 * 32, 0);
  for (int k = 0; k < 4; ++k) buffer[static_cast<std::size_t>(k)] = static_cast<std::uint8_t>(n >> (8 * k));
  std::copy(message.begin(), message.end(), buffer.begin() + 4);
  const Rijndael cipher(key, 32);
  for (std::size_t i = 0; i < buffer.size(); i += 32) cipher.Encrypt(std::span(buffer).subspan(i, 32));
  return buffer;
}

std::optional<std::vector<std::uint8_t>> DecryptData(std::span<const std::uint8_t> data,
                                                     std::span<const std::uint8_t, 32> key) {
  if (data.empty() || data.size() % 32 != 0) return std::nullopt;
  std::vector<std::uint8_t> buffer(data.begin(), data.end());
  const Rijndael cipher(key, 32);
  for (std::size_t i = 0; i < buffer.size(); i += 32) cipher.Decrypt(std::span(buffer).subspan(i, 32));
  std::size_t n = 0;
  for (int k = 3; k >= 0; --k) n = (n << 8) | buffer[static_cast<std::size_t>(k)];
  if (n > buffer.size() - 4) return std::nullopt;
  return std::vector<std::uint8_t>(buffer.begin() + 4, buffer.begin() + 4 + static_cast<std::ptrdiff_t>(n));
}

}  // namespace pravik::core::crypto
