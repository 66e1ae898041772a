#include "win32/late_bound.h"

#include <oleauto.h>

#include <vector>

#include "win32/registry.h"

namespace pravik::win32 {

LateBoundObject::LateBoundObject(const CLSID& clsid, DWORD context) noexcept {
  created_ = ::CoCreateInstance(clsid, nullptr, context, IID_IDispatch, dispatch_.put_void());
}

bool LateBoundObject::InprocServerInstalled(const wchar_t* progId) noexcept {
  try {
    const auto clsid = ReadSystemString(HKEY_CLASSES_ROOT, std::wstring(progId) + L"\\CLSID");
    if (!clsid || clsid->empty()) return false;
    auto server = ReadSystemString(HKEY_CLASSES_ROOT, L"CLSID\\" + *clsid + L"\\InprocServer32");
    if (!server) return false;
    if (server->size() >= 2 && server->front() == L'"' && server->back() == L'"')
      *server = server->substr(1, server->size() - 2);
    const DWORD attributes = ::GetFileAttributesW(server->c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && !(attributes & FILE_ATTRIBUTE_DIRECTORY);
  } catch (...) {
    return false;
  }
}

LateBoundObject::LateBoundObject(const wchar_t* progId, DWORD context) noexcept {
  CLSID clsid;
  created_ = ::CLSIDFromProgID(progId, &clsid);
  if (SUCCEEDED(created_)) *this = LateBoundObject(clsid, context);
}

HRESULT LateBoundObject::Invoke(DISPID id, WORD flags, std::initializer_list<Variant> args,
                                Variant* result) const noexcept {
  if (result) result->put();
  if (!dispatch_) return E_POINTER;
  // Invoke reads its arguments last to first; the owners keep the values, these are views.
  std::vector<VARIANT> reversed;
  try {
    reversed.reserve(args.size());
  } catch (...) {
    return E_OUTOFMEMORY;
  }
  for (auto it = args.end(); it != args.begin();) reversed.push_back((--it)->v);
  DISPID put = DISPID_PROPERTYPUT;
  DISPPARAMS params{reversed.data(), nullptr, static_cast<UINT>(reversed.size()), 0};
  if (flags & (DISPATCH_PROPERTYPUT | DISPATCH_PROPERTYPUTREF)) {
    params.rgdispidNamedArgs = &put;
    params.cNamedArgs = 1;
  }
  Variant ignored;
  return dispatch_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result ? &result->v : &ignored.v,
                           nullptr, nullptr);
}

HRESULT LateBoundObject::Invoke(const wchar_t* name, WORD flags, std::initializer_list<Variant> args,
                                Variant* result) const noexcept {
  if (result) result->put();
  if (!dispatch_) return E_POINTER;
  DISPID id = DISPID_UNKNOWN;
  LPOLESTR names[] = {const_cast<LPOLESTR>(name)};
  const HRESULT hr = dispatch_->GetIDsOfNames(IID_NULL, names, 1, LOCALE_USER_DEFAULT, &id);
  if (FAILED(hr)) return hr;
  return Invoke(id, flags, args, result);
}

HRESULT LateBoundObject::Call(DISPID id, Variant& result) const noexcept {
  return Invoke(id, DISPATCH_METHOD | DISPATCH_PROPERTYGET, {}, &result);
}

std::optional<long> LateBoundObject::CallLong(DISPID id) const noexcept {
  Variant v;
  if (FAILED(Call(id, v))) return std::nullopt;
  return v.AsLong();
}

std::optional<std::wstring> LateBoundObject::CallText(DISPID id) const noexcept {
  Variant v;
  if (FAILED(Call(id, v))) return std::nullopt;
  try {
    return v.AsText();
  } catch (...) {
    return std::nullopt;
  }
}

}  // namespace pravik::win32
