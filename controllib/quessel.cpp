#include "controllib/quessel.h"

#include <new>

#include "controllib/byref_arguments.h"
#include "controllib/method_error.h"
#include "controllib/module.h"
#include "controllib/picture_arguments.h"
#include "controllib/type_library.h"

namespace pravik::controllib {

Quessel::Quessel() noexcept : osVersion_(ReadOsVersion()) {
  ModuleAddRef();
  GetOwnTypeInfo(IID__Quessel, typeInfo_.put());
}

Quessel::~Quessel() {
  DestroyFace();
  ModuleRelease();
}

HRESULT Quessel::Create(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  auto* object = new (std::nothrow) Quessel();
  if (!object) return E_OUTOFMEMORY;
  if (!object->typeInfo_) {
    // Without its type library the object could not answer a single call by name or id.
    object->Release();
    return TYPE_E_CANTLOADLIBRARY;
  }
  const HRESULT hr = object->QueryInterface(iid, out);
  object->Release();
  return hr;
}

STDMETHODIMP Quessel::QueryInterface(REFIID iid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (iid == IID_IUnknown || iid == IID_IDispatch || iid == IID__Quessel) {
    *out = static_cast<_Quessel*>(this);
  } else if (iid == IID_ISupportErrorInfo) {
    *out = static_cast<ISupportErrorInfo*>(this);
  } else if (iid == IID_IProvideClassInfo || iid == IID_IProvideClassInfo2) {
    *out = static_cast<IProvideClassInfo2*>(this);
  } else if (iid == IID_IOleObject) {
    *out = static_cast<IOleObject*>(this);
  } else if (iid == IID_IViewObject || iid == IID_IViewObject2) {
    *out = static_cast<IViewObject2*>(this);
  } else if (iid == IID_IOleWindow || iid == IID_IOleInPlaceObject) {
    *out = static_cast<IOleInPlaceObject*>(this);
  } else if (iid == IID_IPersist || iid == IID_IPersistStreamInit) {
    *out = static_cast<IPersistStreamInit*>(this);
  } else if (iid == IID_IOleControl) {
    *out = static_cast<IOleControl*>(this);
  } else if (iid == IID_IConnectionPointContainer) {
    *out = static_cast<IConnectionPointContainer*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) Quessel::AddRef() noexcept { return ++refs_; }

STDMETHODIMP_(ULONG) Quessel::Release() noexcept {
  const ULONG left = --refs_;
  if (left == 0) delete this;
  return left;
}

STDMETHODIMP Quessel::GetTypeInfoCount(UINT* count) noexcept {
  if (!count) return E_POINTER;
  *count = 1;
  return S_OK;
}

STDMETHODIMP Quessel::GetTypeInfo(UINT index, LCID, ITypeInfo** info) noexcept {
  if (!info) return E_POINTER;
  *info = nullptr;
  if (index != 0) return DISP_E_BADINDEX;
  typeInfo_->AddRef();
  *info = typeInfo_.get();
  return S_OK;
}

STDMETHODIMP Quessel::GetIDsOfNames(REFIID iid, LPOLESTR* names, UINT count, LCID, DISPID* ids) noexcept {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  return typeInfo_->GetIDsOfNames(names, count, ids);
}

STDMETHODIMP Quessel::Invoke(DISPID id, REFIID iid, LCID, WORD flags, DISPPARAMS* params, VARIANT* result,
                             EXCEPINFO* exception, UINT* argError) noexcept {
  if (iid != IID_NULL) return DISP_E_UNKNOWNINTERFACE;
  if (!params) return E_INVALIDARG;
  // A count with no array behind it, or more names than arguments: nothing may be read there.
  if ((params->cArgs && !params->rgvarg) || (params->cNamedArgs && !params->rgdispidNamedArgs) ||
      params->cNamedArgs > params->cArgs)
    return E_INVALIDARG;
  // The type information checks the argument count and coerces each argument to its declared
  // type, so a wrong call ends in a dispatch error before any method code runs.
  if (HRESULT picture; InvokePictureMethod(this, id, *params, result, exception, argError, &picture)) return picture;
  try {
    ByRefArguments byRef;
    const HRESULT prepared = byRef.Prepare(typeInfo_.get(), id, *params, argError);
    if (FAILED(prepared)) return prepared;
    const HRESULT hr =
        typeInfo_->Invoke(static_cast<_Quessel*>(this), id, flags, byRef.params(), result, exception, argError);
    byRef.WriteBack();
    return hr;
  } catch (const std::bad_alloc&) {
    return E_OUTOFMEMORY;
  }
}

STDMETHODIMP Quessel::InterfaceSupportsErrorInfo(REFIID iid) noexcept {
  return iid == IID__Quessel ? S_OK : S_FALSE;
}

STDMETHODIMP Quessel::GetClassInfo(ITypeInfo** info) noexcept { return GetOwnTypeInfo(CLSID_Quessel, info); }

STDMETHODIMP Quessel::GetGUID(DWORD kind, GUID* guid) noexcept {
  if (!guid) return E_POINTER;
  if (kind != GUIDKIND_DEFAULT_SOURCE_DISP_IID) return E_INVALIDARG;
  *guid = DIID___Quessel;
  return S_OK;
}

STDMETHODIMP Quessel::EnumConnectionPoints(IEnumConnectionPoints** points) noexcept {
  if (points) *points = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP Quessel::FindConnectionPoint(REFIID, IConnectionPoint** point) noexcept {
  if (!point) return E_POINTER;
  *point = nullptr;
  return CONNECT_E_NOCONNECTION;
}

}  // namespace pravik::controllib
