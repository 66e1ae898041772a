#pragma once
// Owner of one VARIANT: initialised empty, cleared when it goes, moved but never copied by
// accident. The factories make the argument kinds late-bound calls pass.
#include <oleauto.h>

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace pravik::win32 {

struct Variant {
  VARIANT v;

  Variant() noexcept { ::VariantInit(&v); }
  ~Variant() { ::VariantClear(&v); }
  Variant(const Variant&) = delete;
  Variant& operator=(const Variant&) = delete;
  Variant(Variant&& other) noexcept : v(other.v) { ::VariantInit(&other.v); }
  Variant& operator=(Variant&& other) noexcept {
    if (this != &other) {
      ::VariantClear(&v);
      v = other.v;
      ::VariantInit(&other.v);
    }
    return *this;
  }

  static Variant Long(long value) noexcept {
    Variant out;
    out.v.vt = VT_I4;
    out.v.lVal = value;
    return out;
  }
  static Variant Bool(bool value) noexcept {
    Variant out;
    out.v.vt = VT_BOOL;
    out.v.boolVal = value ? VARIANT_TRUE : VARIANT_FALSE;
    return out;
  }
  // A copy of the text; empty (VT_EMPTY) when the string cannot be allocated.
  static Variant Text(std::wstring_view text) noexcept {
    Variant out;
    out.v.bstrVal = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
    if (out.v.bstrVal) out.v.vt = VT_BSTR;
    return out;
  }

  // Cleared, ready to receive a result.
  VARIANT* put() noexcept {
    ::VariantClear(&v);
    return &v;
  }
  // Hands the value over to a VARIANT the caller takes charge of; this one is left empty.
  [[nodiscard]] VARIANT release() noexcept {
    VARIANT out = v;
    ::VariantInit(&v);
    return out;
  }
  [[nodiscard]] bool empty() const noexcept { return v.vt == VT_EMPTY; }

  // The value converted (a reference followed), or nothing when it does not convert.
  [[nodiscard]] std::optional<long> AsLong() const noexcept {
    Variant converted;
    if (FAILED(converted.ConvertFrom(v, VT_I4))) return std::nullopt;
    return converted.v.lVal;
  }
  [[nodiscard]] std::optional<std::wstring> AsText() const {
    Variant converted;
    if (FAILED(converted.ConvertFrom(v, VT_BSTR))) return std::nullopt;
    return std::wstring(converted.v.bstrVal ? converted.v.bstrVal : L"", ::SysStringLen(converted.v.bstrVal));
  }

  // This variant becomes `source` converted to `type` (a by-reference variant is followed).
  HRESULT ConvertFrom(const VARIANT& source, VARTYPE type) noexcept {
    const VARIANT* from = source.vt == (VT_VARIANT | VT_BYREF) && source.pvarVal ? source.pvarVal : &source;
    return ::VariantChangeType(put(), const_cast<VARIANT*>(from), 0, type);
  }
};

}  // namespace pravik::win32
