#pragma once
// CDC: a device context. Every drawing call is recorded as a
// krv::win::DrawOp (with the colours, pen, brush and font it used), so that a
// renderer can replay what a window painted; when a bitmap is selected into
// the context the call is also carried out on the bitmap's pixels: fills,
// rectangles, lines, pixels, inversions and blits with the common raster
// operations. Text is recorded and measured (a fixed-pitch approximation of
// the selected font) but its glyphs are not drawn; an opaque background
// behind text is.
//
// Blits between colour and monochrome bitmaps convert as the host does: a
// monochrome source draws its black pixels in the destination's text colour
// and its white pixels in the destination's background colour; a colour
// source drawn into a monochrome bitmap gives white where the source pixel
// has the source context's background colour and black elsewhere.
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/win/bitmap.h"
#include "platform/win/gdi.h"
#include "platform/win/win_messages.h"

// Raster operations.
constexpr DWORD SRCCOPY = 0x00CC0020, SRCPAINT = 0x00EE0086, SRCAND = 0x008800C6,
                SRCINVERT = 0x00660046, SRCERASE = 0x00440328, NOTSRCCOPY = 0x00330008,
                NOTSRCERASE = 0x001100A6, MERGEPAINT = 0x00BB0226, PATCOPY = 0x00F00021,
                PATINVERT = 0x005A0049, DSTINVERT = 0x00550009, BLACKNESS = 0x00000042,
                WHITENESS = 0x00FF0062;
// Background modes.
constexpr int TRANSPARENT = 1, OPAQUE = 2;
// DrawText formats.
constexpr UINT DT_TOP = 0x0, DT_LEFT = 0x0, DT_CENTER = 0x1, DT_RIGHT = 0x2, DT_VCENTER = 0x4,
               DT_BOTTOM = 0x8, DT_WORDBREAK = 0x10, DT_SINGLELINE = 0x20, DT_EXPANDTABS = 0x40,
               DT_NOCLIP = 0x100, DT_CALCRECT = 0x400, DT_NOPREFIX = 0x800,
               DT_END_ELLIPSIS = 0x8000;

class CWnd;

namespace krv::win {

// One recorded drawing call with everything needed to draw it again.
struct DrawOp {
  enum class Kind { FillRect, Rectangle, Line, Pixel, Text, Blit, PatBlt, InvertRect, FocusRect };
  Kind kind = Kind::FillRect;
  CRect rect;           // the area drawn (the destination of a blit)
  CPoint from, to;      // a line's ends (the end point is not drawn)
  COLORREF colour = 0;  // fill, pixel or pen colour
  int penStyle = PS_SOLID;
  int penWidth = 1;
  UINT brushStyle = BS_SOLID;
  int hatch = 0;
  COLORREF brushColour = 0;
  COLORREF textColour = 0;
  COLORREF bkColour = 0;
  int bkMode = OPAQUE;
  std::wstring text;
  UINT format = 0;  // DrawText format; 0 for TextOut
  LOGFONTW font;
  DWORD rop = SRCCOPY;
  CPoint sourceOrigin;
  std::shared_ptr<const BitmapImage> source;  // the blit source as it was
  COLORREF sourceBkColour = RGB(255, 255, 255);
};

}  // namespace krv::win

class CDC {
 public:
  CDC();
  CDC(const CDC&) = delete;
  CDC& operator=(const CDC&) = delete;
  virtual ~CDC();

  // A memory context; draw into it after selecting a bitmap.
  BOOL CreateCompatibleDC(CDC* dc);
  BOOL DeleteDC();
  HDC GetSafeHdc() const { return const_cast<CDC*>(this); }
  static CDC* FromHandle(HDC dc) { return dc; }
  HDC m_hDC;

  // Selection returns the object selected before (null when none was).
  CBitmap* SelectObject(CBitmap* bitmap);
  CPen* SelectObject(CPen* pen);
  CBrush* SelectObject(CBrush* brush);
  CFont* SelectObject(CFont* font);
  CGdiObject* SelectObject(CGdiObject* object);
  CGdiObject* SelectStockObject(int index);
  CBitmap* GetCurrentBitmap() const { return mBitmap; }
  CPen* GetCurrentPen() const { return mPen; }
  CBrush* GetCurrentBrush() const { return mBrush; }
  CFont* GetCurrentFont() const { return mFont; }

  COLORREF SetTextColor(COLORREF colour);
  COLORREF GetTextColor() const { return mTextColour; }
  COLORREF SetBkColor(COLORREF colour);
  COLORREF GetBkColor() const { return mBkColour; }
  int SetBkMode(int mode);
  int GetBkMode() const { return mBkMode; }

  // Fills with a colour (and makes it the background colour, as the host does).
  void FillSolidRect(LPCRECT rect, COLORREF colour);
  void FillSolidRect(int x, int y, int cx, int cy, COLORREF colour);
  // Fills with a brush; 0 for a null brush pointer.
  int FillRect(LPCRECT rect, CBrush* brush);
  // Outline with the pen, inside with the brush; right and bottom exclusive.
  BOOL Rectangle(int left, int top, int right, int bottom);
  BOOL Rectangle(LPCRECT rect);
  void Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight);
  void FrameRect(LPCRECT rect, CBrush* brush);
  void InvertRect(LPCRECT rect);
  void DrawFocusRect(LPCRECT rect);
  CPoint MoveTo(int x, int y);
  CPoint MoveTo(POINT p) { return MoveTo(p.x, p.y); }
  // A line from the current position to (x, y), without its last point.
  BOOL LineTo(int x, int y);
  BOOL LineTo(POINT p) { return LineTo(p.x, p.y); }
  CPoint GetCurrentPosition() const { return mPosition; }
  COLORREF SetPixel(int x, int y, COLORREF colour);
  // The colour of a pixel of the selected bitmap; CLR_INVALID without one
  // or outside it.
  COLORREF GetPixel(int x, int y) const;
  BOOL TextOut(int x, int y, LPCWSTR text, int count);
  BOOL TextOut(int x, int y, const std::wstring& text);
  // Draws text aligned in `rect`; with DT_CALCRECT only measures it (the
  // rectangle's right and bottom become the text's extent). Returns the
  // height of the text.
  int DrawText(const std::wstring& text, LPRECT rect, UINT format);
  int DrawText(LPCWSTR text, int count, LPRECT rect, UINT format);
  CSize GetTextExtent(const std::wstring& text) const;
  BOOL BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
              DWORD rop);
  BOOL PatBlt(int x, int y, int width, int height, DWORD rop);

  // The window the context draws on (null for a memory context).
  CWnd* window() const { return mWindow; }
  // What was drawn through this context, in order.
  const std::vector<krv::win::DrawOp>& operations() const { return mOps; }
  void clearOperations() { mOps.clear(); }
  // Draws a recorded operation again here (recording it here too).
  void execute(const krv::win::DrawOp& op);

  // Receives what a window context (CPaintDC, CClientDC, CWindowDC) drew,
  // when the context ends. A renderer installs one; none by default.
  using PaintSink = std::function<void(CWnd* window, const std::vector<krv::win::DrawOp>& ops)>;
  static void setPaintSink(PaintSink sink);

 protected:
  explicit CDC(CWnd* window);
  void deliver();

 private:
  krv::win::DrawOp makeOp(krv::win::DrawOp::Kind kind) const;
  void rasterize(const krv::win::DrawOp& op);

  CWnd* mWindow = nullptr;
  CBitmap* mBitmap = nullptr;
  CPen* mPen;
  CBrush* mBrush;
  CFont* mFont;
  COLORREF mTextColour = RGB(0, 0, 0);
  COLORREF mBkColour = RGB(255, 255, 255);
  int mBkMode = OPAQUE;
  CPoint mPosition;
  std::vector<krv::win::DrawOp> mOps;
};

// The contexts of a window; what they drew goes to the paint sink when
// they end.
class CPaintDC : public CDC {
 public:
  explicit CPaintDC(CWnd* window) : CDC(window) {}
  ~CPaintDC() override { deliver(); }
};
class CClientDC : public CDC {
 public:
  explicit CClientDC(CWnd* window) : CDC(window) {}
  ~CClientDC() override { deliver(); }
};
class CWindowDC : public CDC {
 public:
  explicit CWindowDC(CWnd* window) : CDC(window) {}
  ~CWindowDC() override { deliver(); }
};

namespace krv::win {
// Draws `ops` into `target` in order.
void replay(const std::vector<DrawOp>& ops, CDC& target);
}  // namespace krv::win
