#pragma once
// Reads one entry's data: decrypts it (traditional encryption), inflates it (deflate) or takes it
// as stored, and hands the plain bytes on in order. The result is Ok only when the data ended
// where the archive said, had exactly the announced size and matched its CRC.
#include <cstddef>
#include <cstdint>
#include <functional>
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

}  // namespace pravik::core::zip
