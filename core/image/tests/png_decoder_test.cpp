#include "core/image/png_decoder.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <fstream>
#include <iterator>
#include <string>

namespace pravik::core::image {
namespace {

void Put32(std::vector<std::uint8_t>& out, std::uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<std::uint8_t>(v >> shift));
}

void PutChunk(std::vector<std::uint8_t>& out, const char* type, const std::vector<std::uint8_t>& data) {
  Put32(out, static_cast<std::uint32_t>(data.size()));
  std::vector<std::uint8_t> body(type, type + 4);
  body.insert(body.end(), data.begin(), data.end());
  out.insert(out.end(), body.begin(), body.end());
  Put32(out, static_cast<std::uint32_t>(crc32(0, body.data(), static_cast<uInt>(body.size()))));
}

std::vector<std::uint8_t> Header(std::uint32_t w, std::uint32_t h, std::uint8_t depth, std::uint8_t colour,
                                 std::uint8_t interlace = 0) {
  std::vector<std::uint8_t> ihdr;
  Put32(ihdr, w);
  Put32(ihdr, h);
  ihdr.insert(ihdr.end(), {depth, colour, 0, 0, interlace});
  return ihdr;
}

// A file whose row y uses filter y % 5, so every filter is reversed at least once.
std::vector<std::uint8_t> Encode(int w, int h, int bpp, const std::vector<std::uint8_t>& pixels) {
  const std::size_t stride = static_cast<std::size_t>(w * bpp);
  std::vector<std::uint8_t> raw;
  for (int y = 0; y < h; ++y) {
    const std::uint8_t filter = static_cast<std::uint8_t>(y % 5);
    raw.push_back(filter);
    const std::uint8_t* row = &pixels[y * stride];
    const std::uint8_t* up = y ? row - stride : nullptr;
    for (std::size_t i = 0; i < stride; ++i) {
      const int a = i >= static_cast<std::size_t>(bpp) ? row[i - bpp] : 0, b = up ? up[i] : 0,
                c = up && i >= static_cast<std::size_t>(bpp) ? up[i - bpp] : 0;
      const int p = a + b - c, pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
      const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
      const int predicted[5] = {0, a, b, (a + b) / 2, paeth};
      raw.push_back(static_cast<std::uint8_t>(row[i] - predicted[filter]));
    }
  }
  uLongf size = compressBound(static_cast<uLong>(raw.size()));
  std::vector<std::uint8_t> deflated(size);
  compress(deflated.data(), &size, raw.data(), static_cast<uLong>(raw.size()));
  deflated.resize(size);
  std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
  PutChunk(file, "IHDR", Header(w, h, 8, bpp == 4 ? 6 : 2));
  PutChunk(file, "tEXt", {'a', 0, 'b'});  // ancillary chunks are passed over
  PutChunk(file, "IDAT", std::vector<std::uint8_t>(deflated.begin(), deflated.begin() + size / 2));
  PutChunk(file, "IDAT", std::vector<std::uint8_t>(deflated.begin() + size / 2, deflated.end()));
  PutChunk(file, "IEND", {});
  return file;
}

std::vector<std::uint8_t> Pattern(int w, int h, int bpp) {
  std::vector<std::uint8_t> pixels(static_cast<std::size_t>(w * h * bpp));
  for (std::size_t i = 0; i < pixels.size(); ++i) pixels[i] = static_cast<std::uint8_t>(i * 37 + i / 7);
  return pixels;
}

TEST(PngDecoder, EveryFilterOfRgbAndRgbaGivesBackThePixels) {
  for (int bpp : {3, 4}) {
    const std::vector<std::uint8_t> pixels = Pattern(13, 11, bpp);
    const PngResult result = DecodePng(Encode(13, 11, bpp, pixels));
    ASSERT_EQ(result.error, PngError::kNone) << bpp;
    ASSERT_EQ(result.image.width, 13);
    ASSERT_EQ(result.image.height, 11);
    for (int i = 0; i < 13 * 11; ++i)
      for (int c = 0; c < 4; ++c)
        ASSERT_EQ(result.image.rgba[i * 4 + c], c < bpp ? pixels[i * bpp + c] : 255) << bpp << " " << i << " " << c;
  }
}

TEST(PngDecoder, BrokenFilesAreCorruptAndOtherFormatsAreLeftToTheSystem) {
  const std::vector<std::uint8_t> good = Encode(5, 4, 4, Pattern(5, 4, 4));
  EXPECT_EQ(DecodePng({}).error, PngError::kCorrupt);
  for (std::size_t cut : {std::size_t{8}, std::size_t{20}, good.size() - 13, good.size() - 1})
    EXPECT_EQ(DecodePng(std::span(good).first(cut)).error, PngError::kCorrupt) << cut;
  std::vector<std::uint8_t> flipped = good;
  flipped[40] ^= 1;  // inside a chunk: its CRC no longer matches
  EXPECT_EQ(DecodePng(flipped).error, PngError::kCorrupt);

  auto withHeader = [](const std::vector<std::uint8_t>& ihdr) {
    std::vector<std::uint8_t> file = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    PutChunk(file, "IHDR", ihdr);
    PutChunk(file, "IDAT", {0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01});
    PutChunk(file, "IEND", {});
    return file;
  };
  EXPECT_EQ(DecodePng(withHeader(Header(4, 4, 8, 3))).error, PngError::kUnsupported);      // palette
  EXPECT_EQ(DecodePng(withHeader(Header(4, 4, 16, 6))).error, PngError::kUnsupported);     // 16 bits
  EXPECT_EQ(DecodePng(withHeader(Header(4, 4, 8, 6, 1))).error, PngError::kUnsupported);   // interlaced
  EXPECT_EQ(DecodePng(withHeader(Header(65536, 65536, 8, 6))).error, PngError::kTooLarge);
  // The header promises more rows than the data holds.
  EXPECT_EQ(DecodePng(withHeader(Header(4, 4, 8, 6))).error, PngError::kCorrupt);
}

TEST(PngDecoder, TheShippedSkinsDecodeAndFlattenOntoWhite) {
  std::ifstream in(std::string(PRAVIK_SOURCE_DIR) + "/Graphics/StartMenu.png", std::ios::binary);
  const std::vector<std::uint8_t> file{std::istreambuf_iterator<char>(in), {}};
  const PngResult result = DecodePng(file);
  ASSERT_EQ(result.error, PngError::kNone);
  EXPECT_EQ(result.image.width, 31);
  EXPECT_EQ(result.image.height, 29);
  const std::vector<std::uint32_t> flat = FlattenToBgrx(result.image, 255, 255, 255);
  for (std::size_t i = 0; i < flat.size(); ++i) {
    const std::uint8_t* p = &result.image.rgba[4 * i];
    if (p[3] == 0) {
      ASSERT_EQ(flat[i], 0xFFFFFFu) << i;  // transparent: the background
    } else if (p[3] == 255) {
      ASSERT_EQ(flat[i], (std::uint32_t{p[0]} << 16) | (p[1] << 8) | p[2]) << i;
    }
  }
  RgbaImage half{1, 1, {200, 100, 0, 128}};
  EXPECT_EQ(FlattenToBgrx(half, 0, 0, 0)[0], (100u << 16) | (50u << 8) | 0u);
}

}  // namespace
}  // namespace pravik::core::image
