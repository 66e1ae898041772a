#pragma once
// The filter on the address the remote setting file names for the web panel.
#include <cstddef>
#include <string_view>

namespace pravik::core::menu {

// Longest address taken from the setting file; browsers and servers commonly refuse longer ones.
constexpr std::size_t kMaxNoticeAddressLength = 2048;

// Whether a setting body may be handed to the web panel: an http: or https: address (any letter
// case; https only when httpsOnly) of at most kMaxNoticeAddressLength characters with a host, and
// no blanks or control characters except a trailing line break, which is passed on unchanged. Everything else (file:, javascript:,
// UNC and drive paths, huge bodies) is refused so the panel never loads local or script content
// with the program's rights.
bool IsAcceptableNoticeAddress(std::wstring_view address, bool httpsOnly = false);

}  // namespace pravik::core::menu
