#include "platform/sheet/custom_function.h"

#include <gtest/gtest.h>

#include "platform/sheet/cell_document.h"

namespace krv::sheet {
namespace {

TEST(StringHandles, CreateReadRelease) {
  auto& t = StringHandles::global();
  uint32_t h = t.create("caf\xC3\xA9");
  EXPECT_NE(h, 0u);
  EXPECT_EQ(t.get(h).value(), "caf\xC3\xA9");
  t.release(h);
  EXPECT_FALSE(t.get(h).has_value());
  EXPECT_FALSE(t.get(0).has_value());
}

TEST(CustomFunctions, ArgumentsArriveAsTypedRecordsAndResultsComeBack) {
  CellDocument doc;
  EXPECT_TRUE(doc.setCellText(1, 1, "2.5"));
  EXPECT_TRUE(doc.setCellText(1, 2, "S235"));
  std::vector<FunctionValue> seen;
  ASSERT_TRUE(
      doc.registerCustomFunction("Probe", 1, 6, [&](FunctionValue& r, FunctionValue* a, int16_t n) {
        seen.assign(a, a + n);
        for (int i = 0; i < n; ++i) {
          if (a[i].type == FunctionValue::Type::String) {
            EXPECT_TRUE(StringHandles::global().get(a[i].stringHandle));
          }
        }
        return r.setString("n=" + std::to_string(n));
      }));
  size_t handlesBefore = StringHandles::global().size();
  ASSERT_TRUE(doc.setFormula(3, 1, "=probe(A1, A2, \"x\", A9, 1/0, A1:A2)"));  // names ignore case
  EXPECT_EQ(doc.valueText(3, 1), "n=6");
  ASSERT_EQ(seen.size(), 6u);
  EXPECT_EQ(seen[0].type, FunctionValue::Type::Double);
  EXPECT_EQ(seen[0].doubleValue, 2.5);
  EXPECT_EQ(seen[1].type, FunctionValue::Type::String);
  EXPECT_EQ(seen[3].status, FunctionValue::Status::Empty);
  EXPECT_EQ(seen[4].status, FunctionValue::Status::Error);
  EXPECT_EQ(seen[5].type, FunctionValue::Type::Range);
  EXPECT_EQ(seen[5].row2, 2);
  // Argument and result handles are released after the call.
  EXPECT_EQ(StringHandles::global().size(), handlesBefore);
}

TEST(CustomFunctions, ReferenceFlagPassesCellsSoTheCallbackCanReadThem) {
  CellDocument doc;
  EXPECT_TRUE(doc.setCellText(2, 3, "41"));
  ASSERT_TRUE(doc.registerCustomFunction(
      "FROMCELL", 1, 1,
      [&](FunctionValue& r, FunctionValue* a, int16_t) {
        if (a[0].type != FunctionValue::Type::Cell) return false;
        r.setDouble(doc.value(a[0].col, a[0].row).number() + 1);
        return true;
      },
      kCustomRefsAsCells));
  ASSERT_TRUE(doc.setFormula(1, 1, "=FROMCELL(B3)"));
  EXPECT_EQ(doc.valueText(1, 1), "42");
}

TEST(CustomFunctions, FailureCountsAndNamesFollowTheRegistration) {
  CellDocument doc;
  EXPECT_TRUE(doc.setFormula(1, 1, "=LATER(1)"));
  EXPECT_EQ(doc.valueText(1, 1), "#NAME?");
  ASSERT_TRUE(
      doc.registerCustomFunction("LATER", 1, 1, [](FunctionValue& r, FunctionValue*, int16_t) {
        r.setLong(7);
        return true;
      }));
  doc.recalcAll();  // registered after the formula was set: found when it runs
  EXPECT_EQ(doc.valueText(1, 1), "7");
  EXPECT_FALSE(doc.setFormula(1, 2, "=LATER(1,2)"));  // argument count checked when known

  ASSERT_TRUE(
      doc.registerCustomFunction("LATER", 1, 2, [](FunctionValue& r, FunctionValue*, int16_t) {
        r.setEmpty();
        return false;  // re-registration replaces; failure makes the formula an error
      }));
  ASSERT_TRUE(doc.setFormula(1, 2, "=LATER(1,2)"));
  EXPECT_EQ(doc.valueText(1, 2), "#VALUE!");
  EXPECT_TRUE(doc.lastEvaluationFailed(1, 2));

  // A custom SUM does not replace the built-in one unless registered so.
  auto fortyTwo = [](FunctionValue& r, FunctionValue*, int16_t) {
    r.setDouble(42);
    return true;
  };
  ASSERT_TRUE(doc.registerCustomFunction("SUM", 0, 9, fortyTwo));
  EXPECT_TRUE(doc.setFormula(1, 3, "=SUM(1,2)"));
  EXPECT_EQ(doc.valueText(1, 3), "3");
  ASSERT_TRUE(doc.registerCustomFunction("SUM", 0, 9, fortyTwo, kCustomOverridesBuiltin));
  EXPECT_TRUE(doc.setFormula(1, 3, "=SUM(1,2)"));
  EXPECT_EQ(doc.valueText(1, 3), "42");

  EXPECT_FALSE(doc.registerCustomFunction("", 0, 1, fortyTwo));
  EXPECT_FALSE(doc.registerCustomFunction("BAD NAME", 0, 1, fortyTwo));
  EXPECT_FALSE(doc.registerCustomFunction("MINMAX", 3, 2, fortyTwo));
  EXPECT_FALSE(doc.registerCustomFunction("NOCALLBACK", 0, 1, nullptr));
}

TEST(CustomFunctions, EmptyResultLeavesTheCellEmptyAndExceptionsFail) {
  CellDocument doc;
  doc.registerCustomFunction("NOTHING", 0, 0, [](FunctionValue& r, FunctionValue*, int16_t) {
    r.setEmpty();
    return true;
  });
  doc.registerCustomFunction("THROWS", 0, 0, [](FunctionValue&, FunctionValue*, int16_t) -> bool {
    throw std::runtime_error("boom");
  });
  EXPECT_TRUE(doc.setFormula(1, 1, "=NOTHING()"));
  EXPECT_TRUE(doc.value(1, 1).isEmpty());
  EXPECT_EQ(doc.valueText(1, 1), "");
  EXPECT_TRUE(doc.setFormula(1, 2, "=THROWS()"));
  EXPECT_EQ(doc.valueText(1, 2), "#VALUE!");
}

}  // namespace
}  // namespace krv::sheet
