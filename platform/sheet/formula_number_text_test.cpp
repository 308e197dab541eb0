#include "platform/sheet/formula_number_text.h"

#include <gtest/gtest.h>

#include "platform/sheet/cell_document.h"

namespace krv::sheet {
namespace {

TEST(ParseNumberText, NumbersBeyondTheDoubleRangeAreNoNumbers) {
  EXPECT_FALSE(parseNumberText("1E400")) << "too large for a double";
  EXPECT_FALSE(parseNumberText("-1E400"));
  EXPECT_FALSE(parseNumberText("0.001E312")) << "1E309";
  EXPECT_FALSE(parseNumberText("1" + std::string(400, '0')));
  ASSERT_TRUE(parseNumberText("1E308"));
  EXPECT_EQ(*parseNumberText("1E308"), 1e308);
  EXPECT_EQ(*parseNumberText("12345E-2"), 123.45);
}

TEST(ParseNumberText, NumbersTooSmallForADoubleReadAsZero) {
  ASSERT_TRUE(parseNumberText("1E-400"));
  EXPECT_EQ(*parseNumberText("1E-400"), 0) << "underflow rounds to 0, as a typed 1E-400 does";
  ASSERT_TRUE(parseNumberText("-12E-999"));
  EXPECT_EQ(*parseNumberText("-12E-999"), 0);
}

TEST(ParseNumberText, OverflowingTextsGiveValueErrorsInFormulas) {
  CellDocument doc;
  EXPECT_TRUE(doc.setCellText(1, 1, "1E400"));
  EXPECT_TRUE(doc.value(1, 1).isText()) << "typed text that is no number stays text";
  struct Case {
    const char* formula;
    const char* shown;
  } cases[] = {
      {"=VALUE(\"1E400\")", "#VALUE!"}, {"=\"1E400\"+0", "#VALUE!"}, {"=A1*1", "#VALUE!"},
      {"=-\"1E400\"", "#VALUE!"},       {"=VALUE(\"1E-400\")", "0"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(doc.setFormula(2, 1, c.formula)) << c.formula;
    EXPECT_EQ(doc.valueText(2, 1), c.shown) << c.formula;
  }
  const krv::base::Status set = doc.setFormula(2, 1, "=SUM({1,1E400})");
  EXPECT_FALSE(set) << "an array constant out of range";
  EXPECT_NE(set.message().find("out of range"), std::string::npos) << set.text();
}

}  // namespace
}  // namespace krv::sheet
