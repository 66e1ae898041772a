// Self-registration: the class, its ProgID, its control flag and the type library. Everything
// written here is removed again by DllUnregisterServer, and both can run any number of times.
#include <windows.h>
#include <oleauto.h>
#include <olectl.h>

#include <string>

#include "controllib/misc_status.h"
#include "controllib/module.h"
#include "controllib/quessel_interface.h"
#include "controllib/type_library.h"
#include "win32/handles.h"

namespace pravik::controllib {
namespace {

constexpr wchar_t kProgId[] = L"QuesselControl.Quessel";
constexpr wchar_t kClassName[] = L"Quessel";
constexpr wchar_t kVersion[] = L"1.0";

std::wstring GuidText(REFGUID guid) {
  wchar_t text[40] = {};
  ::StringFromGUID2(guid, text, 40);
  return text;
}

LONG SetValue(HKEY root, const std::wstring& key, const wchar_t* name, const std::wstring& value) {
  win32::RegKey k;
  LONG rc = ::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, k.put(), nullptr);
  if (rc != ERROR_SUCCESS) return rc;
  return ::RegSetValueExW(k.get(), name, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                          static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

LONG CreateKey(HKEY root, const std::wstring& key) {
  win32::RegKey k;
  return ::RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, k.put(), nullptr);
}

// The key with everything below it (RegDeleteTree empties it; RegDeleteKey removes it).
void DeleteTree(HKEY root, const std::wstring& key) {
  ::RegDeleteTreeW(root, key.c_str());
  ::RegDeleteKeyW(root, key.c_str());
}

HRESULT FromWin32(LONG rc) { return rc == ERROR_SUCCESS ? S_OK : HRESULT_FROM_WIN32(rc); }

HRESULT RegisterClassKeys(const std::wstring& path) {
  const std::wstring clsidKey = L"CLSID\\" + GuidText(CLSID_Quessel);
  const std::wstring libid = GuidText(LIBID_QuesselControl);
  struct Entry {
    std::wstring key;
    const wchar_t* name;
    std::wstring value;
  };
  const Entry entries[] = {
      {clsidKey, nullptr, kClassName},
      {clsidKey + L"\\InprocServer32", nullptr, path},
      {clsidKey + L"\\InprocServer32", L"ThreadingModel", L"Apartment"},
      {clsidKey + L"\\ProgID", nullptr, kProgId},
      {clsidKey + L"\\VersionIndependentProgID", nullptr, kProgId},
      {clsidKey + L"\\TypeLib", nullptr, libid},
      {clsidKey + L"\\Version", nullptr, kVersion},
      {clsidKey + L"\\MiscStatus", nullptr, L"0"},
      {clsidKey + L"\\MiscStatus\\1", nullptr, std::to_wstring(kMiscStatus)},
      {kProgId, nullptr, kClassName},
      {std::wstring(kProgId) + L"\\CLSID", nullptr, GuidText(CLSID_Quessel)},
  };
  for (const Entry& e : entries) {
    if (const LONG rc = SetValue(HKEY_CLASSES_ROOT, e.key, e.name, e.value); rc != ERROR_SUCCESS) return FromWin32(rc);
  }
  // The control flag, and the category that says the same to newer containers.
  if (const LONG rc = CreateKey(HKEY_CLASSES_ROOT, clsidKey + L"\\Control"); rc != ERROR_SUCCESS) return FromWin32(rc);
  const std::wstring category = clsidKey + L"\\Implemented Categories\\{40FC6ED4-2438-11CF-A3DB-080036F12502}";
  return FromWin32(CreateKey(HKEY_CLASSES_ROOT, category));
}

void RemoveClassKeys() {
  DeleteTree(HKEY_CLASSES_ROOT, L"CLSID\\" + GuidText(CLSID_Quessel));
  DeleteTree(HKEY_CLASSES_ROOT, kProgId);
}

// UnRegisterTypeLib removes what RegisterTypeLib wrote; our own keys are then removed by hand as
// well, so that a partial earlier registration (another version, a failed run) leaves nothing.
void RemoveTypeLibraryKeys() {
  win32::ComPtr<ITypeLib> library;
  if (SUCCEEDED(LoadOwnTypeLibrary(library))) {
    TLIBATTR* attr = nullptr;
    if (SUCCEEDED(library->GetLibAttr(&attr))) {
      ::UnRegisterTypeLib(attr->guid, attr->wMajorVerNum, attr->wMinorVerNum, attr->lcid, attr->syskind);
      library->ReleaseTLibAttr(attr);
    }
  }
  DeleteTree(HKEY_CLASSES_ROOT, L"TypeLib\\" + GuidText(LIBID_QuesselControl));
  DeleteTree(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(IID__Quessel));
  DeleteTree(HKEY_CLASSES_ROOT, L"Interface\\" + GuidText(DIID___Quessel));
}

}  // namespace
}  // namespace pravik::controllib

using namespace pravik::controllib;

STDAPI DllRegisterServer() {
  try {
    std::wstring path = ModulePath();
    if (path.empty()) return SELFREG_E_CLASS;
    pravik::win32::ComPtr<ITypeLib> library;
    if (FAILED(LoadOwnTypeLibrary(library))) return SELFREG_E_TYPELIB;
    if (FAILED(::RegisterTypeLib(library.get(), path.data(), nullptr))) {
      RemoveTypeLibraryKeys();
      return SELFREG_E_TYPELIB;
    }
    if (FAILED(RegisterClassKeys(path))) {
      RemoveClassKeys();
      RemoveTypeLibraryKeys();
      return SELFREG_E_CLASS;
    }
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}

STDAPI DllUnregisterServer() {
  try {
    RemoveClassKeys();
    RemoveTypeLibraryKeys();
    return S_OK;
  } catch (...) {
    return E_OUTOFMEMORY;
  }
}
