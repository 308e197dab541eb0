#pragma once
// CBitmap: a bitmap drawing object holding a picture (krv::win::BitmapImage).
// It is drawn into by selecting it into a memory device context (dc.h) and
// read from files with loadFile. The picture is shared copy-on-write with
// the drawing operations that recorded it as a blit source.
#include <filesystem>
#include <memory>
#include <string>

#include "platform/base/status.h"
#include "platform/win/bitmap_image.h"
#include "platform/win/gdi.h"

struct BITMAP {
  LONG bmType = 0;
  LONG bmWidth = 0;
  LONG bmHeight = 0;
  LONG bmWidthBytes = 0;
  WORD bmPlanes = 1;
  WORD bmBitsPixel = 0;
  void* bmBits = nullptr;
};

class CBitmap : public CGdiObject {
 public:
  CBitmap() = default;

  // A width x height bitmap; 1 bit per pixel makes a monochrome bitmap.
  // `bits` (optional) are rows of pixels, top row first, each row padded to
  // 16 bits: 1 bit (1 = white), 24 (blue, green, red) or 32 (blue, green,
  // red, unused) per pixel. False for other depths or absurd sizes.
  BOOL CreateBitmap(int width, int height, UINT planes, UINT bitsPerPixel, const void* bits);
  // A bitmap of the depth of the device context's bitmap (colour for a
  // window's context), filled with black.
  BOOL CreateCompatibleBitmap(class CDC* dc, int width, int height);
  // Loads the bitmap resource `id` from the current resource module, else
  // from the first module of the resource chain that has it. False when
  // none has it, when it cannot be read, or when the bitmap is created.
  BOOL LoadBitmap(UINT id);
  int GetBitmap(BITMAP* out) const;
  CSize GetBitmapDimension() const;

  static CBitmap* FromHandle(HBITMAP bitmap) { return bitmap; }
  operator HBITMAP() const { return mCreated ? const_cast<CBitmap*>(this) : nullptr; }

  // Reads a .bmp file (see bmp_file.h) into this bitmap; on failure the
  // bitmap is unchanged and the error says why.
  krv::base::Status loadFile(const std::filesystem::path& path);
  // Writes the picture as a 24 or 32-bit .bmp file, atomically.
  krv::base::Status saveFile(const std::filesystem::path& path, int bitsPerPixel = 24) const;
  // Takes `image` as this bitmap's picture (an empty image deletes it).
  void setImage(krv::win::BitmapImage image);
  // The picture; an empty one when the bitmap is not created.
  const krv::win::BitmapImage& image() const;
  // The picture for writing: unshared first when a recorded drawing
  // operation still refers to it.
  krv::win::BitmapImage& mutableImage();
  // The picture as it is now, for a drawing operation to keep.
  std::shared_ptr<const krv::win::BitmapImage> snapshot() const { return mImage; }

 protected:
  void release() override { mImage.reset(); }

 private:
  std::shared_ptr<krv::win::BitmapImage> mImage;
};
