#pragma once
// A device-independent picture: width x height colours, row 0 at the top.
// Decoded .bmp files, bitmaps selected into a device context and
// transparency masks are all held in this form.
#include <vector>

#include "platform/win/win_types.h"

constexpr COLORREF CLR_INVALID = 0xFFFFFFFF;

namespace krv::win {

class BitmapImage {
 public:
  // Largest width or height, and largest pixel count, of any picture.
  static constexpr int kMaxDimension = 32767;
  static constexpr long long kMaxPixels = 1LL << 26;

  BitmapImage() = default;
  // A picture filled with `fill`; sizes outside 0..kMaxDimension or above
  // kMaxPixels give an empty picture.
  BitmapImage(int width, int height, COLORREF fill = RGB(0, 0, 0), int bitsPerPixel = 32);

  int width() const { return mWidth; }
  int height() const { return mHeight; }
  bool empty() const { return mWidth == 0 || mHeight == 0; }
  // The colour depth the picture was read with or made for (1 for masks);
  // pixels are always held as full colours.
  int bitsPerPixel() const { return mBitsPerPixel; }
  void setBitsPerPixel(int bits) { mBitsPerPixel = bits; }

  // The colour at (x, y); CLR_INVALID outside the picture.
  COLORREF pixel(int x, int y) const;
  // Sets (x, y) to the colour's red, green and blue; false outside.
  bool setPixel(int x, int y, COLORREF colour);
  bool contains(int x, int y) const { return x >= 0 && y >= 0 && x < mWidth && y < mHeight; }

  const std::vector<COLORREF>& pixels() const { return mPixels; }
  std::vector<COLORREF>& pixels() { return mPixels; }

  bool operator==(const BitmapImage& o) const = default;

 private:
  int mWidth = 0;
  int mHeight = 0;
  int mBitsPerPixel = 32;
  std::vector<COLORREF> mPixels;  // row-major, top row first
};

// A monochrome mask of `image`: white (RGB 255, 255, 255) where the image
// has the colour `transparent`, black elsewhere. Drawn with SRCAND it keeps
// the background under the transparent pixels and blackens the rest.
BitmapImage makeTransparencyMask(const BitmapImage& image, COLORREF transparent);
// Turns every pixel of colour `transparent` black, so that the picture can be
// drawn with SRCPAINT over its mask. Returns how many pixels changed.
int clearTransparentPixels(BitmapImage& image, COLORREF transparent);

}  // namespace krv::win
