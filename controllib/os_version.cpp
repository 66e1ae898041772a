#include "controllib/os_version.h"

#include <windows.h>

#include "quessel_sysinfo/platform_name.h"

namespace pravik::quessel {

OsVersion ReadOsVersion() noexcept {
  OSVERSIONINFOA info{};
  info.dwOSVersionInfoSize = sizeof info;
  OsVersion v;
  try {
    if (::GetVersionExA(&info)) {
      v.major = info.dwMajorVersion;
      v.minor = info.dwMinorVersion;
      v.build = info.dwBuildNumber;
      v.platformId = info.dwPlatformId;
    }
    v.platformName = PlatformName(v.platformId, v.major, v.minor);
  } catch (...) {
    // Only the name's allocation can fail; the numbers stand without it.
  }
  return v;
}

}  // namespace pravik::quessel
