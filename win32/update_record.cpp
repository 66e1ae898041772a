#include "win32/update_record.h"

#include <windows.h>

#include <aclapi.h>
#include <knownfolders.h>
#include <sddl.h>

#include <vector>

#include "win32/handles.h"
#include "win32/launch.h"
#include "win32/text.h"

namespace pravik::win32 {
namespace {

// Owner: Administrators. Protected: nothing inherited from the parent (ProgramData lets users
// create folders of their own). Full control for the system and administrators, read for users.
constexpr wchar_t kAdminOnly[] = L"O:BAD:P(A;OICI;FA;;;SY)(A;OICI;FA;;;BA)(A;OICI;0x1200a9;;;BU)";

struct LocalTraits {
  using Type = PSECURITY_DESCRIPTOR;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::LocalFree(h); }
};

bool IsLinkOrMissing(const std::wstring& path, bool folder) {
  const DWORD a = ::GetFileAttributesW(path.c_str());
  if (a == INVALID_FILE_ATTRIBUTES || (a & FILE_ATTRIBUTE_REPARSE_POINT)) return true;
  return folder != ((a & FILE_ATTRIBUTE_DIRECTORY) != 0);
}

ULONGLONG Now() {
  FILETIME now;
  ::GetSystemTimeAsFileTime(&now);
  return static_cast<ULONGLONG>(now.dwHighDateTime) << 32 | now.dwLowDateTime;
}

// Opens a file of the folder itself: a link, junction or second hard link planted under its
// name is removed and the file made anew, so a write never lands anywhere else.
FileHandle OpenOwnFile(const std::wstring& path, bool create) {
  for (int attempt = 0; attempt < 2; ++attempt) {
    FileHandle file(::CreateFileW(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                              create ? (attempt == 0 ? OPEN_ALWAYS : CREATE_NEW) : OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
    if (!file) return file;
    BY_HANDLE_FILE_INFORMATION info{};
    if (::GetFileInformationByHandle(file.get(), &info) && !(info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT) &&
        !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) && info.nNumberOfLinks == 1)
      return file;
    file.reset();
    if (!create) return FileHandle{};
    ::DeleteFileW(path.c_str());  // removes the link itself, never what it points at
  }
  return FileHandle{};
}

std::optional<std::string> ReadAll(HANDLE file, std::size_t cap) {
  std::string bytes;
  char buffer[4096];
  for (;;) {
    DWORD read = 0;
    if (!::ReadFile(file, buffer, sizeof buffer, &read, nullptr)) return std::nullopt;
    if (read == 0) return bytes;
    bytes.append(buffer, read);
    if (bytes.size() > cap) return std::nullopt;
  }
}

bool Replace(HANDLE file, const std::string& bytes) {
  if (::SetFilePointer(file, 0, nullptr, FILE_BEGIN) == INVALID_SET_FILE_POINTER) return false;
  DWORD written = 0;
  if (!bytes.empty() && (!::WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
                         written != bytes.size()))
    return false;
  return ::SetEndOfFile(file) != FALSE;
}

std::optional<std::wstring> FileInDataFolder(const wchar_t* name) {
  const auto folder = UpdateDataFolder();
  if (!folder) return std::nullopt;
  return *folder + L"\\" + name;
}

}  // namespace

std::optional<std::wstring> UpdateDataFolder() {
  const auto programData = KnownFolderPath(FOLDERID_ProgramData);
  if (!programData) return std::nullopt;
  const std::wstring folder = *programData + L"\\Pravik";
  UniqueHandle<LocalTraits> descriptor;
  if (!::ConvertStringSecurityDescriptorToSecurityDescriptorW(kAdminOnly, SDDL_REVISION_1, descriptor.put(), nullptr))
    return std::nullopt;
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor.get(), FALSE};
  if (!::CreateDirectoryW(folder.c_str(), &attributes)) {
    if (::GetLastError() != ERROR_ALREADY_EXISTS || IsLinkOrMissing(folder, true)) return std::nullopt;
    // Made before us, perhaps by a standard user: take it over for administrators, or do not use it.
    BOOL present = FALSE, defaulted = FALSE;
    PACL dacl = nullptr;
    PSID owner = nullptr;
    ::GetSecurityDescriptorDacl(descriptor.get(), &present, &dacl, &defaulted);
    ::GetSecurityDescriptorOwner(descriptor.get(), &owner, &defaulted);
    if (::SetNamedSecurityInfoW(const_cast<LPWSTR>(folder.c_str()), SE_FILE_OBJECT,
                                OWNER_SECURITY_INFORMATION | DACL_SECURITY_INFORMATION |
                                    PROTECTED_DACL_SECURITY_INFORMATION,
                                owner, nullptr, dacl, nullptr) != ERROR_SUCCESS)
      return std::nullopt;
  }
  if (IsLinkOrMissing(folder, true)) return std::nullopt;
  return folder;
}

void RecordHandOver(const std::wstring& announcement) {
  const auto path = FileInDataFolder(kUpdateRecordName);
  if (!path) return;
  const FileHandle file = OpenOwnFile(*path, true);
  if (file) (void)Replace(file.get(), std::to_string(Now()) + "\n" + WideToUtf8(announcement));
}

bool HandedOverRecently(const std::wstring& announcement) {
  const auto path = FileInDataFolder(kUpdateRecordName);
  if (!path) return false;
  const FileHandle file = OpenOwnFile(*path, false);
  if (!file) return false;
  const auto bytes = ReadAll(file.get(), 64 * 1024);
  if (!bytes) return false;
  const auto newline = bytes->find('\n');
  if (newline == std::string::npos || Utf8ToWide(bytes->substr(newline + 1)) != announcement) return false;
  ULONGLONG when = 0;
  for (std::size_t k = 0; k < newline; ++k) {
    const char c = (*bytes)[k];
    if (c < '0' || c > '9' || k >= 20) return false;
    when = when * 10 + static_cast<ULONGLONG>(c - '0');
  }
  const ULONGLONG now = Now();
  // A record from the future (a clock set back) counts as recent until its day has passed.
  return when > now ? when - now < kHandOverInterval100ns : now - when < kHandOverInterval100ns;
}

void LogUpdateAttempt(const std::wstring& address, const std::wstring& outcome) {
  const auto path = FileInDataFolder(kUpdateLogName);
  if (!path) return;
  const FileHandle file = OpenOwnFile(*path, true);
  if (!file) return;
  std::string log = ReadAll(file.get(), 4 * kUpdateLogMaxBytes).value_or(std::string());
  SYSTEMTIME t;
  ::GetSystemTime(&t);
  wchar_t when[32];
  ::wsprintfW(when, L"%04u-%02u-%02uT%02u:%02u:%02uZ", t.wYear, t.wMonth, t.wDay, t.wHour, t.wMinute, t.wSecond);
  // One line per attempt whatever the address holds.
  std::wstring line = std::wstring(when) + L"\t" + address.substr(0, 2048) + L"\t" + outcome;
  for (wchar_t& c : line)
    if (c == L'\r' || c == L'\n') c = L' ';
  log += WideToUtf8(line) + "\r\n";
  if (log.size() > kUpdateLogMaxBytes) {
    // Keep the newest half, from a line start.
    const auto cut = log.find('\n', log.size() - kUpdateLogMaxBytes / 2);
    log = cut == std::string::npos ? std::string() : log.substr(cut + 1);
  }
  (void)Replace(file.get(), log);
}

}  // namespace pravik::win32
