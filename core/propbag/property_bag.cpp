#include "core/propbag/property_bag.h"

#include <algorithm>

namespace pravik::core::propbag {

namespace {
wchar_t FoldAscii(wchar_t c) noexcept { return (c >= L'A' && c <= L'Z') ? static_cast<wchar_t>(c - L'A' + L'a') : c; }
}  // namespace

bool NameLess::operator()(std::wstring_view a, std::wstring_view b) const noexcept {
  return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                      [](wchar_t x, wchar_t y) { return FoldAscii(x) < FoldAscii(y); });
}

void PropertyBag::Set(std::wstring_view name, Value value) {
  const auto it = entries_.find(name);
  if (it != entries_.end()) {
    it->second = std::move(value);  // keeps the name's first spelling
  } else {
    entries_.emplace(std::wstring(name), std::move(value));
  }
}

void PropertyBag::Remove(std::wstring_view name) {
  const auto it = entries_.find(name);
  if (it != entries_.end()) entries_.erase(it);
}

bool PropertyBag::Has(std::wstring_view name) const { return entries_.find(name) != entries_.end(); }

const Value* PropertyBag::Find(std::wstring_view name) const {
  const auto it = entries_.find(name);
  return it == entries_.end() ? nullptr : &it->second;
}

}  // namespace pravik::core::propbag
