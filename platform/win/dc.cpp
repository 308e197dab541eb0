// CDC: recording of every drawing call and drawing on a selected bitmap's pixels.
#include "platform/win/dc.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>

using krv::win::BitmapImage;
using krv::win::DrawOp;

namespace {

CDC::PaintSink& paintSink() {
  static CDC::PaintSink sink;
  return sink;
}

CRect normalized(CRect r) {
  r.NormalizeRect();
  return r;
}

bool hatchHit(int hatch, int x, int y) {
  const int dx = ((x % 8) + 8) % 8, dy = ((y % 8) + 8) % 8;
  switch (hatch) {
    case HS_HORIZONTAL:
      return dy == 4;
    case HS_VERTICAL:
      return dx == 4;
    case HS_FDIAGONAL:
      return dx == dy;
    case HS_BDIAGONAL:
      return dx == 7 - dy;
    case HS_CROSS:
      return dx == 4 || dy == 4;
    default:
      return dx == dy || dx == 7 - dy;
  }
}

// Whether a dashed or dotted pen draws the n-th pixel of a line.
bool penHit(int style, int n) {
  switch (style) {
    case PS_DOT:
      return n % 2 == 0;
    case PS_DASH:
      return n % 8 < 6;
    case PS_DASHDOT:
      return n % 12 < 6 || n % 12 == 8;
    default:
      return true;
  }
}

COLORREF applyRop(DWORD rop, COLORREF d, COLORREF s, COLORREF p, bool& ok) {
  ok = true;
  switch (rop) {
    case SRCCOPY:
      return s;
    case SRCPAINT:
      return d | s;
    case SRCAND:
      return d & s;
    case SRCINVERT:
      return d ^ s;
    case SRCERASE:
      return s & ~d;
    case NOTSRCCOPY:
      return ~s;
    case NOTSRCERASE:
      return ~(d | s);
    case MERGEPAINT:
      return ~s | d;
    case PATCOPY:
      return p;
    case PATINVERT:
      return d ^ p;
    case DSTINVERT:
      return ~d;
    case BLACKNESS:
      return 0;
    case WHITENESS:
      return 0xFFFFFF;
    default:
      ok = false;
      return d;
  }
}

bool usesSource(DWORD rop) {
  return rop != PATCOPY && rop != PATINVERT && rop != DSTINVERT && rop != BLACKNESS &&
         rop != WHITENESS;
}

// Splits text into lines at line breaks.
std::vector<std::wstring> linesOf(const std::wstring& text, bool single) {
  std::vector<std::wstring> lines;
  if (single) {
    std::wstring t = text;
    std::replace(t.begin(), t.end(), L'\n', L' ');
    t.erase(std::remove(t.begin(), t.end(), L'\r'), t.end());
    lines.push_back(t);
    return lines;
  }
  std::wstring current;
  for (wchar_t c : text) {
    if (c == L'\n') {
      lines.push_back(current);
      current.clear();
    } else if (c != L'\r') {
      current += c;
    }
  }
  lines.push_back(current);
  return lines;
}

}  // namespace

void CDC::setPaintSink(PaintSink sink) { paintSink() = std::move(sink); }

CDC::CDC() : CDC(nullptr) {}

CDC::CDC(CWnd* window)
    : m_hDC(this),
      mWindow(window),
      mPen(static_cast<CPen*>(GetStockObject(BLACK_PEN))),
      mBrush(static_cast<CBrush*>(GetStockObject(WHITE_BRUSH))),
      mFont(static_cast<CFont*>(GetStockObject(SYSTEM_FONT))) {}

CDC::~CDC() = default;

void CDC::deliver() {
  if (paintSink() && !mOps.empty()) paintSink()(mWindow, mOps);
  mOps.clear();
}

BOOL CDC::CreateCompatibleDC(CDC*) {
  mWindow = nullptr;
  mBitmap = nullptr;
  return TRUE;
}

BOOL CDC::DeleteDC() {
  mBitmap = nullptr;
  mOps.clear();
  return TRUE;
}

CBitmap* CDC::SelectObject(CBitmap* bitmap) {
  CBitmap* old = mBitmap;
  mBitmap = bitmap;
  return old;
}

CPen* CDC::SelectObject(CPen* pen) {
  CPen* old = mPen;
  if (pen) mPen = pen;
  return old;
}

CBrush* CDC::SelectObject(CBrush* brush) {
  CBrush* old = mBrush;
  if (brush) mBrush = brush;
  return old;
}

CFont* CDC::SelectObject(CFont* font) {
  CFont* old = mFont;
  if (font) mFont = font;
  return old;
}

CGdiObject* CDC::SelectObject(CGdiObject* object) {
  if (auto* b = dynamic_cast<CBitmap*>(object)) return SelectObject(b);
  if (auto* p = dynamic_cast<CPen*>(object)) return SelectObject(p);
  if (auto* b = dynamic_cast<CBrush*>(object)) return SelectObject(b);
  if (auto* f = dynamic_cast<CFont*>(object)) return SelectObject(f);
  return nullptr;
}

CGdiObject* CDC::SelectStockObject(int index) { return SelectObject(GetStockObject(index)); }

COLORREF CDC::SetTextColor(COLORREF colour) {
  std::swap(mTextColour, colour);
  mTextColour &= 0xFFFFFF;
  return colour;
}

COLORREF CDC::SetBkColor(COLORREF colour) {
  std::swap(mBkColour, colour);
  mBkColour &= 0xFFFFFF;
  return colour;
}

int CDC::SetBkMode(int mode) {
  if (mode != TRANSPARENT && mode != OPAQUE) return 0;
  std::swap(mBkMode, mode);
  return mode;
}

DrawOp CDC::makeOp(DrawOp::Kind kind) const {
  DrawOp op;
  op.kind = kind;
  if (mPen && mPen->isCreated()) {
    op.penStyle = mPen->style();
    op.penWidth = mPen->width();
    op.colour = mPen->colour();
  }
  if (mBrush && mBrush->isCreated()) {
    op.brushStyle = mBrush->style();
    op.hatch = mBrush->hatch();
    op.brushColour = mBrush->colour();
  }
  if (mFont && mFont->isCreated()) op.font = mFont->logFont();
  op.textColour = mTextColour;
  op.bkColour = mBkColour;
  op.bkMode = mBkMode;
  return op;
}

void CDC::FillSolidRect(LPCRECT rect, COLORREF colour) {
  if (!rect) return;
  SetBkColor(colour);
  DrawOp op = makeOp(DrawOp::Kind::FillRect);
  op.rect = *rect;
  op.brushStyle = BS_SOLID;
  op.brushColour = colour & 0xFFFFFF;
  execute(op);
}

void CDC::FillSolidRect(int x, int y, int cx, int cy, COLORREF colour) {
  const CRect r(x, y, x + cx, y + cy);
  FillSolidRect(&r, colour);
}

int CDC::FillRect(LPCRECT rect, CBrush* brush) {
  if (!rect || !brush || !brush->isCreated()) return 0;
  DrawOp op = makeOp(DrawOp::Kind::FillRect);
  op.rect = *rect;
  op.brushStyle = brush->style();
  op.hatch = brush->hatch();
  op.brushColour = brush->colour();
  execute(op);
  return 1;
}

BOOL CDC::Rectangle(int left, int top, int right, int bottom) {
  DrawOp op = makeOp(DrawOp::Kind::Rectangle);
  op.rect = normalized(CRect(left, top, right, bottom));
  execute(op);
  return TRUE;
}

BOOL CDC::Rectangle(LPCRECT rect) {
  return rect ? Rectangle(rect->left, rect->top, rect->right, rect->bottom) : FALSE;
}

void CDC::Draw3dRect(LPCRECT rect, COLORREF topLeft, COLORREF bottomRight) {
  if (!rect) return;
  const CRect r(*rect);
  FillSolidRect(r.left, r.top, r.Width() - 1, 1, topLeft);
  FillSolidRect(r.left, r.top, 1, r.Height() - 1, topLeft);
  FillSolidRect(r.right - 1, r.top, 1, r.Height(), bottomRight);
  FillSolidRect(r.left, r.bottom - 1, r.Width(), 1, bottomRight);
}

void CDC::FrameRect(LPCRECT rect, CBrush* brush) {
  if (!rect || !brush) return;
  const CRect r(*rect);
  const CRect sides[4] = {{r.left, r.top, r.right, r.top + 1},
                          {r.left, r.bottom - 1, r.right, r.bottom},
                          {r.left, r.top, r.left + 1, r.bottom},
                          {r.right - 1, r.top, r.right, r.bottom}};
  for (const CRect& s : sides) FillRect(&s, brush);
}

void CDC::InvertRect(LPCRECT rect) {
  if (!rect) return;
  DrawOp op = makeOp(DrawOp::Kind::InvertRect);
  op.rect = *rect;
  execute(op);
}

void CDC::DrawFocusRect(LPCRECT rect) {
  if (!rect) return;
  DrawOp op = makeOp(DrawOp::Kind::FocusRect);
  op.rect = *rect;
  execute(op);
}

CPoint CDC::MoveTo(int x, int y) {
  const CPoint old = mPosition;
  mPosition = CPoint(x, y);
  return old;
}

BOOL CDC::LineTo(int x, int y) {
  DrawOp op = makeOp(DrawOp::Kind::Line);
  op.from = mPosition;
  op.to = CPoint(x, y);
  execute(op);
  mPosition = op.to;
  return TRUE;
}

COLORREF CDC::SetPixel(int x, int y, COLORREF colour) {
  DrawOp op = makeOp(DrawOp::Kind::Pixel);
  op.rect = CRect(x, y, x + 1, y + 1);
  op.colour = colour & 0xFFFFFF;
  execute(op);
  return mBitmap ? GetPixel(x, y) : (colour & 0xFFFFFF);
}

COLORREF CDC::GetPixel(int x, int y) const {
  return mBitmap ? mBitmap->image().pixel(x, y) : CLR_INVALID;
}

CSize CDC::GetTextExtent(const std::wstring& text) const {
  const CFont* font =
      mFont && mFont->isCreated() ? mFont : static_cast<CFont*>(GetStockObject(SYSTEM_FONT));
  return {static_cast<int>(text.size()) * font->averageCharWidth(), font->cellHeight()};
}

BOOL CDC::TextOut(int x, int y, const std::wstring& text) {
  DrawOp op = makeOp(DrawOp::Kind::Text);
  const CSize extent = GetTextExtent(text);
  op.rect = CRect(CPoint(x, y), extent);
  op.text = text;
  execute(op);
  return TRUE;
}

BOOL CDC::TextOut(int x, int y, LPCWSTR text, int count) {
  if (!text) return FALSE;
  const std::size_t n = count < 0 ? std::wcslen(text) : static_cast<std::size_t>(count);
  return TextOut(x, y, std::wstring(text, n));
}

int CDC::DrawText(LPCWSTR text, int count, LPRECT rect, UINT format) {
  if (!text) return 0;
  const std::size_t n = count < 0 ? std::wcslen(text) : static_cast<std::size_t>(count);
  return DrawText(std::wstring(text, n), rect, format);
}

int CDC::DrawText(const std::wstring& text, LPRECT rect, UINT format) {
  if (!rect) return 0;
  const std::vector<std::wstring> lines = linesOf(text, format & DT_SINGLELINE);
  const int lineHeight = GetTextExtent(L"").cy;
  int width = 0;
  for (const auto& line : lines) width = std::max(width, static_cast<int>(GetTextExtent(line).cx));
  const int height = lineHeight * static_cast<int>(lines.size());
  if (format & DT_CALCRECT) {
    rect->right = rect->left + width;
    rect->bottom = rect->top + height;
    return height;
  }
  const CRect box(*rect);
  int y = box.top;
  if (format & DT_SINGLELINE) {
    if (format & DT_VCENTER)
      y = box.top + (box.Height() - lineHeight) / 2;
    else if (format & DT_BOTTOM)
      y = box.bottom - lineHeight;
  }
  for (const auto& line : lines) {
    const int w = GetTextExtent(line).cx;
    int x = box.left;
    if (format & DT_CENTER)
      x = box.left + (box.Width() - w) / 2;
    else if (format & DT_RIGHT)
      x = box.right - w;
    DrawOp op = makeOp(DrawOp::Kind::Text);
    op.rect = CRect(x, y, x + w, y + lineHeight);
    if (!(format & DT_NOCLIP)) op.rect.IntersectRect(op.rect, box);
    op.text = line;
    op.format = format;
    execute(op);
    y += lineHeight;
  }
  return height;
}

BOOL CDC::BitBlt(int x, int y, int width, int height, CDC* source, int xSource, int ySource,
                 DWORD rop) {
  bool known = false;
  applyRop(rop, 0, 0, 0, known);
  if (!known) return FALSE;
  if (!usesSource(rop)) return PatBlt(x, y, width, height, rop);
  if (!source || !source->mBitmap || !source->mBitmap->isCreated()) return FALSE;
  DrawOp op = makeOp(DrawOp::Kind::Blit);
  op.rect = CRect(x, y, x + width, y + height);
  op.rop = rop;
  op.sourceOrigin = CPoint(xSource, ySource);
  op.source = source->mBitmap->snapshot();
  op.sourceBkColour = source->mBkColour;
  execute(op);
  return TRUE;
}

BOOL CDC::PatBlt(int x, int y, int width, int height, DWORD rop) {
  bool known = false;
  applyRop(rop, 0, 0, 0, known);
  if (!known || usesSource(rop)) return FALSE;
  DrawOp op = makeOp(DrawOp::Kind::PatBlt);
  op.rect = CRect(x, y, x + width, y + height);
  op.rop = rop;
  execute(op);
  return TRUE;
}

void CDC::execute(const DrawOp& op) {
  mOps.push_back(op);
  if (mBitmap && mBitmap->isCreated()) rasterize(op);
}

void CDC::rasterize(const DrawOp& op) {
  BitmapImage& img = mBitmap->mutableImage();
  const bool mono = img.bitsPerPixel() == 1;
  // A monochrome bitmap keeps only black and white: the background colour
  // maps to white, every other colour to black... except white itself.
  auto toDevice = [&](COLORREF c) -> COLORREF {
    c &= 0xFFFFFF;
    if (!mono) return c;
    return (GetRValue(c) + GetGValue(c) + GetBValue(c)) >= 384 ? RGB(255, 255, 255) : RGB(0, 0, 0);
  };
  auto put = [&](int x, int y, COLORREF c) { img.setPixel(x, y, toDevice(c)); };
  const CRect bounds(0, 0, img.width(), img.height());
  auto clip = [&](const CRect& r) {
    CRect c;
    c.IntersectRect(normalized(r), bounds);
    return c;
  };
  auto fill = [&](const CRect& area, UINT style, int hatch, COLORREF colour) {
    if (style == BS_NULL) return;
    const CRect c = clip(area);
    for (int y = c.top; y < c.bottom; ++y)
      for (int x = c.left; x < c.right; ++x) {
        if (style == BS_HATCHED && !hatchHit(hatch, x, y)) {
          if (op.bkMode == OPAQUE) put(x, y, op.bkColour);
        } else {
          put(x, y, colour);
        }
      }
  };
  auto plot = [&](int x, int y, int n) {
    if (op.penStyle == PS_NULL || !penHit(op.penStyle, n)) return;
    const int w = op.penWidth, half = (w - 1) / 2;
    for (int dy = 0; dy < w; ++dy)
      for (int dx = 0; dx < w; ++dx) put(x - half + dx, y - half + dy, op.colour);
  };
  switch (op.kind) {
    case DrawOp::Kind::FillRect:
      fill(op.rect, op.brushStyle, op.hatch, op.brushColour);
      break;
    case DrawOp::Kind::Rectangle: {
      const CRect& r = op.rect;
      if (op.penStyle == PS_NULL) {
        fill(CRect(r.left, r.top, r.right - 1, r.bottom - 1), op.brushStyle, op.hatch,
             op.brushColour);
        break;
      }
      fill(CRect(r.left + 1, r.top + 1, r.right - 1, r.bottom - 1), op.brushStyle, op.hatch,
           op.brushColour);
      int n = 0;
      for (int x = r.left; x < r.right; ++x) plot(x, r.top, n++);
      for (int y = r.top + 1; y < r.bottom; ++y) plot(r.right - 1, y, n++);
      for (int x = r.right - 2; x >= r.left; --x) plot(x, r.bottom - 1, n++);
      for (int y = r.bottom - 2; y > r.top; --y) plot(r.left, y, n++);
      break;
    }
    case DrawOp::Kind::Line: {
      int x0 = op.from.x, y0 = op.from.y;
      const int x1 = op.to.x, y1 = op.to.y;
      const int dx = std::abs(x1 - x0), sx = x0 < x1 ? 1 : -1;
      const int dy = -std::abs(y1 - y0), sy = y0 < y1 ? 1 : -1;
      int err = dx + dy, n = 0;
      while (!(x0 == x1 && y0 == y1)) {
        plot(x0, y0, n++);
        const int e2 = 2 * err;
        if (e2 >= dy) err += dy, x0 += sx;
        if (e2 <= dx) err += dx, y0 += sy;
      }
      break;
    }
    case DrawOp::Kind::Pixel:
      put(op.rect.left, op.rect.top, op.colour);
      break;
    case DrawOp::Kind::Text:
      if (op.bkMode == OPAQUE) fill(op.rect, BS_SOLID, 0, op.bkColour);
      break;
    case DrawOp::Kind::InvertRect: {
      const CRect c = clip(op.rect);
      for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) img.setPixel(x, y, ~img.pixel(x, y));
      break;
    }
    case DrawOp::Kind::FocusRect: {
      // A dotted outline drawn by inverting, so drawing it twice removes it.
      const CRect r = normalized(op.rect);
      auto flip = [&](int x, int y) { img.setPixel(x, y, ~img.pixel(x, y)); };
      for (int x = r.left; x < r.right; x += 2) flip(x, r.top), flip(x, r.bottom - 1);
      for (int y = r.top + 2; y < r.bottom - 1; y += 2) flip(r.left, y), flip(r.right - 1, y);
      break;
    }
    case DrawOp::Kind::PatBlt:
    case DrawOp::Kind::Blit: {
      const CRect c = clip(op.rect);
      const BitmapImage* src = op.source.get();
      const bool monoSource = src && src->bitsPerPixel() == 1;
      const COLORREF pattern = op.brushStyle == BS_NULL ? 0 : op.brushColour;
      for (int y = c.top; y < c.bottom; ++y)
        for (int x = c.left; x < c.right; ++x) {
          COLORREF s = 0;
          if (src) {
            s = src->pixel(op.sourceOrigin.x + x - op.rect.left,
                           op.sourceOrigin.y + y - op.rect.top);
            if (s == CLR_INVALID) continue;
            if (monoSource && !mono)
              s = s == RGB(255, 255, 255) ? op.bkColour : op.textColour;
            else if (!monoSource && mono)
              s = s == op.sourceBkColour ? RGB(255, 255, 255) : RGB(0, 0, 0);
          }
          bool ok = true;
          const COLORREF result = applyRop(op.rop, img.pixel(x, y), s, pattern, ok);
          img.setPixel(x, y, toDevice(result));
        }
      break;
    }
  }
}

namespace krv::win {
void replay(const std::vector<DrawOp>& ops, CDC& target) {
  for (const DrawOp& op : ops) target.execute(op);
}
}  // namespace krv::win
