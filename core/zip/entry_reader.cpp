#include "core/zip/entry_reader.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <system_error>
#include <thread>
#include <vector>

#include "core/zip/crc32.h"
#include "core/zip/traditional_cipher.h"

namespace pravik::core::zip {
namespace {

// Large enough that reading, inflating and writing each cost little per byte.
constexpr std::size_t kInBlock = 64 * 1024, kOutBlock = 1024 * 1024;

// Hands out an entry's data block by block, decrypted. Decryption is a strictly serial chain over
// the bytes, so for a large encrypted entry a second thread reads and decrypts ahead while the
// caller inflates and writes: the two overlap instead of adding up.
class BlockReader {
 public:
  BlockReader(ByteSource& source, std::uint64_t at, std::uint64_t left, std::optional<TraditionalCipher> cipher)
      : source_(source), at_(at), left_(left), cipher_(std::move(cipher)) {
    if (cipher_ && left_ > kInBlock) {
      try {
        worker_ = std::thread([this] { ReadAhead(); });
      } catch (const std::system_error&) {
        // No thread: read and decrypt in turn.
      }
    }
  }
  ~BlockReader() {
    if (!worker_.joinable()) return;
    {
      std::lock_guard<std::mutex> guard(lock_);
      stop_ = true;
    }
    changed_.notify_all();
    worker_.join();
  }
  BlockReader(const BlockReader&) = delete;
  BlockReader& operator=(const BlockReader&) = delete;

  // The next block (empty at the end of the data); nothing when the archive could not be read.
  std::optional<std::vector<std::uint8_t>> Next() {
    if (!worker_.joinable()) {
      std::vector<std::uint8_t> block;
      if (!ReadBlock(block)) return std::nullopt;
      return block;
    }
    std::unique_lock<std::mutex> guard(lock_);
    changed_.wait(guard, [this] { return !ready_.empty() || failed_ || finished_; });
    if (ready_.empty()) {
      if (failed_) return std::nullopt;
      return std::vector<std::uint8_t>{};
    }
    std::vector<std::uint8_t> block = std::move(ready_.front());
    ready_.pop_front();
    changed_.notify_all();
    return block;
  }

 private:
  static constexpr std::size_t kDepth = 4;  // blocks read ahead

  bool ReadBlock(std::vector<std::uint8_t>& block) {
    const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left_, kInBlock));
    block.resize(n);
    if (n == 0) return true;
    if (!source_.Read(at_, block.data(), n)) return false;
    at_ += n;
    left_ -= n;
    if (cipher_) cipher_->Decrypt(block.data(), n);
    return true;
  }

  void ReadAhead() {
    for (;;) {
      {
        std::unique_lock<std::mutex> guard(lock_);
        changed_.wait(guard, [this] { return stop_ || ready_.size() < kDepth; });
        if (stop_) return;
      }
      std::vector<std::uint8_t> block;
      const bool ok = ReadBlock(block);
      std::lock_guard<std::mutex> guard(lock_);
      if (!ok) failed_ = true;
      else if (block.empty()) finished_ = true;
      else ready_.push_back(std::move(block));
      changed_.notify_all();
      if (!ok || finished_) return;
    }
  }

  ByteSource& source_;
  std::uint64_t at_, left_;
  std::optional<TraditionalCipher> cipher_;
  std::thread worker_;
  std::mutex lock_;
  std::condition_variable changed_;
  std::deque<std::vector<std::uint8_t>> ready_;
  bool stop_ = false, failed_ = false, finished_ = false;
};

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
  BlockReader reader(source, dataAt, left, std::move(cipher));
  while (!streamEnd) {
    auto in = reader.Next();
    if (!in) return EntryResult::Damaged;
    if (in->empty()) break;
    const std::size_t n = in->size();
    if (stored) {
      if (!emit(in->data(), n)) return sinkFailed ? EntryResult::WriteFailed : EntryResult::Damaged;
      continue;
    }
    inflater.z.next_in = in->data();
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
  if (stored) streamEnd = true;  // the reader ended where the archive said the data ends
  if (!streamEnd || written != entry.size || crc != entry.crc) return broken;
  return EntryResult::Ok;
}

}  // namespace pravik::core::zip
