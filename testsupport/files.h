#pragma once
// Files for tests: whole-file reads and writes, fresh folders, and the build machine's paths as
// the programs under Wine see them.
#include <string>

namespace pravik::testsupport {

// The whole file as bytes; empty when it cannot be read.
std::string ReadFile(const std::wstring& path);
// Creates or replaces the file with exactly these bytes.
void WriteFile(const std::wstring& path, const std::string& bytes);
bool FileExists(const std::wstring& path);
// A fresh empty folder under the temp folder, for one test.
std::wstring MakeTempFolder(const std::wstring& hint);
// A path of the build machine ("/work/x") as Wine's programs reach it, through drive Z:.
std::wstring FromUnixPath(const std::string& unixPath);
// A file or folder of the source tree, spelled from its root ("updater/tests/data"); the root
// itself when empty.
std::wstring SourcePath(const std::string& relative = "");

}  // namespace pravik::testsupport
