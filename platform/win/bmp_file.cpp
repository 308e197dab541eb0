#include "platform/win/bmp_file.h"

#include <unistd.h>

#include <bit>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <iterator>

#include "platform/base/file_io.h"

namespace krv::win {
namespace {

constexpr std::uint32_t BI_RGB = 0;
constexpr std::uint32_t BI_RLE8 = 1;
constexpr std::uint32_t BI_RLE4 = 2;
constexpr std::uint32_t BI_BITFIELDS = 3;

std::uint16_t u16(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint16_t>(d[at] | (d[at + 1] << 8));
}
std::uint32_t u32(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::uint32_t>(d[at]) | (static_cast<std::uint32_t>(d[at + 1]) << 8) |
         (static_cast<std::uint32_t>(d[at + 2]) << 16) |
         (static_cast<std::uint32_t>(d[at + 3]) << 24);
}
std::int32_t i32(std::span<const std::uint8_t> d, std::size_t at) {
  return static_cast<std::int32_t>(u32(d, at));
}

// One colour channel of a masked pixel: shift and scale to 0..255.
struct Channel {
  std::uint32_t mask = 0;
  int shift = 0;
  std::uint32_t max = 0;

  bool set(std::uint32_t m) {
    mask = m;
    if (m == 0) return true;  // channel absent: always 0
    shift = std::countr_zero(m);
    const std::uint32_t bits = m >> shift;
    if ((bits & (bits + 1)) != 0) return false;  // not contiguous
    max = bits;
    return true;
  }
  int value(std::uint32_t pixel) const {
    if (!mask) return 0;
    const std::uint64_t v = (pixel & mask) >> shift;
    return static_cast<int>((v * 255 + max / 2) / max);
  }
};

base::Status fail(const std::string& message) { return base::Status::error(message); }

}  // namespace

base::Result<BitmapImage> decodeBmp(std::span<const std::uint8_t> d) {
  if (d.size() < 14 + 12) return fail("not a bitmap file: too short");
  if (d[0] != 'B' || d[1] != 'M') return fail("not a bitmap file: no BM signature");
  const std::uint32_t pixelOffset = u32(d, 10);
  const std::uint32_t headerSize = u32(d, 14);
  const bool core = headerSize == 12;
  if (!core && headerSize != 40 && headerSize != 52 && headerSize != 56 && headerSize != 108 &&
      headerSize != 124)
    return fail("unsupported bitmap header size " + std::to_string(headerSize));
  if (14 + static_cast<std::uint64_t>(headerSize) > d.size())
    return fail("truncated bitmap header");

  std::int64_t width, height;
  std::uint32_t planes, bits, compression = BI_RGB, colorsUsed = 0;
  if (core) {
    width = u16(d, 18);
    height = static_cast<std::int16_t>(u16(d, 20));
    planes = u16(d, 22);
    bits = u16(d, 24);
  } else {
    width = i32(d, 18);
    height = i32(d, 22);
    planes = u16(d, 26);
    bits = u16(d, 28);
    compression = u32(d, 30);
    colorsUsed = u32(d, 46);
  }
  if (planes != 1) return fail("bitmap has " + std::to_string(planes) + " planes");
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
    return fail("unsupported bit count " + std::to_string(bits));
  if (compression == BI_RLE8 || compression == BI_RLE4)
    return fail("run-length compressed bitmaps are not supported");
  if (compression == BI_BITFIELDS ? (bits != 16 && bits != 32) : compression != BI_RGB)
    return fail("unsupported bitmap compression " + std::to_string(compression));
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (width <= 0 || height <= 0) return fail("bitmap has no pixels");
  if (width > BitmapImage::kMaxDimension || height > BitmapImage::kMaxDimension ||
      width * height > BitmapImage::kMaxPixels)
    return fail("bitmap is too large (" + std::to_string(width) + " x " + std::to_string(height) +
                ")");

  std::size_t pos = 14 + headerSize;
  // Channel masks: after a 40-byte header, or inside the larger ones.
  Channel red, green, blue;
  if (compression == BI_BITFIELDS) {
    std::size_t at = 14 + 40;
    if (headerSize == 40) {
      if (pos + 12 > d.size()) return fail("truncated channel masks");
      pos += 12;
    }
    if (!red.set(u32(d, at)) || !green.set(u32(d, at + 4)) || !blue.set(u32(d, at + 8)))
      return fail("channel masks are not contiguous");
    if ((red.mask & green.mask) || (red.mask & blue.mask) || (green.mask & blue.mask))
      return fail("channel masks overlap");
    if (bits == 16 && ((red.mask | green.mask | blue.mask) >> 16))
      return fail("channel masks exceed 16 bits");
  } else if (bits == 16) {
    red.set(0x7C00), green.set(0x03E0), blue.set(0x001F);
  } else if (bits == 32) {
    red.set(0xFF0000), green.set(0x00FF00), blue.set(0x0000FF);
  }

  std::vector<COLORREF> palette;
  if (bits <= 8) {
    const std::uint32_t full = 1u << bits;
    if (colorsUsed > full) return fail("palette is larger than the bit count allows");
    const std::uint32_t count = colorsUsed ? colorsUsed : full;
    const std::size_t entry = core ? 3 : 4;
    if (pos + static_cast<std::uint64_t>(count) * entry > d.size())
      return fail("truncated palette");
    for (std::uint32_t i = 0; i < count; ++i, pos += entry)
      palette.push_back(RGB(d[pos + 2], d[pos + 1], d[pos]));
  }

  const std::uint64_t stride = (static_cast<std::uint64_t>(width) * bits + 31) / 32 * 4;
  if (pixelOffset < pos && !(core && pixelOffset == 0))
    return fail("pixel data overlaps the bitmap header");
  const std::uint64_t start = pixelOffset ? pixelOffset : pos;
  // The last row needs only its used bytes; some writers drop its padding.
  const std::uint64_t lastRow = (static_cast<std::uint64_t>(width) * bits + 7) / 8;
  if (start + stride * (height - 1) + lastRow > d.size()) return fail("truncated pixel data");

  BitmapImage image(static_cast<int>(width), static_cast<int>(height), RGB(0, 0, 0),
                    static_cast<int>(bits));
  for (int row = 0; row < height; ++row) {
    const std::uint8_t* src = d.data() + start + stride * row;
    const int y = topDown ? row : static_cast<int>(height) - 1 - row;
    COLORREF* dst = image.pixels().data() + static_cast<std::size_t>(y) * width;
    for (int x = 0; x < width; ++x) {
      COLORREF c;
      switch (bits) {
        case 1:
        case 4:
        case 8: {
          const int perByte = 8 / bits;
          const int shift = 8 - bits * (x % perByte + 1);
          const unsigned index = (src[x / perByte] >> shift) & ((1u << bits) - 1);
          c = index < palette.size() ? palette[index] : RGB(0, 0, 0);
          break;
        }
        case 16: {
          const std::uint32_t p = src[2 * x] | (src[2 * x + 1] << 8);
          c = RGB(red.value(p), green.value(p), blue.value(p));
          break;
        }
        case 24:
          c = RGB(src[3 * x + 2], src[3 * x + 1], src[3 * x]);
          break;
        default: {
          const std::uint32_t p = src[4 * x] | (src[4 * x + 1] << 8) | (src[4 * x + 2] << 16) |
                                  (static_cast<std::uint32_t>(src[4 * x + 3]) << 24);
          c = RGB(red.value(p), green.value(p), blue.value(p));
          break;
        }
      }
      dst[x] = c;
    }
  }
  return image;
}

base::Result<BitmapImage> readBmpFile(const std::filesystem::path& path) {
  // The largest picture accepted, at 32 bits, plus headers and palette.
  constexpr std::uintmax_t kMaxBytes = BitmapImage::kMaxPixels * 4 + 4096;
  const base::Result<std::string> bytes = base::readFile(path, kMaxBytes);
  if (!bytes) return bytes.status();
  const std::vector<std::uint8_t> data(bytes->begin(), bytes->end());
  base::Result<BitmapImage> image = decodeBmp(data);
  if (!image) return base::Status::error(path.string() + ": " + image.status().message());
  return image;
}

std::vector<std::uint8_t> encodeBmp(const BitmapImage& image, int bitsPerPixel) {
  if ((bitsPerPixel != 24 && bitsPerPixel != 32) || image.empty()) return {};
  const std::uint32_t stride =
      (static_cast<std::uint32_t>(image.width()) * bitsPerPixel + 31) / 32 * 4;
  const std::uint32_t dataSize = stride * image.height();
  const std::uint32_t offset = 14 + 40;
  std::vector<std::uint8_t> out(offset + dataSize, 0);
  auto put16 = [&](std::size_t at, std::uint32_t v) {
    out[at] = v & 0xFF;
    out[at + 1] = (v >> 8) & 0xFF;
  };
  auto put32 = [&](std::size_t at, std::uint32_t v) {
    put16(at, v & 0xFFFF);
    put16(at + 2, v >> 16);
  };
  out[0] = 'B', out[1] = 'M';
  put32(2, offset + dataSize);
  put32(10, offset);
  put32(14, 40);
  put32(18, image.width());
  put32(22, image.height());
  put16(26, 1);
  put16(28, bitsPerPixel);
  put32(30, BI_RGB);
  put32(34, dataSize);
  put32(38, 2835);  // 72 dots per inch
  put32(42, 2835);
  const int bytes = bitsPerPixel / 8;
  for (int y = 0; y < image.height(); ++y) {
    std::uint8_t* row =
        out.data() + offset + static_cast<std::size_t>(image.height() - 1 - y) * stride;
    for (int x = 0; x < image.width(); ++x) {
      const COLORREF c = image.pixel(x, y);
      row[x * bytes] = static_cast<std::uint8_t>(GetBValue(c));
      row[x * bytes + 1] = static_cast<std::uint8_t>(GetGValue(c));
      row[x * bytes + 2] = static_cast<std::uint8_t>(GetRValue(c));
    }
  }
  return out;
}

base::Status writeBmpFile(const std::filesystem::path& path, const BitmapImage& image,
                          int bitsPerPixel) {
  const std::vector<std::uint8_t> data = encodeBmp(image, bitsPerPixel);
  if (data.empty())
    return fail("cannot encode an empty picture or " + std::to_string(bitsPerPixel) +
                " bits per pixel");
  const base::Status written = base::writeFileAtomic(
      path, std::string_view(reinterpret_cast<const char*>(data.data()), data.size()));
  if (!written) return fail("cannot write " + path.string() + ": " + written.message());
  return {};
}

}  // namespace krv::win
