#include "updater/installer_signature.h"

#include <bcrypt.h>

#include <algorithm>

#include "core/crypto/sha256.h"
#include "generated/updater/release_keys.h"
#include "updater/messages.h"
#include "win32/handles.h"

namespace pravik::updater {
namespace {

constexpr LONG kStatusSuccess = 0;
constexpr std::size_t kMaxSignatureBytes = 4096;  // a statement is about 170 bytes

struct AlgorithmTraits {
  using Type = BCRYPT_ALG_HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::BCryptCloseAlgorithmProvider(h, 0); }
};
struct KeyTraits {
  using Type = BCRYPT_KEY_HANDLE;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::BCryptDestroyKey(h); }
};
using Algorithm = win32::UniqueHandle<AlgorithmTraits>;
using Key = win32::UniqueHandle<KeyTraits>;

// SHA-256 of every byte of the file, read from the start through this very handle. Our own hash:
// the platform's runs at a fraction of the disk's speed under Wine.
bool HashFile(HANDLE file, core::crypto::Sha256Digest& digest) {
  core::crypto::Sha256 hash;
  std::vector<std::uint8_t> buffer(1024 * 1024);
  std::uint64_t offset = 0;
  for (;;) {
    OVERLAPPED at{};
    at.Offset = static_cast<DWORD>(offset);
    at.OffsetHigh = static_cast<DWORD>(offset >> 32);
    DWORD read = 0;
    if (!::ReadFile(file, buffer.data(), static_cast<DWORD>(buffer.size()), &read, &at)) {
      if (::GetLastError() == ERROR_HANDLE_EOF) break;
      return false;
    }
    if (read == 0) break;
    hash.Update({buffer.data(), read});
    offset += read;
  }
  digest = hash.Finish();
  return true;
}

std::optional<std::vector<std::uint8_t>> FetchSignature(win32::http::InetControl& inet, const std::wstring& url) {
  inet.Cancel();
  inet.SetUrl(url);
  if (!inet.Execute()) return std::nullopt;
  while (inet.StillExecuting()) inet.WaitForChange();
  if (inet.failed() || inet.status() < 200 || inet.status() > 299) return std::nullopt;
  std::vector<std::uint8_t> body;
  for (;;) {
    const auto chunk = inet.GetChunk(1024);
    if (!chunk) return std::nullopt;
    if (chunk->empty()) break;
    body.insert(body.end(), chunk->begin(), chunk->end());
    if (body.size() > kMaxSignatureBytes) return body;  // too long to be one: malformed
  }
  inet.Cancel();
  return body;
}

}  // namespace

std::vector<core::download::RawPublicKey> BuiltInReleaseKeys() {
  // A mistyped setting is caught by the build; should it slip through, no key means nothing verifies.
  return core::download::ParsePublicKeys(PRAVIK_RELEASE_KEYS).value_or(std::vector<core::download::RawPublicKey>{});
}

LONG VerifyDigestWithCng(const core::download::RawPublicKey& key, const std::uint8_t (&digest)[32],
                         const std::vector<std::uint8_t>& signature) {
  Algorithm ecdsa;
  const LONG opened = ::BCryptOpenAlgorithmProvider(ecdsa.put(), BCRYPT_ECDSA_P256_ALGORITHM, nullptr, 0);
  if (opened != kStatusSuccess) return opened;
  std::vector<std::uint8_t> blob(sizeof(BCRYPT_ECCKEY_BLOB) + key.size());
  auto* header = reinterpret_cast<BCRYPT_ECCKEY_BLOB*>(blob.data());
  header->dwMagic = BCRYPT_ECDSA_PUBLIC_P256_MAGIC;
  header->cbKey = 32;
  std::copy(key.begin(), key.end(), blob.begin() + sizeof(BCRYPT_ECCKEY_BLOB));
  Key handle;
  const LONG imported = ::BCryptImportKeyPair(ecdsa.get(), nullptr, BCRYPT_ECCPUBLIC_BLOB, handle.put(), blob.data(),
                                              static_cast<ULONG>(blob.size()), 0);
  if (imported != kStatusSuccess) return imported;
  return ::BCryptVerifySignature(handle.get(), nullptr, const_cast<PUCHAR>(digest), sizeof(digest),
                                 const_cast<PUCHAR>(signature.data()), static_cast<ULONG>(signature.size()), 0);
}

SignatureVerdict VerifyFileSignature(HANDLE file, const std::vector<std::uint8_t>& signedStatement,
                                     const std::vector<core::download::RawPublicKey>& keys,
                                     const core::update::Version& installed, const VerifyDigest& verify) {
  const auto statement = core::download::ParseSignedStatement(signedStatement);
  if (!statement) return SignatureVerdict::Malformed;
  if (keys.empty()) return SignatureVerdict::VerifierUnavailable;
  std::uint8_t digest[32];
  const core::crypto::Sha256Digest statementDigest = core::crypto::Sha256Of(statement->statement);
  std::copy(statementDigest.begin(), statementDigest.end(), digest);
  // Exactly STATUS_SUCCESS: any other answer, success-class ones included, is not a proof.
  const bool signedByUs = std::any_of(keys.begin(), keys.end(), [&](const core::download::RawPublicKey& key) {
    return verify(key, digest, statement->signature) == kStatusSuccess;
  });
  if (!signedByUs) return SignatureVerdict::Invalid;
  core::crypto::Sha256Digest fileDigest;
  if (!HashFile(file, fileDigest)) return SignatureVerdict::VerifierUnavailable;
  if (!std::equal(fileDigest.begin(), fileDigest.end(), statement->installerSha256.begin()))
    return SignatureVerdict::Invalid;
  const auto version =
      core::update::ParseVersion(std::wstring(statement->version.begin(), statement->version.end()));
  if (!version || core::update::CompareVersions(*version, installed) <= 0) return SignatureVerdict::NotNewer;
  return SignatureVerdict::Valid;
}

DownloadCheck InstallerSignatureCheck(std::vector<core::download::RawPublicKey> keys,
                                      std::optional<core::update::Version> installed) {
  return [keys = std::move(keys), installed = std::move(installed)](
             HANDLE lockedFile, win32::http::InetControl& inet) -> std::optional<std::wstring> {
    const auto signature = FetchSignature(inet, inet.url() + L".sig");
    if (!signature) return text::kSignatureMissing;
    if (!installed) return text::kInstalledVersionUnknown;
    switch (VerifyFileSignature(lockedFile, *signature, keys, *installed)) {
      case SignatureVerdict::Valid:
        return std::nullopt;
      case SignatureVerdict::Malformed:
        return text::kSignatureMalformed;
      case SignatureVerdict::Invalid:
        return text::kSignatureInvalid;
      case SignatureVerdict::NotNewer:
        return text::kNotNewer;
      case SignatureVerdict::VerifierUnavailable:
        return text::kVerifierUnavailable;
    }
    return text::kVerifierUnavailable;
  };
}

}  // namespace pravik::updater
