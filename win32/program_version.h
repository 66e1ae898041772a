#pragma once
// The version a program file carries in its version resource. The installed version is read
// from the installed Pravik.exe: only who may replace the program can change it, unlike the
// user's own registry values.
#include <optional>
#include <string>

#include "core/update/version_check.h"

namespace pravik::win32 {

// The product version of the executable at path (four numbers), nothing when it has none.
std::optional<core::update::Version> ProgramVersion(const std::wstring& path);

}  // namespace pravik::win32
