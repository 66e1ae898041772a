#include "core/search/search.h"

#include <algorithm>

#include "core/search/hangul.h"
#include "core/search/match_text.h"

namespace pravik::core::search {
namespace {

// How a query character is compared with a name character.
enum class Compare : std::uint8_t {
  Literal,  // the same character
  Initial,  // a consonant: the name syllable's initial (or the same consonant)
  Stem,     // the syllable still being typed: a name syllable that starts the same (자 → 장)
};

struct Query {
  std::u16string text;  // matching form
  std::vector<Compare> how;
  bool allLiteral = true;
  std::uint64_t formBits = 0;  // what a name must hold to be worth comparing
  std::uint64_t initialBits = 0;

  void Add(char16_t c, Compare compare) {
    text.push_back(c);
    how.push_back(compare);
    allLiteral = allLiteral && compare == Compare::Literal;
    if (compare == Compare::Literal) formBits |= CharBit(c);
    else initialBits |= CharBit(compare == Compare::Initial ? c : InitialConsonant(c));
  }
};

// The typed text as one query, or two when its last syllable may still be growing: as typed,
// with that syllable matching any it can become (메모자 finds 메모장), and with its trailing
// consonant moved on as the next initial (멤 finds 메모장).
std::vector<Query> PrepareQueries(std::u16string_view typed) {
  const std::u16string composed = ComposeHangul(typed);
  std::u16string_view view = composed;
  // Leading blanks are the box's, not the name's; blanks alone are no query at all.
  const std::size_t first = view.find_first_not_of(u" \t\u3000\u00A0");
  if (first == std::u16string_view::npos) return {};
  const std::u16string text = MatchForm(view.substr(first));
  Query q;
  for (std::size_t i = 0; i + 1 < text.size(); ++i)
    q.Add(text[i], IsInitialConsonant(text[i]) ? Compare::Initial : Compare::Literal);
  const char16_t last = text.back();
  char16_t rest = 0, moved = 0;
  const bool split = SplitTrailing(last, rest, moved);
  Query queries[2] = {q, q};
  queries[0].Add(last, IsInitialConsonant(last) ? Compare::Initial
                       : (IsSyllable(last) && !split) ? Compare::Stem
                                                      : Compare::Literal);
  if (!split) return {queries[0]};
  queries[1].Add(rest, Compare::Literal);
  queries[1].Add(moved, Compare::Initial);
  return {queries[0], queries[1]};
}

bool Matches(Compare how, char16_t want, char16_t form, char16_t initial) {
  switch (how) {
    case Compare::Literal: return form == want;
    case Compare::Initial: return initial == want;
    case Compare::Stem: return WithoutTrailing(form) == want;
  }
  return false;
}

bool MatchesAt(const Query& q, const char16_t* form, const char16_t* initials) {
  for (std::size_t i = 0; i < q.text.size(); ++i)
    if (!Matches(q.how[i], q.text[i], form[i], initials[i])) return false;
  return true;
}

// The first match position, moving on to the next only while a better rank is still possible.
std::optional<Result> BestMatch(const Query& q, const Index& index, std::size_t entry) {
  if (!index.MayHold(entry, q.formBits, q.initialBits)) return std::nullopt;
  const std::u16string_view form = index.matchForm(entry);
  const std::u16string_view initials = index.initials(entry);
  const std::size_t m = q.text.size();
  if (m > form.size()) return std::nullopt;
  // Most positions fail on the first character: test it against one array without branching.
  const bool firstLiteral = q.how[0] == Compare::Literal;
  const char16_t* probe = firstLiteral ? form.data() : initials.data();
  const char16_t want = q.how[0] == Compare::Stem ? InitialConsonant(q.text[0]) : q.text[0];
  std::optional<Result> best;
  for (std::size_t pos = 0, last = form.size() - m; pos <= last; ++pos) {
    if (probe[pos] != want) continue;
    if (q.allLiteral ? form.compare(pos, m, q.text) != 0
                     : !MatchesAt(q, form.data() + pos, initials.data() + pos))
      continue;
    if (pos == 0) {
      const bool whole = m == form.size() && form == q.text;
      return Result{entry, whole ? Rank::WholeName : Rank::Prefix, 0, m};
    }
    if (IsWordSeparator(form[pos - 1])) return Result{entry, Rank::WordStart, pos, m};
    if (!best) best = Result{entry, Rank::Substring, pos, m};
  }
  return best;
}

}  // namespace

std::vector<Result> Search(const Index& index, std::u16string_view query, std::size_t limit,
                           std::optional<Kind> only) {
  const std::vector<Query> queries = PrepareQueries(query);
  if (queries.empty() || limit == 0) return {};
  // Rank, use count (inverted, so smaller sorts first) and kind packed into one number; the
  // entry's position breaks ties, so equal keys keep the index's order.
  struct Found {
    std::uint64_t order;
    std::size_t entry;
    Result result;
  };
  const auto better = [](const Found& a, const Found& b) {
    return a.order != b.order ? a.order < b.order : a.entry < b.entry;
  };
  // The best `limit` so far, worst on top: a keystroke that matches thousands of names keeps
  // only what the list can show.
  std::vector<Found> kept;
  kept.reserve(std::min(limit, index.size()) + 1);
  for (std::size_t i = 0; i < index.size(); ++i) {
    auto r = BestMatch(queries[0], index, i);
    if (queries.size() > 1)
      if (auto other = BestMatch(queries[1], index, i); other && (!r || other->rank < r->rank)) r = other;
    if (!r) continue;
    const EntryView e = index.entry(i);
    if (only && e.kind != *only) continue;
    const Found f{(std::uint64_t{static_cast<std::uint8_t>(r->rank)} << 33) |
                      (std::uint64_t{0xFFFFFFFFu - e.useCount} << 1) |
                      static_cast<std::uint64_t>(e.kind == Kind::File),
                  i, *r};
    if (kept.size() == limit) {
      if (!better(f, kept.front())) continue;
      std::pop_heap(kept.begin(), kept.end(), better);
      kept.pop_back();
    }
    kept.push_back(f);
    std::push_heap(kept.begin(), kept.end(), better);
  }
  std::sort_heap(kept.begin(), kept.end(), better);
  std::vector<Result> results;
  results.reserve(kept.size());
  for (const Found& f : kept) results.push_back(f.result);
  return results;
}

}  // namespace pravik::core::search
