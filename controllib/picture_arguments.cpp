#include "controllib/picture_arguments.h"

#include <oleauto.h>

#include "win32/com_ptr.h"

namespace pravik::controllib {
namespace {

constexpr DISPID kSaveJpg = 0x60030055;
constexpr DISPID kSaveGif = 0x60030056;
constexpr DISPID kSavePng = 0x60030057;

const VARIANT& Unwrapped(const VARIANT& v) { return v.vt == (VT_VARIANT | VT_BYREF) && v.pvarVal ? *v.pvarVal : v; }

// The picture argument: an object, by value or by reference; Nothing passes as a null picture.
HRESULT PictureOf(const VARIANT& arg, win32::ComPtr<IPictureDisp>& picture) {
  const VARIANT& v = Unwrapped(arg);
  IUnknown* object = nullptr;
  switch (v.vt) {
    case VT_DISPATCH: object = v.pdispVal; break;
    case VT_UNKNOWN: object = v.punkVal; break;
    case VT_DISPATCH | VT_BYREF: object = v.ppdispVal ? *v.ppdispVal : nullptr; break;
    case VT_UNKNOWN | VT_BYREF: object = v.ppunkVal ? *v.ppunkVal : nullptr; break;
    case VT_EMPTY: break;
    default: return DISP_E_TYPEMISMATCH;
  }
  if (!object) return S_OK;
  return object->QueryInterface(IID_IPictureDisp, picture.put_void()) == S_OK ? S_OK : DISP_E_TYPEMISMATCH;
}

void FillException(HRESULT hr, EXCEPINFO* exception) {
  if (!exception) return;
  *exception = {};
  exception->scode = hr;
  win32::ComPtr<IErrorInfo> info;
  if (::GetErrorInfo(0, info.put()) == S_OK) {
    info->GetSource(&exception->bstrSource);
    info->GetDescription(&exception->bstrDescription);
  }
}

}  // namespace

bool InvokePictureMethod(_Quessel* object, DISPID id, const DISPPARAMS& params, VARIANT* result,
                         EXCEPINFO* exception, UINT* argError, HRESULT* hr) noexcept {
  if (id != kSaveJpg && id != kSaveGif && id != kSavePng) return false;
  if (result) ::VariantInit(result);
  const UINT maximum = id == kSaveJpg ? 3 : 2;
  if (params.cNamedArgs != 0) {
    *hr = DISP_E_NONAMEDARGS;
    return true;
  }
  if (params.cArgs < 2 || params.cArgs > maximum) {
    *hr = DISP_E_BADPARAMCOUNT;
    return true;
  }
  auto arg = [&](UINT i) -> const VARIANT& { return params.rgvarg[params.cArgs - 1 - i]; };
  win32::ComPtr<IPictureDisp> picture;
  if (FAILED(PictureOf(arg(0), picture))) {
    if (argError) *argError = params.cArgs - 1;
    *hr = DISP_E_TYPEMISMATCH;
    return true;
  }
  VARIANT name;
  ::VariantInit(&name);
  if (FAILED(::VariantChangeType(&name, const_cast<VARIANT*>(&Unwrapped(arg(1))), 0, VT_BSTR))) {
    if (argError) *argError = params.cArgs - 2;
    *hr = DISP_E_TYPEMISMATCH;
    return true;
  }
  LONG quality = 80;
  bool hasQuality = false;
  if (params.cArgs == 3 && !(Unwrapped(arg(2)).vt == VT_ERROR)) {
    VARIANT q;
    ::VariantInit(&q);
    if (FAILED(::VariantChangeType(&q, const_cast<VARIANT*>(&Unwrapped(arg(2))), 0, VT_I4))) {
      ::VariantClear(&name);
      if (argError) *argError = 0;
      *hr = DISP_E_TYPEMISMATCH;
      return true;
    }
    quality = q.lVal;
    hasQuality = true;
  }
  IPictureDisp* raw = picture.get();
  HRESULT call = E_UNEXPECTED;
  if (id == kSaveJpg) {
    call = object->cSaveJPG(&raw, name.bstrVal, hasQuality ? &quality : nullptr);
  } else if (id == kSaveGif) {
    call = object->cSaveGIF(&raw, name.bstrVal);
  } else {
    call = object->cSavePNG(&raw, name.bstrVal);
  }
  ::VariantClear(&name);
  if (FAILED(call)) {
    FillException(call, exception);
    *hr = DISP_E_EXCEPTION;
  } else {
    *hr = S_OK;
  }
  return true;
}

}  // namespace pravik::controllib
