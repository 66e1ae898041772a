#include "menu/remote_setting.h"

#include <objbase.h>
#include <oleauto.h>

#include <mutex>
#include <thread>
#include <utility>

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

std::wstring NoticeAddressFor(const std::optional<std::wstring>& body) {
  // In a release, https only: the setting itself arrives over https.
  if (body && !body->empty() && core::menu::IsAcceptableNoticeAddress(*body, PRAVIK_RELEASE_BUILD != 0)) return *body;
  return HomePageAddress();
}

std::optional<std::wstring> SettingRequest::Get(const std::wstring& url) {
  if (!Begin(url)) return std::nullopt;
  // One wait bounds the whole exchange: a server that accepts and then drips or says nothing
  // cannot hold the caller longer.
  (void)WaitSeconds(static_cast<LONG>(limits_.total.count()));
  return Result();
}

bool SettingRequest::Begin(const std::wstring& url) {
  finished_ = false;
  if (request_.empty()) {
    request_ = win32::LateBoundObject(kWinHttpRequestClsid);
    if (request_.empty()) return false;
  }
  // Resolve, connect, send, receive (milliseconds).
  const LONG each = static_cast<LONG>(limits_.connect.count());
  if (FAILED(request_.Invoke(kSetTimeouts, DISPATCH_METHOD,
                             {Variant::Long(each), Variant::Long(each), Variant::Long(each), Variant::Long(each)}))) {
    return false;
  }
  // Opened asynchronously: the caller decides how long it waits.
  {
    Variant method = Variant::Text(L"GET"), address = Variant::Text(url);
    if (method.empty() || address.empty()) return false;
    if (FAILED(request_.Invoke(kOpen, DISPATCH_METHOD, {std::move(method), std::move(address), Variant::Bool(true)})))
      return false;
  }
  // No redirect is followed: the answer must come from the host asked.
  if (FAILED(request_.Invoke(kOption, DISPATCH_PROPERTYPUT, {Variant::Long(kOptionEnableRedirects), Variant::Bool(false)})))
    return false;
  return SUCCEEDED(request_.Invoke(kSend, DISPATCH_METHOD));
}

bool SettingRequest::WaitSeconds(LONG seconds) {
  if (finished_) return true;
  if (request_.empty()) return false;
  Variant finished;
  const HRESULT hr = request_.Invoke(kWaitForResponse, DISPATCH_METHOD, {Variant::Long(seconds)}, &finished);
  finished_ = SUCCEEDED(hr) && !(finished.v.vt == VT_BOOL && finished.v.boolVal == VARIANT_FALSE);
  return finished_;
}

bool SettingRequest::Finished() { return WaitSeconds(0); }

std::optional<std::wstring> SettingRequest::Result() {
  if (!finished_) {
    if (!request_.empty()) (void)request_.Invoke(kAbort, DISPATCH_METHOD);
    return std::nullopt;
  }
  finished_ = false;  // one result per exchange
  {
    // Only a real answer counts: an error page or a redirect is no setting.
    Variant status;
    if (FAILED(request_.Invoke(kStatus, DISPATCH_PROPERTYGET, {}, &status)) ||
        FAILED(::VariantChangeType(&status.v, &status.v, 0, VT_I4)) || status.v.lVal != 200)
      return std::nullopt;
  }
  Variant text;
  if (FAILED(request_.Invoke(kResponseText, DISPATCH_PROPERTYGET, {}, &text)) || text.v.vt != VT_BSTR) {
    return std::nullopt;
  }
  if (!text.v.bstrVal) return std::wstring();
  if (::SysStringLen(text.v.bstrVal) > kMaxSettingChars) return std::nullopt;
  return std::wstring(text.v.bstrVal, ::SysStringLen(text.v.bstrVal));
}

struct SettingFetch::Shared {
  mutable std::mutex lock;
  bool finished = false;
  std::optional<std::wstring> body;
};

bool SettingFetch::Start(const std::wstring& url, SettingRequest::Limits limits) {
  try {
    auto shared = std::make_shared<Shared>();
    std::thread([shared, url, limits] {
      std::optional<std::wstring> body;
      const HRESULT com = ::CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED);
      try {
        SettingRequest request(limits);
        body = request.Get(url);
      } catch (...) {
        // Out of memory on the way: no setting.
      }
      if (SUCCEEDED(com)) ::CoUninitialize();
      const std::lock_guard guard(shared->lock);
      shared->body = std::move(body);
      shared->finished = true;
    }).detach();
    shared_ = std::move(shared);
    return true;
  } catch (...) {
    return false;
  }
}

bool SettingFetch::Finished() const {
  if (!shared_) return false;
  const std::lock_guard guard(shared_->lock);
  return shared_->finished;
}

std::optional<std::wstring> SettingFetch::Take() {
  if (!shared_) return std::nullopt;
  const std::lock_guard guard(shared_->lock);
  if (!shared_->finished) return std::nullopt;
  return std::exchange(shared_->body, std::nullopt);
}

}  // namespace pravik::menu
