#include "spread/formula_window_record.h"

#include "platform/base/record_file.h"

namespace krv::spread {

using base::JsonIo;

const base::DocumentKind& formulaWindowFileKind() {
  static const base::DocumentKind kind = [] {
    base::DocumentKind k;
    k.format = "korvane formula window";
    k.version = 1;
    k.what = "formula window file";
    k.limits.maxBytes = 1u << 20;
    k.limits.maxDepth = 4;
    return k;
  }();
  return kind;
}

void mapFormulaWindow(JsonIo& io, FormulaWindowRecord& r) {
  using S = FormulaWindowRecord::Style;
  io.field("sheet", r.sheet, base::Text{true});
  io.optional("referenceStyle", r.referenceStyle, S::kDefault,
              base::EnumText<S>{{{S::kDefault, "default"}, {S::kA1, "A1"}, {S::kR1C1, "R1C1"}}});
  io.optional("autoCalc", r.autoCalc, false);
}

base::Status formulaWindowFromText(std::string_view text, FormulaWindowRecord& r) {
  FormulaWindowRecord fresh;
  base::Status s = base::readRecordText(text, formulaWindowFileKind(),
                                        [&](JsonIo& io) { mapFormulaWindow(io, fresh); });
  if (s) r = fresh;
  return s;
}

base::Status readFormulaWindowFile(const std::filesystem::path& file, FormulaWindowRecord& r) {
  FormulaWindowRecord fresh;
  base::Status s = base::readRecordFile(file, formulaWindowFileKind(),
                                        [&](JsonIo& io) { mapFormulaWindow(io, fresh); });
  if (s) r = fresh;
  return s;
}

std::string formulaWindowToText(const FormulaWindowRecord& r) {
  FormulaWindowRecord copy = r;
  return base::recordText(formulaWindowFileKind(), [&](JsonIo& io) { mapFormulaWindow(io, copy); });
}

base::Status writeFormulaWindowFile(const std::filesystem::path& file,
                                    const FormulaWindowRecord& r) {
  FormulaWindowRecord copy = r;
  return base::writeRecordFile(file, formulaWindowFileKind(),
                               [&](JsonIo& io) { mapFormulaWindow(io, copy); });
}

}  // namespace krv::spread
