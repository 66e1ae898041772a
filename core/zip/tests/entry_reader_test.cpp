#include "core/zip/entry_reader.h"

#include <gtest/gtest.h>

#include <chrono>
#include <string>
#include <thread>
#include <tuple>
#include <utility>
#include <vector>

#include "core/zip/tests/zip_builder.h"

namespace pravik::core::zip {
namespace {

std::string Data(std::size_t n) {
  std::string data(n, '\0');
  for (std::size_t i = 0; i < n; ++i) data[i] = static_cast<char>((i * 7919 + i / 1000) % 256);
  return data;
}

// Fails every read that touches the byte at `bad`: a disk or share that goes away midway.
class FailingSource : public ByteSource {
 public:
  FailingSource(std::string bytes, std::uint64_t bad) : inner_(std::move(bytes)), bad_(bad) {}
  [[nodiscard]] std::uint64_t size() const override { return inner_.size(); }
  bool Read(std::uint64_t offset, void* into, std::size_t count) override {
    return (offset > bad_ || offset + count <= bad_) && inner_.Read(offset, into, count);
  }

 private:
  MemorySource inner_;
  std::uint64_t bad_;
};

struct Outcome {
  EntryResult result;
  std::string written;
};

Outcome Read(ByteSource& source, std::string_view password, std::size_t failWritesAfter = SIZE_MAX) {
  const ZipDirectory directory = ReadDirectory(source);
  EXPECT_EQ(directory.error, ZipError::None);
  const ZipEntry& entry = directory.entries.at(0);
  const auto at = LocateData(source, entry);
  EXPECT_TRUE(at.has_value());
  Outcome outcome;
  outcome.result = ReadEntryData(source, entry, *at, password, [&](const std::uint8_t* data, std::size_t n) {
    if (outcome.written.size() + n > failWritesAfter) return false;
    outcome.written.append(reinterpret_cast<const char*>(data), n);
    return true;
  });
  return outcome;
}

// A large encrypted entry goes through the read-ahead thread: every block in order, and every way
// out of it (wrong password, a full disk, a read that fails) ends the read with the right result.
TEST(EntryReaderTest, LargeEncryptedEntriesArriveWholeOrFailCleanly) {
  const std::string data = Data(700 * 1024 + 13);
  const std::string archive = ZipBuilder().Add("big.bin", data, "secret").Build();
  {
    MemorySource source(archive);
    const Outcome ok = Read(source, "secret");
    EXPECT_EQ(ok.result, EntryResult::Ok);
    EXPECT_TRUE(ok.written == data);
  }
  {
    MemorySource source(archive);
    EXPECT_EQ(Read(source, "wrong").result, EntryResult::BadPassword);
  }
  {
    MemorySource source(archive);
    const Outcome full = Read(source, "secret", 100 * 1024);
    EXPECT_EQ(full.result, EntryResult::WriteFailed);
    EXPECT_LE(full.written.size(), 100u * 1024);
  }
  {
    FailingSource source(archive, archive.size() / 2);
    EXPECT_EQ(Read(source, "secret").result, EntryResult::Damaged);
  }
}

// One reader for a whole archive decrypts ahead into the entry that follows, guessing that the same
// password opens it: whatever the caller asks for instead, in whatever order, and a guess whose read
// failed past the end of its entry, must not change a byte or a result.
TEST(EntryReaderTest, ReadingAheadIntoTheNextEntryNeverChangesAResult) {
  const std::string a = Data(150 * 1024 + 7), b = Data(90 * 1024 + 5) + "b", c = Data(40 * 1024 + 3) + "c";
  const std::string d = Data(120 * 1024) + "d";
  const std::string archive =
      ZipBuilder().Add("a", a, "secret").Add("b", b, "secret").Add("c", c, "other").Add("d", d, "secret").Build();
  MemorySource whole(archive);
  const ZipDirectory directory = ReadDirectory(whole);
  auto readAll = [&](ByteSource& source, std::vector<std::pair<std::size_t, std::string>> steps,
                     std::size_t failWritesAfter = SIZE_MAX, bool pause = false) {
    EntryReader reader(source);
    std::vector<Outcome> outcomes;
    for (const auto& [index, password] : steps) {
      // A caller that takes its time between entries lets the read ahead run as far as it can.
      if (pause) std::this_thread::sleep_for(std::chrono::milliseconds(20));
      const ZipEntry& entry = directory.entries.at(index);
      const auto at = LocateData(source, entry);
      Outcome outcome{EntryResult::Damaged, {}};
      if (at)
        outcome.result = reader.Read(entry, *at, password, [&](const std::uint8_t* data, std::size_t n) {
          if (outcome.written.size() + n > failWritesAfter) return false;
          outcome.written.append(reinterpret_cast<const char*>(data), n);
          return true;
        });
      outcomes.push_back(outcome);
    }
    return outcomes;
  };
  {
    MemorySource source(archive);
    const auto got = readAll(source, {{0, "secret"}, {1, "secret"}, {2, "secret"}, {2, "other"}, {3, "secret"},
                                      {1, "secret"}, {3, "wrong"}, {0, "secret"}});
    const EntryResult results[] = {EntryResult::Ok, EntryResult::Ok, EntryResult::BadPassword, EntryResult::Ok,
                                   EntryResult::Ok, EntryResult::Ok, EntryResult::BadPassword, EntryResult::Ok};
    const std::string* data[] = {&a, &b, nullptr, &c, &d, &b, nullptr, &a};
    for (std::size_t i = 0; i < got.size(); ++i) {
      EXPECT_EQ(got[i].result, results[i]) << i;
      if (data[i]) {
        EXPECT_TRUE(got[i].written == *data[i]) << i;
      }
    }
  }
  {
    // Several entries of one password are decrypted side by side, each guess leading to the next:
    // the caller skipping one, going back, or asking one of them with another password gets what
    // it would get reading them in turn.
    std::vector<std::string> parts;
    ZipBuilder builder;
    for (std::size_t i = 0; i < 5; ++i) {
      const std::string name(1, static_cast<char>('p' + i));
      parts.push_back(Data(30 * 1024 * (i + 1) + i) + name);
      builder.Add(name, parts.back(), "secret");
    }
    const std::string same = builder.Build();
    MemorySource listing(same);
    const ZipDirectory list = ReadDirectory(listing);
    using Step = std::tuple<std::size_t, const char*, EntryResult>;
    auto run = [&](ByteSource& source, const std::vector<Step>& steps, bool pause) {
      EntryReader reader(source);
      for (const auto& [index, password, expected] : steps) {
        if (pause) std::this_thread::sleep_for(std::chrono::milliseconds(20));
        const ZipEntry& entry = list.entries.at(index);
        std::string written;
        const EntryResult result = reader.Read(entry, *LocateData(source, entry), password,
                                               [&](const std::uint8_t* data, std::size_t n) {
                                                 written.append(reinterpret_cast<const char*>(data), n);
                                                 return true;
                                               });
        EXPECT_EQ(result, expected) << index << password << pause;
        if (expected == EntryResult::Ok) {
          EXPECT_TRUE(written == parts[index]) << index << pause;
        }
      }
    };
    const EntryResult ok = EntryResult::Ok;
    for (const bool pause : {false, true}) {
      MemorySource source(same);
      run(source,
          {{0, "secret", ok}, {2, "secret", ok}, {3, "wrong", EntryResult::BadPassword}, {3, "secret", ok},
           {1, "secret", ok}, {2, "secret", ok}, {4, "secret", ok}},
          pause);
    }
    // A read that fails in the middle of a guessed entry: that entry is damaged, the one guessed
    // after it is not.
    const std::uint64_t bad = *LocateData(listing, list.entries.at(3)) + list.entries.at(3).compressedSize / 2;
    for (const bool pause : {false, true}) {
      FailingSource source(same, bad);
      run(source, {{0, "secret", ok}, {1, "secret", ok}, {2, "secret", ok}, {3, "secret", EntryResult::Damaged},
                   {4, "secret", ok}},
          pause);
    }
  }
  {
    // A full disk in the middle of one entry; the next one still arrives whole.
    MemorySource source(archive);
    const auto got = readAll(source, {{0, "secret"}, {1, "secret"}}, 100 * 1024);
    EXPECT_EQ(got[0].result, EntryResult::WriteFailed);
    EXPECT_EQ(got[1].result, EntryResult::Ok);
    EXPECT_TRUE(got[1].written == b);
  }
  {
    // The archive cannot be read from c's local header on: a read ahead of b runs into it.
    for (const bool pause : {false, true}) {
      FailingSource source(archive, directory.entries.at(2).localHeaderOffset);
      const auto got = readAll(source, {{0, "secret"}, {1, "secret"}}, SIZE_MAX, pause);
      EXPECT_EQ(got[0].result, EntryResult::Ok);
      EXPECT_EQ(got[1].result, EntryResult::Ok);
      EXPECT_TRUE(got[1].written == b);
    }
  }
}

TEST(EntryReaderTest, StoredPlainEntryAndSizesThatLie) {
  const std::string data = Data(200 * 1024);
  MemorySource source(ZipBuilder().Add("plain.bin", data).Build());
  const Outcome ok = Read(source, "");
  EXPECT_EQ(ok.result, EntryResult::Ok);
  EXPECT_TRUE(ok.written == data);

  // The directory promises one byte less than the data holds: never written past the promise.
  std::string archive = ZipBuilder().Add("plain.bin", data).Build();
  const std::size_t central = archive.rfind(std::string("\x50\x4b\x01\x02", 4));
  const std::size_t promised = data.size() - 1;
  for (int i = 0; i < 4; ++i) archive[central + 24 + i] = static_cast<char>(promised >> (8 * i));  // uncompressed size
  MemorySource lying(archive);
  const Outcome cut = Read(lying, "");
  EXPECT_EQ(cut.result, EntryResult::Damaged);
  EXPECT_LT(cut.written.size(), data.size());
}

}  // namespace
}  // namespace pravik::core::zip
