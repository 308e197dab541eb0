#pragma once
#include <array>
#include <cstdint>

#include "platform/sheet/custom_function.h"

namespace krv::sheet {
class CellDocument;
}

// The registration table of the standards functions, in the order in
// which the calculation engine registers them on every spreadsheet it
// calculates with.
namespace krv::standards {

struct StandardsFunction {
  const char* name;
  int minArgs;
  int maxArgs;
  bool (*callback)(sheet::FunctionValue& result, sheet::FunctionValue* args, std::int16_t count);
  std::uint32_t flags;
};

// ROUNDTO, GETCELL, GETPROFCELL, SECTIONSIZE, GETSYSNAME,
// STDWIDTHWITHTOLERANCE, STDTHICKNESSWITHTOLERANCE, STDSIZEWITHTOLERANCE,
// GETARRAYITEM, TONUMBER, ISNULL, ISPOSITIVE; all with flags 0.
const std::array<StandardsFunction, 12>& standardsFunctions();

// Registers all twelve, in table order, on a control's custom function
// table (replacing earlier registrations of the same names). False when
// any registration is refused; the ones before it stay registered.
bool registerStandardsFunctions(sheet::CustomFunctionTable& table);
bool registerStandardsFunctions(sheet::CellDocument& document);

}  // namespace krv::standards
