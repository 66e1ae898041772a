#include "startup/update_check.h"

#include <windows.h>

#include "generated/win32/build_settings.h"
#include "core/update/version_check.h"
#include "win32/http/inet_transfer.h"
#include "win32/paths.h"
#include "win32/program_version.h"
#include "win32/update_record.h"
#include "win32/text.h"

namespace pravik::startup {

std::wstring VersionFileUrl() {
  return std::wstring(PRAVIK_UPDATE_SCHEME) + L"://" + PRAVIK_UPDATE_HOST +
         L"/updateserver/Pravik/UpdateVersion/Version.txt";
}

bool IsVersionCurrent(std::wstring& updaterArguments) noexcept {
  try {
    // The installed version is this very program's: the user's registry value can be lowered by
    // any of the user's programs, and no longer decides.
    const auto installed = win32::ProgramVersion(win32::ModulePath());
    if (!installed) return true;
    // A bounded fetch: a silent or dripping server, or a body over 64 KiB, counts as failed; so
    // does any answer but 200 (redirects are not followed, so it comes from the host asked).
    const auto fetched = win32::http::FetchUrl(VersionFileUrl(), win32::http::FetchLimits{std::chrono::milliseconds(4000), 64 * 1024});
    std::optional<std::wstring> body;
    if (fetched && fetched->status == 200) body = win32::AnsiToWide(fetched->body);
    const core::update::VersionVerdict verdict =
        core::update::JudgeVersionFile(body, *installed, PRAVIK_RELEASE_BUILD != 0);
    updaterArguments = verdict.updaterArguments;
    // The same announcement handed over less than a day ago failed or was refused: show the
    // button instead of handing it over and failing again on every start.
    if (!verdict.current && win32::HandedOverRecently(updaterArguments)) return true;
    return verdict.current;
  } catch (...) {
    return true;
  }
}

}  // namespace pravik::startup
