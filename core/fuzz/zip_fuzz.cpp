// The zip layer as extraction drives it: the directory, each entry's data, its name's path check,
// and the traditional cipher over the data with a password taken from the input's first bytes.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "core/zip/crc32.h"
#include "core/zip/entry_path.h"
#include "core/zip/traditional_cipher.h"
#include "core/zip/zip_directory.h"

using namespace pravik::core::zip;

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  // First byte: password length (0..15), then the password, then the archive.
  const std::size_t passwordLength = size ? data[0] % 16 : 0;
  if (size < 1 + passwordLength) return 0;
  const std::string password(reinterpret_cast<const char*>(data + 1), passwordLength);
  MemorySource source(std::string(reinterpret_cast<const char*>(data + 1 + passwordLength), size - 1 - passwordLength));
  const ZipDirectory directory = ReadDirectory(source);
  std::uint64_t total = 0;
  for (const ZipEntry& entry : directory.entries) {
    total += entry.size;
    (void)SafeRelativePath(entry.name);
    (void)IsPlainFolder(entry.crc);
    const auto at = LocateData(source, entry);
    if (!at) continue;
    std::string bytes(static_cast<std::size_t>(entry.compressedSize), '\0');
    if (!source.Read(*at, bytes.data(), bytes.size())) __builtin_trap();  // located data must be readable
    auto* raw = reinterpret_cast<std::uint8_t*>(bytes.data());
    std::size_t length = bytes.size();
    if (entry.encrypted() && length >= kCipherHeaderSize) {
      TraditionalCipher cipher(password);
      std::uint8_t header[kCipherHeaderSize];
      for (std::size_t i = 0; i < kCipherHeaderSize; ++i) header[i] = raw[i];
      if (!cipher.AcceptHeader(header, entry.passwordCheck())) continue;
      raw += kCipherHeaderSize;
      length -= kCipherHeaderSize;
      // Side by side with copies of itself, each stream must come out as it does alone.
      const std::size_t count = 1 + entry.crc % TraditionalCipher::kMaxStreams;
      std::string copies[TraditionalCipher::kMaxStreams];
      std::vector<TraditionalCipher> ciphers(count, cipher);
      TraditionalCipher* keys[TraditionalCipher::kMaxStreams];
      std::uint8_t* streams[TraditionalCipher::kMaxStreams];
      for (std::size_t i = 0; i < count; ++i) {
        copies[i].assign(reinterpret_cast<const char*>(raw), length);
        keys[i] = &ciphers[i];
        streams[i] = reinterpret_cast<std::uint8_t*>(copies[i].data());
      }
      TraditionalCipher::DecryptStreams(keys, streams, count, length);
      cipher.Decrypt(raw, length);
      for (std::size_t i = 0; i < count; ++i)
        if (copies[i].compare(0, length, reinterpret_cast<const char*>(raw), length) != 0) __builtin_trap();
    }
    (void)Crc32(0, raw, length);
  }
  if (total > kMaxTotalSize) __builtin_trap();  // the caps hold for every accepted archive
  return 0;
}
