#pragma once
// One GET request over WinINet, for http:// and https:// alike. Kept apart so the files that use
// it need not see each other's headers (wininet.h and winhttp.h clash).
#include <windows.h>
#include <wininet.h>

#include <string>

#include "win32/handles.h"

namespace pravik::win32::http {

struct InternetHandleTraits {
  using Type = HINTERNET;
  static Type Invalid() noexcept { return nullptr; }
  static void Close(Type h) noexcept { ::InternetCloseHandle(h); }
};
using InternetHandle = UniqueHandle<InternetHandleTraits>;

// Opens and sends a GET of the address on the session; false when the address is not http(s)
// or the request cannot be sent (no server, a refused certificate).
bool OpenGetRequest(HINTERNET session, const std::wstring& url, InternetHandle& connection, InternetHandle& request);

}  // namespace pravik::win32::http
