#include "platform/win/bitmap.h"

#include "platform/win/bmp_file.h"
#include "platform/win/dc.h"
#include "platform/win/resource_modules.h"

namespace {

const krv::win::BitmapImage& emptyImage() {
  static const krv::win::BitmapImage empty;
  return empty;
}

}  // namespace

BOOL CBitmap::CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel,
                           const void* bits) {
  if (mCreated || planes != 1 || (bitsPerPixel != 1 && bitsPerPixel != 24 && bitsPerPixel != 32))
    return FALSE;
  krv::win::BitmapImage image(width, height, RGB(0, 0, 0), static_cast<int>(bitsPerPixel));
  if (image.empty()) return FALSE;
  if (bits) {
    const auto* data = static_cast<const BYTE*>(bits);
    const std::size_t stride = (static_cast<std::size_t>(width) * bitsPerPixel + 15) / 16 * 2;
    for (int y = 0; y < height; ++y) {
      const BYTE* row = data + stride * y;
      for (int x = 0; x < width; ++x) {
        COLORREF c;
        if (bitsPerPixel == 1) {
          c = (row[x / 8] >> (7 - x % 8)) & 1 ? RGB(255, 255, 255) : RGB(0, 0, 0);
        } else {
          const BYTE* p = row + x * (bitsPerPixel / 8);
          c = RGB(p[2], p[1], p[0]);
        }
        image.setPixel(x, y, c);
      }
    }
  }
  setImage(std::move(image));
  return TRUE;
}

BOOL CBitmap::CreateCompatibleBitmap(CDC* dc, int width, int height) {
  int bits = 32;
  if (dc && dc->GetCurrentBitmap() && dc->GetCurrentBitmap()->image().bitsPerPixel() == 1) bits = 1;
  return CreateBitmap(width, height, 1, static_cast<UINT>(bits), nullptr);
}

BOOL CBitmap::LoadBitmap(UINT id) {
  if (mCreated) return FALSE;
  const krv::win::ResourceModule* module =
      krv::win::ResourceModules::holding(id, krv::win::ResourceKind::Bitmap);
  return module && loadFile(module->bitmapPath(id)) ? TRUE : FALSE;
}

int CBitmap::GetBitmap(BITMAP* out) const {
  if (!mCreated || !out) return 0;
  const krv::win::BitmapImage& img = image();
  *out = BITMAP{};
  out->bmWidth = img.width();
  out->bmHeight = img.height();
  out->bmBitsPixel = static_cast<WORD>(img.bitsPerPixel());
  out->bmWidthBytes = (img.width() * img.bitsPerPixel() + 15) / 16 * 2;
  return sizeof(BITMAP);
}

CSize CBitmap::GetBitmapDimension() const { return {image().width(), image().height()}; }

krv::base::Status CBitmap::loadFile(const std::filesystem::path& path) {
  krv::base::Result<krv::win::BitmapImage> image = krv::win::readBmpFile(path);
  if (!image) return image.status();
  setImage(std::move(*image));
  return {};
}

krv::base::Status CBitmap::saveFile(const std::filesystem::path& path, int bitsPerPixel) const {
  return krv::win::writeBmpFile(path, image(), bitsPerPixel);
}

void CBitmap::setImage(krv::win::BitmapImage image) {
  if (image.empty()) {
    mImage.reset();
    mCreated = false;
    return;
  }
  mImage = std::make_shared<krv::win::BitmapImage>(std::move(image));
  markCreated();
}

const krv::win::BitmapImage& CBitmap::image() const { return mImage ? *mImage : emptyImage(); }

krv::win::BitmapImage& CBitmap::mutableImage() {
  if (!mImage) mImage = std::make_shared<krv::win::BitmapImage>();
  if (mImage.use_count() > 1) mImage = std::make_shared<krv::win::BitmapImage>(*mImage);
  return *mImage;
}
