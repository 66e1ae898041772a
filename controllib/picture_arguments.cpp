#include "controllib/picture_arguments.h"

#include <oleauto.h>

#include "win32/com_ptr.h"
#include "win32/variant.h"

namespace pravik::controllib {
namespace {

constexpr DISPID kSaveJpg = DISPID_QUESSEL_SAVEJPG;
constexpr DISPID kSaveGif = DISPID_QUESSEL_SAVEGIF;
constexpr DISPID kSavePng = DISPID_QUESSEL_SAVEPNG;

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
  win32::Variant name;
  if (FAILED(name.ConvertFrom(arg(1), VT_BSTR))) {
    if (argError) *argError = params.cArgs - 2;
    *hr = DISP_E_TYPEMISMATCH;
    return true;
  }
  LONG quality = 80;
  bool hasQuality = false;
  if (params.cArgs == 3 && !(Unwrapped(arg(2)).vt == VT_ERROR)) {
    win32::Variant q;
    if (FAILED(q.ConvertFrom(arg(2), VT_I4))) {
      if (argError) *argError = 0;
      *hr = DISP_E_TYPEMISMATCH;
      return true;
    }
    quality = q.v.lVal;
    hasQuality = true;
  }
  IPictureDisp* raw = picture.get();
  HRESULT call = E_UNEXPECTED;
  if (id == kSaveJpg) {
    call = object->cSaveJPG(&raw, name.v.bstrVal, hasQuality ? &quality : nullptr);
  } else if (id == kSaveGif) {
    call = object->cSaveGIF(&raw, name.v.bstrVal);
  } else {
    call = object->cSavePNG(&raw, name.v.bstrVal);
  }
  if (FAILED(call)) {
    FillException(call, exception);
    *hr = DISP_E_EXCEPTION;
  } else {
    *hr = S_OK;
  }
  return true;
}

}  // namespace pravik::controllib
