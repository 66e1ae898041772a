#include "win32/os_version.h"

#include <windows.h>

namespace pravik::win32 {

bool WindowsVersion::IsNt() const noexcept { return platformId == VER_PLATFORM_WIN32_NT; }

bool WindowsVersion::IsNtVersion(std::uint32_t wantMajor, std::uint32_t wantMinor) const noexcept {
  return IsNt() && major == wantMajor && minor == wantMinor;
}

bool WindowsVersion::IsWindowsXp() const noexcept { return IsNtVersion(5, 1) && build >= 2600; }

std::optional<WindowsVersion> ReadWindowsVersion() noexcept {
  OSVERSIONINFOW info{};
  info.dwOSVersionInfoSize = sizeof info;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
  if (!::GetVersionExW(&info)) return std::nullopt;
#pragma GCC diagnostic pop
  return WindowsVersion{info.dwMajorVersion, info.dwMinorVersion, info.dwBuildNumber, info.dwPlatformId};
}

}  // namespace pravik::win32
