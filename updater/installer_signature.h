#pragma once
// Molvane starts only an installer signed with one of our release keys, and only a version newer
// than the installed one. The signed statement (version and SHA-256 of the installer) is fetched
// from the installer's address + ".sig" and checked against the bytes of the downloaded file as it
// is held locked, so nothing can change them between the check and the start.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/download/signature_format.h"
#include "core/update/version_check.h"
#include "updater/update_engine.h"

namespace pravik::updater {

// The keys built into Molvane (the PRAVIK_RELEASE_KEYS build setting).
std::vector<core::download::RawPublicKey> BuiltInReleaseKeys();

enum class SignatureVerdict { Valid, Malformed, Invalid, NotNewer, VerifierUnavailable };

// The platform's answer for one key, an NTSTATUS; only exactly 0 (STATUS_SUCCESS) means valid.
using VerifyDigest = std::function<LONG(const core::download::RawPublicKey& key, const std::uint8_t (&digest)[32],
                                        const std::vector<std::uint8_t>& signature)>;
LONG VerifyDigestWithCng(const core::download::RawPublicKey& key, const std::uint8_t (&digest)[32],
                         const std::vector<std::uint8_t>& signature);

// Checks the signed statement against each key, then the whole file's SHA-256 (read from its first
// byte) against the statement's, then the signed version against the installed one: only a newer
// version is valid, so an older genuine installer cannot be replayed as an update.
SignatureVerdict VerifyFileSignature(HANDLE file, const std::vector<std::uint8_t>& signedStatement,
                                     const std::vector<core::download::RawPublicKey>& keys,
                                     const core::update::Version& installed,
                                     const VerifyDigest& verify = &VerifyDigestWithCng);

// The engine's check before DownloadComplate: fetch URL + ".sig" on the same transfer control,
// verify, and describe any failure. No installed version known: nothing can be proved newer.
DownloadCheck InstallerSignatureCheck(std::vector<core::download::RawPublicKey> keys,
                                      std::optional<core::update::Version> installed);

}  // namespace pravik::updater
