// The pixel work that runs on every hover and press of an image button, the shadow strips the
// menu recomputes when it changes size, and the cipher behind the machine identity.
#include <benchmark/benchmark.h>

#include <array>
#include <vector>

#include "core/button/faces.h"
#include "core/crypto/unique_number.h"

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

}  // namespace
