// Window queries and actions: the foreground window, a window's program and title, the topmost
// band and the close box.
#include "controllib/bstr.h"
#include "controllib/method_error.h"
#include "controllib/quessel.h"
#include "controllib/window_lookup.h"

namespace pravik::controllib {

STDMETHODIMP Quessel::cForegroundWindow_Handle(LONG* result) noexcept {
  if (!result) return E_POINTER;
  *result = LongFromHwnd(::GetForegroundWindow());
  return S_OK;
}

STDMETHODIMP Quessel::cForegroundWindow_FileName(BSTR* result) noexcept {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, WindowProgramName(::GetForegroundWindow()));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cForegroundWindow_Title(BSTR* result) noexcept {
  if (!result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, WindowTitle(::GetForegroundWindow()));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cWindow_FileName(LONG* hwnd, BSTR* result) noexcept {
  if (!hwnd || !result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, WindowProgramName(HwndFromLong(*hwnd)));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cWindow_Title(LONG* hwnd, BSTR* result) noexcept {
  if (!hwnd || !result) return E_POINTER;
  return RunMethod([&] {
    PutText(result, WindowTitle(HwndFromLong(*hwnd)));
    return S_OK;
  });
}

STDMETHODIMP Quessel::cONTOP_On(LONG* hwnd) noexcept {
  if (!hwnd) return E_POINTER;
  ::SetWindowPos(HwndFromLong(*hwnd), HWND_TOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return S_OK;
}

STDMETHODIMP Quessel::cONTOP_Off(LONG* hwnd) noexcept {
  if (!hwnd) return E_POINTER;
  ::SetWindowPos(HwndFromLong(*hwnd), HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
  return S_OK;
}

STDMETHODIMP Quessel::cCloseButtonDisable(LONG hwnd) noexcept {
  const HWND window = HwndFromLong(hwnd);
  if (HMENU menu = ::GetSystemMenu(window, FALSE)) ::RemoveMenu(menu, SC_CLOSE, MF_BYCOMMAND);
  ::DrawMenuBar(window);
  return S_OK;
}

}  // namespace pravik::controllib
