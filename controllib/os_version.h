#pragma once
// The operating-system version an instance reads once at creation.
#include <cstdint>
#include <string>

namespace pravik::controllib {

struct OsVersion {
  std::uint32_t major = 0;
  std::uint32_t minor = 0;
  std::uint32_t build = 0;
  std::uint32_t platformId = 0;
  std::wstring platformName;
};

OsVersion ReadOsVersion() noexcept;

}  // namespace pravik::controllib
