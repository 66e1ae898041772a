#pragma once
#include <cstddef>

namespace pravik::core::runner {

// Output is read in pieces of at most 255 bytes; collection stops once 30750 bytes or more are in,
// so the last piece can take the total up to 31004.
constexpr std::size_t kReadPieceBytes = 255;
constexpr std::size_t kOutputLimitBytes = 30750;

constexpr bool OutputLimitReached(std::size_t collected) { return collected >= kOutputLimitBytes; }

}  // namespace pravik::core::runner
