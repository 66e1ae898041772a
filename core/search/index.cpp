#include "core/search/index.h"

#include "core/search/hangul.h"
#include "core/search/match_text.h"

namespace pravik::core::search {

Index::Index(std::vector<Entry> entries) {
  // Composing never lengthens a name, and the forms are as long as the names: one block.
  std::size_t text = 0;
  for (const Entry& e : entries) text += e.displayName.size();
  matchForms_.reserve(text);
  meta_.reserve(entries.size());
  offsets_.reserve(entries.size() + 1);
  nameAt_.reserve(entries.size());
  initialsAt_.reserve(entries.size());
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
  matchForms_ += form;
  offsets_.push_back(static_cast<std::uint32_t>(matchForms_.size()));
  Keep(names_, nameAt_, name, form);
  Keep(initials_, initialsAt_, initials, form);
}

void Index::Keep(std::u16string& pool, std::vector<std::uint32_t>& at, const std::u16string& text,
                 const std::u16string& form) {
  if (text == form) {
    at.push_back(kSameAsForm);
    return;
  }
  at.push_back(static_cast<std::uint32_t>(pool.size()));
  pool += text;
}

void Index::Reserve(std::size_t entries, std::size_t textUnits) {
  meta_.reserve(entries);
  matchForms_.reserve(textUnits);
  offsets_.reserve(entries + 1);
  names_.reserve(textUnits);
  initials_.reserve(textUnits);
  nameAt_.reserve(entries);
  initialsAt_.reserve(entries);
  formBits_.reserve(entries);
  initialBits_.reserve(entries);
}

void Index::ShrinkToFit() {
  meta_.shrink_to_fit();
  matchForms_.shrink_to_fit();
  offsets_.shrink_to_fit();
  names_.shrink_to_fit();
  initials_.shrink_to_fit();
  nameAt_.shrink_to_fit();
  initialsAt_.shrink_to_fit();
  formBits_.shrink_to_fit();
  initialBits_.shrink_to_fit();
}

}  // namespace pravik::core::search
