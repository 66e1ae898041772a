#pragma once
// Machine facts behind the identity methods: network-card addresses through NetBIOS, volume
// serials, the remembered random identity, and the computer name's trimming rule.
#include <cstdint>
#include <string>

namespace pravik::controllib {

// 12 upper-case hexadecimal digits; "000000000000" when there is no such adapter.
std::wstring CardAddress(long cardNumber);
// The serial of the volume at DriveLetter + ":\", as a signed 32-bit value; 0 when there is none.
long VolumeSerial(std::wstring_view driveLetter);
// The name as the system's ANSI computer-name query leaves it in a space-filled buffer, trimmed.
std::wstring TrimmedComputerName();
// Where the per-user settings store keeps application "Dorvant", section "Quessel".
inline constexpr wchar_t kIdentityKey[] = L"Software\\VB and VBA Program Settings\\Dorvant\\Quessel";
inline constexpr wchar_t kIdentityValue[] = L"Unique";

}  // namespace pravik::controllib
