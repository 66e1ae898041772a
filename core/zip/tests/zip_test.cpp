#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/zip/crc32.h"
#include "core/zip/entry_path.h"
#include "core/zip/tests/zip_builder.h"
#include "core/zip/traditional_cipher.h"
#include "core/zip/zip_directory.h"

namespace pravik::core::zip {
namespace {

// Sets a 32-bit field of the n-th central directory record (offset from the record's start).
void PatchCentral(std::string& archive, int n, std::size_t field, std::uint32_t value) {
  std::size_t at = 0;
  for (int i = 0; i <= n; ++i) at = archive.find("PK\x01\x02", i ? at + 4 : 0);
  for (int b = 0; b < 4; ++b) archive[at + field + b] = static_cast<char>(value >> (8 * b));
}
constexpr std::size_t kSizeField = 24, kOffsetField = 42;

std::string DataOf(MemorySource& source, const ZipEntry& entry) {
  const auto at = LocateData(source, entry);
  if (!at) return "<no data>";
  std::string data(entry.compressedSize, '\0');
  source.Read(*at, data.data(), data.size());
  return data;
}

TEST(Crc32Test, MatchesTheKnownCheckValue) {
  const std::string text = "123456789";
  EXPECT_EQ(Crc32(0, reinterpret_cast<const std::uint8_t*>(text.data()), text.size()), 0xCBF43926u);
}

TEST(ZipDirectoryTest, ListsEntriesAndFindsTheirData) {
  MemorySource source(ZipBuilder().Add("a.txt", "alpha").Add("dir/", "").Add("dir/b.bin", std::string(300, 'b')).Build());
  const ZipDirectory dir = ReadDirectory(source);
  ASSERT_EQ(dir.error, ZipError::None);
  ASSERT_EQ(dir.entries.size(), 3u);
  EXPECT_EQ(dir.entries[0].name, "a.txt");
  EXPECT_EQ(DataOf(source, dir.entries[0]), "alpha");
  EXPECT_TRUE(dir.entries[1].isFolder());
  EXPECT_EQ(DataOf(source, dir.entries[2]), std::string(300, 'b'));
}

TEST(ZipDirectoryTest, DamagedArchivesGiveErrorsNotReadsOutside) {
  const std::string good = ZipBuilder().Add("a.txt", "alpha").Add("b.txt", "beta").Build();
  struct Case {
    const char* name;
    std::string bytes;
    ZipError error;
  } cases[] = {
      {"empty", "", ZipError::NotAnArchive},
      {"text", "this is not a zip archive at all, just words", ZipError::NotAnArchive},
      {"cut in the directory", good.substr(0, good.size() - 30) + good.substr(good.size() - 22), ZipError::Damaged},
      {"directory offset past the end",
       good.substr(0, good.size() - 6) + std::string("\xff\xff\xff\x0f\0\0", 6), ZipError::Damaged},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    MemorySource source(c.bytes);
    EXPECT_EQ(ReadDirectory(source).error, c.error);
  }
}

TEST(ZipDirectoryTest, BombsAndOverlapsAreRefused) {
  // Found by fuzzing: an empty directory is read into an empty buffer (no copy into null).
  MemorySource empty(std::string("PK\x05\x06", 4) + std::string(18, '\0'));
  EXPECT_EQ(ReadDirectory(empty).error, ZipError::None);

  // One stretch of data listed twice (here: both entries point at the first local header).
  std::string twice = ZipBuilder().Add("a.txt", "alpha").Add("a.txt", "alpha").Build();
  PatchCentral(twice, 1, kOffsetField, 0);
  MemorySource overlapping(twice);
  EXPECT_EQ(ReadDirectory(overlapping).error, ZipError::Damaged);

  // The local header names another file than the directory.
  std::string renamed = ZipBuilder().Add("a.txt", "alpha").Build();
  renamed[30] = 'b';
  MemorySource disagreeing(renamed);
  EXPECT_EQ(ReadDirectory(disagreeing).error, ZipError::Damaged);

  // One entry claiming far more than 1000 bytes per byte held.
  std::string bomb = ZipBuilder().Add("big.bin", std::string(100, 'z')).Build();
  PatchCentral(bomb, 0, kSizeField, 100 * 1000 + 70000);
  MemorySource oneBomb(bomb);
  EXPECT_EQ(ReadDirectory(oneBomb).error, ZipError::TooLarge);

  // Right at the ratio passes.
  std::string fair = ZipBuilder().Add("fair.bin", std::string(100, 'z')).Build();
  PatchCentral(fair, 0, kSizeField, 100 * 1000);
  MemorySource atTheCap(fair);
  EXPECT_EQ(ReadDirectory(atTheCap).error, ZipError::None);
}

TEST(ZipDirectoryTest, DataClaimedPastTheEndIsNotLocated) {
  std::string bytes = ZipBuilder().Add("a.txt", "alpha").Build();
  MemorySource source(bytes);
  ZipEntry entry = ReadDirectory(source).entries.at(0);
  entry.compressedSize = 1 << 20;
  EXPECT_FALSE(LocateData(source, entry).has_value());
  entry.compressedSize = 5;
  entry.localHeaderOffset = 7;  // no local header there
  EXPECT_FALSE(LocateData(source, entry).has_value());
}

TEST(TraditionalCipherTest, TheRightPasswordOpensAndAWrongOneIsRefused) {
  MemorySource source(ZipBuilder().Add("secret.txt", "hidden words", "pass word").Build());
  const ZipEntry entry = ReadDirectory(source).entries.at(0);
  ASSERT_TRUE(entry.encrypted());
  const std::string raw = DataOf(source, entry);
  ASSERT_EQ(raw.size(), kCipherHeaderSize + 12);

  auto open = [&](const std::string& password, std::string* plain) {
    TraditionalCipher cipher(password);
    std::uint8_t header[kCipherHeaderSize];
    std::copy(raw.begin(), raw.begin() + kCipherHeaderSize, header);
    if (!cipher.AcceptHeader(header, entry.passwordCheck())) return false;
    *plain = raw.substr(kCipherHeaderSize);
    cipher.Decrypt(reinterpret_cast<std::uint8_t*>(plain->data()), plain->size());
    return true;
  };
  std::string plain;
  ASSERT_TRUE(open("pass word", &plain));
  EXPECT_EQ(plain, "hidden words");
  int accepted = 0;
  for (const char* wrong : {"password", "Pass word", "", "pass word ", "x"}) {
    std::string ignored;
    if (open(wrong, &ignored)) {
      ++accepted;
      EXPECT_NE(Crc32(0, reinterpret_cast<const std::uint8_t*>(ignored.data()), ignored.size()), entry.crc);
    }
  }
  EXPECT_LE(accepted, 1);
}

// Streams decrypted side by side, with different passwords and a length that is not a round
// number: each must come out exactly as alone, not with another's keys or bytes mixed in, and go on
// alone from where it was left.
TEST(TraditionalCipherTest, StreamsSideBySideDecryptAsEachAlone) {
  constexpr std::size_t kSize = 70001, kTogether = 50000;
  // More streams than the widest loop takes, too.
  constexpr std::size_t kMost = TraditionalCipher::kMaxStreams + 2;
  const char* passwords[kMost] = {"first", "second 비밀", "", "fourth", "fifth", "sixth"};
  std::string streams[kMost], alone[kMost];
  for (std::size_t s = 0; s < kMost; ++s) {
    streams[s].resize(kSize);
    for (std::size_t i = 0; i < kSize; ++i) streams[s][i] = static_cast<char>(i * (31 + 2 * s) + i / 977);
    alone[s] = streams[s];
    TraditionalCipher(passwords[s]).Decrypt(reinterpret_cast<std::uint8_t*>(alone[s].data()), kSize);
  }
  for (std::size_t count = 1; count <= kMost; ++count) {
    std::vector<TraditionalCipher> ciphers;
    std::vector<TraditionalCipher*> keys;
    std::vector<std::string> data(streams, streams + count);
    std::vector<std::uint8_t*> bytes;
    for (std::size_t s = 0; s < count; ++s) ciphers.emplace_back(passwords[s]);
    for (std::size_t s = 0; s < count; ++s) {
      keys.push_back(&ciphers[s]);
      bytes.push_back(reinterpret_cast<std::uint8_t*>(data[s].data()));
    }
    TraditionalCipher::DecryptStreams(keys.data(), bytes.data(), count, kTogether);
    for (std::size_t s = 0; s < count; ++s) {
      ciphers[s].Decrypt(bytes[s] + kTogether, kSize - kTogether);
      EXPECT_TRUE(data[s] == alone[s]) << count << " streams, stream " << s;
    }
  }
}

TEST(SafeRelativePathTest, KeepsNamesBelowTheTarget) {
  struct Case {
    const char* name;
    std::vector<std::string> steps;
  } cases[] = {
      {"a.txt", {"a.txt"}},
      {"dir/sub/a.txt", {"dir", "sub", "a.txt"}},
      {"dir\\sub\\a.txt", {"dir", "sub", "a.txt"}},
      {"dir/./a.txt", {"dir", "a.txt"}},
      {"dir//a.txt", {"dir", "a.txt"}},
      {"dir/", {"dir"}},
      {"..a/b..", {"..a", "b.."}},
      {"\xec\x97\x85\xeb\x8d\xb0\xec\x9d\xb4\xed\x8a\xb8.txt", {"\xec\x97\x85\xeb\x8d\xb0\xec\x9d\xb4\xed\x8a\xb8.txt"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto steps = SafeRelativePath(c.name);
    ASSERT_TRUE(steps.has_value());
    EXPECT_EQ(*steps, c.steps);
  }
}

TEST(SafeRelativePathTest, RefusesNamesThatReachOutside) {
  for (const char* name : {"../evil.txt", "..\\evil.txt", "a/../../evil.txt", "a\\..\\..\\evil.txt", "/etc/passwd",
                           "\\windows\\evil.dll", "C:\\evil.txt", "C:evil.txt", "c:/evil.txt", "\\\\server\\share\\x",
                           "//server/share/x", "a/.../b", "a/.. /b", "file.txt:stream", "CON", "dir/nul.txt",
                           "com1", "LPT9.log", "a\x01" "b", "", "a/b?.txt", "COM\xC2\xB9", "dir/lpt\xC2\xB2.txt",
                           "Com\xC2\xB3 .log"}) {
    SCOPED_TRACE(name);
    EXPECT_FALSE(SafeRelativePath(name).has_value());
  }
}

TEST(SafeRelativePathTest, OnlyPlainFoldersAreWrittenInto) {
  EXPECT_TRUE(IsPlainFolder(0x10));
  EXPECT_TRUE(IsPlainFolder(0x10 | 0x20));
  EXPECT_FALSE(IsPlainFolder(0xFFFFFFFF));   // attributes could not be read
  EXPECT_FALSE(IsPlainFolder(0x10 | 0x400));  // a junction or folder link
  EXPECT_FALSE(IsPlainFolder(0x20));          // a file
}

}  // namespace
}  // namespace pravik::core::zip
