#include "win32/late_bound.h"

#include <oleauto.h>

namespace pravik::win32 {

LateBoundObject::LateBoundObject(const wchar_t* progId) noexcept {
  CLSID clsid;
  created_ = ::CLSIDFromProgID(progId, &clsid);
  if (FAILED(created_)) return;
  created_ = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, dispatch_.put_void());
}

HRESULT LateBoundObject::Call(DISPID id, VARIANT& result) const noexcept {
  ::VariantInit(&result);
  if (!dispatch_) return E_POINTER;
  DISPPARAMS none{};
  return dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD | DISPATCH_PROPERTYGET, &none, &result,
                           nullptr, nullptr);
}

std::optional<long> LateBoundObject::CallLong(DISPID id) const noexcept {
  VARIANT v;
  if (FAILED(Call(id, v))) return std::nullopt;
  std::optional<long> out;
  if (SUCCEEDED(::VariantChangeType(&v, &v, 0, VT_I4))) out = v.lVal;
  ::VariantClear(&v);
  return out;
}

std::optional<std::wstring> LateBoundObject::CallText(DISPID id) const noexcept {
  VARIANT v;
  if (FAILED(Call(id, v))) return std::nullopt;
  std::optional<std::wstring> out;
  if (SUCCEEDED(::VariantChangeType(&v, &v, 0, VT_BSTR))) out = std::wstring(v.bstrVal ? v.bstrVal : L"", ::SysStringLen(v.bstrVal));
  ::VariantClear(&v);
  return out;
}

}  // namespace pravik::win32
