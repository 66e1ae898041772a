// Molvane starts only what our release key signed: the honest installer goes through; altered,
// truncated, unsigned, foreign-signed or malformed ones end in one DownloadError and leave nothing.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "testsupport/files.h"
#include "testsupport/http_test_server.h"
#include "testsupport/process.h"
#include "updater/update_engine.h"
#include "updater/installer_signature.h"
#include "updater/messages.h"
#include "updater/tests/event_log.h"
#include "win32/handles.h"
#include "win32/paths.h"

namespace pravik::updater {
namespace {


std::string Fixture(const wchar_t* name) { return testsupport::ReadFile(win32::ProgramFolder() + L"\\" + name); }

const core::update::Version kInstalled{1, 0, 0};

class SignatureTest : public ::testing::Test {
 protected:
  void SetUp() override {
    installer = Fixture(L"fake_installer.exe");
    signature = Fixture(L"fake_installer.exe.sig");
    ASSERT_FALSE(installer.empty());
    ASSERT_GT(signature.size(), 64u);
    savePath = testsupport::MakeTempFolder(L"signed") + L"\\PravikUpdate.exe";
  }

  // Serves the installer and (when given) its signature; runs the engine with Molvane's check.
  std::vector<std::wstring> Download(const testsupport::HttpResponse& body, const std::optional<std::string>& sig,
                                     std::optional<core::update::Version> installed = kInstalled) {
    testsupport::HttpTestServer server;
    server.Route("/PravikSetup.exe", body);
    if (sig) {
      testsupport::HttpResponse signatureResponse;
      signatureResponse.body = *sig;
      server.Route("/PravikSetup.exe.sig", signatureResponse);
    }
    EventLog log;
    UpdateEngine update(log);
    update.SetDownloadCheck(InstallerSignatureCheck(BuiltInReleaseKeys(), installed));
    update.URL(server.Url("/PravikSetup.exe"));
    update.SavePath(savePath);
    win32::http::InetControl inet;
    update.Download(inet);
    return log.lines;
  }
  std::vector<std::wstring> Download(const std::string& body, const std::optional<std::string>& sig) {
    testsupport::HttpResponse response;
    response.body = body;
    return Download(response, sig);
  }

  std::string installer, signature;
  std::wstring savePath;
};

std::string Flip(std::string bytes, std::size_t at) {
  bytes[at] = static_cast<char>(bytes[at] ^ 0x01);
  return bytes;
}

TEST_F(SignatureTest, TheHonestInstallerIsCompleteAndKept) {
  const auto events = Download(installer, signature);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), L"complete");
  EXPECT_TRUE(testsupport::ReadFile(savePath) == installer);
}

TEST_F(SignatureTest, TamperedInstallersAreNeverCompleteAndNeverKept) {
  const std::string der = Fixture(L"fake_installer.exe.der.sig");
  ASSERT_GE(der.size(), 68u);
  testsupport::HttpResponse notFound;
  notFound.status = 404;
  notFound.reason = "Not Found";
  notFound.body = "<html><body>404 Not Found</body></html>";
  testsupport::HttpResponse page;
  page.body = "<html><body>Welcome to the free Wi-Fi</body></html>";
  testsupport::HttpResponse whole;
  whole.body = installer;

  struct Case {
    const char* name;
    testsupport::HttpResponse body;
    std::optional<std::string> sig;
    std::wstring message;
  };
  auto bytes = [](std::string b) {
    testsupport::HttpResponse r;
    r.body = std::move(b);
    return r;
  };
  const std::wstring invalid = text::kSignatureInvalid, malformed = text::kSignatureMalformed;
  const Case cases[] = {
      {"one bit flipped at the start", bytes(Flip(installer, 0)), signature, invalid},
      {"one bit flipped in the middle", bytes(Flip(installer, installer.size() / 2)), signature, invalid},
      {"one bit flipped at the end", bytes(Flip(installer, installer.size() - 1)), signature, invalid},
      {"truncated by one byte", bytes(installer.substr(0, installer.size() - 1)), signature, invalid},
      {"truncated by half", bytes(installer.substr(0, installer.size() / 2)), signature, invalid},
      {"bytes appended", bytes(installer + "MZ appended"), signature, invalid},
      {"an empty file", bytes(""), signature, text::kZeroSize},
      {"another file's valid signature", whole, Fixture(L"other-file.sig"), invalid},
      {"no signature", whole, std::nullopt, text::kSignatureMissing},
      {"an empty signature", whole, std::string(), malformed},
      {"a DER signature", whole, der, malformed},
      {"a signature one byte short", whole, signature.substr(0, signature.size() - 1), malformed},
      {"the bare signature of the old form", whole, signature.substr(signature.size() - 64), malformed},
      {"an older genuinely signed installer", whole, Fixture(L"fake_installer.exe.old.sig"), text::kNotNewer},
      {"a signature one byte long", whole, signature + "\x01", malformed},
      {"an all-zero signature", whole, std::string(64, '\0'), malformed},
      {"a signature by another key", whole, Fixture(L"fake_installer.exe.foreign.sig"), invalid},
      {"an HTML 404 page as the installer", notFound, signature, text::ServerRefused(404)},
      {"a captive portal page as the installer", page, signature, invalid},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const auto events = Download(c.body, c.sig);
    ASSERT_FALSE(events.empty());
    EXPECT_EQ(events.back(), L"error " + c.message);
    EXPECT_EQ(std::count(events.begin(), events.end(), L"complete"), 0);
    EXPECT_EQ(std::count_if(events.begin(), events.end(), [](const std::wstring& e) { return e.rfind(L"error", 0) == 0; }), 1);
    EXPECT_FALSE(testsupport::FileExists(savePath));
  }
  // With no installed version to compare with, nothing can be proved newer.
  EXPECT_EQ(Download(whole, signature, std::nullopt).back(), L"error " + std::wstring(text::kInstalledVersionUnknown));
  EXPECT_FALSE(testsupport::FileExists(savePath));
}

class SignedFileTest : public SignatureTest {
 protected:
  void SetUp() override {
    SignatureTest::SetUp();
    testsupport::WriteFile(savePath, installer);
    file.reset(::CreateFileW(savePath.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr));
    ASSERT_TRUE(file.valid());
    sig.assign(signature.begin(), signature.end());
  }
  win32::FileHandle file;
  std::vector<std::uint8_t> sig;
};

TEST_F(SignedFileTest, OnlyAnExactSuccessFromThePlatformCounts) {
  const auto keys = BuiltInReleaseKeys();
  EXPECT_EQ(VerifyFileSignature(file.get(), sig, keys, kInstalled), SignatureVerdict::Valid);
  // A success-class status that is not STATUS_SUCCESS (STATUS_PENDING here) proves nothing.
  const VerifyDigest pending = [](const core::download::RawPublicKey&, const std::uint8_t(&)[32],
                                  const std::vector<std::uint8_t>&) -> LONG { return 0x00000103; };
  EXPECT_EQ(VerifyFileSignature(file.get(), sig, keys, kInstalled, pending), SignatureVerdict::Invalid);
  EXPECT_EQ(VerifyFileSignature(file.get(), sig, {}, kInstalled), SignatureVerdict::VerifierUnavailable);
  // Signed as 9.9.0: not newer than an installed 9.9.0 or 10.0, newer than 9.8.12.
  EXPECT_EQ(VerifyFileSignature(file.get(), sig, keys, {9, 9, 0}), SignatureVerdict::NotNewer);
  EXPECT_EQ(VerifyFileSignature(file.get(), sig, keys, {10, 0}), SignatureVerdict::NotNewer);
  EXPECT_EQ(VerifyFileSignature(file.get(), sig, keys, {9, 8, 12}), SignatureVerdict::Valid);
}

TEST_F(SignedFileTest, RotatedKeysAreTriedInTurn) {
  auto keys = BuiltInReleaseKeys();
  ASSERT_FALSE(keys.empty());
  core::download::RawPublicKey retired = keys.front();
  retired[10] ^= 0xFF;
  keys.insert(keys.begin(), retired);
  EXPECT_EQ(VerifyFileSignature(file.get(), sig, keys, kInstalled), SignatureVerdict::Valid);
  EXPECT_EQ(VerifyFileSignature(file.get(), sig, {retired}, kInstalled), SignatureVerdict::Invalid);
}

TEST_F(SignedFileTest, TheLockedFileCannotBeSwappedWhileItIsHeld) {
  // The engine holds the download this way from the check to the start.
  HANDLE writer = ::CreateFileW(savePath.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                OPEN_EXISTING, 0, nullptr);
  EXPECT_EQ(writer, INVALID_HANDLE_VALUE);
  if (writer != INVALID_HANDLE_VALUE) ::CloseHandle(writer);
  EXPECT_FALSE(::MoveFileExW(savePath.c_str(), (savePath + L".old").c_str(), 0));
  EXPECT_FALSE(::DeleteFileW(savePath.c_str()));
}

}  // namespace
}  // namespace pravik::updater
