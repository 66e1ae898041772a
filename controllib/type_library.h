#pragma once
// The type library embedded in the library's own file, loaded once per process.
#include <windows.h>
#include <oaidl.h>

#include "win32/com_ptr.h"

namespace pravik::controllib {

// The type info of a member of the embedded library (the _Quessel interface, the coclass).
HRESULT GetOwnTypeInfo(REFGUID guid, ITypeInfo** info) noexcept;
HRESULT LoadOwnTypeLibrary(win32::ComPtr<ITypeLib>& library) noexcept;

}  // namespace pravik::controllib
