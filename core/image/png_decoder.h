#pragma once
// A PNG decoder for the skins' own formats (8-bit RGB and RGBA, not interlaced) and a flattening
// onto a background colour. Start-up uses it to show the button's skins without loading GDI+ and
// its codecs; anything else it reports as unsupported and the caller decodes it through GDI+.
#include <cstddef>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace pravik::core::image {

struct RgbaImage {
  int width = 0;
  int height = 0;
  std::vector<std::uint8_t> rgba;  // rows top-down, four bytes a pixel, alpha not premultiplied
};

enum class PngError { kNone, kUnsupported, kCorrupt, kTooLarge };

struct PngResult {
  PngError error = PngError::kNone;
  RgbaImage image;
};

// Decodes a whole PNG file held in memory. Chunk CRCs are checked; an image above
// kMaxPngPixels is refused before anything is allocated for it.
inline constexpr std::uint64_t kMaxPngPixels = 16u * 1024 * 1024;
PngResult DecodePng(std::span<const std::uint8_t> file);

// The image drawn over an opaque background, as 32-bit BGRX pixels (the order of a 32-bit DIB),
// rows top-down: out = (src * a + background * (255 - a)) / 255, rounded.
std::vector<std::uint32_t> FlattenToBgrx(const RgbaImage& image, std::uint8_t red, std::uint8_t green,
                                         std::uint8_t blue);

}  // namespace pravik::core::image
