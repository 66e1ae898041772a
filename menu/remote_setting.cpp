#include "menu/remote_setting.h"

#include <objbase.h>
#include <oleauto.h>

#include <cwctype>

#include "generated/win32/build_settings.h"
#include "win32/variant.h"

namespace pravik::menu {

namespace {

// WinHttp.WinHttpRequest.5.1 and the dispatch identifiers of its methods.
constexpr CLSID kWinHttpRequestClsid = {0x2087c2f4, 0x2cef, 0x4953, {0xa8, 0xab, 0x66, 0x77, 0x9b, 0x67, 0x04, 0x95}};
constexpr DISPID kOpen = 1;
constexpr DISPID kSend = 5;
constexpr DISPID kResponseText = 9;
constexpr DISPID kAbort = 12;
constexpr DISPID kWaitForResponse = 15;
constexpr DISPID kSetTimeouts = 16;

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t k = 0; k < prefix.size(); ++k) {
    if (std::towlower(static_cast<wint_t>(text[k])) != static_cast<wint_t>(prefix[k])) return false;
  }
  return true;
}


}  // namespace

std::wstring HomePageAddress() { return std::wstring(L"http://") + PRAVIK_HOME_HOST + L"/"; }

std::wstring SettingFileUrl() {
  return std::wstring(PRAVIK_UPDATE_SCHEME) + L"://" + PRAVIK_UPDATE_HOST + L"/updateserver/Pravik/Setting/Setting.txt";
}

bool IsAcceptableNoticeAddress(std::wstring_view address) {
  std::wstring_view core = address;
  while (!core.empty() && (core.back() == L'\r' || core.back() == L'\n')) core.remove_suffix(1);
  if (core.empty() || core.size() > kMaxNoticeAddressLength) return false;
  std::size_t schemeLength = 0;
  if (StartsWithNoCase(core, L"http://")) {
    schemeLength = 7;
  } else if (StartsWithNoCase(core, L"https://")) {
    schemeLength = 8;
  } else {
    return false;
  }
  for (wchar_t c : core) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  // A host must follow: "http:///x" or "http://\\server" would leave the choice to the browser.
  const std::wstring_view rest = core.substr(schemeLength);
  if (rest.empty()) return false;
  const wchar_t first = rest.front();
  return first != L'/' && first != L'\\' && first != L' ' && first != L'?' && first != L'#';
}

std::wstring NoticeAddressFor(const std::optional<std::wstring>& body) {
  if (body && !body->empty() && IsAcceptableNoticeAddress(*body)) return *body;
  return HomePageAddress();
}

std::optional<std::wstring> SettingRequest::Get(const std::wstring& url) {
  using win32::Variant;
  if (request_.empty()) {
    request_ = win32::LateBoundObject(kWinHttpRequestClsid);
    if (request_.empty()) return std::nullopt;
  }
  // Resolve, connect, send, receive (milliseconds).
  const LONG each = static_cast<LONG>(limits_.connect.count());
  if (FAILED(request_.Invoke(kSetTimeouts, DISPATCH_METHOD,
                             {Variant::Long(each), Variant::Long(each), Variant::Long(each), Variant::Long(each)}))) {
    return std::nullopt;
  }
  // Opened asynchronously so that one wait below bounds the whole exchange: a server that
  // accepts and then drips or says nothing cannot hold the menu's load.
  {
    Variant method = Variant::Text(L"GET"), address = Variant::Text(url);
    if (method.empty() || address.empty()) return std::nullopt;
    if (FAILED(request_.Invoke(kOpen, DISPATCH_METHOD, {std::move(method), std::move(address), Variant::Bool(true)})))
      return std::nullopt;
  }
  if (FAILED(request_.Invoke(kSend, DISPATCH_METHOD))) return std::nullopt;
  {
    Variant finished;
    const HRESULT hr = request_.Invoke(kWaitForResponse, DISPATCH_METHOD,
                                       {Variant::Long(static_cast<LONG>(limits_.total.count()))}, &finished);
    if (FAILED(hr) || (finished.v.vt == VT_BOOL && finished.v.boolVal == VARIANT_FALSE)) {
      (void)request_.Invoke(kAbort, DISPATCH_METHOD);
      return std::nullopt;
    }
  }
  Variant text;
  if (FAILED(request_.Invoke(kResponseText, DISPATCH_PROPERTYGET, {}, &text)) || text.v.vt != VT_BSTR) {
    return std::nullopt;
  }
  return text.v.bstrVal ? std::wstring(text.v.bstrVal, ::SysStringLen(text.v.bstrVal)) : std::wstring();
}

}  // namespace pravik::menu
