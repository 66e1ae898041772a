#pragma once
// Our own unzip layer, in the place of the outside unzip library: a version query and one
// extraction call that takes the option record (fifteen values and the two paths) and the callback
// record. Stored and deflated entries (zlib), traditional encryption, folders recreated below the
// target only, existing files replaced as a whole.
#include <cstdint>

namespace pravik::updater::unzip {

// The version record: 64 bytes, its length field first.
struct VersionRecord {
  std::uint32_t length = 64;
  std::uint32_t flags = 0;
  char betaLevel[10];
  char date[20];
  char zlibVersion[10];
  std::uint8_t unzip[4];
  std::uint8_t zipInfo[4];
  std::uint8_t os2Dll[4];
  std::uint8_t winDll[4];
};
static_assert(sizeof(VersionRecord) == 64);

// The option record: fifteen 32-bit values in this order, then the archive and the target folder
// as zero-terminated ANSI texts.
struct OptionRecord {
  std::int32_t extractOnlyNewer;
  std::int32_t spaceToUnderscore;
  std::int32_t promptToOverwrite;
  std::int32_t quietLevel;
  std::int32_t writeToStdout;
  std::int32_t testOnly;
  std::int32_t listOnly;
  std::int32_t freshenOnly;
  std::int32_t displayComment;
  std::int32_t recreateFolders;
  std::int32_t overwriteAll;
  std::int32_t translateLineEnds;
  std::int32_t listInfo;
  std::int32_t caseInsensitive;
  std::int32_t restoreAcl;
  const char* archive;
  const char* targetFolder;
};

// Answers of the replace callback.
inline constexpr int kReplaceNo = 100;
inline constexpr int kReplaceYes = 102;
inline constexpr int kReplaceAll = 103;
inline constexpr int kReplaceNone = 104;

struct CallbackRecord {
  int (*print)(const char* text, unsigned long size);
  int (*sound)();
  int (*replace)(char* fileName, unsigned size);
  // Fills buffer (size bytes) with a zero-terminated password and answers 0; answers 1 for none.
  int (*password)(char* buffer, int size, const char* prompt, const char* entryName);
  void (*message)(std::uint32_t size, std::uint32_t compressedSize, unsigned factor, unsigned month, unsigned day,
                  unsigned year, unsigned hour, unsigned minute, char check, const char* name, const char* method,
                  std::uint32_t crc, char encrypted);
  // Progress for one entry; a non-zero answer stops the run.
  int (*service)(const char* name, std::uint32_t size);
  std::uint32_t totalSizeCompressed;
  std::uint32_t totalSize;
  std::int32_t compressionFactor;
  std::uint32_t memberCount;
  std::uint16_t commentSize;
};

// Result codes of an extraction run.
enum Result : int {
  kOk = 0,
  kWarning = 1,        // something was skipped on request (freshen, newer, a "no" to replace)
  kDamaged = 2,        // not an archive, a damaged one, or an entry whose data does not check
  kNoMemory = 5,
  kNotFound = 9,       // the archive cannot be opened
  kNoFiles = 11,       // nothing matched the include list
  kBadOptions = 10,
  kUnsupported = 12,   // a method or format this layer does not read
  kAborted = 80,       // the service callback stopped the run
  kWriteFailed = 50,   // the target could not be written
  kBadPassword = 82,   // an encrypted entry and no right password
  kUnsafeName = 83,    // an entry whose name reaches outside the target was not written
};

void UzpVersion2(VersionRecord* version);
int Wiz_SingleEntryUnzip(int includeCount, char** includeList, int excludeCount, char** excludeList,
                         const OptionRecord* options, CallbackRecord* callbacks);

}  // namespace pravik::updater::unzip
