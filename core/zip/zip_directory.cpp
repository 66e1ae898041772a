#include "core/zip/zip_directory.h"

#include <algorithm>
#include <cstring>

#include "core/zip/crc32.h"

namespace pravik::core::zip {
namespace {

constexpr std::uint32_t kEndSignature = 0x06054b50;
constexpr std::uint32_t kCentralSignature = 0x02014b50;
constexpr std::uint32_t kLocalSignature = 0x04034b50;
constexpr std::size_t kEndSize = 22;
constexpr std::size_t kCentralSize = 46;
constexpr std::size_t kLocalSize = 30;
constexpr std::uint16_t kUnicodePathField = 0x7075;

std::uint16_t U16(const std::uint8_t* p) { return static_cast<std::uint16_t>(p[0] | p[1] << 8); }
std::uint32_t U32(const std::uint8_t* p) {
  return static_cast<std::uint32_t>(p[0]) | static_cast<std::uint32_t>(p[1]) << 8 |
         static_cast<std::uint32_t>(p[2]) << 16 | static_cast<std::uint32_t>(p[3]) << 24;
}

// The end-of-directory record: the last signature whose comment length fits the archive's end.
std::optional<std::uint64_t> FindEnd(ByteSource& source) {
  const std::uint64_t size = source.size();
  if (size < kEndSize) return std::nullopt;
  const std::uint64_t window = std::min<std::uint64_t>(size, kEndSize + 0xFFFF);
  std::vector<std::uint8_t> tail(static_cast<std::size_t>(window));
  if (!source.Read(size - window, tail.data(), tail.size())) return std::nullopt;
  for (std::size_t at = tail.size() - kEndSize + 1; at-- > 0;) {
    if (U32(&tail[at]) != kEndSignature) continue;
    if (at + kEndSize + U16(&tail[at + 20]) == tail.size()) return size - window + at;
  }
  return std::nullopt;
}

// The Unicode path extra field: version 1, the CRC of the stored name, then the UTF-8 name.
void ApplyUnicodePath(ZipEntry& entry, const std::uint8_t* extra, std::size_t length) {
  std::size_t at = 0;
  while (at + 4 <= length) {
    const std::uint16_t id = U16(extra + at);
    const std::uint16_t size = U16(extra + at + 2);
    if (at + 4 + size > length) return;
    if (id == kUnicodePathField && size >= 5 && extra[at + 4] == 1) {
      const auto* name = reinterpret_cast<const std::uint8_t*>(entry.name.data());
      if (U32(extra + at + 5) == Crc32(0, name, entry.name.size())) {
        entry.name.assign(reinterpret_cast<const char*>(extra + at + 9), size - 5);
        entry.utf8Name = true;
      }
      return;
    }
    at += 4 + size;
  }
}

// The local headers agree with the directory, the entries' stretches of the archive do not
// overlap nor reach into the directory, and the sizes keep within the caps.
// The fields central and local headers share, in the same order: flags, method, time, date, CRC,
// sizes.
void ReadSharedFields(ZipEntry& entry, const std::uint8_t* flags) {
  entry.flags = U16(flags);
  entry.method = U16(flags + 2);
  entry.modTime = U16(flags + 4);
  entry.modDate = U16(flags + 6);
  entry.crc = U32(flags + 8);
  entry.compressedSize = U32(flags + 12);
  entry.size = U32(flags + 16);
}

ZipError CheckLayout(ByteSource& source, const std::vector<ZipEntry>& entries, const std::vector<std::string>& storedNames,
                     std::uint64_t dirOffset) {
  struct Stretch {
    std::uint64_t begin, end;
  };
  std::vector<Stretch> stretches;
  stretches.reserve(entries.size());
  std::uint64_t total = 0;
  for (std::size_t i = 0; i < entries.size(); ++i) {
    const ZipEntry& entry = entries[i];
    std::uint8_t local[kLocalSize];
    if (!source.Read(entry.localHeaderOffset, local, kLocalSize) || U32(local) != kLocalSignature)
      return ZipError::Damaged;
    const std::size_t nameLength = U16(local + 26);
    const std::uint64_t dataAt = entry.localHeaderOffset + kLocalSize + nameLength + U16(local + 28);
    const std::uint64_t end = dataAt + entry.compressedSize;  // 32-bit fields: no overflow
    if (end > dirOffset) return ZipError::Damaged;
    if (nameLength != storedNames[i].size()) return ZipError::Damaged;
    std::string localName(nameLength, '\0');
    if (!source.Read(entry.localHeaderOffset + kLocalSize, localName.data(), nameLength) || localName != storedNames[i])
      return ZipError::Damaged;
    stretches.push_back({entry.localHeaderOffset, end});
    if (entry.size > kRatioFloor && entry.size / kMaxRatio > entry.compressedSize) return ZipError::TooLarge;
    total += entry.size;
    if (total > kMaxTotalSize) return ZipError::TooLarge;
  }
  if (total > kRatioFloor && total / kMaxRatio > source.size()) return ZipError::TooLarge;
  std::sort(stretches.begin(), stretches.end(), [](const Stretch& a, const Stretch& b) { return a.begin < b.begin; });
  for (std::size_t i = 1; i < stretches.size(); ++i)
    if (stretches[i].begin < stretches[i - 1].end) return ZipError::Damaged;
  return ZipError::None;
}

}  // namespace

bool MemorySource::Read(std::uint64_t offset, void* into, std::size_t count) {
  if (offset > bytes_.size() || count > bytes_.size() - offset) return false;
  if (count) std::memcpy(into, bytes_.data() + offset, count);  // an empty target may be null
  return true;
}

ZipDirectory ReadDirectory(ByteSource& source) {
  ZipDirectory directory;
  const auto end = FindEnd(source);
  if (!end) {
    directory.error = ZipError::NotAnArchive;
    return directory;
  }
  std::uint8_t record[kEndSize];
  source.Read(*end, record, kEndSize);
  const std::uint16_t count = U16(record + 10);
  const std::uint32_t dirSize = U32(record + 12);
  const std::uint32_t dirOffset = U32(record + 16);
  if (U16(record + 4) != 0 || U16(record + 6) != 0 || U16(record + 8) != count) {
    directory.error = ZipError::Unsupported;  // spanned archives
    return directory;
  }
  if (count == 0xFFFF || dirSize == 0xFFFFFFFF || dirOffset == 0xFFFFFFFF) {
    directory.error = ZipError::Unsupported;  // zip64
    return directory;
  }
  if (static_cast<std::uint64_t>(dirOffset) + dirSize > *end) {
    directory.error = ZipError::Damaged;
    return directory;
  }
  std::vector<std::uint8_t> central(dirSize);
  if (!source.Read(dirOffset, central.data(), central.size())) {
    directory.error = ZipError::Damaged;
    return directory;
  }
  std::vector<std::string> storedNames;
  std::size_t at = 0;
  for (std::uint16_t i = 0; i < count; ++i) {
    if (at + kCentralSize > central.size() || U32(&central[at]) != kCentralSignature) {
      directory.error = ZipError::Damaged;
      directory.entries.clear();
      return directory;
    }
    const std::uint8_t* h = &central[at];
    const std::size_t nameLength = U16(h + 28), extraLength = U16(h + 30), commentLength = U16(h + 32);
    if (at + kCentralSize + nameLength + extraLength + commentLength > central.size()) {
      directory.error = ZipError::Damaged;
      directory.entries.clear();
      return directory;
    }
    ZipEntry entry;
    ReadSharedFields(entry, h + 8);
    entry.localHeaderOffset = U32(h + 42);
    entry.name.assign(reinterpret_cast<const char*>(h + kCentralSize), nameLength);
    storedNames.push_back(entry.name);
    entry.utf8Name = entry.flags & 0x0800;
    if (!entry.utf8Name) ApplyUnicodePath(entry, h + kCentralSize + nameLength, extraLength);
    if (entry.compressedSize == 0xFFFFFFFF || entry.size == 0xFFFFFFFF || entry.localHeaderOffset == 0xFFFFFFFF) {
      directory.error = ZipError::Unsupported;
      directory.entries.clear();
      return directory;
    }
    directory.entries.push_back(std::move(entry));
    at += kCentralSize + nameLength + extraLength + commentLength;
  }
  directory.error = CheckLayout(source, directory.entries, storedNames, dirOffset);
  if (directory.error != ZipError::None) directory.entries.clear();
  return directory;
}

std::optional<std::uint64_t> LocateData(ByteSource& source, const ZipEntry& entry) {
  const auto local = ReadLocalEntry(source, entry.localHeaderOffset);
  if (!local || entry.compressedSize > source.size() - local->dataAt) return std::nullopt;
  return local->dataAt;
}

std::optional<LocalEntry> ReadLocalEntry(ByteSource& source, std::uint64_t offset) {
  std::uint8_t local[kLocalSize];
  if (!source.Read(offset, local, kLocalSize) || U32(local) != kLocalSignature) return std::nullopt;
  LocalEntry found;
  ReadSharedFields(found.entry, local + 6);
  found.entry.localHeaderOffset = offset;
  found.dataAt = offset + kLocalSize + U16(local + 26) + U16(local + 28);
  if (found.dataAt > source.size()) return std::nullopt;
  return found;
}

}  // namespace pravik::core::zip
