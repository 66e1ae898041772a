#include "core/quessel_sysinfo/platform_name.h"

namespace pravik::core::quessel_sysinfo {

std::wstring PlatformName(std::uint32_t platformId, std::uint32_t major, std::uint32_t minor) {
  constexpr std::uint32_t kConsumer = 1;  // VER_PLATFORM_WIN32_WINDOWS
  constexpr std::uint32_t kNt = 2;        // VER_PLATFORM_WIN32_NT
  if (platformId == kConsumer) {
    if (minor == 0) return L"95";
    if (minor == 10) return L"98/98SE";
    if (minor == 90) return L"ME";
    return L"9X";
  }
  if (platformId == kNt) {
    if (major < 5) return L"NT";
    return minor == 1 ? L"XP" : L"2000";
  }
  return L"UNKNOWN";
}

}  // namespace pravik::core::quessel_sysinfo
