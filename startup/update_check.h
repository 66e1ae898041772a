#pragma once
#include <string>

namespace pravik::startup {

// The update server's version file against the installed version. True when no update is due;
// every failure counts as current. Stores field 1 of the file in updaterArguments when present.
bool IsVersionCurrent(std::wstring& updaterArguments) noexcept;

// The address of the version file on the update server (a build setting).
std::wstring VersionFileUrl();

}  // namespace pravik::startup
