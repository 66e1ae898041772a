#include "core/search/index.h"

#include "core/search/hangul.h"
#include "core/search/match_text.h"

namespace pravik::core::search {

Index::Index(std::vector<Entry> entries) {
  // Composing never lengthens a name, and the forms are as long as the names: one block each.
  std::size_t text = 0;
  for (const Entry& e : entries) text += e.displayName.size();
  names_.reserve(text);
  matchForms_.reserve(text);
  initials_.reserve(text);
  meta_.reserve(entries.size());
  offsets_.reserve(entries.size() + 1);
  formBits_.reserve(entries.size());
  initialBits_.reserve(entries.size());
  for (Entry& e : entries) {
    Add(e.displayName, e.kind, e.useCount, e.id);
    std::u16string().swap(e.displayName);  // the caller's copy goes as it is taken in
  }
}

void Index::Add(std::u16string_view displayName, Kind kind, std::uint32_t useCount, std::uint64_t id) {
  const std::u16string name = ComposeHangul(displayName);
  const std::u16string form = MatchForm(name);
  const std::u16string initials = InitialsOf(form);
  std::uint64_t formBits = 0, initialBits = 0;
  for (char16_t c : form) formBits |= CharBit(c);
  for (char16_t c : initials) initialBits |= CharBit(c);
  formBits_.push_back(formBits);
  initialBits_.push_back(initialBits);
  meta_.push_back({kind, useCount, id});
  names_ += name;
  matchForms_ += form;
  initials_ += initials;
  offsets_.push_back(matchForms_.size());
}

}  // namespace pravik::core::search
