#pragma once
// What the formula window (CFormula) is opened on, as a record file:
//
//   {"format": "korvane formula window", "version": 1,
//    "sheet": "formulas.vts", "referenceStyle": "A1", "autoCalc": true}
//
// "sheet" is the sheet file shown in the window's file field (a relative
// path is taken from the record file's folder by the program that runs
// it); "referenceStyle" is "default", "A1" or "R1C1" (default "default");
// "autoCalc" (default false) switches automatic calculation on.
#include <filesystem>
#include <string>
#include <string_view>

#include "platform/base/json_document.h"
#include "platform/base/json_io.h"

namespace krv::spread {

struct FormulaWindowRecord {
  enum Style { kDefault = 0, kA1 = 1, kR1C1 = 2 };
  std::string sheet;
  Style referenceStyle = kDefault;
  bool autoCalc = false;
  bool operator==(const FormulaWindowRecord&) const = default;
};

const base::DocumentKind& formulaWindowFileKind();
void mapFormulaWindow(base::JsonIo& io, FormulaWindowRecord& r);

// Reading leaves `r` unchanged on failure; errors name the file and place.
base::Status readFormulaWindowFile(const std::filesystem::path& file, FormulaWindowRecord& r);
base::Status writeFormulaWindowFile(const std::filesystem::path& file,
                                    const FormulaWindowRecord& r);
base::Status formulaWindowFromText(std::string_view text, FormulaWindowRecord& r);
std::string formulaWindowToText(const FormulaWindowRecord& r);

}  // namespace krv::spread
