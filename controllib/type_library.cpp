#include "controllib/type_library.h"

#include <windows.h>
#include <oleauto.h>

#include "controllib/module.h"

namespace pravik::controllib {

HRESULT LoadOwnTypeLibrary(win32::ComPtr<ITypeLib>& library) noexcept {
  try {
    const std::wstring path = ModulePath();
    return ::LoadTypeLibEx(path.c_str(), REGKIND_NONE, library.put());
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

HRESULT GetOwnTypeInfo(REFGUID guid, ITypeInfo** info) noexcept {
  if (!info) return E_POINTER;
  *info = nullptr;
  // No library is kept in a static: it would be released after oleaut32 may have gone at
  // process end. oleaut32 caches loaded libraries, so a load per instance is cheap.
  win32::ComPtr<ITypeLib> library;
  const HRESULT hr = LoadOwnTypeLibrary(library);
  if (FAILED(hr)) return hr;
  return library->GetTypeInfoOfGuid(guid, info);
}

}  // namespace pravik::controllib
