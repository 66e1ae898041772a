#include "core/image/png_decoder.h"

#include <zlib.h>

#include <cstdlib>
#include <cstring>

namespace pravik::core::image {
namespace {

constexpr std::uint8_t kSignature[8] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};

std::uint32_t BigEndian32(const std::uint8_t* p) {
  return (std::uint32_t{p[0]} << 24) | (std::uint32_t{p[1]} << 16) | (std::uint32_t{p[2]} << 8) | p[3];
}

std::uint8_t Paeth(int a, int b, int c) {
  const int p = a + b - c;
  const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
  if (pa <= pb && pa <= pc) return static_cast<std::uint8_t>(a);
  return static_cast<std::uint8_t>(pb <= pc ? b : c);
}

// Reverses the per-row filters in place; `rows` holds each row's filter byte before its bytes.
bool Unfilter(std::uint8_t* rows, std::size_t stride, int height, std::size_t bpp) {
  const std::uint8_t* previous = nullptr;
  for (int y = 0; y < height; ++y) {
    const std::uint8_t filter = rows[0];
    std::uint8_t* row = rows + 1;
    for (std::size_t i = 0; i < stride; ++i) {
      const int left = i >= bpp ? row[i - bpp] : 0;
      const int up = previous ? previous[i] : 0;
      const int upLeft = previous && i >= bpp ? previous[i - bpp] : 0;
      switch (filter) {
        case 0: break;
        case 1: row[i] = static_cast<std::uint8_t>(row[i] + left); break;
        case 2: row[i] = static_cast<std::uint8_t>(row[i] + up); break;
        case 3: row[i] = static_cast<std::uint8_t>(row[i] + (left + up) / 2); break;
        case 4: row[i] = static_cast<std::uint8_t>(row[i] + Paeth(left, up, upLeft)); break;
        default: return false;
      }
    }
    previous = row;
    rows += stride + 1;
  }
  return true;
}

// Inflates the joined IDAT data into exactly `size` bytes; more or fewer is a corrupt file.
bool InflateExactly(const std::vector<std::uint8_t>& compressed, std::uint8_t* out, std::size_t size) {
  z_stream z{};
  if (inflateInit(&z) != Z_OK) return false;
  z.next_in = const_cast<Bytef*>(compressed.data());
  z.avail_in = static_cast<uInt>(compressed.size());
  z.next_out = out;
  z.avail_out = static_cast<uInt>(size);
  int status = inflate(&z, Z_FINISH);
  const bool whole = status == Z_STREAM_END && z.avail_out == 0;
  inflateEnd(&z);
  return whole;
}

}  // namespace

PngResult DecodePng(std::span<const std::uint8_t> file) {
  PngResult result;
  auto fail = [&result](PngError error) {
    result.error = error;
    result.image = {};
    return result;
  };
  if (file.size() < sizeof(kSignature) || std::memcmp(file.data(), kSignature, sizeof(kSignature)) != 0)
    return fail(PngError::kCorrupt);

  std::size_t at = sizeof(kSignature);
  bool header = false, ended = false;
  int colourType = 0;
  std::vector<std::uint8_t> compressed;
  while (!ended) {
    if (file.size() - at < 12) return fail(PngError::kCorrupt);
    const std::uint32_t length = BigEndian32(&file[at]);
    if (length > file.size() - at - 12) return fail(PngError::kCorrupt);
    const std::uint8_t* type = &file[at + 4];
    const std::uint8_t* data = type + 4;
    const std::uint32_t stored = BigEndian32(data + length);
#ifndef FUZZING_BUILD_MODE_UNSAFE_FOR_PRODUCTION
    if (static_cast<std::uint32_t>(crc32(0, type, length + 4)) != stored) return fail(PngError::kCorrupt);
#else
    (void)stored;
#endif
    at += 12 + std::size_t{length};

    if (std::memcmp(type, "IHDR", 4) == 0) {
      if (header || length != 13) return fail(PngError::kCorrupt);
      header = true;
      const std::uint32_t width = BigEndian32(data), height = BigEndian32(data + 4);
      if (width == 0 || height == 0 || width > 0x7FFFFFFF || height > 0x7FFFFFFF) return fail(PngError::kCorrupt);
      if (std::uint64_t{width} * height > kMaxPngPixels) return fail(PngError::kTooLarge);
      colourType = data[9];
      // Bit depth 8, colour type RGB or RGBA, the standard compression and filters, no interlace.
      if (data[8] != 8 || (colourType != 2 && colourType != 6) || data[10] != 0 || data[11] != 0 || data[12] != 0)
        return fail(PngError::kUnsupported);
      result.image.width = static_cast<int>(width);
      result.image.height = static_cast<int>(height);
    } else if (!header) {
      return fail(PngError::kCorrupt);
    } else if (std::memcmp(type, "IDAT", 4) == 0) {
      compressed.insert(compressed.end(), data, data + length);
    } else if (std::memcmp(type, "IEND", 4) == 0) {
      ended = true;
    } else if ((type[0] & 0x20) == 0) {
      // A critical chunk this decoder does not know (a palette among them): GDI+'s turn.
      return fail(PngError::kUnsupported);
    }
  }
  if (!header || compressed.empty()) return fail(PngError::kCorrupt);

  RgbaImage& image = result.image;
  const std::size_t bpp = colourType == 6 ? 4 : 3;
  const std::size_t stride = bpp * static_cast<std::size_t>(image.width);
  std::vector<std::uint8_t> rows((stride + 1) * static_cast<std::size_t>(image.height));
  if (!InflateExactly(compressed, rows.data(), rows.size()) || !Unfilter(rows.data(), stride, image.height, bpp))
    return fail(PngError::kCorrupt);

  image.rgba.resize(4 * static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
  std::uint8_t* out = image.rgba.data();
  for (int y = 0; y < image.height; ++y) {
    const std::uint8_t* row = rows.data() + static_cast<std::size_t>(y) * (stride + 1) + 1;
    for (int x = 0; x < image.width; ++x, row += bpp, out += 4) {
      out[0] = row[0];
      out[1] = row[1];
      out[2] = row[2];
      out[3] = bpp == 4 ? row[3] : 255;
    }
  }
  return result;
}

std::vector<std::uint32_t> FlattenToBgrx(const RgbaImage& image, std::uint8_t red, std::uint8_t green,
                                         std::uint8_t blue) {
  std::vector<std::uint32_t> out(static_cast<std::size_t>(image.width) * static_cast<std::size_t>(image.height));
  const auto mix = [](unsigned source, unsigned back, unsigned alpha) {
    return (source * alpha + back * (255 - alpha) + 127) / 255;
  };
  for (std::size_t i = 0; i < out.size(); ++i) {
    const std::uint8_t* p = &image.rgba[4 * i];
    out[i] = (mix(p[0], red, p[3]) << 16) | (mix(p[1], green, p[3]) << 8) | mix(p[2], blue, p[3]);
  }
  return out;
}

}  // namespace pravik::core::image
