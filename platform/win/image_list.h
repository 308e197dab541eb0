#pragma once
// CImageList: a list of equally sized images, each a picture (from a
// bitmap, optionally with a transparent colour or a mask) or an icon.
//
// Adding a bitmap wider than the image width adds one image per image-width
// strip, from the left, as the framework does; a strip is cut or padded
// (with black) to the image height. An image list is its own handle.
#include <memory>
#include <optional>
#include <vector>

#include "platform/win/bitmap_image.h"
#include "platform/win/win_messages.h"

class CBitmap;
class CImageList;
using HIMAGELIST = CImageList*;

constexpr UINT ILC_MASK = 0x0001, ILC_COLOR = 0x0000, ILC_COLOR4 = 0x0004, ILC_COLOR8 = 0x0008,
               ILC_COLOR16 = 0x0010, ILC_COLOR24 = 0x0018, ILC_COLOR32 = 0x0020;

class CImageList {
 public:
  CImageList() = default;
  CImageList(const CImageList&) = delete;
  CImageList& operator=(const CImageList&) = delete;

  // Makes an empty list of cx x cy images; false for sizes outside
  // 1..256 or when already created.
  BOOL Create(int cx, int cy, UINT flags, int initial, int grow);
  BOOL DeleteImageList();
  HIMAGELIST GetSafeHandle() const { return mCreated ? const_cast<CImageList*>(this) : nullptr; }
  operator HIMAGELIST() const { return GetSafeHandle(); }

  // Adds the bitmap's strips; `mask` (optional, monochrome) marks the
  // transparent pixels in white. The index of the first image added, or -1
  // when the list is not created or the bitmap has no picture or is
  // narrower than one image.
  int Add(CBitmap* bitmap, CBitmap* mask);
  // As above, with the pixels of `transparent` as the transparent part.
  int Add(CBitmap* bitmap, COLORREF transparent);
  // Adds an icon as one image; -1 for a null icon.
  int Add(HICON icon);
  // Replaces image `index` by the bitmap's first strip.
  BOOL Replace(int index, CBitmap* bitmap, CBitmap* mask);
  // Removes image `index`, or all images with -1.
  BOOL Remove(int index);
  int GetImageCount() const { return static_cast<int>(mImages.size()); }
  CSize imageSize() const { return mSize; }
  UINT flags() const { return mFlags; }

  struct Image {
    krv::win::BitmapImage picture;              // empty for an icon
    std::optional<krv::win::BitmapImage> mask;  // white where transparent
    HICON icon = nullptr;
  };
  // The image, or nullptr for a bad index.
  const Image* image(int index) const;

 private:
  std::vector<Image> strips(CBitmap* bitmap, CBitmap* mask) const;

  bool mCreated = false;
  CSize mSize;
  UINT mFlags = 0;
  std::vector<Image> mImages;
};
