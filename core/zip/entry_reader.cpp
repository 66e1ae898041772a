#include "core/zip/entry_reader.h"

#include <zlib.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <mutex>
#include <new>
#include <optional>
#include <string>
#include <system_error>
#include <thread>
#include <utility>

#include "core/zip/crc32.h"
#include "core/zip/traditional_cipher.h"

namespace pravik::core::zip {
namespace {

// Large enough that reading, inflating and writing each cost little per byte.
constexpr std::size_t kInBlock = 64 * 1024, kOutBlock = 1024 * 1024;
constexpr std::size_t kFailed = SIZE_MAX;

// A buffer left uninitialised (it is always written before it is read); empty when out of memory.
std::unique_ptr<std::uint8_t[]> Buffer(std::size_t size) {
  return std::unique_ptr<std::uint8_t[]>(new (std::nothrow) std::uint8_t[size]);
}

struct Block {
  std::uint8_t* data;
  std::size_t size;  // 0 at the end of the data
};

// Reads and decrypts up to `most` bytes of the stretch [at, at + left) into `into` and moves past
// them: how many, or kFailed.
std::size_t ReadBlock(ByteSource& source, std::uint64_t& at, std::uint64_t& left, TraditionalCipher* cipher,
                      std::uint8_t* into, std::size_t most) {
  const auto n = static_cast<std::size_t>(std::min<std::uint64_t>(left, most));
  if (n == 0) return 0;
  if (!source.Read(at, into, n)) return kFailed;
  at += n;
  left -= n;
  if (cipher) cipher->Decrypt(into, n);
  return n;
}

struct InflateStream {
  z_stream z{};
  bool open = false;
  bool Init() { return open = inflateInit2(&z, -MAX_WBITS) == Z_OK; }
  ~InflateStream() {
    if (open) inflateEnd(&z);
  }
};

}  // namespace

// The decrypting thread and the ring of blocks it fills. Decryption is a strictly serial chain over
// the bytes, slower than inflating and writing, so it runs beside the caller and ahead of it. The
// worker takes one stretch (job) at a time; every block in the ring carries its job, and each job
// ends with a block of size 0 (or kFailed), so the caller skips what belongs to jobs it dropped.
// The caller is the faster of the two, so it is woken for a few blocks at a time (each wake-up is a
// system call on the decrypting thread), and one by one only for the last.
class EntryReader::ReadAhead {
 public:
  explicit ReadAhead(ByteSource& source) : source_(source), ring_(Buffer(kDepth * kBlock)) {}
  ~ReadAhead() {
    if (!worker_.joinable()) return;
    {
      std::lock_guard<std::mutex> guard(lock_);
      stop_ = true;
    }
    toWorker_.notify_one();
    worker_.join();
  }
  ReadAhead(const ReadAhead&) = delete;
  ReadAhead& operator=(const ReadAhead&) = delete;

  // The worker ended on an exception: the reader goes on without it.
  bool Gone() {
    std::lock_guard<std::mutex> guard(lock_);
    return gone_;
  }

  // False when there is no memory or no thread for it.
  bool Start() {
    if (!ring_) return false;
    try {
      worker_ = std::thread([this] { Work(); });
    } catch (const std::system_error&) {
      return false;
    }
    return true;
  }

  // The caller begins to read the stretch [at, at + left), decrypted by `cipher`: the job the
  // worker guessed when it is this one, else a new one. Its id.
  std::uint64_t Begin(std::uint64_t at, std::uint64_t left, std::uint16_t flags, std::string_view password,
                      TraditionalCipher cipher) {
    std::lock_guard<std::mutex> guard(lock_);
    end_ = at + left;
    if (guess_ && guess_->id == latest_ && failed_ != latest_ && guess_->at == at && guess_->password == password) {
      guess_.reset();
      toWorker_.notify_one();  // it may wait for room past the end it now knows
      return latest_;
    }
    guess_.reset();
    latest_ = ++lastId_;
    pending_.emplace(Job{latest_, at, flags, std::string(password), std::move(cipher)});
    released_ = filled_;  // all of other jobs
    toWorker_.notify_one();
    return latest_;
  }

  // The next block of job `id`, of which `bytesLeft` are still to come; nothing when the archive
  // could not be read. Valid until the next call or End.
  std::optional<Block> Next(std::uint64_t id, std::uint64_t bytesLeft) {
    std::unique_lock<std::mutex> guard(lock_);
    Release();
    if (bytesLeft == 0) return Block{nullptr, 0};  // a guessed job may go on past it
    for (;;) {
      while (filled_ > released_ && tags_[released_ % kDepth] != id) Release(true);
      if (filled_ > released_) break;
      const std::uint64_t ends = ends_;
      wanted_ = released_ + (bytesLeft <= kBatch * kBlock ? 1 : kBatch);
      toCaller_.wait(guard, [&] { return filled_ >= wanted_ || ends_ != ends || gone_; });
      wanted_ = 0;
      if (gone_ && filled_ == released_) return std::nullopt;
    }
    const std::size_t slot = released_ % kDepth;
    holding_ = true;
    if (sizes_[slot] == kFailed) return std::nullopt;
    const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(sizes_[slot], bytesLeft));
    return Block{ring_.get() + slot * kBlock, size};
  }

  // The caller is done with job `id`; unless it read all of it the worker drops the rest.
  void End(std::uint64_t id, bool whole) {
    std::lock_guard<std::mutex> guard(lock_);
    Release();
    if (!whole && latest_ == id) {
      latest_ = ++lastId_;
      toWorker_.notify_one();
    }
  }

  static constexpr std::size_t kBlock = 32 * 1024;

 private:
  static constexpr std::size_t kDepth = 16, kBatch = 2, kGuessBlocks = 4;

  struct Job {
    std::uint64_t id, at;
    std::uint16_t flags;
    std::string password;
    TraditionalCipher cipher;
  };
  struct Guess {
    std::uint64_t id, at;
    std::string password;
  };

  // With the lock held: frees the block the caller holds (or, when `skipped`, the next one).
  void Release(bool skipped = false) {
    if (!skipped && !holding_) return;
    holding_ = false;
    ++released_;
    if (workerWaits_) toWorker_.notify_one();
  }

  void Work() {
    try {
      std::optional<Job> job;
      for (;;) {
        if (!job) {
          std::unique_lock<std::mutex> guard(lock_);
          toWorker_.wait(guard, [this] { return stop_ || pending_; });
          if (stop_) return;
          job = std::move(pending_);
          pending_.reset();
        }
        job = Fill(*job) ? GuessNext(*job) : std::nullopt;
      }
    } catch (...) {
      // Out of memory, or a source that throws: the caller's read fails instead of waiting forever.
      std::lock_guard<std::mutex> guard(lock_);
      gone_ = true;
      toCaller_.notify_one();
    }
  }

  // Fills the ring with the job's blocks and its end; false when it was dropped, stopped or failed.
  bool Fill(Job& job) {
    for (std::size_t count = 0;; ++count) {
      std::size_t slot;
      std::uint64_t end;
      {
        std::unique_lock<std::mutex> guard(lock_);
        workerWaits_ = true;
        // A guess the caller has not taken up yet goes only so far: past a small entry's end the
        // work would be lost, and it takes time the caller may need on a busy machine.
        toWorker_.wait(guard, [&] {
          return stop_ || latest_ != job.id ||
                 (filled_ - released_ < kDepth && (count < kGuessBlocks || !guess_ || guess_->id != job.id));
        });
        workerWaits_ = false;
        if (stop_ || latest_ != job.id) return false;
        slot = filled_ % kDepth;
        end = end_;
      }
      std::uint64_t left = end > job.at ? end - job.at : 0;
      const std::size_t n = ReadBlock(source_, job.at, left, &job.cipher, ring_.get() + slot * kBlock, kBlock);
      std::lock_guard<std::mutex> guard(lock_);
      if (stop_ || latest_ != job.id) return false;
      // A guess reads on to the archive's end until the caller tells the entry's: the failed read
      // may have been past it.
      if (n == kFailed && end_ < end) continue;
      tags_[slot] = job.id;
      sizes_[slot] = n;
      ++filled_;
      const bool last = n == 0 || n == kFailed;
      if (last) ++ends_;
      if (n == kFailed) failed_ = job.id;
      if (last || (wanted_ && filled_ >= wanted_)) toCaller_.notify_one();
      if (last) {
        job.at = end_;
        return n == 0;
      }
    }
  }

  // The encrypted entry after the job's data (and its data descriptor), when one is there that the
  // same password opens; a few plain entries of known size (folders) are stepped over. Its size
  // shows only in the directory, so the guess reads on.
  std::optional<Job> GuessNext(const Job& done) {
    std::uint64_t at = done.at;
    std::uint16_t flags = done.flags;
    std::optional<LocalEntry> local;
    for (int hops = 0; hops < 4; ++hops) {
      if (flags & 0x0008) {
        std::uint8_t signature[4];
        if (!source_.Read(at, signature, sizeof(signature))) return std::nullopt;
        const bool marked =
            signature[0] == 0x50 && signature[1] == 0x4b && signature[2] == 0x07 && signature[3] == 0x08;
        at += marked ? 16 : 12;
      }
      local = ReadLocalEntry(source_, at);
      if (!local || local->entry.encrypted()) break;
      if (local->entry.sizesFollowData()) return std::nullopt;
      at = local->dataAt + local->entry.compressedSize;
      flags = local->entry.flags;
    }
    if (!local) return std::nullopt;
    const ZipEntry& next = local->entry;
    if (!next.encrypted() || source_.size() - local->dataAt < kCipherHeaderSize ||
        (next.method != static_cast<std::uint16_t>(Method::Stored) &&
         next.method != static_cast<std::uint16_t>(Method::Deflated)))
      return std::nullopt;
    std::uint8_t header[kCipherHeaderSize];
    if (!source_.Read(local->dataAt, header, sizeof(header))) return std::nullopt;
    TraditionalCipher cipher(done.password);
    if (!cipher.AcceptHeader(header, next.passwordCheck())) return std::nullopt;
    std::lock_guard<std::mutex> guard(lock_);
    if (stop_ || latest_ != done.id) return std::nullopt;  // the caller wants something else
    latest_ = ++lastId_;
    end_ = source_.size();
    guess_.emplace(Guess{latest_, local->dataAt + kCipherHeaderSize, done.password});
    return Job{latest_, local->dataAt + kCipherHeaderSize, next.flags, done.password, std::move(cipher)};
  }

  ByteSource& source_;
  std::unique_ptr<std::uint8_t[]> ring_;
  std::uint64_t tags_[kDepth] = {};
  std::size_t sizes_[kDepth] = {};
  std::thread worker_;
  std::mutex lock_;
  std::condition_variable toWorker_, toCaller_;
  std::optional<Job> pending_;  // for the worker to take up
  std::optional<Guess> guess_;  // the job the worker began on its own
  // Ids of jobs: the last given, the one the worker is to do (any other it drops), the last that
  // failed. Blocks filled and released, and job ends filled, counted from the start; the count the
  // waiting caller wants filled (0: none).
  std::uint64_t lastId_ = 0, latest_ = 0, failed_ = 0;
  std::uint64_t end_ = 0;  // where the latest job's data ends (for a guess, the archive's end)
  std::uint64_t filled_ = 0, released_ = 0, ends_ = 0, wanted_ = 0;
  bool holding_ = false, workerWaits_ = false, stop_ = false, gone_ = false;
};

EntryReader::EntryReader(ByteSource& source) : source_(source) {}
EntryReader::~EntryReader() = default;

EntryResult ReadEntryData(ByteSource& source, const ZipEntry& entry, std::uint64_t dataAt, std::string_view password,
                          const EntrySink& sink) {
  return EntryReader(source).Read(entry, dataAt, password, sink);
}

EntryResult EntryReader::Read(const ZipEntry& entry, std::uint64_t dataAt, std::string_view password,
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
    if (!source_.Read(dataAt, header, sizeof(header))) return EntryResult::Damaged;
    cipher.emplace(password);
    if (!cipher->AcceptHeader(header, entry.passwordCheck())) return EntryResult::BadPassword;
    dataAt += kCipherHeaderSize;
    left -= kCipherHeaderSize;
  }
  const EntryResult broken = cipher ? EntryResult::BadPassword : EntryResult::Damaged;
  bool streamEnd = stored && left == 0;  // an empty stored file has no data at all
  InflateStream inflater;
  if (!stored && !inflater.Init()) return EntryResult::NoMemory;
  const auto produced = stored ? nullptr : Buffer(kOutBlock);
  if (!stored && !produced) return EntryResult::NoMemory;

  // Encrypted data comes from the read-ahead thread, the rest is read here in turn.
  if (ahead_ && ahead_->Gone()) {
    ahead_.reset();
    noThread_ = true;
  }
  if (cipher && !ahead_ && !noThread_) {
    ahead_ = std::make_unique<ReadAhead>(source_);
    if (!ahead_->Start()) {
      ahead_.reset();
      noThread_ = true;
    }
  }
  struct Ahead {
    ReadAhead* reader;
    std::uint64_t id = 0, bytesLeft = 0;
    bool whole = false;
    ~Ahead() {
      if (reader) reader->End(id, whole);
    }
  } ahead{cipher ? ahead_.get() : nullptr};
  std::unique_ptr<std::uint8_t[]> buffer;
  if (ahead.reader) {
    ahead.id = ahead.reader->Begin(dataAt, left, entry.flags, password, std::move(*cipher));
    ahead.bytesLeft = left;
    cipher.reset();
  } else if (!(buffer = Buffer(kInBlock))) {
    return EntryResult::NoMemory;
  }
  auto next = [&]() -> std::optional<Block> {
    if (ahead.reader) {
      const auto block = ahead.reader->Next(ahead.id, ahead.bytesLeft);
      if (block) ahead.bytesLeft -= block->size;
      return block;
    }
    const std::size_t n = ReadBlock(source_, dataAt, left, cipher ? &*cipher : nullptr, buffer.get(), kInBlock);
    if (n == kFailed) return std::nullopt;
    return Block{buffer.get(), n};
  };

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
  while (!streamEnd) {
    const auto in = next();
    if (!in) return EntryResult::Damaged;
    if (in->size == 0) break;
    const std::size_t n = in->size;
    if (stored) {
      if (!emit(in->data, n)) return sinkFailed ? EntryResult::WriteFailed : EntryResult::Damaged;
      continue;
    }
    inflater.z.next_in = in->data;
    inflater.z.avail_in = static_cast<uInt>(n);
    do {
      inflater.z.next_out = produced.get();
      inflater.z.avail_out = static_cast<uInt>(kOutBlock);
      const int rc = inflate(&inflater.z, Z_NO_FLUSH);
      if (rc != Z_OK && rc != Z_STREAM_END && rc != Z_BUF_ERROR) return broken;
      const std::size_t got = kOutBlock - inflater.z.avail_out;
      if (got && !emit(produced.get(), got)) return sinkFailed ? EntryResult::WriteFailed : EntryResult::Damaged;
      if (rc == Z_STREAM_END) streamEnd = true;
      if (rc == Z_BUF_ERROR && got == 0) break;
    } while (!streamEnd && (inflater.z.avail_in > 0 || inflater.z.avail_out == 0));
  }
  if (stored) streamEnd = true;  // the reader ended where the archive said the data ends
  if (!streamEnd || written != entry.size || crc != entry.crc) return broken;
  ahead.whole = true;  // the worker may go on with the next entry
  return EntryResult::Ok;
}

}  // namespace pravik::core::zip
