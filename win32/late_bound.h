#pragma once
// An automation object called late-bound, by dispatch identifier or by member name. This is the
// one way programs make such calls: arguments and results are Variant owners, so nothing is left
// to clear by hand, whatever way a call ends.
#include <oaidl.h>

#include <initializer_list>
#include <optional>
#include <string>

#include "win32/com_ptr.h"
#include "win32/variant.h"

namespace pravik::win32 {

class LateBoundObject {
 public:
  LateBoundObject() noexcept = default;
  // Creates the class named by ProgID or CLSID; empty() tells whether that worked.
  explicit LateBoundObject(const wchar_t* progId, DWORD context = CLSCTX_INPROC_SERVER) noexcept;
  explicit LateBoundObject(const CLSID& clsid, DWORD context = CLSCTX_INPROC_SERVER) noexcept;

  // Whether the class named by ProgID is registered with an in-process server file that exists:
  // what creating it needs, checked without loading anything.
  [[nodiscard]] static bool InprocServerInstalled(const wchar_t* progId) noexcept;

  [[nodiscard]] bool empty() const noexcept { return !dispatch_; }
  [[nodiscard]] HRESULT creationResult() const noexcept { return created_; }
  [[nodiscard]] IDispatch* get() const noexcept { return dispatch_.get(); }

  // Calls a member with positional arguments, first to last. A property put passes its one
  // argument as the new value. `result` may be null when the answer is not wanted.
  HRESULT Invoke(DISPID id, WORD flags, std::initializer_list<Variant> args = {},
                 Variant* result = nullptr) const noexcept;
  HRESULT Invoke(const wchar_t* name, WORD flags, std::initializer_list<Variant> args = {},
                 Variant* result = nullptr) const noexcept;

  // A method or property without arguments, its answer converted.
  HRESULT Call(DISPID id, Variant& result) const noexcept;
  [[nodiscard]] std::optional<long> CallLong(DISPID id) const noexcept;
  [[nodiscard]] std::optional<std::wstring> CallText(DISPID id) const noexcept;

 private:
  ComPtr<IDispatch> dispatch_;
  HRESULT created_ = E_FAIL;
};

}  // namespace pravik::win32
