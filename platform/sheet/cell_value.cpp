// The error texts of the formula language ("#DIV/0!" and the others).
#include "platform/sheet/cell_value.h"

namespace krv::sheet {

const char* errorText(ErrorCode code) {
  switch (code) {
    case ErrorCode::Null:
      return "#NULL!";
    case ErrorCode::Div0:
      return "#DIV/0!";
    case ErrorCode::Value:
      return "#VALUE!";
    case ErrorCode::Ref:
      return "#REF!";
    case ErrorCode::Name:
      return "#NAME?";
    case ErrorCode::Num:
      return "#NUM!";
    case ErrorCode::NA:
      return "#N/A";
  }
  return "#VALUE!";
}

std::optional<ErrorCode> parseErrorText(std::string_view text) {
  for (auto e : {ErrorCode::Null, ErrorCode::Div0, ErrorCode::Value, ErrorCode::Ref,
                 ErrorCode::Name, ErrorCode::Num, ErrorCode::NA}) {
    if (text == errorText(e)) return e;
  }
  return std::nullopt;
}

}  // namespace krv::sheet
