#include "menu/remote_setting.h"

#include <objbase.h>
#include <oleauto.h>

#include "generated/win32/build_settings.h"
#include "core/update/version_check.h"
#include "win32/variant.h"

namespace pravik::menu {

namespace {

// WinHttp.WinHttpRequest.5.1 and the dispatch identifiers of its methods.
constexpr CLSID kWinHttpRequestClsid = {0x2087c2f4, 0x2cef, 0x4953, {0xa8, 0xab, 0x66, 0x77, 0x9b, 0x67, 0x04, 0x95}};
constexpr DISPID kOpen = 1;
constexpr DISPID kOption = 6;
constexpr DISPID kSend = 5;
constexpr DISPID kStatus = 7;
constexpr LONG kOptionEnableRedirects = 6;
// Like the version file's: a larger answer is no setting.
constexpr std::size_t kMaxSettingChars = 64 * 1024;
constexpr DISPID kResponseText = 9;
constexpr DISPID kAbort = 12;
constexpr DISPID kWaitForResponse = 15;
constexpr DISPID kSetTimeouts = 16;

using win32::Variant;

}  // namespace

std::wstring HomePageAddress() { return std::wstring(PRAVIK_HOME_SCHEME) + L"://" + PRAVIK_HOME_HOST + L"/"; }

std::wstring SettingFileUrl() {
  return std::wstring(PRAVIK_UPDATE_SCHEME) + L"://" + PRAVIK_UPDATE_HOST + L"/updateserver/Pravik/Setting/Setting.txt";
}

bool IsAcceptableNoticeAddress(std::wstring_view address) {
  std::wstring_view core = address;
  while (!core.empty() && (core.back() == L'\r' || core.back() == L'\n')) core.remove_suffix(1);
  if (core.size() > kMaxNoticeAddressLength) return false;
  // In a release, https only: the setting itself arrives over https.
  return core::update::IsWebAddress(core, PRAVIK_RELEASE_BUILD != 0);
}

std::wstring NoticeAddressFor(const std::optional<std::wstring>& body) {
  if (body && !body->empty() && IsAcceptableNoticeAddress(*body)) return *body;
  return HomePageAddress();
}

HRESULT SettingRequest::Invoke(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result) noexcept {
  DISPPARAMS params{args, nullptr, count, 0};
  return request_->Invoke(id, IID_NULL, LOCALE_USER_DEFAULT, flags, &params, result, nullptr, nullptr);
}

std::optional<std::wstring> SettingRequest::Get(const std::wstring& url) {
  if (!request_) {
    if (FAILED(::CoCreateInstance(kWinHttpRequestClsid, nullptr, CLSCTX_INPROC_SERVER, IID_IDispatch,
                                  request_.put_void()))) {
      return std::nullopt;
    }
  }
  {
    // Resolve, connect, send, receive (milliseconds); arguments go in reverse order.
    const LONG each = static_cast<LONG>(limits_.connect.count());
    VARIANT args[4];
    for (VARIANT& a : args) {
      ::VariantInit(&a);
      a.vt = VT_I4;
      a.lVal = each;
    }
    if (FAILED(Invoke(kSetTimeouts, DISPATCH_METHOD, args, 4, nullptr))) return std::nullopt;
  }
  {
    // Opened asynchronously so that one wait below bounds the whole exchange: a server that
    // accepts and then drips or says nothing cannot hold the menu's load.
    Variant method, address, async;
    method.v.vt = VT_BSTR;
    method.v.bstrVal = ::SysAllocString(L"GET");
    address.v.vt = VT_BSTR;
    address.v.bstrVal = ::SysAllocStringLen(url.data(), static_cast<UINT>(url.size()));
    async.v.vt = VT_BOOL;
    async.v.boolVal = VARIANT_TRUE;
    VARIANT args[3] = {async.v, address.v, method.v};
    if (!method.v.bstrVal || !address.v.bstrVal) return std::nullopt;
    if (FAILED(Invoke(kOpen, DISPATCH_METHOD, args, 3, nullptr))) return std::nullopt;
  }
  {
    // No redirect is followed: the answer must come from the host asked.
    VARIANT args[2];
    ::VariantInit(&args[0]);
    ::VariantInit(&args[1]);
    args[0].vt = VT_BOOL;
    args[0].boolVal = VARIANT_FALSE;
    args[1].vt = VT_I4;
    args[1].lVal = kOptionEnableRedirects;
    DISPID named = DISPID_PROPERTYPUT;
    DISPPARAMS params{args, &named, 2, 1};
    if (FAILED(request_->Invoke(kOption, IID_NULL, LOCALE_USER_DEFAULT, DISPATCH_PROPERTYPUT, &params, nullptr, nullptr,
                                nullptr)))
      return std::nullopt;
  }
  if (FAILED(Invoke(kSend, DISPATCH_METHOD, nullptr, 0, nullptr))) return std::nullopt;
  {
    VARIANT seconds;
    ::VariantInit(&seconds);
    seconds.vt = VT_I4;
    seconds.lVal = static_cast<LONG>(limits_.total.count());
    Variant finished;
    const HRESULT hr = Invoke(kWaitForResponse, DISPATCH_METHOD, &seconds, 1, &finished.v);
    if (FAILED(hr) || (finished.v.vt == VT_BOOL && finished.v.boolVal == VARIANT_FALSE)) {
      (void)Invoke(kAbort, DISPATCH_METHOD, nullptr, 0, nullptr);
      return std::nullopt;
    }
  }
  {
    // Only a real answer counts: an error page or a redirect is no setting.
    Variant status;
    if (FAILED(Invoke(kStatus, DISPATCH_PROPERTYGET, nullptr, 0, &status.v)) ||
        FAILED(::VariantChangeType(&status.v, &status.v, 0, VT_I4)) || status.v.lVal != 200)
      return std::nullopt;
  }
  Variant text;
  if (FAILED(Invoke(kResponseText, DISPATCH_PROPERTYGET, nullptr, 0, &text.v)) || text.v.vt != VT_BSTR) {
    return std::nullopt;
  }
  if (!text.v.bstrVal) return std::wstring();
  if (::SysStringLen(text.v.bstrVal) > kMaxSettingChars) return std::nullopt;
  return std::wstring(text.v.bstrVal, ::SysStringLen(text.v.bstrVal));
}

}  // namespace pravik::menu
