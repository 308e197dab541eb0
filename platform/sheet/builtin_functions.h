#pragma once
#include <cstdint>
#include <string_view>

namespace krv::sheet {

struct EvalContext;
struct Item;

// A built-in function: gets its evaluated arguments (references stay
// references) and writes its result.
using BuiltinImpl = void (*)(EvalContext& ctx, Item* args, int argc, Item& result);

enum BuiltinFlags : uint8_t {
  kBuiltinIf = 1,           // compiled to jumps: only the chosen branch runs
  kBuiltinIfError = 2,      // compiled to jumps: the fallback runs only on error
  kBuiltinArrayArgs = 4,    // operators inside the arguments work element-wise
  kBuiltinPositionArgs = 8  // a reference given as a whole argument is read for its position only
};

struct BuiltinFunction {
  const char* name;
  int16_t minArgs;
  int16_t maxArgs;
  BuiltinImpl impl;
  uint8_t flags;
};

// Index of the built-in function of that name (any letter case), or -1.
int findBuiltin(std::string_view name);
const BuiltinFunction& builtinAt(int index);
int builtinCount();

}  // namespace krv::sheet
