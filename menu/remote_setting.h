#pragma once
// The remote web-panel setting: a small text file on the update server whose body is the address
// the panel shows. The fetch goes through the platform's WinHTTP request object and is bounded in
// time, and only plain web addresses are taken from it.
#include <oaidl.h>

#include <chrono>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "core/menu/notice_address.h"
#include "win32/com_ptr.h"
#include "win32/late_bound.h"

namespace pravik::menu {

// "http://" (https:// in a release) + the home host + "/": what the panel shows when the setting gives nothing usable.
std::wstring HomePageAddress();
// The setting file on the update server.
std::wstring SettingFileUrl();

// The filter on the setting body's address lives in the core (fuzzed natively there).
using core::menu::IsAcceptableNoticeAddress;
using core::menu::kMaxNoticeAddressLength;

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
  [[nodiscard]] bool created() const noexcept { return !request_.empty(); }

  // The same exchange without waiting on it: Begin sends the request (false when it could not),
  // Finished tells without blocking whether the answer is in, and Result gives the body as Get
  // does once finished, or abandons an unfinished exchange and gives nothing.
  bool Begin(const std::wstring& url);
  bool Finished();
  std::optional<std::wstring> Result();
  [[nodiscard]] const Limits& limits() const noexcept { return limits_; }

 private:
  bool WaitSeconds(LONG seconds);
  Limits limits_{};
  bool finished_ = false;  // a wait has seen the answer in: the platform is not asked again
  win32::LateBoundObject request_;
};

// The same fetch on a thread of its own, for a window that must not wait. The request object's
// waits handle the waiting thread's messages: asked from the window's thread, every poll would run
// the window's own handlers (its timers, a close of the program) inside the poll. Here the window
// only reads what the thread left. The thread ends on its own within the request's bound; nothing
// waits for it, the end of the program included.
class SettingFetch {
 public:
  // False when no thread could be started; nothing is pending then.
  bool Start(const std::wstring& url, SettingRequest::Limits limits = {});
  // Whether the answer (or its failure) is in; never waits.
  [[nodiscard]] bool Finished() const;
  // The body as SettingRequest::Get gives it, once finished; nothing before that.
  std::optional<std::wstring> Take();

 private:
  struct Shared;
  std::shared_ptr<Shared> shared_;
};

}  // namespace pravik::menu
