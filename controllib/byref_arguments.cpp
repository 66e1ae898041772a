#include "controllib/byref_arguments.h"

#include <oleauto.h>


namespace pravik::controllib {
namespace {

bool Adjustable(VARTYPE vt) noexcept {
  return vt == VT_I2 || vt == VT_I4 || vt == VT_R8 || vt == VT_BSTR || vt == VT_BOOL;
}

// The declared base type of a by-reference parameter, or VT_EMPTY when it is not one we adjust.
VARTYPE ReferencedType(const ELEMDESC& e) noexcept {
  if (e.tdesc.vt != VT_PTR || !e.tdesc.lptdesc) return VT_EMPTY;
  return Adjustable(e.tdesc.lptdesc->vt) ? e.tdesc.lptdesc->vt : static_cast<VARTYPE>(VT_EMPTY);
}

// The declared type of a by-value parameter; enumerations travel as 32-bit integers.
VARTYPE ValueType(const ELEMDESC& e) noexcept {
  if (e.tdesc.vt == VT_USERDEFINED) return static_cast<VARTYPE>(VT_I4);
  return Adjustable(e.tdesc.vt) ? e.tdesc.vt : static_cast<VARTYPE>(VT_EMPTY);
}

// The method's description; the caller releases it. Found by walking the descriptions: under
// Wine, GetFuncIndexOfMemId did not find the methods of the dual interface's dispatch side.
FUNCDESC* FindFunction(ITypeInfo* info, DISPID id) noexcept {
  TYPEATTR* attr = nullptr;
  if (FAILED(info->GetTypeAttr(&attr))) return nullptr;
  const UINT count = attr->cFuncs;
  info->ReleaseTypeAttr(attr);
  for (UINT i = 0; i < count; ++i) {
    FUNCDESC* desc = nullptr;
    if (FAILED(info->GetFuncDesc(i, &desc))) continue;
    if (desc->memid == id) return desc;
    info->ReleaseFuncDesc(desc);
  }
  return nullptr;
}

}  // namespace

HRESULT ByRefArguments::Prepare(ITypeInfo* info, DISPID id, const DISPPARAMS& caller, UINT* argError) {
  params_ = caller;
  if (caller.cNamedArgs != 0 || caller.cArgs == 0 || !caller.rgvarg) return S_OK;
  FUNCDESC* desc = FindFunction(info, id);
  if (!desc) return S_OK;

  args_.assign(caller.rgvarg, caller.rgvarg + caller.cArgs);
  temporaries_.reserve(caller.cArgs);
  HRESULT hr = S_OK;
  const UINT count = static_cast<UINT>(desc->cParams);
  for (UINT i = 0; i < caller.cArgs && i < count; ++i) {
    VARIANT& arg = args_[caller.cArgs - 1 - i];  // arguments travel last first
    if (arg.vt != (VT_VARIANT | VT_BYREF) || !arg.pvarVal) continue;
    VARIANT* target = arg.pvarVal;
    const ELEMDESC& declared = desc->lprgelemdescParam[i];
    if (const VARTYPE byValue = ValueType(declared); byValue != VT_EMPTY) {
      // A variable passed where a value is declared: its value, converted, goes by value.
      if (target->vt == VT_ERROR) continue;
      Temporary& t = temporaries_.emplace_back();
      t.callerTarget = nullptr;
      if (FAILED(::VariantChangeType(t.value.put(), target, 0, byValue))) {
        temporaries_.pop_back();
        if (argError) *argError = caller.cArgs - 1 - i;
        hr = DISP_E_TYPEMISMATCH;
        break;
      }
      arg = t.value.v;  // a shallow copy; the temporary keeps ownership
      continue;
    }
    const VARTYPE want = ReferencedType(declared);
    if (want == VT_EMPTY) continue;
    Temporary& t = temporaries_.emplace_back();
    t.callerTarget = target;
    // A missing optional argument passes as is; a variant that holds the declared type already
    // is passed as a direct reference to its value (Wine does not unwrap it either).
    if (target->vt == VT_ERROR) {
      temporaries_.pop_back();
      continue;
    }
    if (target->vt == want) {
      temporaries_.pop_back();
      arg.vt = static_cast<VARTYPE>(want | VT_BYREF);
      arg.byref = &target->lVal;
      continue;
    }
    if (FAILED(::VariantChangeType(t.value.put(), target, 0, want))) {
      temporaries_.pop_back();
      if (argError) *argError = caller.cArgs - 1 - i;
      hr = DISP_E_TYPEMISMATCH;
      break;
    }
    arg.vt = static_cast<VARTYPE>(want | VT_BYREF);
    arg.byref = &t.value.v.lVal;  // every member of the union starts at the same address
  }
  info->ReleaseFuncDesc(desc);
  params_.rgvarg = args_.data();
  return hr;
}

void ByRefArguments::WriteBack() noexcept {
  for (Temporary& t : temporaries_) {
    if (!t.callerTarget) continue;  // a value argument: nothing goes back
    ::VariantClear(t.callerTarget);
    *t.callerTarget = t.value.release();  // the caller's variant takes over the value and its text
  }
  temporaries_.clear();
}

}  // namespace pravik::controllib
