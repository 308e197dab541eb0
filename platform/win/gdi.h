#pragma once
// Drawing objects: pens, brushes, fonts and the stock objects, as a device
// context (dc.h) selects them. An object is its own handle (HBRUSH is
// CBrush*, see win_types.h); it is "created" once one of its Create
// functions ran and until DeleteObject.
#include <string>

#include "platform/win/win_types.h"

class CGdiObject;
class CPen;
using HGDIOBJ = CGdiObject*;
using HPEN = CPen*;

// Pen styles.
constexpr int PS_SOLID = 0, PS_DASH = 1, PS_DOT = 2, PS_DASHDOT = 3, PS_NULL = 5;
// Brush styles and hatches.
constexpr UINT BS_SOLID = 0, BS_NULL = 1, BS_HOLLOW = BS_NULL, BS_HATCHED = 2;
constexpr int HS_HORIZONTAL = 0, HS_VERTICAL = 1, HS_FDIAGONAL = 2, HS_BDIAGONAL = 3, HS_CROSS = 4,
              HS_DIAGCROSS = 5;
// Stock objects.
constexpr int WHITE_BRUSH = 0, LTGRAY_BRUSH = 1, GRAY_BRUSH = 2, DKGRAY_BRUSH = 3, BLACK_BRUSH = 4,
              NULL_BRUSH = 5, HOLLOW_BRUSH = NULL_BRUSH, WHITE_PEN = 6, BLACK_PEN = 7, NULL_PEN = 8,
              SYSTEM_FONT = 13, DEFAULT_GUI_FONT = 17;
// Font weights and character sets.
constexpr int FW_DONTCARE = 0, FW_NORMAL = 400, FW_BOLD = 700;
constexpr BYTE ANSI_CHARSET = 0, DEFAULT_CHARSET = 1;
constexpr int LF_FACESIZE = 32;

struct LOGPEN {
  UINT lopnStyle = PS_SOLID;
  POINT lopnWidth;
  COLORREF lopnColor = 0;
};
struct LOGBRUSH {
  UINT lbStyle = BS_SOLID;
  COLORREF lbColor = 0;
  std::uintptr_t lbHatch = 0;
};
struct LOGFONTW {
  LONG lfHeight = 0;  // negative: character height in pixels; 0: default
  LONG lfWidth = 0;
  LONG lfEscapement = 0;
  LONG lfOrientation = 0;
  LONG lfWeight = FW_NORMAL;
  BYTE lfItalic = 0;
  BYTE lfUnderline = 0;
  BYTE lfStrikeOut = 0;
  BYTE lfCharSet = DEFAULT_CHARSET;
  BYTE lfOutPrecision = 0;
  BYTE lfClipPrecision = 0;
  BYTE lfQuality = 0;
  BYTE lfPitchAndFamily = 0;
  WCHAR lfFaceName[LF_FACESIZE] = {};
};
using LOGFONT = LOGFONTW;

class CGdiObject {
 public:
  CGdiObject() = default;
  CGdiObject(const CGdiObject&) = delete;
  CGdiObject& operator=(const CGdiObject&) = delete;
  virtual ~CGdiObject() = default;

  // Releases what the object holds; it may be created again afterwards.
  // False when it held nothing. Stock objects are never deleted.
  BOOL DeleteObject();
  HGDIOBJ GetSafeHandle() const { return mCreated ? const_cast<CGdiObject*>(this) : nullptr; }
  bool isCreated() const { return mCreated; }
  bool isStock() const { return mStock; }

 protected:
  virtual void release() {}
  void markCreated() { mCreated = true; }
  bool mCreated = false;
  bool mStock = false;
  friend CGdiObject* GetStockObject(int);
};

class CPen : public CGdiObject {
 public:
  CPen() = default;
  CPen(int style, int width, COLORREF colour) { CreatePen(style, width, colour); }
  BOOL CreatePen(int style, int width, COLORREF colour);
  int GetLogPen(LOGPEN* out) const;
  operator HPEN() const { return mCreated ? const_cast<CPen*>(this) : nullptr; }

  int style() const { return mStyle; }
  int width() const { return mWidth; }
  COLORREF colour() const { return mColour; }

 private:
  int mStyle = PS_SOLID, mWidth = 1;
  COLORREF mColour = 0;
};

class CBrush : public CGdiObject {
 public:
  CBrush() = default;
  explicit CBrush(COLORREF colour) { CreateSolidBrush(colour); }
  CBrush(int hatch, COLORREF colour) { CreateHatchBrush(hatch, colour); }
  BOOL CreateSolidBrush(COLORREF colour);
  BOOL CreateHatchBrush(int hatch, COLORREF colour);
  BOOL CreateBrushIndirect(const LOGBRUSH* brush);
  int GetLogBrush(LOGBRUSH* out) const;
  static CBrush* FromHandle(HBRUSH brush) { return brush; }
  operator HBRUSH() const { return mCreated ? const_cast<CBrush*>(this) : nullptr; }

  UINT style() const { return mStyle; }
  int hatch() const { return mHatch; }
  COLORREF colour() const { return mColour; }

 private:
  friend CGdiObject* GetStockObject(int);
  UINT mStyle = BS_SOLID;
  int mHatch = 0;
  COLORREF mColour = 0;
};

class CFont : public CGdiObject {
 public:
  BOOL CreateFontIndirect(const LOGFONTW* font);
  // `pointSize` in tenths of a point, at 96 dots per inch.
  BOOL CreatePointFont(int pointSize, LPCWSTR faceName, class CDC* dc = nullptr);
  BOOL CreateFont(int height, int width, int escapement, int orientation, int weight, BYTE italic,
                  BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                  BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCWSTR faceName);
  int GetLogFont(LOGFONTW* out) const;
  static CFont* FromHandle(HFONT font) { return font; }
  operator HFONT() const { return mCreated ? const_cast<CFont*>(this) : nullptr; }

  const LOGFONTW& logFont() const { return mLogFont; }
  // Pixel height of a character cell and average character width, from
  // which text extents are measured (a fixed-pitch approximation).
  int cellHeight() const;
  int averageCharWidth() const;

 private:
  LOGFONTW mLogFont;
};

// The stock object `index` (a brush, pen or font), or null for an unknown one.
CGdiObject* GetStockObject(int index);
// Deletes the object's contents (CGdiObject::DeleteObject).
BOOL DeleteObject(HGDIOBJ object);
// The colour of a system display element (COLOR_BTNFACE ...); black for
// unknown ones.
COLORREF GetSysColor(int index);
// A solid brush of that system colour, owned by the system.
HBRUSH GetSysColorBrush(int index);
