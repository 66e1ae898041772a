#pragma once
// Passing texts across the interface: BSTR arguments in, freshly allocated BSTR results out.
#include <windows.h>
#include <oleauto.h>

#include <new>
#include <string>
#include <string_view>

namespace pravik::controllib {

inline std::wstring_view View(BSTR text) noexcept { return {text ? text : L"", ::SysStringLen(text)}; }
inline std::wstring_view View(const BSTR* text) noexcept { return text ? View(*text) : std::wstring_view{}; }
// An optional by-reference text: a caller that omits it may pass no reference at all, and then
// the declared default applies (a reference to a null text is an empty text, not an omission).
inline std::wstring_view ViewOr(const BSTR* text, std::wstring_view byDefault) noexcept {
  return text ? View(*text) : byDefault;
}

// Stores text into a [out, retval] slot; throws bad_alloc when the string cannot be made.
inline void PutText(BSTR* out, std::wstring_view text) {
  *out = ::SysAllocStringLen(text.data(), static_cast<UINT>(text.size()));
  if (!*out) throw std::bad_alloc();
}

// A 32-bit window handle as callers pass it: handles are sign-extended on 64-bit Windows.
inline HWND HwndFromLong(long value) noexcept { return reinterpret_cast<HWND>(static_cast<LONG_PTR>(value)); }
inline long LongFromHwnd(HWND hwnd) noexcept { return static_cast<long>(reinterpret_cast<LONG_PTR>(hwnd)); }

}  // namespace pravik::controllib
