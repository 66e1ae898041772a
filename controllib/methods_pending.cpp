// Methods whose families are not built yet answer E_NOTIMPL: nothing pretends to work.
#include "controllib/quessel.h"

namespace pravik::quessel {

STDMETHODIMP Quessel::cReg_Read(LONG *, BSTR *, BSTR *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_Load(LONG *, BSTR *, BSTR *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_Open(LONG *, BSTR *, BSTR *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_Write(LONG *, BSTR *, BSTR *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_Save(LONG *, BSTR *, BSTR *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_DeleteValueSetting(LONG *, BSTR *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_DeleteKeySetting(LONG *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cSaveJPG(IPictureDisp **, BSTR, LONG *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cSaveGIF(IPictureDisp **, BSTR) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cSavePNG(IPictureDisp **, BSTR) noexcept { return E_NOTIMPL; }

}  // namespace pravik::quessel
