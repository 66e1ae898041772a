#pragma once
// The library's module-wide state: its instance handle, and the count of live objects and
// server locks that DllCanUnloadNow reports.
#include <windows.h>

#include <string>

namespace pravik::controllib {

HINSTANCE ModuleInstance() noexcept;
void SetModuleInstance(HINSTANCE instance) noexcept;
// The library's full path, as registration writes it and the type library is loaded from.
std::wstring ModulePath();

void ModuleAddRef() noexcept;
void ModuleRelease() noexcept;
bool ModuleInUse() noexcept;

// The face window's class is registered on first activation and belongs to this library's code:
// it is unregistered when the library may unload, so no class outlives the window procedure.
void UnregisterFaceClass() noexcept;

}  // namespace pravik::controllib
