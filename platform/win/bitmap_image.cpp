#include "platform/win/bitmap_image.h"

namespace krv::win {

BitmapImage::BitmapImage(int width, int height, COLORREF fill, int bitsPerPixel)
    : mBitsPerPixel(bitsPerPixel) {
  if (width <= 0 || height <= 0 || width > kMaxDimension || height > kMaxDimension ||
      static_cast<long long>(width) * height > kMaxPixels)
    return;
  mWidth = width;
  mHeight = height;
  mPixels.assign(static_cast<std::size_t>(width) * height, fill & 0xFFFFFF);
}

COLORREF BitmapImage::pixel(int x, int y) const {
  if (!contains(x, y)) return CLR_INVALID;
  return mPixels[static_cast<std::size_t>(y) * mWidth + x];
}

bool BitmapImage::setPixel(int x, int y, COLORREF colour) {
  if (!contains(x, y)) return false;
  mPixels[static_cast<std::size_t>(y) * mWidth + x] = colour & 0xFFFFFF;
  return true;
}

BitmapImage makeTransparencyMask(const BitmapImage& image, COLORREF transparent) {
  BitmapImage mask(image.width(), image.height(), RGB(0, 0, 0), 1);
  const COLORREF key = transparent & 0xFFFFFF;
  for (std::size_t i = 0; i < image.pixels().size(); ++i)
    if (image.pixels()[i] == key) mask.pixels()[i] = RGB(255, 255, 255);
  return mask;
}

int clearTransparentPixels(BitmapImage& image, COLORREF transparent) {
  const COLORREF key = transparent & 0xFFFFFF;
  int changed = 0;
  for (auto& p : image.pixels())
    if (p == key && p != 0) {
      p = RGB(0, 0, 0);
      ++changed;
    }
  return changed;
}

}  // namespace krv::win
