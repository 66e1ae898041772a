#include "testsupport/files.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "win32/text.h"

namespace pravik::testsupport {

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

void WriteFile(const std::wstring& path, const std::string& bytes) {
  std::ofstream(path.c_str(), std::ios::binary) << bytes;
}

bool FileExists(const std::wstring& path) { return ::GetFileAttributesW(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

std::wstring MakeTempFolder(const std::wstring& hint) {
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  std::wstring folder = std::wstring(temp) + L"pravik-" + hint + L"-" + std::to_wstring(::GetCurrentProcessId()) +
                        L"-" + std::to_wstring(::GetTickCount64());
  ::CreateDirectoryW(folder.c_str(), nullptr);
  return folder;
}

std::wstring FromUnixPath(const std::string& unixPath) {
  std::wstring path = win32::Utf8ToWide(unixPath);
  for (auto& c : path)
    if (c == L'/') c = L'\\';
  return L"Z:" + path;
}

std::wstring SourcePath(const std::string& relative) {
  return FromUnixPath(relative.empty() ? std::string(PRAVIK_SOURCE_DIR) : PRAVIK_SOURCE_DIR "/" + relative);
}

}  // namespace pravik::testsupport
