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

// The field tables and S-boxes, generated once from their definition.
struct Tables {
  std::array<std::uint8_t, 256> sbox{}, inverse{};
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
  }
};

const Tables& tables() {
  static const Tables t;
  return t;
}

std::uint32_t SubWord(std::uint32_t w) {
  const auto& s = tables().sbox;
  return static_cast<std::uint32_t>(s[w >> 24]) << 24 | static_cast<std::uint32_t>(s[(w >> 16) & 255]) << 16 |
         static_cast<std::uint32_t>(s[(w >> 8) & 255]) << 8 | s[w & 255];
}

// Row shifts by block length: 128 and 192 bits shift rows 1..3 by 1, 2, 3; 256 bits by 1, 3, 4.
int Shift(std::size_t nb, int row) {
  static const int kShort[4] = {0, 1, 2, 3};
  static const int kLong[4] = {0, 1, 3, 4};
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
}

void Rijndael::AddRoundKey(State& s, int round) const noexcept {
  for (std::size_t c = 0; c < nb_; ++c) {
    const std::uint32_t w = schedule_[static_cast<std::size_t>(round) * nb_ + c];
    for (int r = 0; r < 4; ++r) s[r][c] ^= static_cast<std::uint8_t>(w >> (24 - 8 * r));
  }
}

void Rijndael::Encrypt(std::span<std::uint8_t> block) const {
  if (block.size() != blockBytes()) throw std::invalid_argument("Rijndael: not one block");
  const auto& sbox = tables().sbox;
  State s{};
  for (std::size_t c = 0; c < nb_; ++c)
    for (int r = 0; r < 4; ++r) s[r][c] = block[4 * c + r];
  AddRoundKey(s, 0);
  for (int round = 1; round <= nr_; ++round) {
    for (int r = 0; r < 4; ++r) {
      std::array<std::uint8_t, 8> row{};
      for (std::size_t c = 0; c < nb_; ++c) row[c] = sbox[s[r][(c + Shift(nb_, r)) % nb_]];
      s[r] = row;
    }
    if (round != nr_) {
      for (std::size_t c = 0; c < nb_; ++c) {
        const std::uint8_t a0 = s[0][c], a1 = s[1][c], a2 = s[2][c], a3 = s[3][c];
        s[0][c] = static_cast<std::uint8_t>(Times2(a0) ^ Times2(a1) ^ a1 ^ a2 ^ a3);
        s[1][c] = static_cast<std::uint8_t>(a0 ^ Times2(a1) ^ Times2(a2) ^ a2 ^ a3);
        s[2][c] = static_cast<std::uint8_t>(a0 ^ a1 ^ Times2(a2) ^ Times2(a3) ^ a3);
        s[3][c] = static_cast<std::uint8_t>(Times2(a0) ^ a0 ^ a1 ^ a2 ^ Times2(a3));
      }
    }
    AddRoundKey(s, round);
  }
  for (std::size_t c = 0; c < nb_; ++c)
    for (int r = 0; r < 4; ++r) block[4 * c + r] = s[r][c];
}

void Rijndael::Decrypt(std::span<std::uint8_t> block) const {
  if (block.size() != blockBytes()) throw std::invalid_argument("Rijndael: not one block");
  const auto& inverse = tables().inverse;
  State s{};
  for (std::size_t c = 0; c < nb_; ++c)
    for (int r = 0; r < 4; ++r) s[r][c] = block[4 * c + r];
  for (int round = nr_; round >= 1; --round) {
    AddRoundKey(s, round);
    if (round != nr_) {
      for (std::size_t c = 0; c < nb_; ++c) {
        const std::uint8_t a0 = s[0][c], a1 = s[1][c], a2 = s[2][c], a3 = s[3][c];
        s[0][c] = static_cast<std::uint8_t>(Multiply(a0, 14) ^ Multiply(a1, 11) ^ Multiply(a2, 13) ^ Multiply(a3, 9));
        s[1][c] = static_cast<std::uint8_t>(Multiply(a0, 9) ^ Multiply(a1, 14) ^ Multiply(a2, 11) ^ Multiply(a3, 13));
        s[2][c] = static_cast<std::uint8_t>(Multiply(a0, 13) ^ Multiply(a1, 9) ^ Multiply(a2, 14) ^ Multiply(a3, 11));
        s[3][c] = static_cast<std::uint8_t>(Multiply(a0, 11) ^ Multiply(a1, 13) ^ Multiply(a2, 9) ^ Multiply(a3, 14));
      }
    }
    for (int r = 0; r < 4; ++r) {
      std::array<std::uint8_t, 8> row{};
      for (std::size_t c = 0; c < nb_; ++c) row[(c + Shift(nb_, r)) % nb_] = inverse[s[r][c]];
      s[r] = row;
    }
  }
  AddRoundKey(s, 0);
  for (std::size_t c = 0; c < nb_; ++c)
    for (int r = 0; r < 4; ++r) block[4 * c + r] = s[r][c];
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
