#pragma once
// The control's platform name for a version record: "95", "98/98SE", "ME", "9X", "NT", "XP",
// "2000" or "UNKNOWN". Later systems (6.x, 10.0) fall into "2000" by the same rule, which
// callers of cOS_Name have always seen.
#include <cstdint>
#include <string>

namespace pravik::core::quessel_sysinfo {

std::wstring PlatformName(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor);

}  // namespace pravik::core::quessel_sysinfo
