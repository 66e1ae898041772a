#include "startup/internet_state.h"

#include <windows.h>
#include <wininet.h>

#include "win32/bounded_call.h"

namespace pravik::startup {

namespace {
constexpr std::chrono::milliseconds kProbeDeadline{2000};
}

int ProbeConnection(const std::wstring& url) {
  if (::InternetAttemptConnect(0) != ERROR_SUCCESS) return -1;
  const auto reached = win32::CallWithDeadline<bool>(
      [url] { return ::InternetCheckConnectionW(url.c_str(), FLAG_ICC_FORCE_CONNECTION, 0) != FALSE; },
      kProbeDeadline);
  return reached.value_or(false) ? 1 : 0;
}

}  // namespace pravik::startup
