// The zip layer as extraction drives it: the directory, each entry's data, its name's path check,
// and the traditional cipher over the data with a password taken from the input's first bytes.
#include <cstddef>
#include <cstdint>
#include <string>

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
      cipher.Decrypt(raw, length);
    }
    (void)Crc32(0, raw, length);
  }
  if (total > kMaxTotalSize) __builtin_trap();  // the caps hold for every accepted archive
  return 0;
}
