// The zip layer's extraction, natively, for the benchmark against bsdtar: every entry of the
// archive read, decrypted and inflated by the core and written below the target folder.
//   zip_extract ARCHIVE TARGET [PASSWORD]
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <string>

#include "core/zip/entry_path.h"
#include "core/zip/entry_reader.h"
#include "core/zip/zip_directory.h"

namespace {

using namespace pravik::core::zip;

class FileSource : public ByteSource {
 public:
  explicit FileSource(int fd) : fd_(fd) {
    struct stat st {};
    if (::fstat(fd_, &st) == 0) size_ = static_cast<std::uint64_t>(st.st_size);
  }
  [[nodiscard]] std::uint64_t size() const override { return size_; }
  bool Read(std::uint64_t offset, void* into, std::size_t count) override {
    if (offset > size_ || count > size_ - offset) return false;
    auto* out = static_cast<char*>(into);
    while (count > 0) {
      const ssize_t n = ::pread(fd_, out, count, static_cast<off_t>(offset));
      if (n <= 0) return false;
      out += n;
      offset += static_cast<std::uint64_t>(n);
      count -= static_cast<std::size_t>(n);
    }
    return true;
  }

 private:
  int fd_;
  std::uint64_t size_ = 0;
};

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: zip_extract ARCHIVE TARGET [PASSWORD]\n");
    return 2;
  }
  const std::string password = argc > 3 ? argv[3] : "";
  const int fd = ::open(argv[1], O_RDONLY);
  if (fd < 0) return 2;
  FileSource source(fd);
  const ZipDirectory directory = ReadDirectory(source);
  if (directory.error != ZipError::None) return 3;
  EntryReader reader(source);
  for (const ZipEntry& entry : directory.entries) {
    const auto steps = SafeRelativePath(entry.name);
    if (!steps || steps->empty()) return 4;
    std::string path = argv[2];
    for (std::size_t i = 0; i < steps->size(); ++i) {
      path += "/" + (*steps)[i];
      if (i + 1 < steps->size() || entry.isFolder()) ::mkdir(path.c_str(), 0755);
    }
    if (entry.isFolder()) continue;
    const auto dataAt = LocateData(source, entry);
    if (!dataAt) return 3;
    const int out = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (out < 0) return 5;
    const EntryResult result = reader.Read(entry, *dataAt, password, [out](const std::uint8_t* d, std::size_t n) {
      while (n > 0) {
        const ssize_t w = ::write(out, d, n);
        if (w <= 0) return false;
        d += w;
        n -= static_cast<std::size_t>(w);
      }
      return true;
    });
    ::close(out);
    if (result != EntryResult::Ok) {
      std::fprintf(stderr, "%s: failed (%d)\n", entry.name.c_str(), static_cast<int>(result));
      return 6;
    }
  }
  return 0;
}
