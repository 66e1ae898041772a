// Run by https-update.sh, which starts a loopback TLS server and hands over its address and the
// test root: the download is refused while the root is unknown, and goes through once it is trusted.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "testsupport/process.h"
#include "updater/update_engine.h"
#include "updater/installer_signature.h"
#include "updater/tests/event_log.h"
#include "win32/http/inet_transfer.h"
#include "win32/paths.h"
#include "win32/text.h"

namespace pravik::updater {
namespace {

std::string ReadFile(const std::wstring& path) {
  std::ifstream in(path.c_str(), std::ios::binary);
  std::stringstream s;
  s << in.rdbuf();
  return s.str();
}

std::wstring Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? win32::Utf8ToWide(value) : std::wstring();
}

// The test root into the machine's and the user's trusted roots. A process reads the root store
// once, so the downloads that rely on it run in a later process.
bool TrustRoot(const std::string& der) {
  bool all = true;
  for (DWORD location : {CERT_SYSTEM_STORE_LOCAL_MACHINE, CERT_SYSTEM_STORE_CURRENT_USER}) {
    HCERTSTORE store = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, location, L"Root");
    if (!store) return false;
    all = ::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, reinterpret_cast<const BYTE*>(der.data()),
                                             static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                             nullptr) && all;
    ::CertCloseStore(store, 0);
  }
  return all;
}

std::vector<std::wstring> Download(const std::wstring& url, const std::wstring& savePath) {
  EventLog log;
  UpdateEngine update(log);
  update.SetDownloadCheck(InstallerSignatureCheck(BuiltInReleaseKeys(), core::update::Version{1, 0, 0}));
  update.URL(url);
  update.SavePath(savePath);
  win32::http::InetControl inet;
  update.Download(inet);
  return log.lines;
}

// https-update.sh runs these three in order, each in a process of its own.
TEST(HttpsUpdateTest, DISABLED_1_AnUntrustedServerIsRefused) {
  const std::wstring url = Environment("PRAVIK_TLS_URL");
  ASSERT_FALSE(url.empty()) << "run through https-update.sh";
  const std::wstring savePath = testsupport::MakeTempFolder(L"https") + L"\\PravikUpdate.exe";
  const auto events = Download(url, savePath);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back().rfind(L"error ", 0), 0u) << win32::WideToUtf8(events.back());
  EXPECT_EQ(::GetFileAttributesW(savePath.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST(HttpsUpdateTest, DISABLED_2_TrustTheTestRoot) {
  const std::wstring root = Environment("PRAVIK_TLS_ROOT");
  ASSERT_FALSE(root.empty()) << "run through https-update.sh";
  EXPECT_TRUE(TrustRoot(ReadFile(root)));
}

TEST(HttpsUpdateTest, DISABLED_3_ASignedInstallerComesOverHttps) {
  const std::wstring url = Environment("PRAVIK_TLS_URL");
  ASSERT_FALSE(url.empty()) << "run through https-update.sh";
  const std::wstring savePath = testsupport::MakeTempFolder(L"https") + L"\\PravikUpdate.exe";
  const auto events = Download(url, savePath);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), L"complete") << win32::WideToUtf8(events.back());
  EXPECT_TRUE(ReadFile(savePath) == ReadFile(win32::ProgramFolder() + L"\\fake_installer.exe"));
  // The blocking fetch of the version and setting files goes over https the same way.
  const auto signature = win32::http::FetchUrl(url + L".sig");
  ASSERT_TRUE(signature.has_value());
  EXPECT_EQ(signature->status, 200u);
  EXPECT_EQ(signature->body.size(), ReadFile(win32::ProgramFolder() + L"\\fake_installer.exe.sig").size());
}

}  // namespace
}  // namespace pravik::updater
