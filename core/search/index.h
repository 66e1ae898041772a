#pragma once
// What the menu's search looks through: programs and files by display name, prepared once so
// that each keystroke only compares code units.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace pravik::core::search {

// One of 64 bits standing for a character; a name's bits are the OR of its characters'.
constexpr std::uint64_t CharBit(char16_t c) { return std::uint64_t{1} << ((c * 0x9E3779B1u) >> 26); }

enum class Kind : std::uint8_t { Program, File };

struct Entry {
  std::u16string displayName;  // composed (NFC) by the index
  Kind kind = Kind::Program;
  std::uint32_t useCount = 0;  // how often the user started it from the menu
  std::uint64_t id = 0;        // the caller's, returned with each result
};

// An entry as the index keeps it: its name lies in the index's text (valid while the index is).
struct EntryView {
  std::u16string_view displayName;
  Kind kind;
  std::uint32_t useCount;
  std::uint64_t id;
};

class Index {
 public:
  Index() = default;
  explicit Index(std::vector<Entry> entries);

  // One more entry, its name taken as given (composed here); a builder that adds entries one by
  // one keeps no copy of every name on the side.
  void Add(std::u16string_view displayName, Kind kind, std::uint32_t useCount, std::uint64_t id);

  std::size_t size() const { return meta_.size(); }
  EntryView entry(std::size_t i) const {
    return {OrForm(names_, nameAt_, i), meta_[i].kind, meta_[i].useCount, meta_[i].id};
  }

  // Matching form and initials of entry i, as long as its display name.
  std::u16string_view matchForm(std::size_t i) const {
    return std::u16string_view(matchForms_).substr(offsets_[i], offsets_[i + 1] - offsets_[i]);
  }
  std::u16string_view initials(std::size_t i) const { return OrForm(initials_, initialsAt_, i); }

  // False when entry i cannot hold characters with these bits: most names are ruled out here.
  bool MayHold(std::size_t i, std::uint64_t formBits, std::uint64_t initialBits) const {
    return (formBits_[i] & formBits) == formBits && (initialBits_[i] & initialBits) == initialBits;
  }

  // Use counts change when the user starts something; the names stay.
  void SetUseCount(std::size_t i, std::uint32_t count) { meta_[i].useCount = count; }

  // Room for this many entries and code units of names, taken before the first is added, so that
  // the blocks never move while they grow; ShrinkToFit gives back what was not used.
  void Reserve(std::size_t entries, std::size_t textUnits);
  // Gives back what growing an entry at a time left spare; for when the last entry is in.
  void ShrinkToFit();

 private:
  // A text as long as the matching form, kept only where it differs from it (most names are
  // already in lower case, most have no syllable whose initial differs).
  static constexpr std::uint32_t kSameAsForm = UINT32_MAX;
  std::u16string_view OrForm(const std::u16string& pool, const std::vector<std::uint32_t>& at, std::size_t i) const {
    return at[i] == kSameAsForm ? matchForm(i) : std::u16string_view(pool).substr(at[i], offsets_[i + 1] - offsets_[i]);
  }
  static void Keep(std::u16string& pool, std::vector<std::uint32_t>& at, const std::u16string& text,
                   const std::u16string& form);

  struct Meta {
    Kind kind;
    std::uint32_t useCount;
    std::uint64_t id;
  };
  std::vector<Meta> meta_;
  // Every entry's text back to back, so a keystroke walks memory in order; a few large blocks
  // instead of a string per entry, so that a rebuilt index gives the old one's memory back whole.
  std::u16string matchForms_;
  // 32-bit positions: the index holds tens of thousands of short names, far from 4 G code units.
  std::vector<std::uint32_t> offsets_{0};  // entry i's form: matchForms_[offsets_[i], offsets_[i + 1])
  std::u16string names_, initials_;
  std::vector<std::uint32_t> nameAt_, initialsAt_;  // where entry i's starts, or kSameAsForm
  std::vector<std::uint64_t> formBits_;
  std::vector<std::uint64_t> initialBits_;
};

}  // namespace pravik::core::search
