#include "core/convert/base64.h"

namespace pravik::core::convert {
namespace {

constexpr char kAlphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";

int ValueOf(char16_t c) {
  if (c >= u'A' && c <= u'Z') return c - u'A';
  if (c >= u'a' && c <= u'z') return c - u'a' + 26;
  if (c >= u'0' && c <= u'9') return c - u'0' + 52;
  if (c == u'+') return 62;
  if (c == u'/') return 63;
  return -1;
}

}  // namespace

std::string EncodeBase64(std::string_view bytes) {
  std::string out;
  out.reserve((bytes.size() + 2) / 3 * 4);
  for (std::size_t i = 0; i < bytes.size(); i += 3) {
    const std::size_t n = bytes.size() - i < 3 ? bytes.size() - i : 3;
    unsigned group = 0;
    for (std::size_t k = 0; k < 3; ++k)
      group = (group << 8) | (k < n ? static_cast<unsigned char>(bytes[i + k]) : 0u);
    for (std::size_t k = 0; k < 4; ++k) out += k <= n ? kAlphabet[(group >> (18 - 6 * k)) & 63] : '=';
  }
  return out;
}

std::optional<std::string> DecodeBase64(std::u16string_view text) {
  std::string out;
  out.reserve(text.size() / 4 * 3);
  for (std::size_t i = 0; i < text.size(); i += 4) {
    const std::u16string_view group = text.substr(i, 4);
    unsigned bits = 0;
    std::size_t count = 0;  // characters that carry data
    bool padded = false;
    for (char16_t c : group) {
      if (c == u'=') {
        padded = true;
        continue;
      }
      const int v = ValueOf(c);
      if (v < 0 || padded) return std::nullopt;  // outside the alphabet, or data after padding
      bits = (bits << 6) | static_cast<unsigned>(v);
      ++count;
    }
    if (padded && i + 4 < text.size()) return std::nullopt;  // padding only in the last group
    if (count == 1) return std::nullopt;                     // six bits make no byte
    if (count == 0) {
      if (padded) return std::nullopt;
      continue;
    }
    bits <<= 6 * (4 - count);
    const std::size_t bytes = count - 1;
    for (std::size_t k = 0; k < bytes; ++k) out += static_cast<char>((bits >> (16 - 8 * k)) & 255);
  }
  return out;
}

}  // namespace pravik::core::convert
