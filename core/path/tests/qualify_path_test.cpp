#include <gtest/gtest.h>

#include <set>

#include "core/path/qualify_path.h"

namespace pravik::core::path {
namespace {

// The folder tree's way: only what the platform calls a folder gains a separator.
TEST(QualifyPath, OnlyFoldersWithoutSeparatorGainOne) {
  const std::set<std::wstring> folders = {L"C:\\", L"C:\\Programs", L"C:\\Programs\\"};
  const FolderTest isFolder = [&](const std::wstring& p) { return folders.count(p) > 0; };
  struct Case {
    const wchar_t* in;
    const wchar_t* out;
  } cases[] = {
      {L"C:\\Programs", L"C:\\Programs\\"},
      {L"C:\\Programs\\", L"C:\\Programs\\"},
      {L"C:\\", L"C:\\"},
      {L"C:\\Programs\\Notepad.lnk", L"C:\\Programs\\Notepad.lnk"},  // a file never gets one
      {L"C:\\does not exist", L"C:\\does not exist"},
      {L"", L""},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.in);
    EXPECT_EQ(QualifyPath(c.in, isFolder), c.out);
  }
}

// The picker's way: whatever is not an existing file counts as a folder.
TEST(QualifyPath, PickerAddsSeparatorUnlessAFileExists) {
  const std::set<std::wstring> files = {L"C:\\boot.ini"};
  const FolderTest notAFile = [&](const std::wstring& p) { return files.count(p) == 0; };
  EXPECT_EQ(QualifyPath(L"C:\\boot.ini", notAFile), L"C:\\boot.ini");
  EXPECT_EQ(QualifyPath(L"C:\\Windows", notAFile), L"C:\\Windows\\");
  EXPECT_EQ(QualifyPath(L"C:\\", notAFile), L"C:\\");
  EXPECT_EQ(QualifyPath(L"C:\\missing.txt", notAFile), L"C:\\missing.txt\\");  // the existence test decides
}

}  // namespace
}  // namespace pravik::core::path
