// The class factory for Quessel and the two exports that hand it out and report unloading.
#include <new>

#include "controllib/module.h"
#include "controllib/quessel.h"

namespace pravik::controllib {
namespace {

class QuesselFactory final : public IClassFactory {
 public:
  QuesselFactory() noexcept { ModuleAddRef(); }
  ~QuesselFactory() { ModuleRelease(); }
  QuesselFactory(const QuesselFactory&) = delete;
  QuesselFactory& operator=(const QuesselFactory&) = delete;

  STDMETHODIMP QueryInterface(REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (iid != IID_IUnknown && iid != IID_IClassFactory) return E_NOINTERFACE;
    *out = static_cast<IClassFactory*>(this);
    AddRef();
    return S_OK;
  }
  STDMETHODIMP_(ULONG) AddRef() noexcept override { return ++refs_; }
  STDMETHODIMP_(ULONG) Release() noexcept override {
    const ULONG left = --refs_;
    if (left == 0) delete this;
    return left;
  }
  STDMETHODIMP CreateInstance(IUnknown* outer, REFIID iid, void** out) noexcept override {
    if (!out) return E_POINTER;
    *out = nullptr;
    if (outer) return CLASS_E_NOAGGREGATION;
    return Quessel::Create(iid, out);
  }
  STDMETHODIMP LockServer(BOOL lock) noexcept override {
    if (lock) {
      ModuleAddRef();
    } else {
      ModuleRelease();
    }
    return S_OK;
  }

 private:
  std::atomic<ULONG> refs_{1};
};

}  // namespace
}  // namespace pravik::controllib

extern "C" {

BOOL WINAPI DllMain(HINSTANCE instance, DWORD reason, LPVOID reserved) {
  if (reason == DLL_PROCESS_ATTACH) {
    pravik::controllib::SetModuleInstance(instance);
    ::DisableThreadLibraryCalls(instance);
  }
  // Freed while the process goes on (a host's FreeLibrary): the class must not point into code
  // that is about to go. At process exit nothing is left to reach it.
  if (reason == DLL_PROCESS_DETACH && !reserved) pravik::controllib::UnregisterFaceClass();
  return TRUE;
}

STDAPI DllGetClassObject(REFCLSID clsid, REFIID iid, void** out) {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (clsid != CLSID_Quessel) return CLASS_E_CLASSNOTAVAILABLE;
  auto* factory = new (std::nothrow) pravik::controllib::QuesselFactory();
  if (!factory) return E_OUTOFMEMORY;
  const HRESULT hr = factory->QueryInterface(iid, out);
  factory->Release();
  return hr;
}

STDAPI DllCanUnloadNow() {
  if (pravik::controllib::ModuleInUse()) return S_FALSE;
  pravik::controllib::UnregisterFaceClass();  // no object, so no face window is left
  return S_OK;
}

}  // extern "C"
