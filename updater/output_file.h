#pragma once
// The download's output file: created empty (an older, longer file is replaced as a whole), and
// removed again unless the download is kept, so a failed download leaves nothing behind.
#include <windows.h>

#include <cstdint>
#include <string>
#include <vector>

#include "win32/handles.h"

namespace pravik::updater {

class OutputFile {
 public:
  explicit OutputFile(std::wstring path);
  ~OutputFile();
  OutputFile(const OutputFile&) = delete;
  OutputFile& operator=(const OutputFile&) = delete;

  [[nodiscard]] bool valid() const noexcept { return file_.valid(); }
  [[nodiscard]] bool Write(const std::vector<std::uint8_t>& bytes);
  // Ends the writing and holds the file open for reading with writers and deleters locked out.
  // The handle stays valid until the object dies.
  [[nodiscard]] HANDLE LockForReading();
  // Keep the file on disk when the object dies.
  void Keep() noexcept { keep_ = true; }

 private:
  std::wstring path_;
  win32::FileHandle file_;
  bool created_ = false;
  bool keep_ = false;
};

}  // namespace pravik::updater
