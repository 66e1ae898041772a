// The pixel work that runs on every hover and press of an image button, the shadow strips the
// menu recomputes when it changes size, the cipher behind the machine identity, and the search
// the run box does on every keystroke.
#include <benchmark/benchmark.h>

#include <array>
#include <cstdint>
#include <string>
#include <vector>

#include "core/button/faces.h"
#include "core/crypto/unique_number.h"
#include "core/search/search.h"

namespace {

using namespace pravik::core::button;

class NoHooks : public FaceHooks {};

// The menu's shutdown button: 162 x 23 pixels, style 4, in each state.
void BM_ShutdownButtonFace(benchmark::State& state) {
  std::vector<Pixel> bits(162 * 23);
  PixelView view{bits.data(), 162, 23, 162};
  FaceState face;
  face.style = 4;
  face.scheme = 3;
  face.base = Hex(0x00B0F0);
  face.state = static_cast<ButtonState>(state.range(0));
  NoHooks hooks;
  for (auto _ : state) {
    PaintFace(view, face, hooks);
    benchmark::DoNotOptimize(bits.data());
  }
}
BENCHMARK(BM_ShutdownButtonFace)->Arg(0)->Arg(1)->Arg(2);

// Every style at a common button size.
void BM_EveryStyleFace(benchmark::State& state) {
  std::vector<Pixel> bits(120 * 32);
  PixelView view{bits.data(), 120, 32, 120};
  FaceState face;
  face.style = static_cast<int>(state.range(0));
  NoHooks hooks;
  for (auto _ : state) {
    PaintFace(view, face, hooks);
    benchmark::DoNotOptimize(bits.data());
  }
}
BENCHMARK(BM_EveryStyleFace)->DenseRange(0, 13);

void BM_UniqueNumberEncryption(benchmark::State& state) {
  const std::u16string text(40, u'7');
  for (auto _ : state) benchmark::DoNotOptimize(pravik::core::crypto::EncryptToHex(text, u"qz4"));
}
BENCHMARK(BM_UniqueNumberEncryption);

// 5 000 programs and 20 000 files with Korean and English names.
std::vector<pravik::core::search::Entry> FullEntries() {
  using namespace pravik::core::search;
  static constexpr std::u16string_view korean[] = {u"메모", u"장", u"계산", u"기", u"그림", u"판", u"설정",
                                                   u"관리", u"도구", u"사진", u"보기", u"문서", u"편집", u"게임"};
  static constexpr std::u16string_view english[] = {u"Note", u"pad", u"Studio", u"Paint", u"Viewer", u"Office",
                                                    u"Report", u"Player", u"Setup", u"Tools", u"Media", u"Code"};
  std::uint32_t seed = 12345;
  const auto next = [&seed](std::uint32_t n) {
    seed = seed * 1664525u + 1013904223u;
    return (seed >> 8) % n;
  };
  std::vector<Entry> entries;
  for (int i = 0; i < 25000; ++i) {
    std::u16string name;
    for (std::uint32_t words = 1 + next(3); words > 0; --words) {
      if (!name.empty()) name += u' ';
      name += next(2) ? std::u16string(korean[next(std::size(korean))]) + std::u16string(korean[next(std::size(korean))])
                      : std::u16string(english[next(std::size(english))]);
    }
    const bool file = i >= 5000;
    if (file) {
      name += u' ';
      name += static_cast<char16_t>(u'0' + next(10));
      name += u".txt";
    }
    entries.push_back({name, file ? Kind::File : Kind::Program, next(5), static_cast<std::uint64_t>(i)});
  }
  return entries;
}

const pravik::core::search::Index& FullIndex() {
  static const pravik::core::search::Index index(FullEntries());
  return index;
}

// Preparing the full index again, as a change to a watched folder does.
void BM_SearchIndexBuild(benchmark::State& state) {
  const auto entries = FullEntries();
  for (auto _ : state) benchmark::DoNotOptimize(pravik::core::search::Index(entries));
}
BENCHMARK(BM_SearchIndexBuild)->Unit(benchmark::kMillisecond);

// One keystroke's search: initials, mixed, Latin, and single letters that match thousands.
void BM_SearchKeystroke(benchmark::State& state) {
  static constexpr std::u16string_view queries[] = {u"ㅁㅁㅈ", u"메ㅁ", u"note", u"ㄱ", u"e", u"studio paint"};
  const auto& index = FullIndex();
  const std::u16string_view query = queries[state.range(0)];
  for (auto _ : state) benchmark::DoNotOptimize(pravik::core::search::Search(index, query, 30));
}
BENCHMARK(BM_SearchKeystroke)->DenseRange(0, 5)->Unit(benchmark::kMicrosecond);

// The floor to compare the keystroke with on a busy machine: one plain pass over every
// name's characters, counting a letter.
void BM_SearchFloorOnePass(benchmark::State& state) {
  const auto& index = FullIndex();
  for (auto _ : state) {
    std::size_t n = 0;
    for (std::size_t i = 0; i < index.size(); ++i)
      for (char16_t c : index.matchForm(i)) n += c == u'e';
    benchmark::DoNotOptimize(n);
  }
}
BENCHMARK(BM_SearchFloorOnePass)->Unit(benchmark::kMicrosecond);

}  // namespace
