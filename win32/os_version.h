#pragma once
// The version the platform reports to this program (its manifest decides how far it tells the truth).
#include <cstdint>
#include <optional>

namespace pravik::win32 {

struct WindowsVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t platformId = 0;

  [[nodiscard]] bool IsNt() const noexcept;
  // NT 5.1 build 2600 or later within 5.1: the only version the old visual-style code paths know.
  [[nodiscard]] bool IsWindowsXp() const noexcept;
  // Exactly NT major.minor.
  [[nodiscard]] bool IsNtVersion(std::uint32_t wantMajor, std::uint32_t wantMinor) const noexcept;
};

// Nothing when the platform does not answer.
std::optional<WindowsVersion> ReadWindowsVersion() noexcept;

}  // namespace pravik::win32
