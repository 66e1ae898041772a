#include "core/menu/panel_navigation.h"

#include <algorithm>

namespace pravik::core::menu {

namespace {

wchar_t Lower(wchar_t c) { return c >= L'A' && c <= L'Z' ? static_cast<wchar_t>(c - L'A' + L'a') : c; }

bool StartsWithIgnoringCase(std::wstring_view text, std::wstring_view prefix) {
  return text.size() >= prefix.size() &&
         std::equal(prefix.begin(), prefix.end(), text.begin(), [](wchar_t a, wchar_t b) { return Lower(a) == Lower(b); });
}

}  // namespace

std::optional<AddressHost> HostOf(std::wstring_view address) {
  // The line break that ends a setting file saved by an ordinary editor.
  while (!address.empty() && (address.back() == L'\n' || address.back() == L'\r')) address.remove_suffix(1);
  unsigned port = 0;
  if (StartsWithIgnoringCase(address, L"http://")) {
    address.remove_prefix(7);
    port = 80;
  } else if (StartsWithIgnoringCase(address, L"https://")) {
    address.remove_prefix(8);
    port = 443;
  } else {
    return std::nullopt;
  }
  // Browsers end the host part at a backslash too.
  std::wstring_view authority = address.substr(0, address.find_first_of(L"/\\?#"));
  if (const auto at = authority.rfind(L'@'); at != std::wstring_view::npos) authority.remove_prefix(at + 1);
  std::wstring_view host = authority;
  std::wstring_view portText;
  if (!authority.empty() && authority.front() == L'[') {
    const auto close = authority.find(L']');
    if (close == std::wstring_view::npos) return std::nullopt;
    host = authority.substr(1, close - 1);
    const std::wstring_view rest = authority.substr(close + 1);
    if (!rest.empty()) {
      if (rest.front() != L':') return std::nullopt;
      portText = rest.substr(1);
    }
  } else if (const auto colon = authority.rfind(L':'); colon != std::wstring_view::npos) {
    host = authority.substr(0, colon);
    portText = authority.substr(colon + 1);
  }
  if (host.empty()) return std::nullopt;
  for (const wchar_t c : host) {
    if (c <= L' ' || c == 0x7F) return std::nullopt;
  }
  if (!portText.empty()) {
    if (portText.size() > 5) return std::nullopt;
    unsigned value = 0;
    for (const wchar_t c : portText) {
      if (c < L'0' || c > L'9') return std::nullopt;
      value = value * 10 + static_cast<unsigned>(c - L'0');
    }
    if (value == 0 || value > 65535) return std::nullopt;
    port = value;
  }
  AddressHost result{std::wstring(host), port};
  std::transform(result.host.begin(), result.host.end(), result.host.begin(), Lower);
  // A trailing dot names the same host.
  if (result.host.size() > 1 && result.host.back() == L'.') result.host.pop_back();
  return result;
}

bool PanelMayFollow(std::wstring_view address, std::span<const std::wstring> given) {
  const auto target = HostOf(address);
  if (!target) return false;
  return std::any_of(given.begin(), given.end(), [&](const std::wstring& allowed) { return HostOf(allowed) == target; });
}

}  // namespace pravik::core::menu
