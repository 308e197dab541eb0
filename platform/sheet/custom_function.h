#pragma once
#include <cstdint>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

namespace krv::sheet {

// Texts passed to and from custom functions travel as handles of this
// table: the caller creates a handle for a text and the receiver reads it.
// One table serves the whole process (the core module's global string
// functions wrap it). Handle 0 is never valid.
class StringHandles {
 public:
  static StringHandles& global();

  uint32_t create(std::string text);
  // The text of a handle; nullopt for an unknown or released handle.
  std::optional<std::string> get(uint32_t handle) const;
  // Releases a handle; unknown handles are ignored.
  void release(uint32_t handle);
  size_t size() const;

 private:
  mutable std::mutex mMutex;
  std::unordered_map<uint32_t, std::string> mTexts;
  uint32_t mNext = 1;
};

// One argument or result record of a custom function call.
struct FunctionValue {
  enum class Status : uint8_t { Ok, Empty, Error };
  enum class Type : uint8_t { Long, Double, String, Cell, Range };

  Status status = Status::Empty;
  Type type = Type::Long;
  long longValue = 0;
  double doubleValue = 0.0;
  uint32_t stringHandle = 0;   // Type::String: a handle of StringHandles::global()
  int32_t col = 0, row = 0;    // Type::Cell, and the first corner of Type::Range
  int32_t col2 = 0, row2 = 0;  // Type::Range: the second corner
  uint8_t errorCode = 0;       // Status::Error: the ErrorCode, when known

  void setEmpty() { *this = FunctionValue{}; }
  void setDouble(double v) {
    status = Status::Ok;
    type = Type::Double;
    doubleValue = v;
  }
  void setLong(long v) {
    status = Status::Ok;
    type = Type::Long;
    longValue = v;
  }
  // Makes a string handle for `text`; false when no handle can be made.
  bool setString(std::string text);
};

// The callback of a custom function: the result record, the argument
// records and their count. It returns false to make the formula fail.
using CustomCallback =
    std::function<bool(FunctionValue& result, FunctionValue* args, int16_t count)>;

// How arguments arrive: with kCustomRefsAsCells a reference argument arrives
// as a cell reference (Type::Cell) or range (Type::Range) instead of the
// referenced value. With kCustomOverridesBuiltin the name replaces a
// built-in function of the same name in formulas set afterwards.
enum CustomFunctionFlags : uint32_t { kCustomRefsAsCells = 1, kCustomOverridesBuiltin = 0x100 };

struct CustomFunction {
  std::string name;  // as registered
  int minArgs = 0;
  int maxArgs = 0;
  CustomCallback callback;
  uint32_t flags = 0;
};

// The custom functions of one document. Names are compared ignoring case;
// registering a name again replaces the earlier registration.
class CustomFunctionTable {
 public:
  // False for an empty or malformed name, a negative minimum, a maximum
  // below the minimum or above 255, or a missing callback.
  bool add(CustomFunction function);
  bool remove(std::string_view name);
  const CustomFunction* find(std::string_view name) const;
  size_t size() const { return mByName.size(); }

 private:
  std::unordered_map<std::string, CustomFunction> mByName;  // key: upper case
};

}  // namespace krv::sheet
