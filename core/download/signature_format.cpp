#include "core/download/signature_format.h"

#include <algorithm>
#include <cctype>

#include "core/update/version_check.h"

namespace pravik::core::download {
namespace {

int HexDigit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

bool IsSeparator(char c) { return c == ';' || c == ',' || c == ' ' || c == '\t' || c == '\r' || c == '\n'; }

}  // namespace

std::optional<std::vector<RawPublicKey>> ParsePublicKeys(std::string_view text) {
  std::vector<RawPublicKey> keys;
  std::size_t at = 0;
  while (at < text.size()) {
    if (IsSeparator(text[at])) {
      ++at;
      continue;
    }
    std::size_t end = at;
    while (end < text.size() && !IsSeparator(text[end])) ++end;
    const std::string_view hex = text.substr(at, end - at);
    if (hex.size() != 128) return std::nullopt;
    RawPublicKey key{};
    for (std::size_t i = 0; i < key.size(); ++i) {
      const int high = HexDigit(hex[2 * i]), low = HexDigit(hex[2 * i + 1]);
      if (high < 0 || low < 0) return std::nullopt;
      key[i] = static_cast<std::uint8_t>(high << 4 | low);
    }
    keys.push_back(key);
    at = end;
  }
  return keys;
}

bool IsRawSignature(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() != kRawSignatureSize) return false;
  const auto nonZero = [](std::uint8_t b) { return b != 0; };
  return std::any_of(bytes.begin(), bytes.begin() + 32, nonZero) && std::any_of(bytes.begin() + 32, bytes.end(), nonZero);
}

std::optional<SignedStatement> ParseSignedStatement(const std::vector<std::uint8_t>& bytes) {
  constexpr std::size_t kMaxStatement = 256;
  if (bytes.size() <= kRawSignatureSize || bytes.size() > kMaxStatement + kRawSignatureSize) return std::nullopt;
  SignedStatement signed_;
  signed_.statement.assign(bytes.begin(), bytes.end() - kRawSignatureSize);
  signed_.signature.assign(bytes.end() - kRawSignatureSize, bytes.end());
  if (!IsRawSignature(signed_.signature)) return std::nullopt;
  const std::string text(signed_.statement.begin(), signed_.statement.end());
  constexpr std::string_view kHead = "Pravik installer\nversion ";
  if (text.compare(0, kHead.size(), kHead) != 0) return std::nullopt;
  const std::size_t versionEnd = text.find('\n', kHead.size());
  if (versionEnd == std::string::npos) return std::nullopt;
  signed_.version = text.substr(kHead.size(), versionEnd - kHead.size());
  if (!update::ParseVersion(std::wstring(signed_.version.begin(), signed_.version.end()))) return std::nullopt;
  constexpr std::string_view kDigest = "sha256 ";
  const std::string rest = text.substr(versionEnd + 1);
  if (rest.size() != kDigest.size() + 64 + 1 || rest.compare(0, kDigest.size(), kDigest) != 0 || rest.back() != '\n')
    return std::nullopt;
  for (std::size_t i = 0; i < 32; ++i) {
    const char high = rest[kDigest.size() + 2 * i], low = rest[kDigest.size() + 2 * i + 1];
    // Lowercase only: one statement has one spelling.
    if (std::isupper(static_cast<unsigned char>(high)) || std::isupper(static_cast<unsigned char>(low))) return std::nullopt;
    const int h = HexDigit(high), l = HexDigit(low);
    if (h < 0 || l < 0) return std::nullopt;
    signed_.installerSha256[i] = static_cast<std::uint8_t>(h << 4 | l);
  }
  return signed_;
}

}  // namespace pravik::core::download
