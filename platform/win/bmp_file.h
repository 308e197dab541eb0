#pragma once
// Reading and writing .bmp files.
//
// Read: 1, 4, 8, 16, 24 and 32 bits per pixel, bottom-up or top-down rows,
// the 12-byte core header and the 40, 52, 56, 108 and 124-byte info headers,
// uncompressed pixels (BI_RGB) and, for 16 and 32 bits, channel masks
// (BI_BITFIELDS). Everything else is refused with a message: run-length and
// embedded compressions, other header kinds, zero or absurd sizes (see
// BitmapImage::kMaxDimension and kMaxPixels), palettes or pixel rows that lie
// beyond the end of the data, invalid channel masks. Palette indices beyond
// the palette read as black.
//
// Write: 24 or 32 bits per pixel, bottom-up rows, 40-byte info header.
#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <vector>

#include "platform/base/status.h"
#include "platform/win/bitmap_image.h"

namespace krv::win {

// Decodes a whole .bmp file held in `data`; the error says what is wrong
// with it (and, for a file, names the file).
base::Result<BitmapImage> decodeBmp(std::span<const std::uint8_t> data);
base::Result<BitmapImage> readBmpFile(const std::filesystem::path& path);

// The .bmp file of `image` with 24 or 32 bits per pixel (any other count
// gives an empty result).
std::vector<std::uint8_t> encodeBmp(const BitmapImage& image, int bitsPerPixel = 24);
// Writes the file atomically: a temporary file beside `path`, then rename.
// On failure the previous file is untouched and the error says why.
base::Status writeBmpFile(const std::filesystem::path& path, const BitmapImage& image,
                          int bitsPerPixel = 24);

}  // namespace krv::win
