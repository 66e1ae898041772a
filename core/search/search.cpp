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
  }
  return q;
}

bool MatchesAt(const Query& q, std::u16string_view form, std::u16string_view initials, std::size_t pos) {
  for (std::size_t i = 0; i < q.text.size(); ++i) {
    const char16_t have = q.byInitial[i] ? initials[pos + i] : form[pos + i];
    if (have != q.text[i]) return false;
  }
  return true;
}

// The first match position, moving on to the next only while a better rank is still possible.
std::optional<Result> BestMatch(const Query& q, const Index& index, std::size_t entry) {
  const std::u16string_view form = index.matchForm(entry);
  const std::u16string_view initials = index.initials(entry);
  const std::size_t m = q.text.size();
  if (m > form.size()) return std::nullopt;
  std::optional<Result> best;
  const std::u16string_view probe = q.byInitial[0] ? initials : form;
  for (std::size_t pos = probe.find(q.text[0]); pos != std::u16string_view::npos && pos + m <= form.size();
       pos = probe.find(q.text[0], pos + 1)) {
    if (q.anyInitial ? !MatchesAt(q, form, initials, pos) : form.compare(pos, m, q.text) != 0) continue;
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
  std::vector<Result> found;
  if (q.text.empty() || limit == 0) return found;
  for (std::size_t i = 0; i < index.size(); ++i) {
    if (only && index.entry(i).kind != *only) continue;
    if (auto r = BestMatch(q, index, i)) found.push_back(*r);
  }
  const auto better = [&index](const Result& a, const Result& b) {
    if (a.rank != b.rank) return a.rank < b.rank;
    const Entry& ea = index.entry(a.entry);
    const Entry& eb = index.entry(b.entry);
    if (ea.useCount != eb.useCount) return ea.useCount > eb.useCount;
    if (ea.kind != eb.kind) return ea.kind < eb.kind;
    return a.entry < b.entry;  // a total order, so equal keys keep the index's order
  };
  const std::size_t kept = std::min(limit, found.size());
  std::partial_sort(found.begin(), found.begin() + static_cast<std::ptrdiff_t>(kept), found.end(), better);
  found.resize(kept);
  return found;
}

}  // namespace pravik::core::search
