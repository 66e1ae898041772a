#pragma once
#include <string>

namespace pravik::win32 {

// The folder of the running executable, without a trailing separator (except at a drive root).
// Files beside the program are addressed as ProgramFolder() + L"\\relative".
std::wstring ProgramFolder();

// The running executable's full path.
std::wstring ModulePath(void* module = nullptr);

}  // namespace pravik::win32
