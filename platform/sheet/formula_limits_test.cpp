// Hostile formulas: refused or an error value, never a crash, a hang or a
// stack overflow. Replays the saved fuzzing inputs in testdata/fuzz/.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "platform/sheet/cell_document.h"
#include "platform/sheet/formula_parser.h"

namespace krv::sheet {
namespace {

TEST(FormulaLimits, DeepNestingAndHugeFormulasAreRefusedWithAReason) {
  CellDocument doc;
  EXPECT_TRUE(doc.setCellText(1, 1, "1"));
  std::string deep = "=" + std::string(10000, '(') + "1" + std::string(10000, ')');
  krv::base::Status set = doc.setFormula(2, 1, deep);
  EXPECT_FALSE(set);
  EXPECT_NE(set.message().find("nested"), std::string::npos) << set.text();
  EXPECT_FALSE(doc.setFormula(2, 1, "=" + std::string(10000, '-') + "1"));
  std::string megabyte = "=1" + std::string();
  for (int i = 0; i < 500000; ++i) megabyte += "+1";
  set = doc.setFormula(2, 1, megabyte);
  EXPECT_FALSE(set);
  EXPECT_NE(set.message().find("longer"), std::string::npos) << set.text();
  EXPECT_TRUE(doc.value(2, 1).isEmpty());
  // Moderate nesting is fine.
  std::string ok = "=" + std::string(40, '(') + "A1" + std::string(40, ')');
  set = doc.setFormula(2, 1, ok);
  EXPECT_TRUE(set) << set.text();
  EXPECT_EQ(doc.valueText(2, 1), "1");
}

TEST(FormulaLimits, UnknownNamesAndBadReferencesGiveErrorValues) {
  CellDocument doc(100, 100);
  struct Case {
    const char* formula;
    const char* shown;
  } cases[] = {
      {"=NOSUCH(1)", "#NAME?"},
      {"=nosuchname+1", "#NAME?"},
      {"=A1048577", "#NAME?"},  // not a reference at all
      {"=CW1", "#REF!"},        // column 101 of a 100-column sheet
      {"=SUM(A1:A101)", "#REF!"},
      {"=REPT(\"ab\",20000)", "#VALUE!"},  // longer than a cell's text
      {"=SUM(A1:B2 C3:D4)", "#NULL!"},
      {"=VLOOKUP(1,A1:B2,3,FALSE)", "#REF!"},
      {"=1E+308*10", "#NUM!"},
  };
  for (const Case& c : cases) {
    const krv::base::Status set = doc.setFormula(5, 5, c.formula);
    ASSERT_TRUE(set) << c.formula << ": " << set.text();
    EXPECT_EQ(doc.valueText(5, 5), c.shown) << c.formula;
  }
  for (const char* refused : {"=ROUND()", "=PI(1)", "=IFERROR(1)", "=IF(1,2,3,4)", "=SUM(A1:)",
                              "=Sheet1!A1", "={1,2;3}", "=#BOGUS!", "=1,2"}) {
    EXPECT_FALSE(doc.setFormula(5, 6, refused)) << refused;
  }
}

TEST(FormulaLimits, SavedFuzzInputsRunCleanly) {
  namespace fs = std::filesystem;
  fs::path dir = fs::path(KRV_TESTDATA_DIR) / "fuzz";
  int files = 0;
  for (const auto& entry : fs::directory_iterator(dir)) {
    std::ifstream in(entry.path(), std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    std::string text = ss.str();
    for (auto style : {ReferenceStyle::A1, ReferenceStyle::R1C1}) {
      CellDocument doc(64, 200);
      EXPECT_TRUE(doc.setCellText(1, 1, "3"));
      EXPECT_TRUE(doc.setCellText(1, 2, "text"));
      doc.setAutoCalc(true);
      doc.setReferenceStyle(style);
      const krv::base::Status set = doc.setFormula(3, 3, text);
      if (set) {
        (void)doc.valueText(3, 3);
        EXPECT_TRUE(doc.setCellText(1, 1, "4"));
        doc.recalcAll();
      } else {
        EXPECT_FALSE(set.message().empty()) << entry.path();
      }
    }
    ++files;
  }
  EXPECT_GE(files, 10);
}

}  // namespace
}  // namespace krv::sheet
