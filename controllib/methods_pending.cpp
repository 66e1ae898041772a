// Methods whose families are not built yet answer E_NOTIMPL: nothing pretends to work.
#include "controllib/quessel.h"

namespace pravik::quessel {

STDMETHODIMP Quessel::cNewExplorer(BSTR) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cSleep(LONG *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cMsgbox_OK(BSTR *, BSTR *, LONG *, VARIANT_BOOL *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cMsgbox_YesNo(BSTR *, BSTR *, LONG *, VARIANT_BOOL *, LONG *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_Read(LONG *, BSTR *, BSTR *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_Load(LONG *, BSTR *, BSTR *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_Open(LONG *, BSTR *, BSTR *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_Write(LONG *, BSTR *, BSTR *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_Save(LONG *, BSTR *, BSTR *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_DeleteValueSetting(LONG *, BSTR *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cReg_DeleteKeySetting(LONG *, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cSound_Play(BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cSound_Stop() noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cFileDownload(BSTR *, BSTR *, VARIANT_BOOL *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cShutdownSystem(EShutDownTypes, VARIANT_BOOL *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cFolder_Select(BSTR, BSTR *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cPopupMenu(BSTR *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, VARIANT *, LONG *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cVolume(LONG *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cEndProcess(BSTR) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cSaveJPG(IPictureDisp **, BSTR, LONG *) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cSaveGIF(IPictureDisp **, BSTR) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cSavePNG(IPictureDisp **, BSTR) noexcept { return E_NOTIMPL; }
STDMETHODIMP Quessel::cTooltip(BSTR *, LONG *, LONG *, LONG *) noexcept { return E_NOTIMPL; }

}  // namespace pravik::quessel
