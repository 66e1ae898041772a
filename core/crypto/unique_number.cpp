#include "core/crypto/unique_number.h"

#include <array>
#include <cmath>

#include "core/crypto/rijndael.h"

namespace pravik::core::crypto {
namespace {

std::u16string Decimal(std::int64_t value) {
  const std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

std::vector<std::uint8_t> Utf16LeBytes(std::u16string_view text) {
  std::vector<std::uint8_t> bytes;
  bytes.reserve(text.size() * 2);
  for (char16_t c : text) {
    bytes.push_back(static_cast<std::uint8_t>(c & 0xFF));
    bytes.push_back(static_cast<std::uint8_t>(c >> 8));
  }
  return bytes;
}

std::array<std::uint8_t, 32> KeyOf(std::u16string_view password) {
  std::array<std::uint8_t, 32> key{};
  const std::vector<std::uint8_t> bytes = Utf16LeBytes(password);
  for (std::size_t i = 0; i < bytes.size() && i < key.size(); ++i) key[i] = bytes[i];
  return key;
}

int HexValue(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  if (c >= 'a' && c <= 'f') return c - 'a' + 10;
  return -1;
}

}  // namespace

std::u16string MachineIdentityText(const std::vector<std::u16string>& cardAddresses,
                                   const std::vector<std::int32_t>& volumeSerials) {
  std::u16string text;
  for (const auto& address : cardAddresses)
    if (address != u"000000000000") text += address;
  for (std::int32_t serial : volumeSerials)
    if (serial != 0) text += Decimal(serial);
  return text;
}

std::u16string RandomIdentityText(const std::function<double()>& randomFraction) {
  std::u16string text;
  for (int i = 0; i < 10; ++i) text += Decimal(static_cast<std::int64_t>(std::floor(randomFraction() * 9999)));
  return text;
}

std::string EncryptToHex(std::u16string_view text, std::u16string_view password) {
  if (text.empty() || password.empty()) return {};
  const std::array<std::uint8_t, 32> key = KeyOf(password);
  const std::vector<std::uint8_t> cipher = EncryptData(Utf16LeBytes(text), key);
  static const char kDigits[] = "0123456789ABCDEF";
  std::string hex;
  hex.reserve(cipher.size() * 2);
  for (std::uint8_t b : cipher) {
    hex += kDigits[b >> 4];
    hex += kDigits[b & 15];
  }
  return hex;
}

std::optional<std::u16string> DecryptFromHex(std::string_view hex, std::u16string_view password) {
  if (hex.size() % 2 != 0 || password.empty()) return std::nullopt;
  std::vector<std::uint8_t> bytes;
  bytes.reserve(hex.size() / 2);
  for (std::size_t i = 0; i < hex.size(); i += 2) {
    const int hi = HexValue(hex[i]), lo = HexValue(hex[i + 1]);
    if (hi < 0 || lo < 0) return std::nullopt;
    bytes.push_back(static_cast<std::uint8_t>(hi << 4 | lo));
  }
  const std::array<std::uint8_t, 32> key = KeyOf(password);
  const auto plain = DecryptData(bytes, key);
  if (!plain || plain->size() % 2 != 0) return std::nullopt;
  std::u16string text;
  for (std::size_t i = 0; i < plain->size(); i += 2)
    text += static_cast<char16_t>((*plain)[i] | (*plain)[i + 1] << 8);
  return text;
}

}  // namespace pravik::core::crypto
