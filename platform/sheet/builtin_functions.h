#pragma once
// The built-in functions of the formula language, described as a table:
// each entry gives the name, the number of arguments, what each argument
// takes (with the default of an optional one) and the body. One adapter,
// callBuiltin, checks the count, turns the arguments into what the entry
// asks for and gives back the first error value among them, so that a
// body only computes its result.
//
// The entries are grouped in families by the shape of their body: one
// number to a value, two numbers to a value, the numbers of all arguments
// (as the aggregates see them), the logical values of all arguments, and
// the general body that reads prepared arguments through BuiltinArgs.
#include <array>
#include <cstdint>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "platform/sheet/evaluator.h"

namespace krv::sheet {

enum BuiltinFlags : uint8_t {
  kBuiltinIf = 1,           // compiled to jumps: only the chosen branch runs
  kBuiltinIfError = 2,      // compiled to jumps: the fallback runs only on error
  kBuiltinArrayArgs = 4,    // operators inside the arguments work element-wise
  kBuiltinPositionArgs = 8  // a reference given as a whole argument is read for its position only
};

// What an argument is turned into before the body runs. For every kind but
// Any, an error value given as the argument is the function's result and
// the body does not run; the first such argument from the left wins.
enum class ArgKind : uint8_t {
  Number,   // the value as a number: booleans are 1/0, texts that read as numbers count, empty is 0
  Integer,  // a Number truncated toward zero and clamped to +-2^31
  Text,     // the value as its text (numbers in the General format)
  Boolean,  // the value as a logical: numbers not 0, "TRUE"/"FALSE", empty is FALSE
  Scalar,   // the one value of the argument (EvalContext::scalar), any type
  Reference,     // a reference to cells; any other value gives #VALUE!
  Range,         // a reference or an array; any other value gives #VALUE!
  Table,         // a reference or an array; any other value gives #N/A
  TableOrValue,  // a reference, an array or one value (a table of one cell)
  Any,           // the argument as given: references, arrays, errors and empty slots untouched
};

// How an optional argument that is not given reads.
enum class Omitted : uint8_t {
  Required,  // the argument has no default
  Default,   // left out, or an empty slot as in "F(x,)": the default
  Absent,    // left out: the default; an empty slot reads as its kind's empty value (0, "", FALSE)
};

struct ArgRule {
  ArgKind kind = ArgKind::Any;
  Omitted omitted = Omitted::Required;
  // The default of Number, Integer and Boolean arguments (1 is TRUE); an
  // argument of another kind that is not there is only not there (has()).
  double dflt = 0;
};

constexpr ArgRule arg(ArgKind kind) { return {kind, Omitted::Required, 0}; }
// An optional argument whose empty slot also takes the default.
constexpr ArgRule optional(ArgKind kind, double dflt = 0) { return {kind, Omitted::Default, dflt}; }
// An optional argument whose empty slot reads as an empty value.
constexpr ArgRule optionalIfAbsent(ArgKind kind, double dflt = 0) {
  return {kind, Omitted::Absent, dflt};
}

struct BuiltinFunction;

// The prepared arguments of one call, for a general body. Argument i is
// read with the accessor of its kind.
class BuiltinArgs {
 public:
  static constexpr int kInlineSlots = 4;

  EvalContext& ctx;

  BuiltinArgs(EvalContext& context, Item* items, int count)
      : ctx(context), mItems(items), mCount(count) {}

  // Arguments in the call, empty slots included.
  int count() const { return mCount; }
  // Whether argument i is there: given, and not an empty slot that took the default.
  bool has(int i) const { return i < mCount && slot(i).present; }

  // Number, Integer and Boolean arguments (the default when left out).
  double number(int i) const { return slot(i).number; }
  long long integer(int i) const { return static_cast<long long>(slot(i).number); }
  bool boolean(int i) const { return slot(i).number != 0; }
  // Text arguments ("" when left out).
  const std::string& text(int i) const { return slot(i).value.text(); }
  // Scalar arguments.
  const Value& value(int i) const { return slot(i).value; }
  // The argument as given (reference kinds and Any); only for i < count().
  Item& item(int i) const { return mItems[i]; }
  // The one value of argument i, errors included.
  Value scalar(int i) const { return ctx.scalar(mItems[i]); }

 private:
  friend void callBuiltin(const BuiltinFunction&, EvalContext&, Item*, int, Item&);
  struct Slot {
    double number = 0;
    Value value;
    bool present = false;
  };
  const Slot& slot(int i) const { return i < kInlineSlots ? mInline[i] : mMore[i - kInlineSlots]; }
  Slot& slot(int i) { return i < kInlineSlots ? mInline[i] : mMore[i - kInlineSlots]; }
  // Fills the slots as the rules of `f` ask; false with the first error in `result`.
  bool prepare(const BuiltinFunction& f, Item& result);

  Item* mItems;
  int mCount;
  std::array<Slot, kInlineSlots> mInline;
  std::vector<Slot> mMore;  // used only for a long argument list of a coerced kind
};

// The bodies of the families.
using UnaryBody = Value (*)(double x);
using BinaryBody = Value (*)(double x, double y);
// Gets the numbers of all arguments as the aggregates see them (see
// fn::collectNumbers); may reorder them.
using NumbersBody = Value (*)(std::vector<double>& numbers);
// Gets the logical values of all arguments (never none).
using LogicalsBody = Value (*)(const std::vector<bool>& values);
using GeneralBody = void (*)(BuiltinArgs& args, Item& result);

enum class BuiltinFamily : uint8_t { Unary, Binary, Numbers, Logicals, General };

struct BuiltinFunction {
  static constexpr int kMaxRules = 4;
  static constexpr int16_t kMany = 255;

  const char* name = nullptr;
  int16_t minArgs = 0;
  int16_t maxArgs = 0;
  uint8_t flags = 0;
  BuiltinFamily family = BuiltinFamily::General;
  // What argument i takes; arguments after the last rule take the last one.
  std::array<ArgRule, kMaxRules> rules{};
  uint8_t ruleCount = 0;
  UnaryBody unary = nullptr;
  BinaryBody binary = nullptr;
  NumbersBody numbers = nullptr;
  LogicalsBody logicals = nullptr;
  GeneralBody general = nullptr;

  const ArgRule& rule(int i) const { return rules[i < ruleCount ? i : ruleCount - 1]; }
};

// ---- entries of the family tables -----------------------------------------

// One number to a value.
constexpr BuiltinFunction unaryFunction(const char* name, UnaryBody body) {
  BuiltinFunction f{.name = name, .minArgs = 1, .maxArgs = 1, .family = BuiltinFamily::Unary};
  f.rules[0] = arg(ArgKind::Number);
  f.ruleCount = 1;
  f.unary = body;
  return f;
}
// Two numbers to a value; the second may be optional.
constexpr BuiltinFunction binaryFunction(const char* name, BinaryBody body,
                                         ArgRule second = arg(ArgKind::Number)) {
  BuiltinFunction f{.name = name,
                    .minArgs = static_cast<int16_t>(second.omitted == Omitted::Required ? 2 : 1),
                    .maxArgs = 2,
                    .family = BuiltinFamily::Binary};
  f.rules[0] = arg(ArgKind::Number);
  f.rules[1] = second;
  f.ruleCount = 2;
  f.binary = body;
  return f;
}
// The numbers of one or more arguments to a value.
constexpr BuiltinFunction numbersFunction(const char* name, NumbersBody body) {
  BuiltinFunction f{.name = name,
                    .minArgs = 1,
                    .maxArgs = BuiltinFunction::kMany,
                    .family = BuiltinFamily::Numbers};
  f.rules[0] = arg(ArgKind::Any);
  f.ruleCount = 1;
  f.numbers = body;
  return f;
}
// The logical values of one or more arguments to a value.
constexpr BuiltinFunction logicalsFunction(const char* name, LogicalsBody body) {
  BuiltinFunction f{.name = name,
                    .minArgs = 1,
                    .maxArgs = BuiltinFunction::kMany,
                    .family = BuiltinFamily::Logicals};
  f.rules[0] = arg(ArgKind::Any);
  f.ruleCount = 1;
  f.logicals = body;
  return f;
}
// A general body with the given argument rules (none: no arguments).
constexpr BuiltinFunction generalFunction(const char* name, int minArgs, int maxArgs,
                                          std::initializer_list<ArgRule> rules, GeneralBody body,
                                          uint8_t flags = 0) {
  BuiltinFunction f{.name = name,
                    .minArgs = static_cast<int16_t>(minArgs),
                    .maxArgs = static_cast<int16_t>(maxArgs),
                    .flags = flags,
                    .family = BuiltinFamily::General};
  for (const ArgRule& s : rules) f.rules[f.ruleCount++] = s;
  f.general = body;
  return f;
}

// ---- the registry -----------------------------------------------------------

// Index of the built-in function of that name (any letter case), or -1.
int findBuiltin(std::string_view name);
const BuiltinFunction& builtinAt(int index);
int builtinCount();

// Runs a built-in function on the evaluated arguments (references stay
// references): a wrong count gives #VALUE!, an error value among the
// coerced arguments is the result, otherwise the body computes it.
void callBuiltin(const BuiltinFunction& f, EvalContext& ctx, Item* args, int argc, Item& result);

// The family tables, one per subject (functions_math.cpp, functions_text.cpp,
// functions_lookup.cpp).
std::span<const BuiltinFunction> mathFunctions();
std::span<const BuiltinFunction> aggregateFunctions();
std::span<const BuiltinFunction> logicFunctions();
std::span<const BuiltinFunction> textFunctions();
std::span<const BuiltinFunction> lookupFunctions();

}  // namespace krv::sheet
