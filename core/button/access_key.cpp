#include "core/button/access_key.h"

#include <cwctype>

namespace pravik::core::button {

wchar_t AccessKeyOf(std::wstring_view caption) noexcept {
  if (caption.size() <= 1) return 0;
  std::size_t a = caption.find(L'&');
  if (a == std::wstring_view::npos || a + 1 >= caption.size()) return 0;
  if (caption[a + 1] != L'&') return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(caption[a + 1])));
  // "&&" is a literal ampersand: the search goes on once, after it.
  a = caption.find(L'&', a + 2);
  if (a == std::wstring_view::npos || a + 1 >= caption.size() || caption[a + 1] == L'&') return 0;
  return static_cast<wchar_t>(std::towlower(static_cast<wint_t>(caption[a + 1])));
}

}  // namespace pravik::core::button
