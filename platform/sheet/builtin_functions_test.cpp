// The table of built-in functions and the adapter that prepares their
// arguments: counts, kinds, defaults of left-out and empty arguments, and
// which error wins.
#include "platform/sheet/builtin_functions.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/sheet/cell_document.h"

namespace krv::sheet {
namespace {

TEST(BuiltinTable, EveryFunctionIsRegisteredOnceAndFoundInAnyLetterCase) {
  ASSERT_EQ(builtinCount(), 91);
  std::set<std::string> names;
  for (int i = 0; i < builtinCount(); ++i) {
    const BuiltinFunction& f = builtinAt(i);
    std::string name = f.name;
    EXPECT_TRUE(names.insert(name).second) << name << " twice";
    EXPECT_EQ(findBuiltin(name), i) << name;
    std::string lower = name;
    for (char& c : lower) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    EXPECT_EQ(findBuiltin(lower), i) << lower;
    EXPECT_LE(f.minArgs, f.maxArgs) << name;
    if (f.maxArgs > 0) {
      EXPECT_GE(f.ruleCount, 1) << name << " takes arguments but says nothing of them";
    }
    for (int a = f.minArgs; a < f.ruleCount; ++a)
      EXPECT_NE(f.rules[a].omitted, Omitted::Required)
          << name << ": argument " << a + 1 << " may be left out";
    if (i > 0) {
      EXPECT_LT(std::string(builtinAt(i - 1).name), name) << "the registry is sorted by name";
    }
  }
  EXPECT_EQ(findBuiltin("NOSUCHFUNCTION"), -1);
  EXPECT_EQ(findBuiltin(std::string(40, 'A')), -1);
}

TEST(BuiltinAdapter, AWrongArgumentCountGivesValueWithoutRunningTheBody) {
  CellGrid grid;
  EvalContext ctx{grid, 10, 10, 1, 1};
  Item args[2] = {Item::value(Value::number(-3)), Item::value(Value::number(1))};
  Item result;
  callBuiltin(builtinAt(findBuiltin("ABS")), ctx, args, 2, result);
  EXPECT_EQ(result.v, Value::error(ErrorCode::Value));
  callBuiltin(builtinAt(findBuiltin("ABS")), ctx, args, 1, result);
  EXPECT_EQ(result.v, Value::number(3));
  callBuiltin(builtinAt(findBuiltin("PI")), ctx, args, 1, result);
  EXPECT_EQ(result.v, Value::error(ErrorCode::Value));
}

struct Case {
  const char* formula;
  const char* shown;
  const char* why;
};

void expectAll(CellDocument& doc, std::initializer_list<Case> cases) {
  for (const Case& c : cases) {
    const krv::base::Status set = doc.setFormula(2, 4, c.formula);
    ASSERT_TRUE(set) << c.formula << ": " << set.text();
    EXPECT_EQ(doc.valueText(2, 4), c.shown) << c.formula << ": " << c.why;
  }
}

TEST(BuiltinAdapter, TheLeftmostErrorAmongTheArgumentsIsTheResult) {
  CellDocument doc;
  expectAll(doc,
            {
                {"=MID(1/0,NA(),1)", "#DIV/0!", "the first argument's error"},
                {"=MID(\"abc\",NA(),1/0)", "#N/A", "the second, before the third"},
                {"=ATAN2(NA(),1/0)", "#N/A", "two numbers, in order"},
                {"=VLOOKUP(1,NA(),1/0)", "#N/A", "a table's error before the index's"},
                {"=MATCH(1/0,NA())", "#DIV/0!", "the key's error first"},
                {"=SUBSTITUTE(\"a\",\"a\",\"b\",1/0)", "#DIV/0!", "an optional argument's error"},
                {"=ABS(\"x\")", "#VALUE!", "a text that is no number"},
                {"=ABS(TRUE)", "1", "a boolean is a number"},
                {"=NOT(\"maybe\")", "#VALUE!", "a text that is no logical"},
                {"=LEN(12.5)", "4", "a number as its text"},
                {"=ISERROR(1/0)", "TRUE", "information functions see the error itself"},
                {"=IFERROR(1/0,7)", "7", "and so does IFERROR"},
            });
}

TEST(BuiltinAdapter, ALeftOutArgumentAndAnEmptySlotReadAsTheFunctionSays) {
  CellDocument doc;
  expectAll(doc,
            {
                {"=LEFT(\"abc\")", "a", "left out: one character"},
                {"=LEFT(\"abc\",)", "", "an empty slot is 0 characters"},
                {"=FIND(\"b\",\"abc\")", "2", "left out: from the start"},
                {"=FIND(\"b\",\"abc\",)", "#VALUE!", "an empty slot is start 0"},
                {"=SUBSTITUTE(\"aa\",\"a\",\"b\")", "bb", "left out: every occurrence"},
                {"=SUBSTITUTE(\"aa\",\"a\",\"b\",)", "#VALUE!", "an empty slot is occurrence 0"},
                {"=FIXED(1234.567,)", "1,234.57", "an empty slot takes the 2 decimals"},
                {"=FIXED(1234.567,1,)", "1,234.6", "and the commas"},
                {"=LOG(100,)", "2", "an empty slot takes base 10"},
                {"=ROUND(2.5,)", "3", "a required number in an empty slot is 0"},
                {"=TRUNC(-2.7)", "-2", "left out: 0 decimals"},
                {"=MATCH(2,{1,2,3},)", "2", "an empty slot takes the ascending match"},
                {"=VLOOKUP(2.5,{1,10;2,20},2,)", "20", "an empty slot takes the approximate match"},
                {"=ROW()", "4", "left out: the formula's own row"},
                {"=COLUMN()", "2", "left out: the formula's own column"},
            });
}

TEST(BuiltinAdapter, ReferenceArgumentsRefuseOtherValuesWithTheFunctionsError) {
  CellDocument doc;
  EXPECT_TRUE(doc.setCellText(1, 1, "1"));
  EXPECT_TRUE(doc.setCellText(1, 2, "2"));
  EXPECT_TRUE(doc.setCellText(1, 3, "3"));
  expectAll(doc, {
                     {"=COUNTBLANK(5)", "#VALUE!", "a reference is needed"},
                     {"=COUNTBLANK(1/0)", "#DIV/0!", "an error given instead propagates"},
                     {"=COUNTIF(5,5)", "#VALUE!", "a reference or an array is needed"},
                     {"=COUNTIF({1,5,5},5)", "2", "an array is taken"},
                     {"=MATCH(1,5)", "#N/A", "a look-up table refuses a single value with #N/A"},
                     {"=ROWS(1/0)", "#DIV/0!", "an error is not one row"},
                     {"=ROWS(5)", "1", "a single value is one row"},
                     {"=ROW(5)", "#VALUE!", "a number has no row"},
                     {"=SUMIF(A1:A3,\">1\")", "5", "left out: the criteria range is summed"},
                     {"=SUMIF(A1:A3,\">1\",)", "5", "and so with an empty slot"},
                     {"=SUMIF(A1:A3,\">1\",5)", "#VALUE!", "a sum range must be a reference"},
                     {"=LOOKUP(9,A1:A3,1/0)", "#DIV/0!",
                      "the result vector is checked once the key is found"},
                     {"=LOOKUP(0,A1:A3,1/0)", "#N/A", "and not before"},
                 });
}

}  // namespace
}  // namespace krv::sheet
