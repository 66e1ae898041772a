#include "core/search/search.h"

#include <algorithm>

#include "core/search/hangul.h"
#include "core/search/match_text.h"

namespace pravik::core::search {
namespace {

struct Query {
  std::u16string text;       // matching form
  std::vector<bool> byInitial;  // compare this character with the name's initials
  bool anyInitial = false;
  std::uint64_t formBits = 0;     // what a name must hold to be worth comparing
  std::uint64_t initialBits = 0;
};

Query PrepareQuery(std::u16string_view typed) {
  const std::u16string composed = ComposeHangul(typed);
  std::u16string_view view = composed;
  // Leading blanks are the box's, not the name's; blanks alone are no query at all.
  const std::size_t first = view.find_first_not_of(u" \t\u3000\u00A0");
  view = (first == std::u16string_view::npos) ? std::u16string_view{} : view.substr(first);
  Query q{MatchForm(view), {}, false};
  q.byInitial.resize(q.text.size());
  for (std::size_t i = 0; i < q.text.size(); ++i) {
    q.byInitial[i] = IsInitialConsonant(q.text[i]);
    q.anyInitial = q.anyInitial || q.byInitial[i];
    (q.byInitial[i] ? q.initialBits : q.formBits) |= CharBit(q.text[i]);
  }
  return q;
}

bool MatchesAt(const Query& q, const char16_t* form, const char16_t* initials) {
  for (std::size_t i = 0; i < q.text.size(); ++i)
    if ((q.byInitial[i] ? initials[i] : form[i]) != q.text[i]) return false;
  return true;
}

// The first match position, moving on to the next only while a better rank is still possible.
std::optional<Result> BestMatch(const Query& q, const Index& index, std::size_t entry) {
  const std::u16string_view form = index.matchForm(entry);
  const std::u16string_view initials = index.initials(entry);
  const std::size_t m = q.text.size();
  if (m > form.size()) return std::nullopt;
  const char16_t* probe = q.byInitial[0] ? initials.data() : form.data();
  const char16_t first = q.text[0];
  std::optional<Result> best;
  for (std::size_t pos = 0, last = form.size() - m; pos <= last; ++pos) {
    if (probe[pos] != first) continue;
    if (q.anyInitial ? !MatchesAt(q, form.data() + pos, initials.data() + pos)
                     : form.compare(pos, m, q.text) != 0)
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
  const Query q = PrepareQuery(query);
  if (q.text.empty() || limit == 0) return {};
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
    if (!index.MayHold(i, q.formBits, q.initialBits)) continue;
    const Entry& e = index.entry(i);
    if (only && e.kind != *only) continue;
    const auto r = BestMatch(q, index, i);
    if (!r) continue;
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
