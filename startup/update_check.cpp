#include "startup/update_check.h"

#include <windows.h>

#include "generated/win32/build_settings.h"
#include "core/update/version_check.h"
#include "win32/http/inet_transfer.h"
#include "win32/registry.h"
#include "win32/text.h"

namespace pravik::startup {

std::wstring VersionFileUrl() {
  return std::wstring(PRAVIK_UPDATE_SCHEME) + L"://" + PRAVIK_UPDATE_HOST +
         L"/updateserver/Pravik/UpdateVersion/Version.txt";
}

bool IsVersionCurrent(std::wstring& updaterArguments) noexcept {
  try {
    const std::wstring installed =
        win32::ReadRegistryString(HKEY_CURRENT_USER, L"Software\\Pravik", L"version").value_or(L"");
    // A bounded fetch: a silent or dripping server, or a body over 64 KiB, counts as failed.
    const auto fetched = win32::http::FetchUrl(VersionFileUrl(), win32::http::FetchLimits{std::chrono::milliseconds(4000), 64 * 1024});
    std::optional<std::wstring> body;
    if (fetched) body = win32::AnsiToWide(fetched->body);
    const core::update::VersionVerdict verdict = core::update::JudgeVersionFile(body, installed);
    updaterArguments = verdict.updaterArguments;
    return verdict.current;
  } catch (...) {
    return true;
  }
}

}  // namespace pravik::startup
