#include "core/search/index.h"

#include "core/search/hangul.h"
#include "core/search/match_text.h"

namespace pravik::core::search {

Index::Index(std::vector<Entry> entries) : entries_(std::move(entries)) {
  offsets_.reserve(entries_.size() + 1);
  for (Entry& e : entries_) {
    e.displayName = ComposeHangul(e.displayName);
    const std::u16string form = MatchForm(e.displayName);
    matchForms_ += form;
    initials_ += InitialsOf(form);
    offsets_.push_back(matchForms_.size());
  }
}

}  // namespace pravik::core::search
