#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace krv::sheet {

// The error values of the formula language.
enum class ErrorCode : uint8_t { Null = 1, Div0, Value, Ref, Name, Num, NA };

// "#NULL!", "#DIV/0!", "#VALUE!", "#REF!", "#NAME?", "#NUM!", "#N/A".
const char* errorText(ErrorCode code);
// The error whose text is `text` (exact, upper case as shown), if any.
std::optional<ErrorCode> parseErrorText(std::string_view text);

enum class ValueType : uint8_t { Empty, Number, Text, Bool, Error };

// The value of a cell or of a formula: empty, a number (double), a text
// (UTF-8), a boolean or an error. A small value type; texts use the
// string's own short-string storage.
class Value {
 public:
  Value() = default;
  static Value number(double v) {
    Value r;
    r.mType = ValueType::Number;
    r.mNumber = v;
    return r;
  }
  static Value boolean(bool v) {
    Value r;
    r.mType = ValueType::Bool;
    r.mNumber = v ? 1.0 : 0.0;
    return r;
  }
  static Value error(ErrorCode e) {
    Value r;
    r.mType = ValueType::Error;
    r.mError = e;
    return r;
  }
  static Value text(std::string s) {
    Value r;
    r.mType = ValueType::Text;
    r.mText = std::move(s);
    return r;
  }

  ValueType type() const { return mType; }
  bool isEmpty() const { return mType == ValueType::Empty; }
  bool isNumber() const { return mType == ValueType::Number; }
  bool isText() const { return mType == ValueType::Text; }
  bool isBool() const { return mType == ValueType::Bool; }
  bool isError() const { return mType == ValueType::Error; }

  // Meaningful only for the matching type.
  double number() const { return mNumber; }
  bool boolean() const { return mNumber != 0.0; }
  ErrorCode error() const { return mError; }
  const std::string& text() const { return mText; }

  bool operator==(const Value& o) const {
    return mType == o.mType && mNumber == o.mNumber && mError == o.mError && mText == o.mText;
  }

 private:
  ValueType mType = ValueType::Empty;
  ErrorCode mError = ErrorCode::Value;
  double mNumber = 0.0;
  std::string mText;
};

}  // namespace krv::sheet
