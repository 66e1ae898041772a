#include "menu/web_panel_events.h"

#include <exdispid.h>

#include "core/menu/panel_navigation.h"
#include "win32/com_ptr.h"
#include "win32/launch.h"
#include "win32/variant.h"

namespace pravik::menu {

namespace {

// The by-reference VARIANT_BOOL that cancels, when the argument is one.
void SetCancel(VARIANT& argument) {
  if (argument.vt == (VT_BOOL | VT_BYREF) && argument.pboolVal) *argument.pboolVal = VARIANT_TRUE;
}

std::wstring TextOf(const VARIANT& argument) {
  win32::Variant text;
  if (FAILED(text.ConvertFrom(argument, VT_BSTR)) || !text.v.bstrVal) return {};
  return std::wstring(text.v.bstrVal, ::SysStringLen(text.v.bstrVal));
}

bool SameObject(IUnknown* a, IUnknown* b) {
  if (!a || !b) return false;
  win32::ComPtr<IUnknown> first, second;
  return SUCCEEDED(a->QueryInterface(IID_IUnknown, first.put_void())) &&
         SUCCEEDED(b->QueryInterface(IID_IUnknown, second.put_void())) && first.get() == second.get();
}

}  // namespace

STDMETHODIMP WebPanel::Events::QueryInterface(REFIID riid, void** out) noexcept {
  if (!out) return E_POINTER;
  *out = nullptr;
  if (riid != IID_IUnknown && riid != IID_IDispatch && riid != DIID_DWebBrowserEvents2) return E_NOINTERFACE;
  *out = static_cast<IDispatch*>(this);
  AddRef();
  return S_OK;
}

STDMETHODIMP_(ULONG) WebPanel::Events::AddRef() noexcept {
  return static_cast<ULONG>(::InterlockedIncrement(&references_));
}

STDMETHODIMP_(ULONG) WebPanel::Events::Release() noexcept {
  const LONG left = ::InterlockedDecrement(&references_);
  if (left == 0) delete this;
  return static_cast<ULONG>(left);
}

STDMETHODIMP WebPanel::Events::GetTypeInfoCount(UINT* count) noexcept {
  if (!count) return E_POINTER;
  *count = 0;
  return S_OK;
}

STDMETHODIMP WebPanel::Events::Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                                      UINT*) noexcept {
  if (!parameters) return S_OK;
  try {
    // Arguments arrive last first.
    VARIANT* args = parameters->rgvarg;
    const UINT count = parameters->cArgs;
    switch (id) {
      case DISPID_BEFORENAVIGATE2:  // (frame, URL, Flags, TargetFrameName, PostData, Headers, Cancel)
        if (count == 7) {
          IDispatch* frame = args[6].vt == VT_DISPATCH ? args[6].pdispVal : nullptr;
          if (!Allow(frame, TextOf(args[5]))) SetCancel(args[0]);
        }
        break;
      case DISPID_NEWWINDOW3:  // (ppDisp, Cancel, Flags, URLContext, URL)
        if (count == 5) {
          SetCancel(args[3]);
          OpenOutside(TextOf(args[0]));
        }
        break;
      case DISPID_NEWWINDOW2:  // (ppDisp, Cancel): no address to open
        if (count == 2) SetCancel(args[0]);
        break;
      default:
        break;
    }
  } catch (...) {
    // Nothing may leave a COM call.
  }
  return S_OK;
}

bool WebPanel::Events::Allow(IDispatch* frame, const std::wstring& address) {
  if (!browser_) return false;
  if (core::menu::PanelMayFollow(address, given_)) return true;
  // A frame inside the page is only stopped; the panel's own page goes to the user's browser.
  if (SameObject(frame, browser_)) OpenOutside(address);
  return false;
}

void WebPanel::Events::OpenOutside(const std::wstring& address) {
  // Only web addresses: file:, javascript: and the like open nothing anywhere.
  if (!core::menu::HostOf(address)) return;
  (void)win32::OpenAsUserOrTell(owner_, address);
}

}  // namespace pravik::menu
