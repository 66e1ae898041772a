#include "core/search/index.h"

#include "core/search/hangul.h"
#include "core/search/match_text.h"

namespace pravik::core::search {

Index::Index(std::vector<Entry> entries) : entries_(std::move(entries)) {
  offsets_.reserve(entries_.size() + 1);
  formBits_.reserve(entries_.size());
  initialBits_.reserve(entries_.size());
  for (Entry& e : entries_) {
    e.displayName = ComposeHangul(e.displayName);
    const std::u16string form = MatchForm(e.displayName);
    const std::u16string initials = InitialsOf(form);
    std::uint64_t formBits = 0, initialBits = 0;
    for (char16_t c : form) formBits |= CharBit(c);
    for (char16_t c : initials) initialBits |= CharBit(c);
    formBits_.push_back(formBits);
    initialBits_.push_back(initialBits);
    matchForms_ += form;
    initials_ += initials;
    offsets_.push_back(matchForms_.size());
  }
}

}  // namespace pravik::core::search
