#include "updater/unzip/unzip_library.h"

#include <windows.h>
#include <zlib.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "win32/handles.h"
#include "win32/text.h"
#include "core/zip/entry_reader.h"
#include "core/zip/entry_path.h"
#include "core/zip/zip_directory.h"

namespace pravik::updater::unzip {
namespace {

constexpr int kPasswordTries = 3;
constexpr int kPasswordBufferSize = 81;

class FileSource : public core::zip::ByteSource {
 public:
  explicit FileSource(HANDLE file) : file_(file) {
    LARGE_INTEGER size{};
    ::GetFileSizeEx(file_, &size);
    size_ = static_cast<std::uint64_t>(size.QuadPart);
  }
  [[nodiscard]] std::uint64_t size() const override { return size_; }
  bool Read(std::uint64_t offset, void* into, std::size_t count) override {
    if (offset > size_ || count > size_ - offset) return false;
    auto* out = static_cast<char*>(into);
    while (count > 0) {
      OVERLAPPED at{};
      at.Offset = static_cast<DWORD>(offset);
      at.OffsetHigh = static_cast<DWORD>(offset >> 32);
      DWORD read = 0;
      const DWORD want = static_cast<DWORD>(std::min<std::size_t>(count, 1u << 30));
      if (!::ReadFile(file_, out, want, &read, &at) || read == 0) return false;
      out += read;
      offset += read;
      count -= read;
    }
    return true;
  }

 private:
  HANDLE file_;
  std::uint64_t size_ = 0;
};

std::wstring EntryNameWide(const core::zip::ZipEntry& entry) {
  // Names without the UTF-8 mark are in the archiver's OEM code page.
  return entry.utf8Name ? win32::Utf8ToWide(entry.name) : win32::AnsiToWide(entry.name, CP_OEMCP);
}

bool FileExists(const std::wstring& path) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

bool MakeFolders(const std::wstring& root, const std::vector<std::wstring>& steps, std::size_t count) {
  std::wstring path = root;
  for (std::size_t i = 0; i < count; ++i) {
    path += L"\\" + steps[i];
    if (!::CreateDirectoryW(path.c_str(), nullptr) && ::GetLastError() != ERROR_ALREADY_EXISTS) return false;
    if (!core::zip::IsPlainFolder(::GetFileAttributesW(path.c_str()))) return false;
  }
  return true;
}

bool SameName(const std::string& a, const std::string& b, bool ignoreCase) {
  if (!ignoreCase) return a == b;
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
         });
}

bool Listed(const std::string& name, int count, char** list, bool ignoreCase) {
  for (int i = 0; i < count; ++i)
    if (list && list[i] && SameName(name, list[i], ignoreCase)) return true;
  return false;
}

class Run {
 public:
  Run(const OptionRecord& options, CallbackRecord& callbacks, core::zip::ByteSource& source, std::wstring target)
      : options_(options), callbacks_(callbacks), source_(source), reader_(source), target_(std::move(target)) {}

  // Worst result of all entries.
  int result = kOk;

  void Note(int code) {
    if (code != kOk && (result == kOk || result == kWarning)) result = code;
  }

  // Returns false when the run must stop (the service callback said so).
  bool Entry(const core::zip::ZipEntry& entry);

 private:
  int Extract(const core::zip::ZipEntry& entry, const std::wstring& path);
  int Decode(const core::zip::ZipEntry& entry, std::uint64_t dataAt, HANDLE out, std::string_view password);
  bool AskPassword(const core::zip::ZipEntry& entry, std::string& password);

  const OptionRecord& options_;
  CallbackRecord& callbacks_;
  core::zip::ByteSource& source_;
  core::zip::EntryReader reader_;  // one for the run: it decrypts ahead into the next entry
  std::wstring target_;
  bool replaceAll_ = false;
  bool replaceNone_ = false;
};

bool Run::AskPassword(const core::zip::ZipEntry& entry, std::string& password) {
  if (!callbacks_.password) return false;
  char buffer[kPasswordBufferSize] = {};
  const std::string name = win32::WideToAnsi(EntryNameWide(entry));
  if (callbacks_.password(buffer, kPasswordBufferSize, "Enter password: ", name.c_str()) != 0) return false;
  buffer[kPasswordBufferSize - 1] = '\0';
  password = buffer;
  return true;
}

int Run::Decode(const core::zip::ZipEntry& entry, std::uint64_t dataAt, HANDLE out, std::string_view password) {
  const auto result = reader_.Read(entry, dataAt, password, [out](const std::uint8_t* data, std::size_t n) {
    DWORD w = 0;
    return !out || (::WriteFile(out, data, static_cast<DWORD>(n), &w, nullptr) && w == n);
  });
  switch (result) {
    case core::zip::EntryResult::Ok:
      return kOk;
    case core::zip::EntryResult::BadPassword:
      return kBadPassword;
    case core::zip::EntryResult::NoMemory:
      return kNoMemory;
    case core::zip::EntryResult::WriteFailed:
      return kWriteFailed;
    case core::zip::EntryResult::Unsupported:
      return kUnsupported;
    case core::zip::EntryResult::Damaged:
      break;
  }
  return kDamaged;
}

int Run::Extract(const core::zip::ZipEntry& entry, const std::wstring& path) {
  const auto dataAt = core::zip::LocateData(source_, entry);
  if (!dataAt) return kDamaged;
  if (entry.method != 0 && entry.method != 8) return kUnsupported;
  const bool writes = !options_.testOnly && !options_.listOnly;

  std::vector<std::string> passwords{std::string()};
  if (entry.encrypted()) {
    passwords.clear();
    for (int i = 0; i < kPasswordTries; ++i) {
      std::string password;
      if (!AskPassword(entry, password)) break;
      if (std::find(passwords.begin(), passwords.end(), password) != passwords.end()) break;  // asked again: same answer
      passwords.push_back(password);
    }
    if (passwords.empty()) return kBadPassword;
  }
  // Written beside the target under a passing name and moved over it only once it checks out,
  // so a bad entry never costs the file that was there.
  const std::wstring partial = path + L".unzip-partial";
  int code = kBadPassword;
  for (const std::string& password : passwords) {
    win32::FileHandle out;
    if (writes) {
      out.reset(::CreateFileW(partial.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
      if (!out) return kWriteFailed;
    }
    code = Decode(entry, *dataAt, out.get() == INVALID_HANDLE_VALUE ? nullptr : out.get(), password);
    if (code == kOk && out) {
      FILETIME local, utc;
      if (::DosDateTimeToFileTime(entry.modDate, entry.modTime, &local) && ::LocalFileTimeToFileTime(&local, &utc))
        ::SetFileTime(out.get(), nullptr, nullptr, &utc);
    }
    out.reset();
    if (code == kOk) {
      if (writes && !::MoveFileExW(partial.c_str(), path.c_str(), MOVEFILE_REPLACE_EXISTING)) {
        ::DeleteFileW(partial.c_str());
        return kWriteFailed;
      }
      return kOk;
    }
    if (writes) ::DeleteFileW(partial.c_str());
    if (code != kBadPassword) return code;
  }
  return code;
}

bool Run::Entry(const core::zip::ZipEntry& entry) {
  // Checked on the name as the platform will see it, in UTF-8 where no byte of a multi-byte
  // character can pass for a separator.
  const std::wstring wide = EntryNameWide(entry);
  auto steps = core::zip::SafeRelativePath(win32::WideToUtf8(wide));
  if (!steps || (steps->empty() && !entry.isFolder())) {
    Note(kUnsafeName);
    return true;
  }
  std::vector<std::wstring> wideSteps;
  for (const std::string& step : *steps) wideSteps.push_back(win32::Utf8ToWide(step));
  if (!options_.recreateFolders) {
    if (entry.isFolder()) return true;
    wideSteps.erase(wideSteps.begin(), wideSteps.end() - 1);
  }
  if (options_.spaceToUnderscore)
    for (auto& step : wideSteps) std::replace(step.begin(), step.end(), L' ', L'_');

  if (callbacks_.message) {
    const unsigned factor =
        entry.size ? static_cast<unsigned>(100 - std::min<std::uint64_t>(100, entry.compressedSize * 100 / entry.size)) : 0;
    const unsigned day = entry.modDate & 0x1F, month = (entry.modDate >> 5) & 0x0F, year = (entry.modDate >> 9) + 1980;
    const unsigned hour = entry.modTime >> 11, minute = (entry.modTime >> 5) & 0x3F;
    const std::string name = win32::WideToAnsi(wide);
    callbacks_.message(static_cast<std::uint32_t>(entry.size), static_cast<std::uint32_t>(entry.compressedSize),
                       factor, month, day, year, hour, minute, 'C', name.c_str(),
                       entry.method == 8 ? "Defl:N" : "Stored", entry.crc, entry.encrypted() ? 'E' : ' ');
  }
  if (callbacks_.service) {
    const std::string name = win32::WideToAnsi(wide);
    if (callbacks_.service(name.c_str(), static_cast<std::uint32_t>(entry.size)) != 0) {
      Note(kAborted);
      return false;
    }
  }
  if (options_.listOnly) return true;

  const bool writes = !options_.testOnly;
  if (entry.isFolder()) {
    if (writes && !MakeFolders(target_, wideSteps, wideSteps.size())) Note(kWriteFailed);
    return true;
  }
  std::wstring path = target_;
  for (const auto& step : wideSteps) path += L"\\" + step;
  if (writes) {
    if (!MakeFolders(target_, wideSteps, wideSteps.size() - 1)) {
      Note(kWriteFailed);
      return true;
    }
    const bool exists = FileExists(path);
    if (options_.freshenOnly && !exists) return true;
    if (exists && !options_.overwriteAll) {
      bool replace = replaceAll_;
      if (!replace && !replaceNone_ && options_.promptToOverwrite && callbacks_.replace) {
        std::string name = win32::WideToAnsi(path);
        name.resize(std::max<std::size_t>(name.size() + 1, MAX_PATH), '\0');
        const int answer = callbacks_.replace(name.data(), static_cast<unsigned>(name.size()));
        replaceAll_ = answer == kReplaceAll;
        replaceNone_ = answer == kReplaceNone;
        replace = answer == kReplaceYes || answer == kReplaceAll;
      }
      if (!replace) {
        Note(kWarning);
        return true;
      }
    }
  }
  Note(Extract(entry, path));
  return true;
}

}  // namespace

void UzpVersion2(VersionRecord* version) {
  if (!version || version->length < sizeof(VersionRecord)) return;
  version->flags = 1 | 2;  // unzip with decryption and zlib
  std::snprintf(version->betaLevel, sizeof(version->betaLevel), "%s", "release");
  std::snprintf(version->date, sizeof(version->date), "%s", "2026");
  std::snprintf(version->zlibVersion, sizeof(version->zlibVersion), "%s", zlibVersion());
  const std::uint8_t ours[4] = {1, 0, 0, 0};
  for (auto* field : {version->unzip, version->zipInfo, version->os2Dll, version->winDll}) std::memcpy(field, ours, 4);
}

int Wiz_SingleEntryUnzip(int includeCount, char** includeList, int excludeCount, char** excludeList,
                         const OptionRecord* options, CallbackRecord* callbacks) {
  if (!options || !callbacks || !options->archive || !options->targetFolder) return kBadOptions;
  const std::wstring archive = win32::AnsiToWide(options->archive);
  std::wstring target = win32::AnsiToWide(options->targetFolder);
  while (target.size() > 3 && (target.back() == L'\\' || target.back() == L'/')) target.pop_back();

  win32::FileHandle file(::CreateFileW(archive.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                     FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file) return kNotFound;
  FileSource source(file.get());
  const core::zip::ZipDirectory directory = core::zip::ReadDirectory(source);
  if (directory.error == core::zip::ZipError::Unsupported) return kUnsupported;
  if (directory.error != core::zip::ZipError::None) return kDamaged;

  callbacks->memberCount = static_cast<std::uint32_t>(directory.entries.size());
  Run run(*options, *callbacks, source, target);
  const bool ignoreCase = options->caseInsensitive != 0;
  int matched = 0;
  for (const core::zip::ZipEntry& entry : directory.entries) {
    const std::string name = win32::WideToAnsi(EntryNameWide(entry));
    if (includeCount > 0 && !Listed(name, includeCount, includeList, ignoreCase)) continue;
    if (excludeCount > 0 && Listed(name, excludeCount, excludeList, ignoreCase)) continue;
    ++matched;
    callbacks->totalSize += static_cast<std::uint32_t>(entry.size);
    callbacks->totalSizeCompressed += static_cast<std::uint32_t>(entry.compressedSize);
    if (!run.Entry(entry)) break;
  }
  if (includeCount > 0 && matched == 0) return kNoFiles;
  return run.result;
}

}  // namespace pravik::updater::unzip
