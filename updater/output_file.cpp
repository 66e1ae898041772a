#include "updater/output_file.h"

namespace pravik::updater {

OutputFile::OutputFile(std::wstring path) : path_(std::move(path)) {
  // No sharing while it is written: nobody reads a half-written installer.
  file_.reset(::CreateFileW(path_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  created_ = file_.valid();
}

OutputFile::~OutputFile() {
  file_.reset();
  if (created_ && !keep_) ::DeleteFileW(path_.c_str());
}

bool OutputFile::Write(const std::vector<std::uint8_t>& bytes) {
  if (bytes.empty()) return true;
  DWORD written = 0;
  return ::WriteFile(file_.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) &&
         written == bytes.size();
}

HANDLE OutputFile::LockForReading() {
  if (!file_) return INVALID_HANDLE_VALUE;
  file_.reset();
  // Readers (the started installer among them) may open it; writers, renames and deletes may not.
  file_.reset(::CreateFileW(path_.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr));
  return file_.get();
}

}  // namespace pravik::updater
