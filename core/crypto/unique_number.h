#pragma once
// The control's machine identity: the text built from network-card addresses and disk serials,
// and its encryption into upper-case hexadecimal with the password "qz4".
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace pravik::core::crypto {

// The card addresses that are not "000000000000", then the serials that are not 0 in decimal.
// Serials are the signed 32-bit values cHDDSerialNumber gives, so a high serial reads negative,
// exactly as the numbers already handed out were built.
std::u16string MachineIdentityText(const std::vector<std::u16string>& cardAddresses,
                                   const std::vector<std::int32_t>& volumeSerials);

// Ten numbers, each the whole part of a random fraction [0, 1) times 9999, in decimal.
std::u16string RandomIdentityText(const std::function<double()>& randomFraction);

// The text and the password as UTF-16 little-endian bytes (the key: the password's first 32
// bytes, zero-padded), EncryptData, then each byte as two upper-case hexadecimal digits.
// Empty when the text or the password is empty.
std::string EncryptToHex(std::u16string_view text, std::u16string_view password);
// The inverse, for checking; nothing for text that is not such a hexadecimal cipher text.
std::optional<std::u16string> DecryptFromHex(std::string_view hex, std::u16string_view password);

}  // namespace pravik::core::crypto
