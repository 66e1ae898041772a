#pragma once
// The remote web-panel setting: a small text file on the update server whose body is the address
// the panel shows. The fetch goes through the platform's WinHTTP request object and is bounded in
// time, and only plain web addresses are taken from it.
#include <oaidl.h>

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "win32/com_ptr.h"

namespace pravik::menu {

// "http://" (https:// in a release) + the home host + "/": what the panel shows when the setting gives nothing usable.
std::wstring HomePageAddress();
// The setting file on the update server.
std::wstring SettingFileUrl();

// Longest address taken from the setting file; browsers and servers commonly refuse longer ones.
constexpr std::size_t kMaxNoticeAddressLength = 2048;

// Whether a setting body may be handed to the web panel: an http: or https: address (any letter
// case; https only in a release) of at most kMaxNoticeAddressLength characters with a host, and
// no blanks or control characters except a trailing line break, which is passed on unchanged. Everything else (file:, javascript:,
// UNC and drive paths, huge bodies) is refused so the panel never loads local or script content
// with the program's rights.
bool IsAcceptableNoticeAddress(std::wstring_view address);

// The address the panel is pointed at for a fetched body (nothing when the fetch failed).
std::wstring NoticeAddressFor(const std::optional<std::wstring>& body);

// SettingRequest: the WinHttpRequest 5.1 object, created on first use and kept.
class SettingRequest {
 public:
  struct Limits {
    // The whole exchange, connection to the last byte. The load handler waits this long at most.
    std::chrono::seconds total{3};
    std::chrono::milliseconds connect{2000};
  };
  SettingRequest() = default;
  explicit SettingRequest(Limits limits) : limits_(limits) {}

  // GET of the url; the response body as text when the host asked answered 200 (no redirect is
  // followed), nothing on any other answer or failure (no object, no server, time-out, a body
  // over 64 Ki characters).
  std::optional<std::wstring> Get(const std::wstring& url);
  [[nodiscard]] bool created() const noexcept { return static_cast<bool>(request_); }

 private:
  HRESULT Invoke(DISPID id, WORD flags, VARIANT* args, UINT count, VARIANT* result) noexcept;
  Limits limits_{};
  win32::ComPtr<IDispatch> request_;
};

}  // namespace pravik::menu
