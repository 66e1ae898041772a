// UnZipFiles on archives made by Debian's zip, damaged ones, and hostile names crafted here.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "testsupport/files.h"
#include "testsupport/process.h"
#include "updater/update_engine.h"
#include "updater/messages.h"
#include "updater/tests/event_log.h"
#include "win32/text.h"
#include "core/zip/tests/zip_builder.h"

namespace pravik::updater {
namespace {

const std::wstring kData = testsupport::SourcePath("updater/tests/data");

const wchar_t* const kTreeFiles[] = {L"top.txt", L"Graphics\\big.txt", L"Graphics\\icons\\start.png"};

class UnzipTest : public ::testing::Test {
 protected:
  void SetUp() override { target = testsupport::MakeTempFolder(L"unzip"); }
  std::vector<std::wstring> Unzip(const std::wstring& archive, const std::wstring& password = L"") {
    log.lines.clear();
    UpdateEngine update(log);
    update.ZipPath(archive);
    update.ExtractPath(target);
    update.Password(password);
    update.UnZipFiles();
    return log.lines;
  }
  void ExpectTree() {
    for (const wchar_t* file : kTreeFiles) {
      SCOPED_TRACE(win32::WideToUtf8(file));
      EXPECT_EQ(testsupport::ReadFile(target + L"\\" + file), testsupport::ReadFile(kData + L"\\expected\\" + file));
    }
  }

  EventLog log;
  std::wstring target;
  const std::vector<std::wstring> complete{L"unzip complete"};
};

TEST_F(UnzipTest, ArchivesFromZipExtractWithTheirFolders) {
  struct Case {
    const wchar_t* archive;
    const wchar_t* password;
  } cases[] = {{L"stored.zip", L""}, {L"deflated.zip", L""}, {L"protected.zip", L"secret pass"},
               {L"protected-stored.zip", L"secret pass"}};
  for (const Case& c : cases) {
    SCOPED_TRACE(win32::WideToUtf8(c.archive));
    target = testsupport::MakeTempFolder(L"unzip");
    EXPECT_EQ(Unzip(kData + L"\\" + c.archive, c.password), complete);
    ExpectTree();
  }
}

TEST_F(UnzipTest, APasswordIsKeptForLaterRunsAndAWrongOneFails) {
  EXPECT_EQ(Unzip(kData + L"\\protected.zip", L"secret pass"), complete);
  target = testsupport::MakeTempFolder(L"unzip");
  EXPECT_EQ(Unzip(kData + L"\\protected.zip"), complete);  // the empty Password keeps the last one
  ExpectTree();

  target = testsupport::MakeTempFolder(L"unzip");
  testsupport::WriteFile(target + L"\\top.txt", "kept");
  EXPECT_EQ(Unzip(kData + L"\\protected.zip", L"wrong pass"),
            std::vector<std::wstring>{std::wstring(L"unzip error ") + text::kBadPassword});
  EXPECT_EQ(testsupport::ReadFile(target + L"\\top.txt"), "kept");
  EXPECT_FALSE(testsupport::FileExists(target + L"\\Graphics\\big.txt"));
  Unzip(kData + L"\\protected.zip", L"secret pass");  // leave the right one for other tests
}

TEST_F(UnzipTest, ExistingFilesAreOverwrittenWithoutAQuestion) {
  testsupport::WriteFile(target + L"\\top.txt", std::string(50000, 'x'));
  ::CreateDirectoryW((target + L"\\Graphics").c_str(), nullptr);
  testsupport::WriteFile(target + L"\\Graphics\\big.txt", "old");
  EXPECT_EQ(Unzip(kData + L"\\deflated.zip"), complete);
  ExpectTree();
}

TEST_F(UnzipTest, DamagedArchivesAreReportedAndCostNothing) {
  for (const wchar_t* archive : {L"damaged-cut.zip", L"damaged-data.zip"}) {
    SCOPED_TRACE(win32::WideToUtf8(archive));
    target = testsupport::MakeTempFolder(L"unzip");
    ::CreateDirectoryW((target + L"\\Graphics").c_str(), nullptr);
    testsupport::WriteFile(target + L"\\Graphics\\big.txt", "the old file");
    EXPECT_EQ(Unzip(kData + L"\\" + archive),
              std::vector<std::wstring>{std::wstring(L"unzip error ") + text::kDamagedZip});
    EXPECT_EQ(testsupport::ReadFile(target + L"\\Graphics\\big.txt"), "the old file");
  }
  // A bomb (an entry claiming far more than 1000 bytes per byte held) and one stretch of data
  // listed under two names are refused whole, before anything is written.
  std::string bomb = core::zip::ZipBuilder().Add("bomb.bin", std::string(100, 'z')).Build();
  const std::size_t central = bomb.find("PK\x01\x02");
  bomb[central + 24 + 2] = '\x7F';  // declared size ~8 MB
  std::string twice = core::zip::ZipBuilder().Add("a.txt", "alpha").Add("b.txt", "alpha").Build();
  const std::size_t second = twice.find("PK\x01\x02", twice.find("PK\x01\x02") + 4);
  for (int b = 0; b < 4; ++b) twice[second + 42 + b] = '\0';  // b.txt's data is a.txt's
  for (const auto& [name, bytes] : {std::pair{L"bomb.zip", bomb}, std::pair{L"twice.zip", twice}}) {
    SCOPED_TRACE(win32::WideToUtf8(name));
    target = testsupport::MakeTempFolder(L"unzip");
    const std::wstring archive = target + L"\\" + name;
    testsupport::WriteFile(archive, bytes);
    EXPECT_EQ(Unzip(archive), std::vector<std::wstring>{std::wstring(L"unzip error ") + text::kDamagedZip});
    EXPECT_FALSE(testsupport::FileExists(target + L"\\bomb.bin"));
    EXPECT_FALSE(testsupport::FileExists(target + L"\\a.txt"));
  }
}

TEST_F(UnzipTest, NamesThatClimbOutAreNeverWrittenOutside) {
  const std::wstring outer = testsupport::MakeTempFolder(L"outer");
  target = outer + L"\\target";
  ::CreateDirectoryW(target.c_str(), nullptr);
  wchar_t temp[MAX_PATH];
  ::GetTempPathW(MAX_PATH, temp);
  const std::string tempAnsi = win32::WideToAnsi(temp);
  const std::string archiveBytes = core::zip::ZipBuilder()
                                       .Add("good.txt", "good")
                                       .Add("../evil-up.txt", "evil")
                                       .Add("..\\evil-back.txt", "evil")
                                       .Add("sub/../../evil-mid.txt", "evil")
                                       .Add("sub\\..\\..\\evil-midback.txt", "evil")
                                       .Add("/evil-root.txt", "evil")
                                       .Add("C:\\pravik-evil-drive.txt", "evil")
                                       .Add("C:pravik-evil-relative.txt", "evil")
                                       .Add(tempAnsi + "pravik-evil-absolute.txt", "evil")
                                       .Add("\\\\127.0.0.1\\c$\\pravik-evil-unc.txt", "evil")
                                       .Add("sub/fine.txt", "fine")
                                       .Build();
  const std::wstring archive = outer + L"\\hostile.zip";
  testsupport::WriteFile(archive, archiveBytes);
  EXPECT_EQ(Unzip(archive), std::vector<std::wstring>{std::wstring(L"unzip error ") + text::kUnsafeEntry});
  EXPECT_EQ(testsupport::ReadFile(target + L"\\good.txt"), "good");
  EXPECT_EQ(testsupport::ReadFile(target + L"\\sub\\fine.txt"), "fine");
  for (const std::wstring& evil :
       {outer + L"\\evil-up.txt", outer + L"\\evil-back.txt", outer + L"\\evil-mid.txt", outer + L"\\evil-midback.txt",
        std::wstring(L"C:\\evil-root.txt"), std::wstring(L"C:\\pravik-evil-drive.txt"),
        std::wstring(temp) + L"pravik-evil-absolute.txt", std::wstring(L"C:\\pravik-evil-unc.txt")}) {
    SCOPED_TRACE(win32::WideToUtf8(evil));
    EXPECT_FALSE(testsupport::FileExists(evil));
  }
  // Only what the archive may write, and the archive itself, are there.
  WIN32_FIND_DATAW found;
  HANDLE search = ::FindFirstFileW((outer + L"\\*").c_str(), &found);
  int names = 0;
  do {
    if (lstrcmpW(found.cFileName, L".") && lstrcmpW(found.cFileName, L"..")) ++names;
  } while (::FindNextFileW(search, &found));
  ::FindClose(search);
  EXPECT_EQ(names, 2);
}

TEST_F(UnzipTest, EmptyEntriesPlainAndEncrypted) {
  const std::wstring archive = target + L"\\empties.zip";
  testsupport::WriteFile(archive, core::zip::ZipBuilder()
                         .Add("plain-empty.txt", "")
                         .Add("sealed-empty.txt", "", "secret pass")
                         .Add("sealed.txt", "sealed words", "secret pass")
                         .Build());
  EXPECT_EQ(Unzip(archive, L"secret pass"), complete);
  for (const wchar_t* name : {L"plain-empty.txt", L"sealed-empty.txt"}) {
    SCOPED_TRACE(win32::WideToUtf8(name));
    EXPECT_TRUE(testsupport::FileExists(target + L"\\" + name));
    EXPECT_EQ(testsupport::ReadFile(target + L"\\" + name), "");
  }
  EXPECT_EQ(testsupport::ReadFile(target + L"\\sealed.txt"), "sealed words");
}

TEST_F(UnzipTest, MissingInputsAreNamedOneAtATime) {
  UpdateEngine update(log);
  update.UnZipFiles();
  update.ZipPath(target + L"\\none.zip");
  update.UnZipFiles();
  update.ExtractPath(target + L"\\no folder");
  update.UnZipFiles();
  update.ZipPath(kData + L"\\stored.zip");
  update.UnZipFiles();
  EXPECT_EQ(log.lines, (std::vector<std::wstring>{std::wstring(L"unzip error ") + text::kNoZipPath,
                                                  std::wstring(L"unzip error ") + text::kNoExtractPath,
                                                  std::wstring(L"unzip error ") + text::kZipNotFound,
                                                  std::wstring(L"unzip error ") + text::kFolderNotFound}));
}

}  // namespace
}  // namespace pravik::updater
