// The registration table of the custom functions of standards sheets.
#include "standards/standards_function_table.h"

#include "platform/sheet/cell_document.h"
#include "standards/standards_functions.h"

namespace krv::standards {

const std::array<StandardsFunction, 12>& standardsFunctions() {
  static const std::array<StandardsFunction, 12> table = {{
      {"ROUNDTO", 2, 2, standards::roundTo, 0},
      {"GETCELL", 2, 7, standards::getCell, 0},
      {"GETPROFCELL", 2, 7, standards::getProfCell, 0},
      {"SECTIONSIZE", 2, 2, standards::sectionSize, 0},
      {"GETSYSNAME", 1, 1, standards::getSysName, 0},
      {"STDWIDTHWITHTOLERANCE", 6, 6, standards::stdWidthWithTolerance, 0},
      {"STDTHICKNESSWITHTOLERANCE", 5, 5, standards::stdThicknessWithTolerance, 0},
      {"STDSIZEWITHTOLERANCE", 5, 5, standards::stdSizeWithTolerance, 0},
      {"GETARRAYITEM", 2, 2, standards::getArrayItem, 0},
      {"TONUMBER", 1, 1, standards::toNumber, 0},
      {"ISNULL", 1, 1, standards::isNull, 0},
      {"ISPOSITIVE", 1, 1, standards::isPositive, 0},
  }};
  return table;
}

bool registerStandardsFunctions(sheet::CustomFunctionTable& table) {
  for (const StandardsFunction& f : standardsFunctions())
    if (!table.add(sheet::CustomFunction{f.name, f.minArgs, f.maxArgs, f.callback, f.flags}))
      return false;
  return true;
}

bool registerStandardsFunctions(sheet::CellDocument& document) {
  return registerStandardsFunctions(document.customFunctions());
}

}  // namespace krv::standards
