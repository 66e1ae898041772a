#pragma once
// Reads a zip archive's central directory and locates each entry's data. Everything read from the
// archive is checked against the archive's size before use: a damaged or lying archive gives an
// error, never a read outside it.
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace pravik::core::zip {

// Random access to the archive's bytes.
class ByteSource {
 public:
  virtual ~ByteSource() = default;
  [[nodiscard]] virtual std::uint64_t size() const = 0;
  // Reads exactly `count` bytes at `offset`; false when that is not possible. An EntryReader
  // reading ahead calls it from its own thread while the caller may call it too.
  virtual bool Read(std::uint64_t offset, void* into, std::size_t count) = 0;
};

// An archive held in memory.
class MemorySource : public ByteSource {
 public:
  explicit MemorySource(std::string bytes) : bytes_(std::move(bytes)) {}
  [[nodiscard]] std::uint64_t size() const override { return bytes_.size(); }
  bool Read(std::uint64_t offset, void* into, std::size_t count) override;

 private:
  std::string bytes_;
};

enum class Method : std::uint16_t { Stored = 0, Deflated = 8 };

struct ZipEntry {
  std::string name;         // as stored: bytes of the archiver's code page, or UTF-8
  bool utf8Name = false;    // the name is UTF-8 (flag bit 11, or a matching Unicode path field)
  std::uint16_t flags = 0;
  std::uint16_t method = 0;
  std::uint16_t modTime = 0;
  std::uint16_t modDate = 0;
  std::uint32_t crc = 0;
  std::uint64_t compressedSize = 0;
  std::uint64_t size = 0;
  std::uint64_t localHeaderOffset = 0;

  [[nodiscard]] bool encrypted() const noexcept { return flags & 0x0001; }
  // Sizes and CRC follow the data: the cipher header then checks against the time.
  [[nodiscard]] bool sizesFollowData() const noexcept { return flags & 0x0008; }
  [[nodiscard]] bool isFolder() const noexcept {
    return !name.empty() && (name.back() == '/' || name.back() == '\\');
  }
  // The byte the cipher header's last byte must match.
  [[nodiscard]] std::uint8_t passwordCheck() const noexcept {
    return sizesFollowData() ? static_cast<std::uint8_t>(modTime >> 8) : static_cast<std::uint8_t>(crc >> 24);
  }
};

// TooLarge: the entries would write more than the caps below allow (a decompression bomb).
enum class ZipError { None, NotAnArchive, Damaged, Unsupported, TooLarge };

// What one archive may write: 4 GiB in all, and no more than 1000 bytes for each byte it holds,
// per entry and overall (small entries, up to kRatioFloor, are never held to the ratio).
inline constexpr std::uint64_t kMaxTotalSize = 4ULL << 30;
inline constexpr std::uint64_t kMaxRatio = 1000;
inline constexpr std::uint64_t kRatioFloor = 64 * 1024;

struct ZipDirectory {
  ZipError error = ZipError::None;
  std::vector<ZipEntry> entries;
};

// Besides the directory itself, every entry's local header must be there with the same name, and
// no two entries' headers and data may overlap (one stretch of bytes would be written many times).
ZipDirectory ReadDirectory(ByteSource& source);

// Where an entry's (possibly encrypted) data starts, after its local header; nothing when the
// local header is damaged or the data would reach past the end of the archive.
std::optional<std::uint64_t> LocateData(ByteSource& source, const ZipEntry& entry);

// The entry whose local header is at `offset`, as far as that header tells (flags, method, time,
// CRC and sizes as written there, unchecked; no name), and where its data starts; nothing when no
// local header is there or it reaches past the end of the archive.
struct LocalEntry {
  ZipEntry entry;
  std::uint64_t dataAt = 0;
};
std::optional<LocalEntry> ReadLocalEntry(ByteSource& source, std::uint64_t offset);

}  // namespace pravik::core::zip
