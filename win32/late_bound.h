#pragma once
// An instance of a registered automation class, called late-bound by dispatch identifier.
#include <oaidl.h>

#include <optional>
#include <string>

#include "win32/com_ptr.h"

namespace pravik::win32 {

class LateBoundObject {
 public:
  // Creates the class named by ProgID; empty() tells whether that worked.
  explicit LateBoundObject(const wchar_t* progId) noexcept;
  [[nodiscard]] bool empty() const noexcept { return !dispatch_; }
  [[nodiscard]] HRESULT creationResult() const noexcept { return created_; }
  [[nodiscard]] IDispatch* get() const noexcept { return dispatch_.get(); }

  // Calls a method by dispatch identifier without arguments.
  HRESULT Call(DISPID id, VARIANT& result) const noexcept;
  [[nodiscard]] std::optional<long> CallLong(DISPID id) const noexcept;
  [[nodiscard]] std::optional<std::wstring> CallText(DISPID id) const noexcept;

 private:
  ComPtr<IDispatch> dispatch_;
  HRESULT created_ = E_FAIL;
};

}  // namespace pravik::win32
