#pragma once
// How often the user started each search result from the menu, kept under
// HKCU\Software\Pravik\Search (one DWORD per item, named by the item's path in lower case). Any
// user can write there, so what is read is clamped and anything not a DWORD counts as nothing.
#include <cstdint>
#include <string>
#include <unordered_map>

namespace pravik::menu {

inline constexpr wchar_t kSearchUseCountKey[] = L"Software\\Pravik\\Search";
inline constexpr std::uint32_t kMaxUseCount = 100000;

// Every stored count, by the stored (lower-case) form of the path.
std::unordered_map<std::wstring, std::uint32_t> ReadUseCounts();
// The form a path is stored under.
std::wstring UseCountName(const std::wstring& path);
// Adds one start of the item and returns its new count (the stored one when it cannot be written).
std::uint32_t AddUse(const std::wstring& path);

}  // namespace pravik::menu
