#pragma once
// What the xlsx writer and the xlsx/ods reader agree on: the units, colours
// and border styles of the workbook against those of a ControlDocument, and
// the hidden worksheet that carries what a workbook has no place for.
//
// Positions: our row r and column c (from 1) are the worksheet's row r and
// column c (A1 is our (1, 1)), so formulas travel as they are written.
//
// Sizes: column widths are in pixels here and in characters of the default
// font's digit in the workbook (7 pixels a digit): the writer library
// takes characters = (pixels - 5) / 7 (5 pixels of margin; pixels / 12
// below 12 pixels) and stores pixels / 7 in the file, margin included,
// which the reader turns back into pixels. Widths come back in whole
// pixels.
// Row heights are in pixels here and in points there (96 dots an inch:
// points = pixels * 3 / 4). Font heights are pixel sizes here and points
// there by the same rule, rounded to whole pixels on the way back.
//
// Colours are 0x00BBGGRR here and RGB in the workbook; kColorDefault is no
// colour at all (no fill, the automatic font and border colour).
//
// The hidden worksheet kExchangeSheetName holds one record per row:
//   A: the kind, B: the column, C: the row, D.. the values.
//   "size"    B = columns, C = rows of the sheet; D = default column
//             width, E = default row height (pixels);
//   "look"    the look of the attributes at (B, C): (0, 0) the sheet's
//             default, (c, 0) column c, (0, r) row r (cells carry theirs in
//             their cell formats): D = font height, E = font weight,
//             F = back colour, G = fore colour, H = border mask,
//             I = border style, J = border colour, K = font name;
//   "header"  the header text of (B, C): row 0 or column 0; D = text;
//   "tag"     the tag of cell (B, C), the corner cell (0, 0) included
//             (its tag is the document's settings text); D = text;
//   "type"    the cell type fields of the attributes at (B, C): (0, 0) the
//             sheet's default, (c, 0) column c, (0, r) row r, else a cell;
//             D = type, E = style bits, F = decimals, G = minimum,
//             H = maximum, I = maximum length, J = locked (TRUE/FALSE),
//             K = type text (combo items, button text, picture name);
//   "hidden"  B = column or C = row that is hidden (the other 0).
// A record's text comes last; one longer than kExchangeTextChunk
// characters continues in the cells after it. Records of positions
// outside the sheet are ignored on reading.
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/sheet/control_document.h"

namespace krv::sheet {

inline constexpr char kExchangeSheetName[] = "korvane";
inline constexpr std::size_t kExchangeTextChunk = 32000;  // characters (a cell holds 32767)

// Column width in pixels as the writer library takes it, and the width
// stored in a file in pixels.
double pixelsToColumnChars(double pixels);
inline double fileColumnWidthToPixels(double width) { return width * 7.0; }
// Row height in pixels <-> points.
inline double pixelsToPoints(double pixels) { return pixels * 0.75; }
inline double pointsToPixels(double points) { return points / 0.75; }

// 0x00BBGGRR <-> 0xRRGGBB.
inline uint32_t colorrefToRgb(uint32_t c) {
  return ((c & 0xFF) << 16) | (c & 0xFF00) | ((c >> 16) & 0xFF);
}
inline uint32_t rgbToColorref(uint32_t rgb) { return colorrefToRgb(rgb & 0xFFFFFF); }

// Our border styles (0 solid, 1 dashed, 2 dotted, 3 dash-dot, 4 dash-dot-dot)
// as the workbook's border style numbers (thin, dashed, dotted, dashDot,
// dashDotDot); any other style is drawn solid and written thin.
int borderStyleToWorkbook(int style);
// Back: thin, medium, thick, double and hair read as solid, the dashed and
// dotted ones as their kind.
int borderStyleFromWorkbook(int workbookStyle);

// The number format code of a number cell: "0", "0.00", "#,##0.000" ...
std::string numberFormatCode(int decimals, bool thousands);
// Reads such a code back: its decimals and whether it groups thousands;
// false for a code that is not a plain fixed number format.
bool parseNumberFormatCode(std::string_view code, int& decimals, bool& thousands);

// The attributes a workbook cannot show (the "type" record's fields) are
// the same in both.
bool sameTypeFields(const CellAttributes& a, const CellAttributes& b);

}  // namespace krv::sheet
