#include "core/download/signature_format.h"

#include <algorithm>

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

}  // namespace pravik::core::download
