#pragma once
// The operating-system version an instance reads once at creation, with the platform's name.
#include <string>

#include "win32/os_version.h"

namespace pravik::controllib {

struct OsVersion : win32::WindowsVersion {
  std::wstring platformName;
};

OsVersion ReadOsVersion() noexcept;

}  // namespace pravik::controllib
