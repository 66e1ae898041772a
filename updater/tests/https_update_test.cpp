// An update over https:// against a loopback TLS server. Its own program, run only by
// https-update.sh, which starts the server and hands over its address and the test root: once the
// root is trusted the signed installer comes through, and once it is removed again the same
// download is refused. The root is removed from the prefix whatever the outcome.
#include <gtest/gtest.h>
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <cstdlib>
#include <string>
#include <vector>

#include "testsupport/files.h"
#include "testsupport/process.h"
#include "updater/installer_signature.h"
#include "updater/tests/event_log.h"
#include "updater/update_engine.h"
#include "win32/http/inet_transfer.h"
#include "win32/paths.h"
#include "win32/text.h"

namespace pravik::updater {
namespace {

std::wstring Environment(const char* name) {
  const char* value = std::getenv(name);
  return value ? win32::Utf8ToWide(value) : std::wstring();
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

// The test root in the machine's and the user's trusted roots for as long as it lives.
class TrustedRoot {
 public:
  explicit TrustedRoot(const std::string& der) : der_(der) {}
  TrustedRoot(const TrustedRoot&) = delete;
  TrustedRoot& operator=(const TrustedRoot&) = delete;
  ~TrustedRoot() { Remove(); }

  bool Add() {
    bool all = true;
    for (DWORD location : kLocations) {
      HCERTSTORE store = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_W, 0, 0, location, L"Root");
      if (!store) return false;
      all = ::CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, Bytes(), Size(),
                                               CERT_STORE_ADD_REPLACE_EXISTING, nullptr) &&
            all;
      ::CertCloseStore(store, 0);
    }
    return all;
  }

  // True when the root is in neither store afterwards. The registry's physical store: deleting
  // through the logical one leaves the machine's copy in place under Wine.
  bool Remove() {
    bool all = true;
    for (DWORD location : kLocations) {
      HCERTSTORE store = ::CertOpenStore(CERT_STORE_PROV_SYSTEM_REGISTRY_W, 0, 0, location, L"Root");
      if (!store) {
        all = false;
        continue;
      }
      PCCERT_CONTEXT mine = ::CertCreateCertificateContext(X509_ASN_ENCODING, Bytes(), Size());
      if (mine) {
        // Deleting frees the context found; the search goes on from the start.
        while (PCCERT_CONTEXT found = ::CertFindCertificateInStore(store, X509_ASN_ENCODING, 0, CERT_FIND_EXISTING,
                                                                   mine, nullptr))
          if (!::CertDeleteCertificateFromStore(found)) {
            all = false;
            break;
          }
        ::CertFreeCertificateContext(mine);
      } else {
        all = false;
      }
      ::CertCloseStore(store, 0);
    }
    return all;
  }

 private:
  static constexpr DWORD kLocations[] = {CERT_SYSTEM_STORE_LOCAL_MACHINE, CERT_SYSTEM_STORE_CURRENT_USER};
  const BYTE* Bytes() const { return reinterpret_cast<const BYTE*>(der_.data()); }
  DWORD Size() const { return static_cast<DWORD>(der_.size()); }
  std::string der_;
};

// A process reads the trusted roots once: a download that must see a changed store runs in a
// child, this program started with "--download URL SAVE_PATH". Its exit code: 0 complete, 1 refused
// with an error event, 2 anything else.
int ChildDownload(const std::wstring& url, const std::wstring& savePath) {
  const auto events = Download(url, savePath);
  const std::wstring last = events.empty() ? L"(no event)" : events.back();
  std::fprintf(stderr, "child download: %s\n", win32::WideToUtf8(last).c_str());
  if (last == L"complete") return 0;
  return last.rfind(L"error ", 0) == 0 ? 1 : 2;
}

TEST(HttpsUpdateTest, ASignedInstallerComesOverHttpsOnlyWhileItsRootIsTrusted) {
  const std::wstring url = Environment("PRAVIK_TLS_URL");
  const std::wstring rootFile = Environment("PRAVIK_TLS_ROOT");
  ASSERT_FALSE(url.empty() || rootFile.empty()) << "run through https-update.sh";
  TrustedRoot root(testsupport::ReadFile(rootFile));
  // Nothing in this process has read the trusted roots before this.
  ASSERT_TRUE(root.Add());

  const std::wstring savePath = testsupport::MakeTempFolder(L"https") + L"\\PravikUpdate.exe";
  const auto events = Download(url, savePath);
  ASSERT_FALSE(events.empty());
  EXPECT_EQ(events.back(), L"complete") << win32::WideToUtf8(events.back());
  EXPECT_TRUE(testsupport::ReadFile(savePath) == testsupport::ReadFile(win32::ProgramFolder() + L"\\fake_installer.exe"));
  // The blocking fetch of the version and setting files goes over https the same way.
  const auto signature = win32::http::FetchUrl(url + L".sig");
  ASSERT_TRUE(signature.has_value());
  EXPECT_EQ(signature->status, 200u);
  EXPECT_EQ(signature->body.size(), testsupport::ReadFile(win32::ProgramFolder() + L"\\fake_installer.exe.sig").size());

  // Without the root the server is refused and nothing is saved.
  ASSERT_TRUE(root.Remove());
  const std::wstring refusedPath = testsupport::MakeTempFolder(L"https") + L"\\PravikUpdate.exe";
  auto child = testsupport::ChildProcess::Launch(win32::ModulePath(),
                                                 L"--download \"" + url + L"\" \"" + refusedPath + L"\"");
  ASSERT_TRUE(child.started());
  const auto code = child.WaitExit(60000);
  if (!code) child.Terminate();
  EXPECT_EQ(code, std::optional<DWORD>(1));
  EXPECT_FALSE(testsupport::FileExists(refusedPath));
}

}  // namespace
}  // namespace pravik::updater

int wmain(int argc, wchar_t** argv) {
  if (argc == 4 && std::wstring(argv[1]) == L"--download") return pravik::updater::ChildDownload(argv[2], argv[3]);
  testing::InitGoogleTest(&argc, argv);
  return RUN_ALL_TESTS();
}
