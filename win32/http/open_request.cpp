#include "win32/http/open_request.h"

#include "generated/win32/build_settings.h"

namespace pravik::win32::http {

// Over https the certificate must chain to a trusted root, match the host and be in date; only its
// revocation status is not demanded, because the platform cannot always learn it (Wine has no
// revocation provider, and WinINet then refuses every server). What proves an installer is ours
// is its own signature, not the channel.
bool OpenGetRequest(HINTERNET session, const std::wstring& url, InternetHandle& connection, InternetHandle& request) {
  URL_COMPONENTSW parts{};
  parts.dwStructSize = sizeof(parts);
  wchar_t host[INTERNET_MAX_HOST_NAME_LENGTH + 1] = {};
  std::wstring path(url.size() + 1, L'\0'), extra(url.size() + 1, L'\0');
  parts.lpszHostName = host;
  parts.dwHostNameLength = INTERNET_MAX_HOST_NAME_LENGTH + 1;
  parts.lpszUrlPath = path.data();
  parts.dwUrlPathLength = static_cast<DWORD>(path.size());
  parts.lpszExtraInfo = extra.data();
  parts.dwExtraInfoLength = static_cast<DWORD>(extra.size());
  if (!::InternetCrackUrlW(url.c_str(), static_cast<DWORD>(url.size()), 0, &parts)) return false;
  if (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
  // A release fetches over https only; plain http is for the loopback servers of development.
  if (PRAVIK_RELEASE_BUILD && parts.nScheme != INTERNET_SCHEME_HTTPS) return false;
  const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
  std::wstring object = std::wstring(parts.lpszUrlPath, parts.dwUrlPathLength) +
                        std::wstring(parts.lpszExtraInfo, parts.dwExtraInfoLength);
  if (object.empty()) object = L"/";

  connection.reset(::InternetConnectW(session, host, parts.nPort, nullptr, nullptr, INTERNET_SERVICE_HTTP, 0, 0));
  if (!connection) return false;
  // No cache: a stale copy of an installer is worse than a failed download.
  // No redirect is followed: an answer counts only from the host asked (a captive portal or a
  // moved page is a failed fetch, not content).
  DWORD flags = INTERNET_FLAG_NO_AUTO_REDIRECT | INTERNET_FLAG_RELOAD | INTERNET_FLAG_NO_CACHE_WRITE | INTERNET_FLAG_PRAGMA_NOCACHE |
                INTERNET_FLAG_NO_UI | INTERNET_FLAG_NO_COOKIES | INTERNET_FLAG_NO_AUTH;
  if (secure) flags |= INTERNET_FLAG_SECURE;
  request.reset(::HttpOpenRequestW(connection.get(), L"GET", object.c_str(), nullptr, nullptr, nullptr, flags, 0));
  if (!request) return false;
  if (secure) {
    DWORD security = 0, size = sizeof(security);
    ::InternetQueryOptionW(request.get(), INTERNET_OPTION_SECURITY_FLAGS, &security, &size);
    security |= SECURITY_FLAG_IGNORE_REVOCATION;
    ::InternetSetOptionW(request.get(), INTERNET_OPTION_SECURITY_FLAGS, &security, sizeof(security));
  }
  return ::HttpSendRequestW(request.get(), nullptr, 0, nullptr, 0) != FALSE;
}

}  // namespace pravik::win32::http
