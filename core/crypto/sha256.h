#pragma once
// SHA-256, fast enough to check a whole installer while the user waits: on processors with the
// SHA extensions it uses them (about ten times the plain code), otherwise portable code.
#include <array>
#include <cstddef>
#include <cstdint>
#include <span>

namespace pravik::core::crypto {

using Sha256Digest = std::array<std::uint8_t, 32>;

class Sha256 {
 public:
  // `useCpuExtensions` false forces the portable code (the tests compare the two).
  explicit Sha256(bool useCpuExtensions = true) noexcept;

  void Update(std::span<const std::uint8_t> data) noexcept;
  // The digest of everything given so far; the object is then spent.
  [[nodiscard]] Sha256Digest Finish() noexcept;

 private:
  using Compress = void (*)(std::uint32_t (&state)[8], const std::uint8_t* blocks, std::size_t count) noexcept;
  Compress compress_;
  std::uint32_t state_[8];
  std::uint8_t pending_[64];
  std::size_t pendingSize_ = 0;
  std::uint64_t total_ = 0;
};

[[nodiscard]] Sha256Digest Sha256Of(std::span<const std::uint8_t> data) noexcept;

}  // namespace pravik::core::crypto
