#include "platform/win/gdi.h"

#include <algorithm>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <memory>

BOOL CGdiObject::DeleteObject() {
  if (!mCreated || mStock) return FALSE;
  release();
  mCreated = false;
  return TRUE;
}

BOOL CPen::CreatePen(int style, int width, COLORREF colour) {
  if (mCreated) return FALSE;
  mStyle = style;
  mWidth = std::max(1, width);
  mColour = colour & 0xFFFFFF;
  markCreated();
  return TRUE;
}

int CPen::GetLogPen(LOGPEN* out) const {
  if (!mCreated || !out) return 0;
  out->lopnStyle = static_cast<UINT>(mStyle);
  out->lopnWidth.x = mWidth;
  out->lopnColor = mColour;
  return sizeof(LOGPEN);
}

BOOL CBrush::CreateSolidBrush(COLORREF colour) {
  if (mCreated) return FALSE;
  mStyle = BS_SOLID;
  mColour = colour & 0xFFFFFF;
  markCreated();
  return TRUE;
}

BOOL CBrush::CreateHatchBrush(int hatch, COLORREF colour) {
  if (mCreated || hatch < HS_HORIZONTAL || hatch > HS_DIAGCROSS) return FALSE;
  mStyle = BS_HATCHED;
  mHatch = hatch;
  mColour = colour & 0xFFFFFF;
  markCreated();
  return TRUE;
}

BOOL CBrush::CreateBrushIndirect(const LOGBRUSH* brush) {
  if (!brush || mCreated) return FALSE;
  switch (brush->lbStyle) {
    case BS_SOLID:
      return CreateSolidBrush(brush->lbColor);
    case BS_HATCHED:
      return CreateHatchBrush(static_cast<int>(brush->lbHatch), brush->lbColor);
    case BS_NULL:
      mStyle = BS_NULL;
      markCreated();
      return TRUE;
    default:
      return FALSE;
  }
}

int CBrush::GetLogBrush(LOGBRUSH* out) const {
  if (!mCreated || !out) return 0;
  out->lbStyle = mStyle;
  out->lbColor = mColour;
  out->lbHatch = static_cast<std::uintptr_t>(mHatch);
  return sizeof(LOGBRUSH);
}

BOOL CFont::CreateFontIndirect(const LOGFONTW* font) {
  if (!font || mCreated) return FALSE;
  mLogFont = *font;
  mLogFont.lfFaceName[LF_FACESIZE - 1] = L'\0';
  markCreated();
  return TRUE;
}

BOOL CFont::CreatePointFont(int pointSize, LPCWSTR faceName, CDC*) {
  LOGFONTW lf;
  lf.lfHeight = -std::max(1, (pointSize * 96 + 360) / 720);
  if (faceName) std::wcsncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirect(&lf);
}

BOOL CFont::CreateFont(int height, int width, int escapement, int orientation, int weight,
                       BYTE italic, BYTE underline, BYTE strikeOut, BYTE charSet, BYTE outPrecision,
                       BYTE clipPrecision, BYTE quality, BYTE pitchAndFamily, LPCWSTR faceName) {
  LOGFONTW lf;
  lf.lfHeight = height, lf.lfWidth = width, lf.lfEscapement = escapement,
  lf.lfOrientation = orientation;
  lf.lfWeight = weight, lf.lfItalic = italic, lf.lfUnderline = underline,
  lf.lfStrikeOut = strikeOut;
  lf.lfCharSet = charSet, lf.lfOutPrecision = outPrecision, lf.lfClipPrecision = clipPrecision;
  lf.lfQuality = quality, lf.lfPitchAndFamily = pitchAndFamily;
  if (faceName) std::wcsncpy(lf.lfFaceName, faceName, LF_FACESIZE - 1);
  return CreateFontIndirect(&lf);
}

int CFont::GetLogFont(LOGFONTW* out) const {
  if (!mCreated || !out) return 0;
  *out = mLogFont;
  return sizeof(LOGFONTW);
}

int CFont::cellHeight() const {
  // A positive height includes internal leading, about a fifth of a cell.
  const int h = std::abs(static_cast<int>(mLogFont.lfHeight));
  if (h == 0) return 13;
  return mLogFont.lfHeight < 0 ? h : std::max(1, h);
}

int CFont::averageCharWidth() const {
  if (mLogFont.lfWidth > 0) return mLogFont.lfWidth;
  return std::max(1, (cellHeight() * 6 + 6) / 13);
}

namespace {

struct StockObjects {
  CBrush brushes[6];
  CPen pens[3];
  CFont systemFont, guiFont;
};

}  // namespace

CGdiObject* GetStockObject(int index) {
  static StockObjects* stock = [] {
    auto* s = new StockObjects;  // lives as long as the process
    const COLORREF greys[5] = {RGB(255, 255, 255), RGB(192, 192, 192), RGB(128, 128, 128),
                               RGB(64, 64, 64), RGB(0, 0, 0)};
    for (int i = 0; i < 5; ++i) s->brushes[i].CreateSolidBrush(greys[i]);
    LOGBRUSH none;
    none.lbStyle = BS_NULL;
    s->brushes[NULL_BRUSH].CreateBrushIndirect(&none);
    s->pens[0].CreatePen(PS_SOLID, 1, RGB(255, 255, 255));
    s->pens[1].CreatePen(PS_SOLID, 1, RGB(0, 0, 0));
    s->pens[2].CreatePen(PS_NULL, 1, RGB(0, 0, 0));
    s->systemFont.CreatePointFont(100, L"System");
    s->guiFont.CreatePointFont(80, L"MS Shell Dlg");
    for (auto& b : s->brushes) b.mStock = true;
    for (auto& p : s->pens) p.mStock = true;
    s->systemFont.mStock = s->guiFont.mStock = true;
    return s;
  }();
  if (index >= WHITE_BRUSH && index <= NULL_BRUSH) return &stock->brushes[index];
  if (index >= WHITE_PEN && index <= NULL_PEN) return &stock->pens[index - WHITE_PEN];
  if (index == SYSTEM_FONT) return &stock->systemFont;
  if (index == DEFAULT_GUI_FONT) return &stock->guiFont;
  return nullptr;
}

BOOL DeleteObject(HGDIOBJ object) { return object ? object->DeleteObject() : FALSE; }

COLORREF GetSysColor(int index) {
  switch (index) {
    case 5:  // COLOR_WINDOW
      return RGB(255, 255, 255);
    case 8:   // COLOR_WINDOWTEXT
    case 18:  // COLOR_BTNTEXT
      return RGB(0, 0, 0);
    case 15:  // COLOR_BTNFACE
      return RGB(240, 240, 240);
    case 16:  // COLOR_BTNSHADOW
      return RGB(160, 160, 160);
    case 20:  // COLOR_BTNHIGHLIGHT
      return RGB(255, 255, 255);
    case 13:  // COLOR_HIGHLIGHT
      return RGB(0, 120, 215);
    case 14:  // COLOR_HIGHLIGHTTEXT
      return RGB(255, 255, 255);
    case 17:  // COLOR_GRAYTEXT
      return RGB(109, 109, 109);
    default:
      return RGB(0, 0, 0);
  }
}

HBRUSH GetSysColorBrush(int index) {
  static std::map<int, std::unique_ptr<CBrush>>* brushes =
      new std::map<int, std::unique_ptr<CBrush>>;
  auto& b = (*brushes)[index];
  if (!b) b = std::make_unique<CBrush>(GetSysColor(index));
  return b.get();
}
