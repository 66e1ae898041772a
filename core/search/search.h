#pragma once
// Search as you type: which entries hold the query, best first.
#include <cstddef>
#include <optional>
#include <string_view>
#include <vector>

#include "core/search/index.h"

namespace pravik::core::search {

// How well a name holds the query; lower is better.
enum class Rank : std::uint8_t {
  WholeName,  // the name is the query
  Prefix,     // the name starts with it (typed initials included: ㅁㅁㅈ for 메모장)
  WordStart,  // a word in the name starts with it
  Substring,  // anywhere else
};

struct Result {
  std::size_t entry;   // position in the index
  Rank rank;
  std::size_t start;   // where the match is in the entry's display name
  std::size_t length;
};

// Each query character matches a name character that is the same after case folding, or, if
// it is a consonant such as ㅁ, a syllable that starts with it (메ㅁ finds 메모장). The last
// syllable may still be in an input method's hands, so it also matches what it can become
// (메모자 and 멤 find 메모장); the ones before it match exactly. Results are
// ordered by rank, then by use count (higher first), programs before files, then index order;
// at most `limit` of them. A query that is empty or only spaces finds nothing.
std::vector<Result> Search(const Index& index, std::u16string_view query, std::size_t limit,
                           std::optional<Kind> only = std::nullopt);

}  // namespace pravik::core::search
