#pragma once
// Script engines pass every variable by reference as a variant (VT_VARIANT | VT_BYREF) holding
// whatever type the variable has, for example a small number as a 16-bit integer. A parameter
// declared as a reference to a 32-bit integer or to a text then fails to convert under oleaut32
// (Wine refuses it outright). This stands between the caller and the type information: such an
// argument is converted into a temporary of the declared type, passed by reference, and the
// value the method leaves there is written back into the caller's variant afterwards. Where a
// value is declared, the variable's value is converted and passed by value. An optional text
// declared by reference that the caller leaves out gets a reference to its declared default.
#include <windows.h>
#include <oaidl.h>

#include <vector>

#include "win32/variant.h"

namespace pravik::controllib {

class ByRefArguments {
 public:
  ByRefArguments() = default;
  ByRefArguments(const ByRefArguments&) = delete;
  ByRefArguments& operator=(const ByRefArguments&) = delete;
  ~ByRefArguments() = default;

  // Builds the adjusted argument list for the method `id`; S_OK or DISP_E_TYPEMISMATCH with
  // *argError set. The returned parameters are valid while this object lives.
  HRESULT Prepare(ITypeInfo* info, DISPID id, const DISPPARAMS& caller, UINT* argError);
  [[nodiscard]] DISPPARAMS* params() noexcept { return &params_; }
  // Stores each temporary's final value into the caller's variant.
  void WriteBack() noexcept;

 private:
  struct Temporary {
    VARIANT* callerTarget;  // the variant the caller's reference points at; null for a value
    win32::Variant value;   // of the declared type
  };
  DISPPARAMS params_{};
  std::vector<VARIANT> args_;
  std::vector<Temporary> temporaries_;
};

}  // namespace pravik::controllib
