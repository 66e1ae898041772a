#include "controllib/os_version.h"

#include <windows.h>

#include "core/quessel_sysinfo/platform_name.h"

namespace pravik::controllib {

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
    v.platformName = core::quessel_sysinfo::PlatformName(v.platformId, v.major, v.minor);
  } catch (...) {
    // Only the name's allocation can fail; the numbers stand without it.
  }
  return v;
}

}  // namespace pravik::controllib
