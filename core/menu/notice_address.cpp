#include "core/menu/notice_address.h"

#include "core/update/version_check.h"

namespace pravik::core::menu {

bool IsAcceptableNoticeAddress(std::wstring_view address, bool httpsOnly) {
  std::wstring_view body = address;
  while (!body.empty() && (body.back() == L'\r' || body.back() == L'\n')) body.remove_suffix(1);
  if (body.empty() || body.size() > kMaxNoticeAddressLength) return false;
  // The same rule as the updater's address: a host, no blanks, no control characters.
  return update::IsWebAddress(body, httpsOnly);
}

}  // namespace pravik::core::menu
