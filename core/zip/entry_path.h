#pragma once
// Where an entry may be written: only below the target folder. Stored names come from whoever made
// the archive, so an absolute name, a drive or share prefix, a ".." step (with either slash), an
// alternate data stream or a device name is refused rather than repaired.
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pravik::core::zip {

// The name's folder steps below the target, in order ("a/./b\\c" gives a, b, c; an empty list is
// the target itself). Nothing when the name could reach outside the target.
std::optional<std::vector<std::string>> SafeRelativePath(std::string_view storedName);

// Whether a folder step below the target, by its file attributes, may be written into: a real
// folder, not one whose attributes could not be read (all bits set) and not a reparse point (a
// junction or link that would lead the writes elsewhere).
bool IsPlainFolder(std::uint32_t attributes) noexcept;

}  // namespace pravik::core::zip
