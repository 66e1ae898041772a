// The skin decoder on any bytes: it must answer an error, never read or write outside its buffers.
// Chunk checksums are not checked in this build, so the fuzzer reaches the data behind them.
#include <cstddef>
#include <cstdint>

#include "core/image/png_decoder.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  using namespace pravik::core::image;
  const PngResult result = DecodePng({data, size});
  if (result.error == PngError::kNone) (void)FlattenToBgrx(result.image, 255, 255, 255);
  return 0;
}
