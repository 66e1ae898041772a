#include "core/crypto/sha256.h"

#include <algorithm>
#include <cstring>

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <immintrin.h>
#define PRAVIK_SHA_EXTENSIONS 1
#endif

namespace pravik::core::crypto {
namespace {

alignas(16) constexpr std::uint32_t kRound[64] = {
    0x428a2f98, 0x71374491, 0xb5c0fbcf, 0xe9b5dba5, 0x3956c25b, 0x59f111f1, 0x923f82a4, 0xab1c5ed5,
    0xd807aa98, 0x12835b01, 0x243185be, 0x550c7dc3, 0x72be5d74, 0x80deb1fe, 0x9bdc06a7, 0xc19bf174,
    0xe49b69c1, 0xefbe4786, 0x0fc19dc6, 0x240ca1cc, 0x2de92c6f, 0x4a7484aa, 0x5cb0a9dc, 0x76f988da,
    0x983e5152, 0xa831c66d, 0xb00327c8, 0xbf597fc7, 0xc6e00bf3, 0xd5a79147, 0x06ca6351, 0x14292967,
    0x27b70a85, 0x2e1b2138, 0x4d2c6dfc, 0x53380d13, 0x650a7354, 0x766a0abb, 0x81c2c92e, 0x92722c85,
    0xa2bfe8a1, 0xa81a664b, 0xc24b8b70, 0xc76c51a3, 0xd192e819, 0xd6990624, 0xf40e3585, 0x106aa070,
    0x19a4c116, 0x1e376c08, 0x2748774c, 0x34b0bcb5, 0x391c0cb3, 0x4ed8aa4a, 0x5b9cca4f, 0x682e6ff3,
    0x748f82ee, 0x78a5636f, 0x84c87814, 0x8cc70208, 0x90befffa, 0xa4506ceb, 0xbef9a3f7, 0xc67178f2};

constexpr std::uint32_t kInitial[8] = {0x6a09e667, 0xbb67ae85, 0x3c6ef372, 0xa54ff53a,
                                       0x510e527f, 0x9b05688c, 0x1f83d9ab, 0x5be0cd19};

constexpr std::uint32_t Rotr(std::uint32_t x, int n) noexcept { return (x >> n) | (x << (32 - n)); }

void CompressPortable(std::uint32_t (&state)[8], const std::uint8_t* blocks, std::size_t count) noexcept {
  for (; count > 0; --count, blocks += 64) {
    std::uint32_t w[64];
    for (int t = 0; t < 16; ++t)
      w[t] = std::uint32_t{blocks[4 * t]} << 24 | std::uint32_t{blocks[4 * t + 1]} << 16 |
             std::uint32_t{blocks[4 * t + 2]} << 8 | blocks[4 * t + 3];
    for (int t = 16; t < 64; ++t) {
      const std::uint32_t s0 = Rotr(w[t - 15], 7) ^ Rotr(w[t - 15], 18) ^ (w[t - 15] >> 3);
      const std::uint32_t s1 = Rotr(w[t - 2], 17) ^ Rotr(w[t - 2], 19) ^ (w[t - 2] >> 10);
      w[t] = w[t - 16] + s0 + w[t - 7] + s1;
    }
    std::uint32_t a = state[0], b = state[1], c = state[2], d = state[3];
    std::uint32_t e = state[4], f = state[5], g = state[6], h = state[7];
    for (int t = 0; t < 64; ++t) {
      const std::uint32_t t1 = h + (Rotr(e, 6) ^ Rotr(e, 11) ^ Rotr(e, 25)) + ((e & f) ^ (~e & g)) + kRound[t] + w[t];
      const std::uint32_t t2 = (Rotr(a, 2) ^ Rotr(a, 13) ^ Rotr(a, 22)) + ((a & b) ^ (a & c) ^ (b & c));
      h = g;
      g = f;
      f = e;
      e = d + t1;
      d = c;
      c = b;
      b = a;
      a = t1 + t2;
    }
    state[0] += a;
    state[1] += b;
    state[2] += c;
    state[3] += d;
    state[4] += e;
    state[5] += f;
    state[6] += g;
    state[7] += h;
  }
}

#ifdef PRAVIK_SHA_EXTENSIONS
// The SHA extensions keep the state as two halves, ABEF and CDGH, and take four message words
// (already added to their round constants) per pair of rounds.
__attribute__((target("sha,sse4.1,ssse3"))) void CompressWithExtensions(std::uint32_t (&state)[8],
                                                                          const std::uint8_t* blocks,
                                                                          std::size_t count) noexcept {
  const __m128i byteSwap = _mm_set_epi64x(0x0c0d0e0f08090a0bULL, 0x0405060700010203ULL);
  __m128i dcba = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[0])), 0xB1);  // CDAB
  __m128i hgfe = _mm_shuffle_epi32(_mm_loadu_si128(reinterpret_cast<const __m128i*>(&state[4])), 0x1B);  // EFGH
  __m128i abef = _mm_alignr_epi8(dcba, hgfe, 8);
  __m128i cdgh = _mm_blend_epi16(hgfe, dcba, 0xF0);
  for (; count > 0; --count, blocks += 64) {
    const __m128i abefSaved = abef, cdghSaved = cdgh;
    __m128i w[4];
    for (int group = 0; group < 16; ++group) {
      __m128i& words = w[group & 3];
      if (group < 4) {
        words = _mm_shuffle_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(blocks + 16 * group)), byteSwap);
      } else {
        // w[t-16] + s0(w[t-15]), then + w[t-7], then + s1(w[t-2]).
        const __m128i older = _mm_sha256msg1_epu32(words, w[(group + 1) & 3]);
        const __m128i sum = _mm_add_epi32(older, _mm_alignr_epi8(w[(group + 3) & 3], w[(group + 2) & 3], 4));
        words = _mm_sha256msg2_epu32(sum, w[(group + 3) & 3]);
      }
      __m128i message = _mm_add_epi32(words, _mm_load_si128(reinterpret_cast<const __m128i*>(&kRound[4 * group])));
      cdgh = _mm_sha256rnds2_epu32(cdgh, abef, message);
      message = _mm_shuffle_epi32(message, 0x0E);
      abef = _mm_sha256rnds2_epu32(abef, cdgh, message);
    }
    abef = _mm_add_epi32(abef, abefSaved);
    cdgh = _mm_add_epi32(cdgh, cdghSaved);
  }
  const __m128i feba = _mm_shuffle_epi32(abef, 0x1B);
  const __m128i dchg = _mm_shuffle_epi32(cdgh, 0xB1);
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[0]), _mm_blend_epi16(feba, dchg, 0xF0));
  _mm_storeu_si128(reinterpret_cast<__m128i*>(&state[4]), _mm_alignr_epi8(dchg, feba, 8));
}

bool HasShaExtensions() noexcept {
  unsigned a = 0, b = 0, c = 0, d = 0;
  if (!__get_cpuid(1, &a, &b, &c, &d)) return false;
  const bool sse41 = c & (1u << 19), ssse3 = c & (1u << 9);
  if (__get_cpuid_max(0, nullptr) < 7) return false;
  __cpuid_count(7, 0, a, b, c, d);
  return sse41 && ssse3 && (b & (1u << 29));
}
#endif

}  // namespace

Sha256::Sha256(bool useCpuExtensions) noexcept : compress_(&CompressPortable) {
#ifdef PRAVIK_SHA_EXTENSIONS
  static const bool hardware = HasShaExtensions();
  if (useCpuExtensions && hardware) compress_ = &CompressWithExtensions;
#else
  (void)useCpuExtensions;
#endif
  std::memcpy(state_, kInitial, sizeof(state_));
}

void Sha256::Update(std::span<const std::uint8_t> data) noexcept {
  total_ += data.size();
  const std::uint8_t* p = data.data();
  std::size_t left = data.size();
  if (pendingSize_ > 0) {
    const std::size_t take = std::min(left, 64 - pendingSize_);
    std::memcpy(pending_ + pendingSize_, p, take);
    pendingSize_ += take;
    p += take;
    left -= take;
    if (pendingSize_ < 64) return;
    compress_(state_, pending_, 1);
    pendingSize_ = 0;
  }
  if (left >= 64) {
    compress_(state_, p, left / 64);
    p += left / 64 * 64;
    left %= 64;
  }
  std::memcpy(pending_, p, left);
  pendingSize_ = left;
}

Sha256Digest Sha256::Finish() noexcept {
  const std::uint64_t bits = total_ * 8;
  std::uint8_t tail[72] = {0x80};
  const std::size_t padding = (pendingSize_ < 56 ? 56 : 120) - pendingSize_;
  for (int i = 0; i < 8; ++i) tail[padding + i] = static_cast<std::uint8_t>(bits >> (56 - 8 * i));
  Update({tail, padding + 8});
  Sha256Digest digest;
  for (int i = 0; i < 8; ++i)
    for (int j = 0; j < 4; ++j) digest[4 * i + j] = static_cast<std::uint8_t>(state_[i] >> (24 - 8 * j));
  return digest;
}

Sha256Digest Sha256Of(std::span<const std::uint8_t> data) noexcept {
  Sha256 hash;
  hash.Update(data);
  return hash.Finish();
}

}  // namespace pravik::core::crypto
