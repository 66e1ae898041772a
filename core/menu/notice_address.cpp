#include "core/menu/notice_address.h"

#include <cwctype>

namespace pravik::core::menu {
namespace {

bool StartsWithNoCase(std::wstring_view text, std::wstring_view prefix) {
  if (text.size() < prefix.size()) return false;
  for (std::size_t k = 0; k < prefix.size(); ++k) {
    if (std::towlower(static_cast<wint_t>(text[k])) != static_cast<wint_t>(prefix[k])) return false;
  }
  return true;
}

}  // namespace

bool IsAcceptableNoticeAddress(std::wstring_view address) {
  std::wstring_view body = address;
  while (!body.empty() && (body.back() == L'\r' || body.back() == L'\n')) body.remove_suffix(1);
  if (body.empty() || body.size() > kMaxNoticeAddressLength) return false;
  std::size_t schemeLength = 0;
  if (StartsWithNoCase(body, L"http://")) {
    schemeLength = 7;
  } else if (StartsWithNoCase(body, L"https://")) {
    schemeLength = 8;
  } else {
    return false;
  }
  for (wchar_t c : body) {
    if (c < 0x20 || c == 0x7F) return false;
  }
  // A host must follow: "http:///x" or "http://\\server" would leave the choice to the browser.
  const std::wstring_view rest = body.substr(schemeLength);
  if (rest.empty()) return false;
  const wchar_t first = rest.front();
  return first != L'/' && first != L'\\' && first != L' ' && first != L'?' && first != L'#';
}

}  // namespace pravik::core::menu
