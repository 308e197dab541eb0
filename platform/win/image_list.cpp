#include "platform/win/image_list.h"

#include "platform/win/bitmap.h"

namespace {

constexpr int kMaxImageSide = 256;

krv::win::BitmapImage cut(const krv::win::BitmapImage& source, int left, int cx, int cy) {
  krv::win::BitmapImage out(cx, cy, RGB(0, 0, 0), source.bitsPerPixel());
  for (int y = 0; y < cy && y < source.height(); ++y)
    for (int x = 0; x < cx; ++x) out.setPixel(x, y, source.pixel(left + x, y));
  return out;
}

}  // namespace

BOOL CImageList::Create(int cx, int cy, UINT flags, int, int) {
  if (mCreated || cx < 1 || cy < 1 || cx > kMaxImageSide || cy > kMaxImageSide) return FALSE;
  mCreated = true;
  mSize = CSize(cx, cy);
  mFlags = flags;
  mImages.clear();
  return TRUE;
}

BOOL CImageList::DeleteImageList() {
  if (!mCreated) return FALSE;
  mCreated = false;
  mImages.clear();
  return TRUE;
}

std::vector<CImageList::Image> CImageList::strips(CBitmap* bitmap, CBitmap* mask) const {
  std::vector<Image> out;
  if (!mCreated || !bitmap || !bitmap->GetSafeHandle()) return out;
  const krv::win::BitmapImage& picture = bitmap->image();
  const int count = picture.width() / mSize.cx;
  const krv::win::BitmapImage* maskPicture =
      (mask && mask->GetSafeHandle() && (mFlags & ILC_MASK)) ? &mask->image() : nullptr;
  for (int i = 0; i < count; ++i) {
    Image image;
    image.picture = cut(picture, i * mSize.cx, mSize.cx, mSize.cy);
    if (maskPicture) image.mask = cut(*maskPicture, i * mSize.cx, mSize.cx, mSize.cy);
    out.push_back(std::move(image));
  }
  return out;
}

int CImageList::Add(CBitmap* bitmap, CBitmap* mask) {
  auto added = strips(bitmap, mask);
  if (added.empty()) return -1;
  const int first = GetImageCount();
  for (auto& image : added) mImages.push_back(std::move(image));
  return first;
}

int CImageList::Add(CBitmap* bitmap, COLORREF transparent) {
  auto added = strips(bitmap, nullptr);
  if (added.empty()) return -1;
  const int first = GetImageCount();
  for (auto& image : added) {
    if (mFlags & ILC_MASK) image.mask = krv::win::makeTransparencyMask(image.picture, transparent);
    mImages.push_back(std::move(image));
  }
  return first;
}

int CImageList::Add(HICON icon) {
  if (!mCreated || !icon) return -1;
  Image image;
  image.icon = icon;
  mImages.push_back(std::move(image));
  return GetImageCount() - 1;
}

BOOL CImageList::Replace(int index, CBitmap* bitmap, CBitmap* mask) {
  if (!image(index)) return FALSE;
  auto added = strips(bitmap, mask);
  if (added.empty()) return FALSE;
  mImages[static_cast<std::size_t>(index)] = std::move(added.front());
  return TRUE;
}

BOOL CImageList::Remove(int index) {
  if (!mCreated) return FALSE;
  if (index == -1) {
    mImages.clear();
    return TRUE;
  }
  if (!image(index)) return FALSE;
  mImages.erase(mImages.begin() + index);
  return TRUE;
}

const CImageList::Image* CImageList::image(int index) const {
  if (index < 0 || index >= GetImageCount()) return nullptr;
  return &mImages[static_cast<std::size_t>(index)];
}
