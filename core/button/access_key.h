#pragma once
// The access key a caption marks with "&" ("&&" is a literal ampersand).
#include <string_view>

namespace pravik::core::button {

// The lower-case access key of the caption, or 0 when it has none.
wchar_t AccessKeyOf(std::wstring_view caption) noexcept;

}  // namespace pravik::core::button
