// The core's Rijndael with a 256-bit block and key over one buffer, ECB, in MB/s.
//   rijndael_speed MEGABYTES
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/crypto/rijndael.h"

int main(int argc, char** argv) {
  const std::size_t bytes = (argc > 1 ? std::strtoul(argv[1], nullptr, 10) : 64) << 20;
  std::vector<std::uint8_t> buffer(bytes);
  for (std::size_t i = 0; i < bytes; ++i) buffer[i] = static_cast<std::uint8_t>(i * 31 + 7);
  std::uint8_t key[32];
  for (int i = 0; i < 32; ++i) key[i] = static_cast<std::uint8_t>(i * 5 + 1);
  const pravik::core::crypto::Rijndael cipher(key, 32);
  const auto start = std::chrono::steady_clock::now();
  for (std::size_t at = 0; at < bytes; at += 32) cipher.Encrypt(std::span(buffer).subspan(at, 32));
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  std::printf("%.1f %02x\n", static_cast<double>(bytes) / 1e6 / seconds, buffer[bytes / 2]);
  return 0;
}
