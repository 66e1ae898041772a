#pragma once
// A late-bound client of the registered control, as a host or a script engine calls it.
#include <windows.h>
#include <oaidl.h>

#include <initializer_list>
#include <string>
#include <vector>

#include "win32/com_ptr.h"

namespace pravik::controllib {

// A VARIANT that clears itself.
struct Var {
  VARIANT v;
  Var() noexcept { ::VariantInit(&v); }
  explicit Var(long value) noexcept : Var() { v.vt = VT_I4, v.lVal = value; }
  explicit Var(const wchar_t* text) : Var() { v.vt = VT_BSTR, v.bstrVal = ::SysAllocString(text); }
  Var(const Var& other) : Var() { ::VariantCopy(&v, const_cast<VARIANT*>(&other.v)); }
  Var& operator=(const Var&) = delete;
  ~Var() { ::VariantClear(&v); }
  [[nodiscard]] std::wstring Text() const { return v.vt == VT_BSTR ? std::wstring(v.bstrVal, ::SysStringLen(v.bstrVal)) : L"<not text>"; }
};

struct CallResult {
  HRESULT hr = E_FAIL;
  Var value;
  EXCEPINFO exception{};
  UINT argError = 0;
  ~CallResult();
  [[nodiscard]] std::wstring Description() const;
};

class DispatchClient {
 public:
  DispatchClient();  // creates "QuesselControl.Quessel"
  [[nodiscard]] IDispatch* get() const noexcept { return dispatch_.get(); }
  [[nodiscard]] HRESULT created() const noexcept { return created_; }
  // Arguments in their natural order; each may be a by-reference variant.
  CallResult Call(DISPID id, std::vector<VARIANT> args = {}) const;
  CallResult Call(const wchar_t* name, std::vector<VARIANT> args = {}) const;
  DISPID IdOf(const wchar_t* name) const;

 private:
  win32::ComPtr<IDispatch> dispatch_;
  HRESULT created_ = E_FAIL;
};

VARIANT ByRef(long* value) noexcept;
VARIANT ByRef(BSTR* text) noexcept;
VARIANT Value(long value) noexcept;
// The caller owns the BSTR inside; use Var to hold it when it must be freed.
VARIANT Value(const Var& owner) noexcept;

}  // namespace pravik::controllib
