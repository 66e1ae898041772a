#include "updater/zip_and_unzip.h"

#include <cstring>
#include <vector>

#include "updater/unzip/unzip_library.h"
#include "win32/app_error.h"
#include "win32/text.h"

namespace pravik::updater {
namespace {

// Run state shared with the callbacks of one extraction.
std::string g_password;  // ANSI bytes, kept from run to run
int g_noPassword = 0;

int Print(const char*, unsigned long) { return 0; }
int Replace(char*, unsigned) { return updater::unzip::kReplaceAll; }
void Message(std::uint32_t, std::uint32_t, unsigned, unsigned, unsigned, unsigned, unsigned, unsigned, char,
             const char*, const char*, std::uint32_t, char) {}
int Service(const char*, std::uint32_t) { return 0; }

int Password(char* buffer, int size, const char*, const char*) {
  if (g_noPassword == 1) return 1;
  if (g_password.empty()) {
    g_noPassword = 1;
    return 1;
  }
  // A password that does not fit the offered buffer is not cut short: it would be another password.
  if (size <= 0 || g_password.size() + 1 > static_cast<std::size_t>(size)) return 1;
  std::memset(buffer, 0, static_cast<std::size_t>(size));
  std::memcpy(buffer, g_password.data(), g_password.size());
  return 0;
}

}  // namespace

void KeepUnzipPassword(const std::wstring& password) {
  if (!password.empty()) g_password = win32::WideToAnsi(password);
}

int VBUnzip(const std::wstring& archive, const std::wstring& folder, const UnzipOptions& options) {
  try {
    g_noPassword = 0;
    const std::string archiveAnsi = win32::WideToAnsi(archive);
    const std::string folderAnsi = win32::WideToAnsi(folder);
    const updater::unzip::OptionRecord record{
        options.extractOnlyNewer, options.spaceToUnderscore, options.promptToOverwrite, options.quietLevel,
        options.writeToStdout,    options.testOnly,          options.listOnly,          options.freshenOnly,
        options.displayComment,   options.recreateFolders,   options.overwriteAll,      options.translateLineEnds,
        options.listInfo,         options.caseInsensitive,   options.restoreAcl,        archiveAnsi.c_str(),
        folderAnsi.c_str()};
    updater::unzip::CallbackRecord callbacks{&Print, nullptr, &Replace, &Password, &Message, &Service, 0, 0, 0, 0, 0};
    updater::unzip::VersionRecord version{};
    std::memset(version.betaLevel, ' ', sizeof(version.betaLevel) - 1);
    std::memset(version.date, ' ', sizeof(version.date) - 1);
    std::memset(version.zlibVersion, ' ', sizeof(version.zlibVersion) - 1);
    updater::unzip::UzpVersion2(&version);
    // Both name lists: 100 empty entries, counts 0: the whole archive.
    std::vector<char*> include(100, nullptr), exclude(100, nullptr);
    return updater::unzip::Wiz_SingleEntryUnzip(0, include.data(), 0, exclude.data(), &record, &callbacks);
  } catch (const std::exception& e) {
    const std::string what = e.what();
    throw win32::AppError(1, L"modZipAndUnzip::VBUnzip", std::wstring(what.begin(), what.end()));
  }
}

}  // namespace pravik::updater
