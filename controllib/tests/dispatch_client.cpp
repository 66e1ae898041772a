#include "controllib/tests/dispatch_client.h"

#include <windows.h>
#include <oleauto.h>

#include <algorithm>

namespace pravik::controllib {

CallResult::~CallResult() {
  ::SysFreeString(exception.bstrSource);
  ::SysFreeString(exception.bstrDescription);
  ::SysFreeString(exception.bstrHelpFile);
}

std::wstring CallResult::Description() const {
  return exception.bstrDescription ? std::wstring(exception.bstrDescription) : std::wstring();
}

DispatchClient::DispatchClient() {
  CLSID clsid;
  created_ = ::CLSIDFromProgID(L"QuesselControl.Quessel", &clsid);
  if (SUCCEEDED(created_))
    created_ = ::CoCreateInstance(clsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch, dispatch_.put_void());
}

DISPID DispatchClient::IdOf(const wchar_t* name) const {
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  return id;
}

CallResult DispatchClient::Call(DISPID id, std::vector<VARIANT> args) const {
  CallResult r;
  std::reverse(args.begin(), args.end());  // dispatch arguments travel last first
  DISPPARAMS params{args.empty() ? nullptr : args.data(), nullptr, static_cast<UINT>(args.size()), 0};
  r.hr = dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_METHOD, &params, &r.value.v, &r.exception,
                           &r.argError);
  return r;
}

CallResult DispatchClient::Call(const wchar_t* name, std::vector<VARIANT> args) const {
  return Call(IdOf(name), std::move(args));
}

VARIANT ByRef(long* value) noexcept {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4 | VT_BYREF;
  v.plVal = value;
  return v;
}

VARIANT ByRef(BSTR* text) noexcept {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_BSTR | VT_BYREF;
  v.pbstrVal = text;
  return v;
}

VARIANT Value(long value) noexcept {
  VARIANT v;
  ::VariantInit(&v);
  v.vt = VT_I4;
  v.lVal = value;
  return v;
}

VARIANT Value(const Var& owner) noexcept { return owner.v; }

}  // namespace pravik::controllib
