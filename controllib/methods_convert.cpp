// Data conversions: numbers, colours, durations and the byte-counting text methods. The logic
// is in core/convert; this side passes arguments and turns conversion failures into the
// numbered errors callers see (5 invalid procedure call, 6 overflow).
#include "controllib/ansi_code_page.h"
#include "controllib/bstr.h"
#include "controllib/method_error.h"
#include "controllib/quessel.h"
#include "core/convert/ansi_text.h"
#include "core/convert/convert_error.h"
#include "core/convert/numbers.h"
#include "win32/text.h"

namespace pravik::controllib {
namespace {

template <typename Body>
HRESULT RunConversion(Body&& body) noexcept {
  return RunMethod([&] {
    try {
      return body();
    } catch (const core::convert::ConvertError& e) {
      const std::string what = e.what();
      throw MethodError(ErrorNumberToHresult(static_cast<long>(e.number())), win32::Utf8ToWide(what));
    }
  });
}

const AnsiCodePage kAnsi;

}  // namespace

STDMETHODIMP Quessel::cDec2Hex(DOUBLE* InputDec, BSTR* result) noexcept {
  if (!InputDec || !result) return E_POINTER;
  return RunConversion([&] {
    const std::string hex = core::convert::Dec2Hex(*InputDec);
    PutText(result, std::wstring(hex.begin(), hex.end()));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cHex2Dec(BSTR HexData, LONG* result) noexcept {
  if (!result) return E_POINTER;
  return RunConversion([&] {
    *result = core::convert::Hex2Dec(AsU16(View(HexData)));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cBase64Encode(BSTR* vbstrValue, BSTR* result) noexcept {
  if (!vbstrValue || !result) return E_POINTER;
  return RunConversion([&] {
    PutText(result, AsWide(core::convert::Base64Encode(kAnsi, AsU16(View(vbstrValue)))));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cBase64Decode(BSTR* vbstrString, BSTR* result) noexcept {
  if (!vbstrString || !result) return E_POINTER;
  return RunConversion([&] {
    PutText(result, AsWide(core::convert::Base64Decode(kAnsi, AsU16(View(vbstrString)))));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cVBColor2RGB(LONG* LongData, LONG* r, LONG* G, LONG* b) noexcept {
  if (!LongData || !r || !G || !b) return E_POINTER;
  const core::convert::Rgb rgb = core::convert::ColourToRgb(*LongData);
  *r = rgb.r;
  *G = rgb.g;
  *b = rgb.b;
  return S_OK;
}

STDMETHODIMP Quessel::cTimeSec2HourMinSec(LONG* iSecond, BSTR* HourString, BSTR* MinString, BSTR* SecString,
                                          BSTR* result) noexcept {
  if (!iSecond || !result) return E_POINTER;
  return RunConversion([&] {
    const core::convert::HourMinSec t = core::convert::SecondsToHourMinSec(
        *iSecond, AsU16(ViewOr(HourString, L":")), AsU16(ViewOr(MinString, L":")), AsU16(ViewOr(SecString, L"")));
    PutText(result, AsWide(t.text));
    *iSecond = t.secondsLeft;
    return S_OK;
  });
}

STDMETHODIMP Quessel::cString_Len(BSTR Messages, SHORT* result) noexcept {
  if (!result) return E_POINTER;
  return RunConversion([&] {
    *result = core::convert::AnsiLength(kAnsi, AsU16(View(Messages)));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cString_Left(BSTR* Messages, SHORT* intLen, BSTR* result) noexcept {
  if (!Messages || !intLen || !result) return E_POINTER;
  return RunConversion([&] {
    PutText(result, AsWide(core::convert::AnsiLeft(kAnsi, AsU16(View(Messages)), *intLen)));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cString_Right(BSTR* Messages, SHORT* intLen, BSTR* result) noexcept {
  if (!Messages || !intLen || !result) return E_POINTER;
  return RunConversion([&] {
    PutText(result, AsWide(core::convert::AnsiRight(kAnsi, AsU16(View(Messages)), *intLen)));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cString_Mid(BSTR* Messages, SHORT* intStr, SHORT* intLen, BSTR* result) noexcept {
  if (!Messages || !intStr || !intLen || !result) return E_POINTER;
  return RunConversion([&] {
    PutText(result, AsWide(core::convert::AnsiMid(kAnsi, AsU16(View(Messages)), *intStr, *intLen)));
    return S_OK;
  });
}

}  // namespace pravik::controllib
