#pragma once
// The web panel's listener on the browser control's navigation events (DWebBrowserEvents2). The
// panel lives in an elevated program: it follows only http(s) addresses on the hosts it was
// given; any other link, and every new window, is cancelled and the http(s) address opened in the
// user's own browser with the user's normal rights (win32::OpenAsUser).
#include <windows.h>

#include <exdisp.h>

#include <string>
#include <vector>

#include "menu/web_panel.h"

namespace pravik::menu {

class WebPanel::Events final : public IDispatch {
 public:
  Events(HWND owner, IWebBrowser2* browser) noexcept : owner_(owner), browser_(browser) {}
  // The addresses whose hosts the panel may follow.
  void SetGiven(std::vector<std::wstring> given) { given_ = std::move(given); }
  // The browser is going away: from now on every navigation is cancelled.
  void Detach() noexcept { browser_ = nullptr; }

  // IUnknown
  STDMETHODIMP QueryInterface(REFIID riid, void** out) noexcept override;
  STDMETHODIMP_(ULONG) AddRef() noexcept override;
  STDMETHODIMP_(ULONG) Release() noexcept override;
  // IDispatch: only Invoke carries anything.
  STDMETHODIMP GetTypeInfoCount(UINT* count) noexcept override;
  STDMETHODIMP GetTypeInfo(UINT, LCID, ITypeInfo**) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP GetIDsOfNames(REFIID, LPOLESTR*, UINT, LCID, DISPID*) noexcept override { return E_NOTIMPL; }
  STDMETHODIMP Invoke(DISPID id, REFIID, LCID, WORD, DISPPARAMS* parameters, VARIANT*, EXCEPINFO*,
                      UINT*) noexcept override;

 private:
  ~Events() = default;
  // Whether the navigation of `frame` to `address` goes ahead; otherwise the caller cancels it.
  bool Allow(IDispatch* frame, const std::wstring& address);
  void OpenOutside(const std::wstring& address);

  LONG references_ = 1;
  HWND owner_;
  IWebBrowser2* browser_;  // not owned: the panel holds it for as long as this listens
  std::vector<std::wstring> given_;
};

}  // namespace pravik::menu
