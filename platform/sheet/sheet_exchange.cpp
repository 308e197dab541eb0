#include "platform/sheet/sheet_exchange.h"

#include <cmath>

namespace krv::sheet {

double pixelsToColumnChars(double pixels) {
  if (pixels <= 0) return 0;
  return pixels < 12 ? pixels / 12.0 : (pixels - 5.0) / 7.0;
}

int borderStyleToWorkbook(int style) {
  switch (style) {
    case 1:
      return 3;  // dashed
    case 2:
      return 4;  // dotted
    case 3:
      return 9;  // dash-dot
    case 4:
      return 11;  // dash-dot-dot
    default:
      return 1;  // thin
  }
}

int borderStyleFromWorkbook(int workbookStyle) {
  switch (workbookStyle) {
    case 3:
    case 8:  // medium dashed
      return 1;
    case 4:
      return 2;
    case 9:
    case 10:  // medium dash-dot
    case 13:  // slanted dash-dot
      return 3;
    case 11:
    case 12:  // medium dash-dot-dot
      return 4;
    default:
      return 0;
  }
}

std::string numberFormatCode(int decimals, bool thousands) {
  std::string code = thousands ? "#,##0" : "0";
  if (decimals > 0) code += "." + std::string(static_cast<std::size_t>(decimals), '0');
  return code;
}

bool parseNumberFormatCode(std::string_view code, int& decimals, bool& thousands) {
  thousands = false;
  if (code.starts_with("#,##0")) {
    thousands = true;
    code.remove_prefix(5);
  } else if (code.starts_with("0")) {
    code.remove_prefix(1);
  } else {
    return false;
  }
  decimals = 0;
  if (code.empty()) return true;
  if (code[0] != '.') return false;
  code.remove_prefix(1);
  for (char ch : code) {
    if (ch != '0') return false;
    ++decimals;
  }
  return decimals > 0 && decimals <= 15;
}

bool sameTypeFields(const CellAttributes& a, const CellAttributes& b) {
  return a.type == b.type && a.style == b.style && a.decimals == b.decimals &&
         a.minValue == b.minValue && a.maxValue == b.maxValue && a.maxLength == b.maxLength &&
         a.typeText == b.typeText && a.locked == b.locked;
}

}  // namespace krv::sheet
