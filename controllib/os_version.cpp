#include "controllib/os_version.h"

#include "core/quessel_sysinfo/platform_name.h"

namespace pravik::controllib {

OsVersion ReadOsVersion() noexcept {
  OsVersion v;
  if (const auto read = win32::ReadWindowsVersion()) static_cast<win32::WindowsVersion&>(v) = *read;
  try {
    v.platformName = core::quessel_sysinfo::PlatformName(v.platformId, v.major, v.minor);
  } catch (...) {
    // Only the name's allocation can fail; the numbers stand without it.
  }
  return v;
}

}  // namespace pravik::controllib
