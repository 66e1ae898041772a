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

// The decrypting thread and its rings of blocks (lanes). Decryption is a strictly serial chain over
// the bytes, slower than inflating and writing, so it runs beside the caller and ahead of it. The
// lane the caller reads holds its entry; the others hold the encrypted entries that follow it, in
// turn, which the worker guesses the caller will ask for next with the same password. All lanes are
// decrypted side by side in one loop, each a chain of its own, so a guess costs little as long as
// another lane goes on; alone it goes only a few blocks. Every block carries its job, and each job
// ends with a block of size 0 (or kFailed), so the caller skips what belongs to jobs it dropped. A
// waiting caller is woken for a few blocks at a time (each wake-up is a system call on the
// decrypting thread), and one by one only for the last.
class EntryReader::ReadAhead {
 public:
  explicit ReadAhead(ByteSource& source) : source_(source) {
    for (Lane& lane : lanes_) lane.ring = Buffer(kDepth * kBlock);
  }
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
    for (const Lane& lane : lanes_)
      if (!lane.ring) return false;
    try {
      worker_ = std::thread([this] { Work(); });
    } catch (const std::system_error&) {
      return false;
    }
    return true;
  }

  // The caller begins to read the stretch [at, at + left), decrypted by `cipher`: a job the worker
  // guessed when it is this one, else a new one. Its id.
  std::uint64_t Begin(std::uint64_t at, std::uint64_t left, std::uint16_t flags, std::string_view password,
                      TraditionalCipher cipher) {
    std::lock_guard<std::mutex> guard(lock_);
    std::size_t found = 1;
    while (found < chained_) {
      const Lane& lane = lanes_[order_[found]];
      // A guess whose size the directory gave must end where the caller's entry ends: what it
      // ended with would otherwise not be what the caller's entry ends with.
      if (lane.job && !lane.failed && lane.at == at && lane.password == password &&
          (!lane.sized || lane.end == at + left))
        break;
      ++found;
    }
    if (found < chained_) {
      // What is left of the entry before, and guesses the caller passed over, are dropped.
      for (std::size_t i = 0; i < found; ++i) Drop(lanes_[order_[i]]);
      std::copy(order_ + found, order_ + chained_, order_);
      chained_ -= found;
    } else {
      for (Lane& lane : lanes_) Drop(lane);
      order_[0] = 0;
      chained_ = 1;
      lanes_[0].job = ++lastId_;
      pending_.emplace(Job{lanes_[0].job, at, std::move(cipher)});
    }
    reading_ = order_[0];
    Lane& lane = lanes_[reading_];
    lane.guess = false;
    lane.end = at + left;
    if (chained_ == 1) {
      tail_ = After{lane.job, at + left, flags, std::string(password)};
      extend_ = true;
    }
    toWorker_.notify_one();
    return lane.job;
  }

  // The next block of job `id`, of which `bytesLeft` are still to come; nothing when the archive
  // could not be read. Valid until the next call or End.
  std::optional<Block> Next(std::uint64_t id, std::uint64_t bytesLeft) {
    std::unique_lock<std::mutex> guard(lock_);
    Release();
    if (bytesLeft == 0) return Block{nullptr, 0};  // a guessed job may go on past it
    Lane& lane = lanes_[reading_];
    for (;;) {
      while (lane.filled > lane.released && lane.tags[lane.released % kDepth] != id) Release(true);
      if (lane.filled > lane.released) break;
      const std::uint64_t ends = ends_;
      wanted_ = lane.released + (bytesLeft <= kBatch * kBlock ? 1 : kBatch);
      toCaller_.wait(guard, [&] { return lane.filled >= wanted_ || ends_ != ends || gone_; });
      wanted_ = 0;
      if (gone_ && lane.filled == lane.released) return std::nullopt;
    }
    const std::size_t slot = lane.released % kDepth;
    holding_ = true;
    if (lane.sizes[slot] == kFailed) return std::nullopt;
    const auto size = static_cast<std::size_t>(std::min<std::uint64_t>(lane.sizes[slot], bytesLeft));
    return Block{lane.ring.get() + slot * kBlock, size};
  }

  // The caller is done with job `id`; unless it read all of it the worker drops the rest.
  void End(std::uint64_t id, bool whole) {
    std::lock_guard<std::mutex> guard(lock_);
    Release();
    if (!whole && lanes_[reading_].job == id) {
      lanes_[reading_].job = 0;
      toWorker_.notify_one();
    }
  }

  static constexpr std::size_t kBlock = 32 * 1024;

 private:
  static constexpr std::size_t kLanes = TraditionalCipher::kMaxStreams;
  static constexpr std::size_t kDepth = 16, kBatch = 2, kGuessBlocks = 4;

  struct Job {
    std::uint64_t id, at;
    TraditionalCipher cipher;
    std::size_t blocks = 0;  // filled so far
  };
  // The last entry in the lanes, to guess the one after it from.
  struct After {
    std::uint64_t id, end;
    std::uint16_t flags;
    std::string password;
  };
  struct Lane {
    std::unique_ptr<std::uint8_t[]> ring;
    std::uint64_t tags[kDepth] = {};
    std::size_t sizes[kDepth] = {};
    std::uint64_t job = 0;  // the job the worker is to do here (any other it drops; 0: none)
    std::uint64_t end = 0;  // where that job's data ends (for a guess of unknown size, the archive's)
    std::uint64_t filled = 0, released = 0;  // blocks, counted from the start
    // A guess the caller has not taken up: where its data starts, the password it was made with,
    // whether a read of it failed, whether its end is the directory's.
    bool guess = false, failed = false, sized = false;
    std::uint64_t at = 0;
    std::string password;
  };
  // What the worker does with one lane in one round: its job, the slot and the end it reads to.
  struct Turn {
    Job* job = nullptr;
    std::size_t slot = 0, size = 0;
    std::uint64_t end = 0;
    std::uint8_t* data = nullptr;
  };
  using Jobs = std::optional<Job>[kLanes];  // the worker's, by lane

  // With the lock held: the worker stops the lane's job and the caller skips its blocks.
  static void Drop(Lane& lane) {
    lane.job = 0;
    lane.released = lane.filled;
  }

  // With the lock held: frees the block the caller holds (or, when `skipped`, the next one).
  void Release(bool skipped = false) {
    if (!skipped && !holding_) return;
    holding_ = false;
    ++lanes_[reading_].released;
    if (workerWaits_) toWorker_.notify_one();
  }

  // With the lock held: whether the worker may fill a block of lane `l` now. A guess goes only so
  // far alone: past a small entry's end the work would be lost, and it takes time the caller may
  // need on a busy machine. Beside another lane it is almost free.
  bool Fillable(const Jobs& work, std::size_t l, bool paired) const {
    const Lane& lane = lanes_[l];
    if (!work[l] || lane.filled - lane.released >= kDepth) return false;
    if (!lane.guess || work[l]->blocks < kGuessBlocks) return true;
    for (std::size_t other = 0; paired && other < kLanes; ++other)
      if (other != l && Fillable(work, other, false)) return true;
    return false;
  }

  void Work() {
    try {
      Jobs work;
      for (;;) {
        std::optional<After> after;
        Turn turns[kLanes];
        {
          std::unique_lock<std::mutex> guard(lock_);
          workerWaits_ = true;
          toWorker_.wait(guard, [&] {
            if (pending_) {
              work[0] = std::move(pending_);
              pending_.reset();
            }
            bool fillable = false;
            for (std::size_t l = 0; l < kLanes; ++l) {
              if (work[l] && lanes_[l].job != work[l]->id) work[l].reset();
              fillable = fillable || Fillable(work, l, true);
            }
            return stop_ || (extend_ && chained_ < kLanes) || fillable;
          });
          workerWaits_ = false;
          if (stop_) return;
          if (extend_ && chained_ < kLanes) {
            after = tail_;
            extend_ = false;
          } else {
            for (std::size_t l = 0; l < kLanes; ++l) {
              if (!Fillable(work, l, true)) continue;
              Lane& lane = lanes_[l];
              const std::size_t slot = lane.filled % kDepth;
              turns[l] = Turn{&*work[l], slot, 0, lane.end, lane.ring.get() + slot * kBlock};
            }
          }
        }
        if (after)
          GuessNext(*after, work);
        else
          Fill(turns, work);
      }
    } catch (...) {
      // Out of memory, or a source that throws: the caller's read fails instead of waiting forever.
      std::lock_guard<std::mutex> guard(lock_);
      gone_ = true;
      toCaller_.notify_one();
    }
  }

  // Reads the turns' blocks, decrypts them side by side and hands them over. Every job's blocks are
  // whole from its start (only its last is short), so the caller's sink gets the same pieces
  // whatever ran beside it. A lane at its end takes its turn alone (an end costs nothing).
  void Fill(Turn (&turns)[kLanes], Jobs& work) {
    std::uint64_t left[kLanes] = {};
    bool ending = false;
    for (std::size_t l = 0; l < kLanes; ++l) {
      if (!turns[l].job) continue;
      left[l] = turns[l].end > turns[l].job->at ? turns[l].end - turns[l].job->at : 0;
      ending = ending || left[l] == 0;
    }
    for (std::size_t l = 0; l < kLanes; ++l) {
      Turn& turn = turns[l];
      if (!turn.job) continue;
      if (ending && left[l] > 0) {
        turn.job = nullptr;
        continue;
      }
      turn.size = ReadBlock(source_, turn.job->at, left[l], nullptr, turn.data, kBlock);
    }
    // All the blocks' bytes up to the shortest block's end together, then the rest of the longer
    // ones together, and so on.
    for (std::size_t done = 0;;) {
      TraditionalCipher* ciphers[kLanes];
      std::uint8_t* data[kLanes];
      std::size_t count = 0, step = kBlock;
      for (Turn& turn : turns) {
        if (!turn.job || turn.size == kFailed || turn.size <= done) continue;
        ciphers[count] = &turn.job->cipher;
        data[count++] = turn.data + done;
        step = std::min(step, turn.size - done);
      }
      if (count == 0) break;
      TraditionalCipher::DecryptStreams(ciphers, data, count, step);
      done += step;
    }

    std::lock_guard<std::mutex> guard(lock_);
    if (stop_) return;
    for (std::size_t l = 0; l < kLanes; ++l) {
      const Turn& turn = turns[l];
      Lane& lane = lanes_[l];
      if (!turn.job || lane.job != turn.job->id) continue;
      // A guess of unknown size reads on to the archive's end until the caller tells the entry's:
      // the failed read may have been past it.
      if (turn.size == kFailed && lane.end < turn.end) continue;
      lane.tags[turn.slot] = turn.job->id;
      lane.sizes[turn.slot] = turn.size;
      ++lane.filled;
      ++turn.job->blocks;
      const bool last = turn.size == 0 || turn.size == kFailed;
      if (last) ++ends_;
      if (turn.size == kFailed) lane.failed = true;
      if (last || (l == reading_ && wanted_ && lane.filled >= wanted_)) toCaller_.notify_one();
      if (last) work[l].reset();
    }
  }

  // The encrypted entry after `after` (and its data descriptor), when one is there that the same
  // password opens; a few plain entries of known size (folders) are stepped over. It goes into a
  // free lane. Its size is in the directory (the local header of an entry whose sizes follow its
  // data has none); without it the guess reads on, and nothing is guessed after it.
  void GuessNext(const After& after, Jobs& work) {
    std::uint64_t at = after.end;
    std::uint16_t flags = after.flags;
    std::optional<LocalEntry> local;
    for (int hops = 0; hops < 4; ++hops) {
      if (flags & 0x0008) {
        std::uint8_t signature[4];
        if (!source_.Read(at, signature, sizeof(signature))) return;
        const bool marked =
            signature[0] == 0x50 && signature[1] == 0x4b && signature[2] == 0x07 && signature[3] == 0x08;
        at += marked ? 16 : 12;
      }
      local = ReadLocalEntry(source_, at);
      if (!local || local->entry.encrypted()) break;
      if (local->entry.sizesFollowData()) return;
      at = local->dataAt + local->entry.compressedSize;
      flags = local->entry.flags;
    }
    if (!local) return;
    const ZipEntry& next = local->entry;
    if (!next.encrypted() || source_.size() - local->dataAt < kCipherHeaderSize ||
        (next.method != static_cast<std::uint16_t>(Method::Stored) &&
         next.method != static_cast<std::uint16_t>(Method::Deflated)))
      return;
    std::uint8_t header[kCipherHeaderSize];
    if (!source_.Read(local->dataAt, header, sizeof(header))) return;
    TraditionalCipher cipher(after.password);
    if (!cipher.AcceptHeader(header, next.passwordCheck())) return;
    const ZipEntry* listed = Listed(at);
    const std::uint64_t end = listed && listed->compressedSize >= kCipherHeaderSize &&
                                      listed->compressedSize <= source_.size() - local->dataAt
                                  ? local->dataAt + listed->compressedSize
                                  : 0;

    std::lock_guard<std::mutex> guard(lock_);
    // The caller wants something else, or the lanes are full.
    if (stop_ || !tail_ || tail_->id != after.id || chained_ == kLanes) return;
    std::size_t l = 0;
    while (l < kLanes && std::find(order_, order_ + chained_, l) != order_ + chained_) ++l;
    Lane& lane = lanes_[l];
    Drop(lane);
    lane.job = ++lastId_;
    lane.end = end ? end : source_.size();
    lane.guess = true;
    lane.failed = false;
    lane.sized = end != 0;
    lane.at = local->dataAt + kCipherHeaderSize;
    lane.password = after.password;
    order_[chained_++] = l;
    work[l].emplace(Job{lane.job, lane.at, std::move(cipher)});
    tail_ = After{lane.job, end, listed ? listed->flags : next.flags, after.password};
    extend_ = end != 0;
  }

  // The directory's entry whose local header is at `offset`; read once, on the worker.
  const ZipEntry* Listed(std::uint64_t offset) {
    if (!directory_) {
      directory_ = ReadDirectory(source_);
      std::sort(directory_->entries.begin(), directory_->entries.end(),
                [](const ZipEntry& a, const ZipEntry& b) { return a.localHeaderOffset < b.localHeaderOffset; });
    }
    const auto& entries = directory_->entries;
    const auto it = std::lower_bound(entries.begin(), entries.end(), offset,
                                     [](const ZipEntry& e, std::uint64_t o) { return e.localHeaderOffset < o; });
    return it != entries.end() && it->localHeaderOffset == offset ? &*it : nullptr;
  }

  ByteSource& source_;
  Lane lanes_[kLanes];
  std::optional<ZipDirectory> directory_;  // the worker's own
  std::thread worker_;
  std::mutex lock_;
  std::condition_variable toWorker_, toCaller_;
  std::optional<Job> pending_;  // for the worker to take up, in lane 0
  // The lanes in the order of their entries: the one the caller reads first, then the guesses.
  std::size_t order_[kLanes] = {}, chained_ = 0, reading_ = 0;
  std::optional<After> tail_;  // the last of them
  bool extend_ = false;        // the worker is to guess after it
  // The last job id given; job ends filled, counted from the start; the count of blocks in the
  // caller's lane the waiting caller wants filled (0: none).
  std::uint64_t lastId_ = 0, ends_ = 0, wanted_ = 0;
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
