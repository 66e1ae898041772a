#include "menu/web_panel_site.h"

namespace pravik::menu {

STDMETHODIMP WebPanel::Site::QueryInterface(REFIID riid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (riid == IID_IUnknown || riid == IID_IOleClientSite) {
    *out = static_cast<IOleClientSite*>(this);
  } else if (riid == IID_IOleWindow || riid == IID_IOleInPlaceSite) {
    *out = static_cast<IOleInPlaceSite*>(this);
  } else if (riid == IID_IOleInPlaceUIWindow || riid == IID_IOleInPlaceFrame) {
    *out = static_cast<IOleInPlaceFrame*>(this);
  } else {
    return E_NOINTERFACE;
  }
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) WebPanel::Site::AddRef() noexcept {
  return static_cast<ULONG>(::InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) WebPanel::Site::Release() noexcept {
  const LONG left = ::InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP WebPanel::Site::GetMoniker(DWORD, DWORD, IMoniker** out) noexcept {
  if (out) *out = nullptr;
  return E_NOTIMPL;
}

STDMETHODIMP WebPanel::Site::GetContainer(IOleContainer** out) noexcept {
  if (out) *out = nullptr;
  return E_NOINTERFACE;
}

STDMETHODIMP WebPanel::Site::GetWindow(HWND* out) noexcept {
  if (!out) return E_POINTER;
  *out = window_;
  return S_OK;
}

STDMETHODIMP WebPanel::Site::GetWindowContext(IOleInPlaceFrame** frame, IOleInPlaceUIWindow** document,
                                              LPRECT position, LPRECT clip, LPOLEINPLACEFRAMEINFO info) noexcept {
  if (!frame || !document || !position || !clip || !info) return E_POINTER;
  *frame = static_cast<IOleInPlaceFrame*>(this);
  AddRef();
  *document = nullptr;
  *position = WebPanel::BrowserRect();
  ::GetClientRect(window_, clip);
  info->fMDIApp = FALSE;
  info->hwndFrame = ::GetAncestor(window_, GA_ROOT);
  info->haccel = nullptr;
  info->cAccelEntries = 0;
  return S_OK;
}

}  // namespace pravik::menu
