#pragma once
// Basic types of the window system: integer kinds, handles, colours and the
// geometry classes (CPoint, CSize, CRect) with the framework's semantics.
#include <algorithm>
#include <cstdint>

using BOOL = int;
using BYTE = std::uint8_t;
using WORD = std::uint16_t;
using DWORD = std::uint32_t;
using UINT = unsigned int;
using LONG = std::int32_t;
using UINT_PTR = std::uintptr_t;
using LONG_PTR = std::intptr_t;
using WPARAM = std::uintptr_t;
using LPARAM = std::intptr_t;
using LRESULT = std::intptr_t;
using COLORREF = DWORD;
using WCHAR = wchar_t;
using LPCWSTR = const wchar_t*;
using LPWSTR = wchar_t*;

#ifndef TRUE
#define TRUE 1
#define FALSE 0
#endif

class CWnd;
using HWND = CWnd*;  // a window is its own handle in this window system
struct HINSTANCE__ {};
using HINSTANCE = HINSTANCE__*;
using HMODULE = HINSTANCE;

constexpr COLORREF RGB(int r, int g, int b) {
  return static_cast<COLORREF>((r & 0xFF) | ((g & 0xFF) << 8) | ((b & 0xFF) << 16));
}
constexpr int GetRValue(COLORREF c) { return static_cast<int>(c & 0xFF); }
constexpr int GetGValue(COLORREF c) { return static_cast<int>((c >> 8) & 0xFF); }
constexpr int GetBValue(COLORREF c) { return static_cast<int>((c >> 16) & 0xFF); }

constexpr WORD LOWORD(std::uintptr_t v) { return static_cast<WORD>(v & 0xFFFF); }
constexpr WORD HIWORD(std::uintptr_t v) { return static_cast<WORD>((v >> 16) & 0xFFFF); }
constexpr LPARAM MAKELPARAM(int lo, int hi) {
  return static_cast<LPARAM>(static_cast<DWORD>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
constexpr WPARAM MAKEWPARAM(int lo, int hi) {
  return static_cast<WPARAM>(static_cast<DWORD>((lo & 0xFFFF) | ((hi & 0xFFFF) << 16)));
}
// Signed coordinates packed in an LPARAM (GET_X_LPARAM / GET_Y_LPARAM).
constexpr int GET_X_LPARAM(LPARAM lp) {
  return static_cast<short>(LOWORD(static_cast<std::uintptr_t>(lp)));
}
constexpr int GET_Y_LPARAM(LPARAM lp) {
  return static_cast<short>(HIWORD(static_cast<std::uintptr_t>(lp)));
}

struct POINT {
  LONG x = 0, y = 0;
};
struct SIZE {
  LONG cx = 0, cy = 0;
};
struct RECT {
  LONG left = 0, top = 0, right = 0, bottom = 0;
};

class CPoint : public POINT {
 public:
  CPoint() = default;
  CPoint(int x_, int y_) { x = x_, y = y_; }
  CPoint(const POINT& p) : POINT(p) {}
  void Offset(int dx, int dy) { x += dx, y += dy; }
  bool operator==(const CPoint& o) const { return x == o.x && y == o.y; }
  CPoint operator+(const CPoint& o) const { return {x + o.x, y + o.y}; }
  CPoint operator-(const CPoint& o) const { return {x - o.x, y - o.y}; }
};

class CSize : public SIZE {
 public:
  CSize() = default;
  CSize(int cx_, int cy_) { cx = cx_, cy = cy_; }
  CSize(const SIZE& s) : SIZE(s) {}
  bool operator==(const CSize& o) const { return cx == o.cx && cy == o.cy; }
};

// A rectangle with exclusive right and bottom edges, as the framework's.
class CRect : public RECT {
 public:
  CRect() = default;
  CRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
  CRect(const RECT& r) : RECT(r) {}
  CRect(CPoint tl, CSize sz) {
    left = tl.x, top = tl.y, right = tl.x + sz.cx, bottom = tl.y + sz.cy;
  }
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  CSize Size() const { return {Width(), Height()}; }
  CPoint TopLeft() const { return {left, top}; }
  CPoint BottomRight() const { return {right, bottom}; }
  CPoint CenterPoint() const { return {(left + right) / 2, (top + bottom) / 2}; }
  bool IsRectEmpty() const { return Width() <= 0 || Height() <= 0; }
  bool IsRectNull() const { return left == 0 && top == 0 && right == 0 && bottom == 0; }
  bool PtInRect(CPoint p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
  void SetRect(int l, int t, int r, int b) { left = l, top = t, right = r, bottom = b; }
  void SetRectEmpty() { SetRect(0, 0, 0, 0); }
  void OffsetRect(int dx, int dy) { left += dx, right += dx, top += dy, bottom += dy; }
  void OffsetRect(CPoint p) { OffsetRect(p.x, p.y); }
  void InflateRect(int dx, int dy) { left -= dx, right += dx, top -= dy, bottom += dy; }
  void DeflateRect(int dx, int dy) { InflateRect(-dx, -dy); }
  void NormalizeRect() {
    if (left > right) std::swap(left, right);
    if (top > bottom) std::swap(top, bottom);
  }
  // Intersection; an empty result is set to all zeros and gives false.
  bool IntersectRect(const RECT& a, const RECT& b) {
    CRect r(std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
            std::min(a.bottom, b.bottom));
    if (r.IsRectEmpty()) {
      SetRectEmpty();
      return false;
    }
    *this = r;
    return true;
  }
  bool UnionRect(const RECT& a, const RECT& b) {
    const CRect ra(a), rb(b);
    if (ra.IsRectEmpty())
      *this = rb;
    else if (rb.IsRectEmpty())
      *this = ra;
    else
      SetRect(std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom));
    return !IsRectEmpty();
  }
  bool operator==(const CRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

// COM-style results and generic handles, shared by the registry, GUID text,
// clipboard and drag-and-drop parts of the window system.
using HRESULT = std::int32_t;
using HANDLE = void*;
constexpr HRESULT S_OK = 0;
constexpr HRESULT S_FALSE = 1;
constexpr HRESULT E_FAIL = static_cast<HRESULT>(0x80004005u);
constexpr HRESULT E_INVALIDARG = static_cast<HRESULT>(0x80070057u);
constexpr HRESULT E_OUTOFMEMORY = static_cast<HRESULT>(0x8007000Eu);
constexpr bool SUCCEEDED(HRESULT hr) { return hr >= 0; }
constexpr bool FAILED(HRESULT hr) { return hr < 0; }
struct FILETIME {
  DWORD dwLowDateTime = 0, dwHighDateTime = 0;
};

// Graphics objects are their own handles, as windows are: an HDC is the
// CDC, an HBITMAP the CBitmap, an HBRUSH the CBrush, an HFONT the CFont.
// Icons are opaque handles given out by the resource modules.
class CDC;
class CBitmap;
class CBrush;
class CFont;
using HDC = CDC*;
using HBITMAP = CBitmap*;
using HBRUSH = CBrush*;
using HFONT = CFont*;
struct HICON__;
using HICON = HICON__*;
using HCURSOR = HICON;
