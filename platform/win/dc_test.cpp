#include "platform/win/dc.h"

#include <gtest/gtest.h>

namespace {

// A 4 x 2 picture with white (transparent) pixels in column 1 and 3.
krv::win::BitmapImage picture() {
  krv::win::BitmapImage img(4, 2);
  const COLORREF cols[2][4] = {
      {RGB(255, 0, 0), RGB(255, 255, 255), RGB(0, 0, 255), RGB(255, 255, 255)},
      {RGB(0, 128, 0), RGB(255, 255, 255), RGB(10, 20, 30), RGB(255, 255, 255)}};
  for (int y = 0; y < 2; ++y)
    for (int x = 0; x < 4; ++x) img.setPixel(x, y, cols[y][x]);
  return img;
}

struct Canvas {
  CBitmap bitmap;
  CDC dc;
  Canvas(int w, int h, COLORREF fill) {
    bitmap.setImage(krv::win::BitmapImage(w, h, fill));
    dc.CreateCompatibleDC(nullptr);
    dc.SelectObject(&bitmap);
  }
};

TEST(DeviceContext, MaskAndImageDrawTransparentlyOverTheBackground) {
  const COLORREF face = GetSysColor(15);
  Canvas canvas(6, 3, RGB(0, 0, 0));
  canvas.dc.FillSolidRect(0, 0, 6, 3, face);

  CBitmap image, mask;
  krv::win::BitmapImage img = picture();
  mask.setImage(krv::win::makeTransparencyMask(img, RGB(255, 255, 255)));
  krv::win::clearTransparentPixels(img, RGB(255, 255, 255));
  image.setImage(img);
  CDC source;
  source.CreateCompatibleDC(&canvas.dc);
  CBitmap* old = source.SelectObject(&mask);
  EXPECT_EQ(old, nullptr);
  ASSERT_TRUE(canvas.dc.BitBlt(1, 1, 4, 2, &source, 0, 0, SRCAND));
  source.SelectObject(&image);
  ASSERT_TRUE(canvas.dc.BitBlt(1, 1, 4, 2, &source, 0, 0, SRCPAINT));

  const krv::win::BitmapImage original = picture();
  for (int y = 0; y < 3; ++y)
    for (int x = 0; x < 6; ++x) {
      const bool inside = x >= 1 && x < 5 && y >= 1;
      const COLORREF want = inside && original.pixel(x - 1, y - 1) != RGB(255, 255, 255)
                                ? original.pixel(x - 1, y - 1)
                                : face;
      EXPECT_EQ(canvas.dc.GetPixel(x, y), want) << x << "," << y;
    }
}

TEST(DeviceContext, ColourToMonochromeBlitMakesTheSameMaskAsTheHelper) {
  CBitmap colour;
  colour.setImage(picture());
  CBitmap mono;
  ASSERT_TRUE(mono.CreateBitmap(4, 2, 1, 1, nullptr));
  CDC src, dst;
  src.CreateCompatibleDC(nullptr);
  dst.CreateCompatibleDC(nullptr);
  src.SelectObject(&colour);
  dst.SelectObject(&mono);
  src.SetBkColor(RGB(255, 255, 255));
  ASSERT_TRUE(dst.BitBlt(0, 0, 4, 2, &src, 0, 0, SRCCOPY));
  EXPECT_EQ(mono.image().pixels(),
            krv::win::makeTransparencyMask(picture(), RGB(255, 255, 255)).pixels());

  // A monochrome source takes the destination's text and background colours.
  Canvas canvas(4, 2, RGB(9, 9, 9));
  canvas.dc.SetTextColor(RGB(1, 2, 3));
  canvas.dc.SetBkColor(RGB(200, 100, 50));
  CDC monoSource;
  monoSource.SelectObject(&mono);
  ASSERT_TRUE(canvas.dc.BitBlt(0, 0, 4, 2, &monoSource, 0, 0, SRCCOPY));
  EXPECT_EQ(canvas.dc.GetPixel(0, 0), RGB(1, 2, 3));
  EXPECT_EQ(canvas.dc.GetPixel(1, 0), RGB(200, 100, 50));
}

TEST(DeviceContext, RectanglesAndLinesFollowTheHostsPixelRules) {
  Canvas canvas(8, 6, RGB(255, 255, 255));
  CPen pen(PS_SOLID, 1, RGB(0, 0, 255));
  CBrush brush(RGB(255, 0, 0));
  canvas.dc.SelectObject(&pen);
  canvas.dc.SelectObject(&brush);
  canvas.dc.Rectangle(1, 1, 5, 4);  // outline 1..4 x 1..3, inside 2..3 x 2
  for (int y = 0; y < 6; ++y)
    for (int x = 0; x < 8; ++x) {
      COLORREF want = RGB(255, 255, 255);
      if (x >= 1 && x <= 4 && y >= 1 && y <= 3)
        want = (x == 1 || x == 4 || y == 1 || y == 3) ? RGB(0, 0, 255) : RGB(255, 0, 0);
      EXPECT_EQ(canvas.dc.GetPixel(x, y), want) << x << "," << y;
    }
  canvas.dc.MoveTo(0, 5);
  canvas.dc.LineTo(7, 5);  // the last point is not drawn
  EXPECT_EQ(canvas.dc.GetPixel(0, 5), RGB(0, 0, 255));
  EXPECT_EQ(canvas.dc.GetPixel(6, 5), RGB(0, 0, 255));
  EXPECT_EQ(canvas.dc.GetPixel(7, 5), RGB(255, 255, 255));
  EXPECT_EQ(canvas.dc.GetCurrentPosition(), CPoint(7, 5));
  // A null brush leaves the inside; drawing outside the bitmap is clipped.
  canvas.dc.SelectStockObject(NULL_BRUSH);
  canvas.dc.Rectangle(-3, -3, 20, 20);
  EXPECT_EQ(canvas.dc.GetPixel(2, 2), RGB(255, 0, 0));
  EXPECT_EQ(canvas.dc.GetPixel(8, 0), CLR_INVALID);
  // Inverting twice restores.
  const CRect r(0, 0, 8, 6);
  const auto before = canvas.bitmap.image();
  canvas.dc.DrawFocusRect(&r);
  EXPECT_NE(canvas.bitmap.image(), before);
  canvas.dc.DrawFocusRect(&r);
  EXPECT_EQ(canvas.bitmap.image(), before);
}

TEST(DeviceContext, WindowDrawingIsRecordedDeliveredAndReplaysToTheSamePixels) {
  std::vector<krv::win::DrawOp> delivered;
  CDC::setPaintSink([&](CWnd*, const std::vector<krv::win::DrawOp>& ops) { delivered = ops; });
  CBitmap sourceBitmap;
  sourceBitmap.setImage(picture());
  CDC source;
  source.SelectObject(&sourceBitmap);
  auto draw = [&](CDC& dc) {
    dc.FillSolidRect(0, 0, 10, 8, RGB(0, 255, 0));  // also makes green the background colour
    CBrush hatch(HS_CROSS, RGB(0, 0, 0));
    const CRect area(0, 3, 10, 6);
    dc.FillRect(&area, &hatch);
    dc.BitBlt(5, 6, 4, 2, &source, 0, 0, SRCCOPY);
    CRect text(0, 0, 10, 3);
    dc.DrawText(L"Hi", &text, DT_CENTER | DT_SINGLELINE);
  };
  {
    CPaintDC paint(nullptr);
    draw(paint);
  }
  CDC::setPaintSink(nullptr);
  ASSERT_EQ(delivered.size(), 4u);
  EXPECT_EQ(delivered[3].kind, krv::win::DrawOp::Kind::Text);
  EXPECT_EQ(delivered[3].text, L"Hi");

  // Later changes of the source do not alter what was recorded.
  CDC writer;
  writer.SelectObject(&sourceBitmap);
  writer.FillSolidRect(0, 0, 4, 2, RGB(1, 1, 1));

  Canvas direct(10, 8, RGB(0, 0, 0)), replayed(10, 8, RGB(0, 0, 0));
  sourceBitmap.setImage(picture());
  draw(direct.dc);
  krv::win::replay(delivered, replayed.dc);
  EXPECT_EQ(replayed.bitmap.image(), direct.bitmap.image());
  EXPECT_EQ(direct.dc.GetPixel(5, 6), RGB(255, 0, 0));
  EXPECT_EQ(direct.dc.GetPixel(6, 7), RGB(255, 255, 255));
  EXPECT_EQ(direct.dc.GetPixel(4, 4), RGB(0, 0, 0));    // hatch line
  EXPECT_EQ(direct.dc.GetPixel(1, 5), RGB(0, 255, 0));  // opaque hatch background
  EXPECT_EQ(direct.dc.GetPixel(0, 0), RGB(0, 255, 0));  // opaque text background
}

TEST(DeviceContext, TextIsMeasuredAndAligned) {
  CDC dc;
  CFont font;
  LOGFONTW lf;
  lf.lfHeight = -26;
  ASSERT_TRUE(font.CreateFontIndirect(&lf));
  dc.SelectObject(&font);
  const CSize one = dc.GetTextExtent(L"x");
  EXPECT_EQ(one.cy, 26);
  EXPECT_EQ(dc.GetTextExtent(L"xxxx").cx, 4 * one.cx);
  CRect calc(10, 10, 10, 10);
  EXPECT_EQ(dc.DrawText(L"ab\ncdef", &calc, DT_CALCRECT), 52);
  EXPECT_EQ(calc, CRect(10, 10, 10 + 4 * one.cx, 62));
  EXPECT_TRUE(dc.operations().empty());
  CRect box(0, 0, 100, 100);
  dc.DrawText(L"ab", &box, DT_RIGHT | DT_BOTTOM | DT_SINGLELINE);
  ASSERT_EQ(dc.operations().size(), 1u);
  EXPECT_EQ(dc.operations()[0].rect, CRect(100 - 2 * one.cx, 74, 100, 100));
  EXPECT_EQ(dc.operations()[0].font.lfHeight, -26);
}

TEST(DeviceContext, UnknownOperationsAndMissingSourcesAreRefused) {
  Canvas canvas(2, 2, RGB(5, 5, 5));
  CDC empty;
  EXPECT_FALSE(canvas.dc.BitBlt(0, 0, 2, 2, &empty, 0, 0, SRCCOPY));
  EXPECT_FALSE(canvas.dc.BitBlt(0, 0, 2, 2, nullptr, 0, 0, SRCAND));
  EXPECT_FALSE(canvas.dc.BitBlt(0, 0, 2, 2, &canvas.dc, 0, 0, 0x12345678));
  EXPECT_FALSE(canvas.dc.PatBlt(0, 0, 2, 2, SRCCOPY));
  EXPECT_TRUE(canvas.dc.PatBlt(0, 0, 1, 1, DSTINVERT));
  EXPECT_EQ(canvas.dc.GetPixel(0, 0), RGB(250, 250, 250));
  EXPECT_EQ(canvas.dc.FillRect(nullptr, nullptr), 0);
  EXPECT_EQ(empty.GetPixel(0, 0), CLR_INVALID);
  CBitmap bad;
  EXPECT_FALSE(bad.CreateBitmap(0, 5, 1, 24, nullptr));
  EXPECT_FALSE(bad.CreateBitmap(5, 5, 1, 8, nullptr));
  EXPECT_EQ(bad.GetSafeHandle(), nullptr);
  EXPECT_FALSE(bad.LoadBitmap(8134)) << "no resource module holds bitmap 8134";
}

}  // namespace
