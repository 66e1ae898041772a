#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/search/hangul.h"
#include "core/search/index.h"
#include "core/search/match_text.h"
#include "core/search/search.h"

namespace pravik::core::search {
namespace {

constexpr std::u16string_view kInitials = u"ㄱㄲㄴㄷㄸㄹㅁㅂㅃㅅㅆㅇㅈㅉㅊㅋㅌㅍㅎ";

// Every modern syllable, built from its conjoining jamo, composes to the syllable the Unicode
// arithmetic gives and reports the initial it was built from.
TEST(Hangul, EverySyllableComposesAndGivesItsInitial) {
  int checked = 0;
  for (int l = 0; l < 19; ++l)
    for (int v = 0; v < 21; ++v)
      for (int t = 0; t < 28; ++t) {
        std::u16string jamo{char16_t(0x1100 + l), char16_t(0x1161 + v)};
        if (t > 0) jamo += char16_t(0x11A7 + t);
        const char16_t syllable = char16_t(0xAC00 + (l * 21 + v) * 28 + t);
        ASSERT_EQ(ComposeHangul(jamo), std::u16string(1, syllable)) << l << ' ' << v << ' ' << t;
        ASSERT_EQ(InitialConsonant(syllable), kInitials[l]) << std::hex << int(syllable);
        ++checked;
      }
  EXPECT_EQ(checked, 0xD7A3 - 0xAC00 + 1);

  struct Spot {
    char16_t syllable, initial;
  } spots[] = {{u'가', u'ㄱ'}, {u'힣', u'ㅎ'}, {u'메', u'ㅁ'}, {u'까', u'ㄲ'}, {u'땀', u'ㄸ'},
               {u'빵', u'ㅃ'}, {u'쌀', u'ㅆ'}, {u'짜', u'ㅉ'}, {u'계', u'ㄱ'}, {u'장', u'ㅈ'}};
  for (const Spot& s : spots) EXPECT_EQ(InitialConsonant(s.syllable), s.initial);
  for (char16_t outside : {char16_t(0xABFF), char16_t(0xD7A4), u'A', u'ㄱ', char16_t(0x1100)})
    EXPECT_EQ(InitialConsonant(outside), 0) << std::hex << int(outside);

  // Only vowel-ending syllables take a trailing jamo; stray jamo stay as they are.
  EXPECT_EQ(ComposeHangul(u"가\u11A8"), u"각");
  EXPECT_EQ(ComposeHangul(u"각\u11A8"), u"각\u11A8");
  EXPECT_EQ(ComposeHangul(u"\u1100\u1100a\u1161"), u"\u1100\u1100a\u1161");
  EXPECT_EQ(ComposeHangul(u"\u1112\u1161\u11AB \u1100\u1173\u11AF"), u"한 글");
}

Index Programs(std::initializer_list<std::u16string> names) {
  std::vector<Entry> entries;
  for (const auto& n : names) entries.push_back({n, Kind::Program, 0, entries.size()});
  return Index(std::move(entries));
}

std::vector<std::u16string> Names(const Index& index, std::u16string_view query, std::size_t limit = 50) {
  std::vector<std::u16string> names;
  for (const Result& r : Search(index, query, limit)) names.emplace_back(index.entry(r.entry).displayName);
  return names;
}

using Names_ = std::vector<std::u16string>;

TEST(Search, InitialsCompatibilityJamoAndMixedQueries) {
  const Index index = Programs({u"메모장", u"계산기", u"공학용 계산기", u"메일", u"까치 게임", u"가치 투자",
                                u"ㅋㅋ 모음", u"\u1106\u1166\u1106\u1169\u110C\u1161\u11BC 2"});
  EXPECT_EQ(Names(index, u"ㅁㅁㅈ"), (Names_{u"메모장", u"메모장 2"}));  // decomposed name composed
  EXPECT_EQ(Names(index, u"ㄱㅅㄱ"), (Names_{u"계산기", u"공학용 계산기"}));
  EXPECT_EQ(Names(index, u"메ㅁ"), (Names_{u"메모장", u"메모장 2"}));
  EXPECT_EQ(Names(index, u"ㅁ모ㅈ"), (Names_{u"메모장", u"메모장 2"}));
  EXPECT_EQ(Names(index, u"계산ㄱ"), (Names_{u"계산기", u"공학용 계산기"}));
  // A query typed in conjoining jamo (pasted from elsewhere) is read as typed consonants.
  EXPECT_EQ(Names(index, u"\u1106\u1106\u110C"), (Names_{u"메모장", u"메모장 2"}));
  // Double consonants match only themselves.
  EXPECT_EQ(Names(index, u"ㄲㅊ"), (Names_{u"까치 게임"}));
  EXPECT_EQ(Names(index, u"ㄱㅊ"), (Names_{u"가치 투자"}));
  // Compatibility jamo in a name match literally; a cluster (ㄳ) is no initial.
  EXPECT_EQ(Names(index, u"ㅋㅋ"), (Names_{u"ㅋㅋ 모음"}));
  EXPECT_TRUE(Names(index, u"ㄳ").empty());

  const auto results = Search(index, u"ㅁㅁㅈ", 10);
  ASSERT_FALSE(results.empty());
  EXPECT_EQ(results[0].rank, Rank::Prefix);  // initials covering the name are still a prefix
  EXPECT_EQ(Search(index, u"메모장", 1)[0].rank, Rank::WholeName);
  const auto word = Search(index, u"ㄱㅅㄱ", 10);
  ASSERT_EQ(word.size(), 2u);
  EXPECT_EQ(word[1].rank, Rank::WordStart);
  EXPECT_EQ(word[1].start, 4u);
  EXPECT_EQ(word[1].length, 3u);
}

// Every state an input method shows while 메모장, 계산기 and 달기 are typed finds the program.
TEST(Search, EachStateOfASyllableBeingTyped) {
  const Index index = Programs({u"메모장", u"계산기", u"달기 게임", u"멤버 목록", u"닭 요리"});
  for (std::u16string_view typed : {u"ㅁ", u"메", u"멤", u"메모", u"메몾", u"메모자", u"메모장"})
    EXPECT_EQ(Names(index, typed).front(), u"메모장") << std::u16string(typed).size();
  for (std::u16string_view typed : {u"ㄱ", u"계", u"곗", u"계사", u"계산", u"계산ㄱ", u"계산기"})
    EXPECT_NE(Names(index, typed).front().find(u"계산기"), std::u16string::npos);
  EXPECT_EQ(Names(index, u"닭"), (Names_{u"달기 게임", u"닭 요리"}));
  EXPECT_EQ(Names(index, u"멤"), (Names_{u"메모장", u"멤버 목록"}));
  // Only the last syllable can still grow; finished ones match exactly.
  EXPECT_TRUE(Names(index, u"메모장 ").empty());
  EXPECT_TRUE(Names(index, u"머모").empty());
}

TEST(Search, LatinCaseFolding) {
  const Index index = Programs({u"Notepad++", u"ÉLAN Viewer", u"Łódź Map", u"İzmir", u"ΑΘΗΝΑ", u"МОСКВА", u"Straße"});
  EXPECT_EQ(Names(index, u"NOTEPAD"), (Names_{u"Notepad++"}));
  EXPECT_EQ(Names(index, u"élan"), (Names_{u"ÉLAN Viewer"}));
  EXPECT_EQ(Names(index, u"ŁÓDŹ"), (Names_{u"Łódź Map"}));
  EXPECT_EQ(Names(index, u"łódź"), (Names_{u"Łódź Map"}));
  EXPECT_EQ(Names(index, u"izmir"), (Names_{u"İzmir"}));
  EXPECT_EQ(Names(index, u"αθ"), (Names_{u"ΑΘΗΝΑ"}));
  EXPECT_EQ(Names(index, u"москва"), (Names_{u"МОСКВА"}));
  EXPECT_EQ(Names(index, u"STRASSE"), Names_{});  // simple lower-casing only
  EXPECT_EQ(Names(index, u"STRAßE"), (Names_{u"Straße"}));
}

TEST(Search, RankingOrderForAFixedTable) {
  struct Row {
    std::u16string name;
    Kind kind;
    std::uint32_t uses;
  };
  const std::vector<Row> rows = {
      {u"Paint Studio", Kind::Program, 0},  {u"Paint", Kind::Program, 0},
      {u"MS Paint Helper", Kind::Program, 5}, {u"Repaint.exe", Kind::File, 0},
      {u"paint notes.txt", Kind::File, 3},  {u"Paintbrush", Kind::Program, 3},
      {u"Paint it.txt", Kind::File, 0},     {u"Unpainted", Kind::Program, 9},
      {u"Spray-paint", Kind::File, 1},      {u"Paint Studio Pro", Kind::Program, 0},
  };
  std::vector<Entry> entries;
  for (const Row& r : rows) entries.push_back({r.name, r.kind, r.uses, 100 + entries.size()});
  const Index index(std::move(entries));

  const Names_ expected = {u"Paint",           u"Paintbrush",  u"paint notes.txt", u"Paint Studio",
                           u"Paint Studio Pro", u"Paint it.txt", u"MS Paint Helper", u"Spray-paint",
                           u"Unpainted",       u"Repaint.exe"};
  EXPECT_EQ(Names(index, u"paint"), expected);
  EXPECT_EQ(Names(index, u"paint", 3), (Names_{expected.begin(), expected.begin() + 3}));

  const auto files = Search(index, u"PAINT", 10, Kind::File);
  ASSERT_EQ(files.size(), 4u);
  EXPECT_EQ(index.entry(files[0].entry).id, 104u);
  EXPECT_EQ(files[0].rank, Rank::Prefix);
  EXPECT_EQ(files[2].rank, Rank::WordStart);
  EXPECT_EQ(files[3].rank, Rank::Substring);
}

TEST(Search, BadQueriesFindNothingOrTheLiteralText) {
  const Index index = Programs({u"C++ Builder", u"Party \U0001F600", u"broken \xD83D name", u"메모장"});
  EXPECT_TRUE(Names(index, u"").empty());
  EXPECT_TRUE(Names(index, u"   ").empty());
  EXPECT_TRUE(Names(index, std::u16string(100000, u'ㅁ')).empty());
  EXPECT_EQ(Names(index, u"  메모"), (Names_{u"메모장"}));
  EXPECT_EQ(Names(index, u"++"), (Names_{u"C++ Builder"}));
  EXPECT_TRUE(Names(index, u"!?*").empty());
  EXPECT_EQ(Names(index, u"\U0001F600"), (Names_{u"Party \U0001F600"}));
  // Half of a pair never matches inside a whole pair; it matches another lone half.
  EXPECT_EQ(Names(index, u"\xD83D"), (Names_{u"broken \xD83D name"}));
  EXPECT_EQ(Names(index, u"\xDE00"), (Names_{u"broken \xD83D name"}));
  EXPECT_TRUE(Search(index, u"메", 0).empty());
}

}  // namespace
}  // namespace pravik::core::search
