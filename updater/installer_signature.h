#pragma once
// Molvane starts only an installer signed with one of our release keys. The signature is fetched
// from the installer's address + ".sig" and checked against the bytes of the downloaded file as it
// is held locked, so nothing can change them between the check and the start.
#include <windows.h>

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "core/download/signature_format.h"
#include "updater/update_engine.h"

namespace pravik::updater {

// The keys built into Molvane (the PRAVIK_RELEASE_KEYS build setting).
std::vector<core::download::RawPublicKey> BuiltInReleaseKeys();

enum class SignatureVerdict { Valid, Malformed, Invalid, VerifierUnavailable };

// The platform's answer for one key, an NTSTATUS; only exactly 0 (STATUS_SUCCESS) means valid.
using VerifyDigest = std::function<LONG(const core::download::RawPublicKey& key, const std::uint8_t (&digest)[32],
                                        const std::vector<std::uint8_t>& signature)>;
LONG VerifyDigestWithCng(const core::download::RawPublicKey& key, const std::uint8_t (&digest)[32],
                         const std::vector<std::uint8_t>& signature);

// Hashes the whole file from its first byte and checks the signature against each key.
SignatureVerdict VerifyFileSignature(HANDLE file, const std::vector<std::uint8_t>& signature,
                                     const std::vector<core::download::RawPublicKey>& keys,
                                     const VerifyDigest& verify = &VerifyDigestWithCng);

// The engine's check before DownloadComplate: fetch URL + ".sig" on the same transfer control,
// verify, and describe any failure.
DownloadCheck InstallerSignatureCheck(std::vector<core::download::RawPublicKey> keys);

}  // namespace pravik::updater
