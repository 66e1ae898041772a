#include "core/zip/entry_reader.h"

#include <zlib.h>

#include <algorithm>
#include <optional>
#include <vector>

#include "core/zip/crc32.h"
#include "core/zip/traditional_cipher.h"

namespace pravik::core::zip {
namespace {

// Large enough that reading, inflating and writing each cost little per byte.
constexpr std::size_t kInBlock = 256 * 1024, kOutBlock = 1024 * 1024;

struct InflateStream {
  z_stream z{};
  bool open = false;
  bool Init() { return open = inflateInit2(&z, -MAX_WBITS) == Z_OK; }
  ~InflateStream() {
    if (open) inflateEnd(&z);
  }
};

}  // namespace

EntryResult ReadEntryData(ByteSource& source, const ZipEntry& entry, std::uint64_t dataAt, std::string_view password,
                          const EntrySink& sink) {
  if (entry.method != static_cast<std::uint16_t>(Method::Stored) &&
      entry.method != static_cast<std::uint16_t>(Method::Deflated))
    return EntryResult::Unsupported;
  const bool stored = entry.method == static_cast<std::uint16_t>(Method::Stored);
  std::uint64_t left = entry.compressedSize;
  std::optional<TraditionalCipher> cipher;
  if (entry.encrypted()) {
    if (left < kCipherHeaderSize) return EntryResult::Damaged;
    std::uint8_t header[kCipherHeaderSize];
    if (!source.Read(dataAt, header, sizeof(header))) return EntryResult::Damaged;
    cipher.emplace(password);
    if (!cipher->AcceptHeader(header, entry.passwordCheck())) return EntryResult::BadPassword;
    dataAt += kCipherHeaderSize;
    left -= kCipherHeaderSize;
  }
  const EntryResult broken = cipher ? EntryResult::BadPassword : EntryResult::Damaged;
  bool streamEnd = stored && left == 0;  // an empty stored file has no data at all
  InflateStream inflater;
  if (!stored && !inflater.Init()) return EntryResult::NoMemory;
  std::vector<std::uint8_t> in(static_cast<std::size_t>(std::min<std::uint64_t>(left, kInBlock)));
  std::vector<std::uint8_t> produced(stored ? 0 : kOutBlock);
  std::uint32_t crc = 0;
  std::uint64_t written = 0;
  bool sinkFailed = false;
  auto emit = [&](const std::uint8_t* data, std::size_t n) {
    // Never more than the directory promised: a lying size is a damaged entry, not a full disk.
    if (written + n > entry.size) return false;
    crc = Crc32(crc, data, n);
    written += n;
    if (!sink(data, n)) {
      sinkFailed = true;
      return false;
    }
    return true;
  };
  while (left > 0 && !streamEnd) {
    const std::size_t n = static_cast<std::size_t>(std::min<std::uint64_t>(left, in.size()));
    if (!source.Read(dataAt, in.data(), n)) return EntryResult::Damaged;
    dataAt += n;
    left -= n;
    if (cipher) cipher->Decrypt(in.data(), n);
    if (stored) {
      if (!emit(in.data(), n)) return sinkFailed ? EntryResult::WriteFailed : EntryResult::Damaged;
      streamEnd = left == 0;
      continue;
    }
    inflater.z.next_in = in.data();
    inflater.z.avail_in = static_cast<uInt>(n);
    do {
      inflater.z.next_out = produced.data();
      inflater.z.avail_out = static_cast<uInt>(produced.size());
      const int rc = inflate(&inflater.z, Z_NO_FLUSH);
      if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) return broken;
      const std::size_t got = produced.size() - inflater.z.avail_out;
      if (got && !emit(produced.data(), got)) return sinkFailed ? EntryResult::WriteFailed : EntryResult::Damaged;
      if (rc == Z_STREAM_END) streamEnd = true;
      if (rc == Z_BUF_ERROR && got == 0) break;
    } while (!streamEnd && (inflater.z.avail_in > 0 || inflater.z.avail_out == 0));
  }
  if (!streamEnd || written != entry.size || crc != entry.crc) return broken;
  return EntryResult::Ok;
}

}  // namespace pravik::core::zip
