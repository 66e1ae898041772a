#pragma once
// Reads one entry's data: decrypts it (traditional encryption), inflates it (deflate) or takes it
// as stored, and hands the plain bytes on in order. The result is Ok only when the data ended
// where the archive said, had exactly the announced size and matched its CRC.
#include <cstddef>
#include <cstdint>
#include <functional>
#include <memory>
#include <string_view>

#include "core/zip/zip_directory.h"

namespace pravik::core::zip {

enum class EntryResult { Ok, Damaged, BadPassword, NoMemory, WriteFailed, Unsupported };

// Receives the next plain bytes; false when they could not be written (the read stops).
using EntrySink = std::function<bool(const std::uint8_t* data, std::size_t size)>;

// `dataAt` is where LocateData found the entry's data. A wrong password shows as BadPassword,
// also when it slipped past the header's check byte and only the data gives it away.
EntryResult ReadEntryData(ByteSource& source, const ZipEntry& entry, std::uint64_t dataAt, std::string_view password,
                          const EntrySink& sink);

// Reads the entries of one archive one after another, each as ReadEntryData does. Encrypted data
// is decrypted on a second thread ahead of the caller; beside the caller's entry, that thread
// decrypts the encrypted entries whose local headers follow it (up to three, with the same
// password, their sizes from the archive's directory), side by side in one loop, so that the
// caller's next entries are under way while it still inflates and writes this one. Such a guess is
// used only when the caller asks for exactly its place with the same password, and dropped when the
// caller asks for anything else. The source is read from both threads at once. The thread ends
// with the reader, which must end before the source.
class EntryReader {
 public:
  explicit EntryReader(ByteSource& source);
  ~EntryReader();
  EntryReader(const EntryReader&) = delete;
  EntryReader& operator=(const EntryReader&) = delete;

  EntryResult Read(const ZipEntry& entry, std::uint64_t dataAt, std::string_view password, const EntrySink& sink);

 private:
  class ReadAhead;
  ByteSource& source_;
  std::unique_ptr<ReadAhead> ahead_;  // from the first encrypted entry on
  bool noThread_ = false;             // none could be started: decrypt in turn
};

}  // namespace pravik::core::zip
