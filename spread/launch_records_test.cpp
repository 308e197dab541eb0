// The record files of the formula window and of find and replace.
#include <gtest/gtest.h>

#include "spread/find_replace_record.h"
#include "spread/formula_window_record.h"

namespace {

using namespace krv::spread;

TEST(FormulaWindowRecord, RoundTripsAndRefusesAnUnknownStyle) {
  FormulaWindowRecord r{"../sheets/a b.vts", FormulaWindowRecord::kR1C1, true};
  const std::string text = formulaWindowToText(r);
  EXPECT_NE(text.find(R"("referenceStyle": "R1C1")"), std::string::npos) << text;
  FormulaWindowRecord back;
  ASSERT_TRUE(formulaWindowFromText(text, back));
  EXPECT_EQ(back, r);

  ASSERT_TRUE(formulaWindowFromText(
      R"({"format": "korvane formula window", "version": 1, "sheet": "x.vts"})", back));
  EXPECT_EQ(back, (FormulaWindowRecord{"x.vts", FormulaWindowRecord::kDefault, false}));
  const auto refused = formulaWindowFromText(
      R"({"format": "korvane formula window", "version": 1, "sheet": "x.vts",
          "referenceStyle": "a1"})",
      back);
  EXPECT_EQ(refused.text(), R"(referenceStyle: one of "default", "A1", "R1C1" is expected)");
  EXPECT_EQ(back.sheet, "x.vts") << "unchanged";
}

TEST(FindReplaceRecord, RoundTripsAndNeedsASheet) {
  FindReplaceRecord r{"sections.vts", "HEA", "HEB \"new\""};
  FindReplaceRecord back;
  ASSERT_TRUE(findReplaceFromText(findReplaceToText(r), back));
  EXPECT_EQ(back, r);
  const auto refused = findReplaceFromText(
      R"({"format": "korvane find and replace", "version": 1, "find": "x"})", back);
  EXPECT_EQ(refused.text(), R"(the member "sheet" is missing)");
  EXPECT_FALSE(findReplaceFromText(
      R"({"format": "korvane formula window", "version": 1, "sheet": "x"})", back));
}

}  // namespace
