#include "controllib/byref_arguments.h"

#include <oleauto.h>

#include <new>
#include <string_view>


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

// An optional text passed by reference (its default, if any, is in the type library).
bool OptionalText(const ELEMDESC& e) noexcept {
  return (e.paramdesc.wParamFlags & PARAMFLAG_FOPT) && e.tdesc.vt == VT_PTR && e.tdesc.lptdesc &&
         e.tdesc.lptdesc->vt == VT_BSTR;
}

std::wstring_view DefaultText(const ELEMDESC& e) noexcept {
  const PARAMDESCEX* ex = e.paramdesc.pparamdescex;
  if (!(e.paramdesc.wParamFlags & PARAMFLAG_FHASDEFAULT) || !ex || ex->varDefaultValue.vt != VT_BSTR) return {};
  return {ex->varDefaultValue.bstrVal ? ex->varDefaultValue.bstrVal : L"", ::SysStringLen(ex->varDefaultValue.bstrVal)};
}

// What callers pass for an argument they leave out in the middle of a list, also as a variable.
bool Omitted(const VARIANT& arg) noexcept {
  const VARIANT& v = arg.vt == (VT_VARIANT | VT_BYREF) && arg.pvarVal ? *arg.pvarVal : arg;
  return v.vt == VT_ERROR && v.scode == DISP_E_PARAMNOTFOUND;
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
  if (caller.cNamedArgs != 0 || (caller.cArgs != 0 && !caller.rgvarg)) return S_OK;
  FUNCDESC* desc = FindFunction(info, id);
  if (!desc) return S_OK;
  const UINT count = static_cast<UINT>(desc->cParams);
  // Optional texts the caller left off the end are supplied here, up to the last of them.
  UINT total = caller.cArgs;
  for (UINT i = caller.cArgs; i < count; ++i)
    if (OptionalText(desc->lprgelemdescParam[i])) total = i + 1;

  std::vector<VARIANT> byPosition(total);  // in declaration order
  for (UINT i = 0; i < total; ++i) {
    if (i < caller.cArgs) {
      byPosition[i] = caller.rgvarg[caller.cArgs - 1 - i];  // arguments travel last first
    } else {
      ::VariantInit(&byPosition[i]);
      byPosition[i].vt = VT_ERROR;
      byPosition[i].scode = DISP_E_PARAMNOTFOUND;
    }
  }
  temporaries_.reserve(total);  // the arguments point into the temporaries: no reallocation
  HRESULT hr = S_OK;
  for (UINT i = 0; i < total && i < count; ++i) {
    VARIANT& arg = byPosition[i];
    const ELEMDESC& declared = desc->lprgelemdescParam[i];
    if (OptionalText(declared) && Omitted(arg)) {
      // Passed as a reference to the declared default: oleaut32 would hand a by-reference
      // parameter its default by value, or a reference to the "missing" marker instead of a text.
      Temporary& t = temporaries_.emplace_back();
      t.callerTarget = nullptr;
      t.value = win32::Variant::Text(DefaultText(declared));
      if (t.value.empty()) throw std::bad_alloc();
      arg.vt = VT_BSTR | VT_BYREF;
      arg.pbstrVal = &t.value.v.bstrVal;
      continue;
    }
    const VARTYPE want = ReferencedType(declared);
    if (arg.vt != (VT_VARIANT | VT_BYREF) || !arg.pvarVal) {
      // A plain value where a reference is declared goes as a reference to a copy of our own:
      // Wine's oleaut32 hands a by-reference text parameter that has a default the text itself
      // instead of a reference to it (the method then reads characters as an address), and
      // garbles the caller's texts in other mixes of values and references.
      if (want == VT_EMPTY || (arg.vt & VT_BYREF) || arg.vt == VT_ERROR) continue;
      Temporary& t = temporaries_.emplace_back();
      t.callerTarget = nullptr;
      if (FAILED(::VariantChangeType(t.value.put(), &arg, 0, want))) {
        temporaries_.pop_back();
        if (argError) *argError = caller.cArgs - 1 - i;
        hr = DISP_E_TYPEMISMATCH;
        break;
      }
      arg.vt = static_cast<VARTYPE>(want | VT_BYREF);
      arg.byref = &t.value.v.lVal;
      continue;
    }
    VARIANT* target = arg.pvarVal;
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
    if (want == VT_EMPTY) continue;
    // A missing optional argument passes as is; a variant that holds the declared type already
    // is passed as a direct reference to its value (Wine does not unwrap it either).
    if (target->vt == VT_ERROR) continue;
    if (target->vt == want) {
      arg.vt = static_cast<VARTYPE>(want | VT_BYREF);
      arg.byref = &target->lVal;
      continue;
    }
    Temporary& t = temporaries_.emplace_back();
    t.callerTarget = target;
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
  args_.assign(byPosition.rbegin(), byPosition.rend());
  params_.rgvarg = args_.empty() ? nullptr : args_.data();
  params_.cArgs = total;
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
