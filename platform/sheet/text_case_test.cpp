#include <gtest/gtest.h>

#include "platform/sheet/cell_document.h"
#include "platform/sheet/text_utils.h"

namespace krv::sheet {
namespace {

std::string eval(const std::string& formula) {
  CellDocument doc;
  EXPECT_TRUE(doc.setFormula(1, 1, formula)) << formula;
  return doc.valueText(1, 1);
}

// Pairs that differ only in letter case, beyond ASCII; the formula engine
// must treat them as the core's strings do.
const std::pair<const char*, const char*> kSameIgnoringCase[] = {
    {"\u03A3\u039F\u03A6\u039F\u03A3", "\u03C3\u03BF\u03C6\u03BF\u03C2"},  // sigma, final sigma
    {"\u212Aelvin", "KELVIN"},                                             // Kelvin sign
    {"STRA\u1E9EE", "stra\u00DFe"},                                        // capital sharp s
    {"\u0416\u0401\u041B\u0422\u042B\u0419", "\u0436\u0451\u043B\u0442\u044B\u0439"},
    {"\u0531\u0532", "\u0561\u0562"},  // Armenian
    {"\uFF21\uFF22", "\uFF41\uFF42"},  // fullwidth
    {"\u00C9T\u00C9", "\u00E9t\u00E9"},
};

TEST(FormulaTextCase, ComparisonsSearchAndLookupsIgnoreCaseAlikeAndExactDoesNot) {
  for (const auto& [a, b] : kSameIgnoringCase) {
    const std::string qa = std::string("\"") + a + "\"", qb = std::string("\"") + b + "\"";
    EXPECT_EQ(eval(qa + "=" + qb), "TRUE") << a;
    EXPECT_EQ(eval("EXACT(" + qa + "," + qb + ")"), "FALSE") << a;
    EXPECT_EQ(eval("SEARCH(" + qb + "," + "\"x\"&" + qa + ")"), "2") << a;
    EXPECT_EQ(eval("MATCH(" + qb + ",{\"x\"," + qa + "},0)"), "2") << a;
    EXPECT_EQ(eval("COUNTIF({\"x\"," + qa + "}," + qb + ")"), "1") << a;
    EXPECT_TRUE(equalNoCase(a, b)) << a;
  }
  EXPECT_EQ(eval("\"\u0130\"=\"i\""), "FALSE") << "dotted capital I is Turkic only";
  EXPECT_EQ(eval("MATCH(\"\u03C3?\u03C6*\",{\"\u03A3\u039F\u03A6\u039F\u03A3\"},0)"), "1")
      << "wildcards fold too";
}

TEST(FormulaTextCase, UpperLowerAndProperMapOneCharacterToOne) {
  EXPECT_EQ(eval("UPPER(\"stra\u00DFe \u03C3\u03BF\u03C6\u03BF\u03C2\")"),
            "STRA\u00DFE \u03A3\u039F\u03A6\u039F\u03A3");
  EXPECT_EQ(eval("LOWER(\"STRA\u1E9EE \u212A \u0416\")"), "stra\u00DFe k \u0436");
  EXPECT_EQ(eval("PROPER(\"\u0433\u0440\u043E\u043C \u00E9T\u00C9\")"),
            "\u0413\u0440\u043E\u043C \u00C9t\u00E9");
  EXPECT_EQ(eval("LEN(UPPER(\"\u00DF\"))"), "1");
  // PROPER lowers the letters after the first; it does not fold them (folding
  // writes small Cherokee letters as capitals and the long s as s).
  EXPECT_EQ(eval("PROPER(\"\uAB70\uAB70 x\u017F\")"), "\u13A0\uAB70 X\u017F");
}

TEST(FormulaTextCase, CodeAndCharUseWindows1252) {
  EXPECT_EQ(eval("CODE(\"\u20AC\")"), "128");
  EXPECT_EQ(eval("CHAR(128)"), "\u20AC");
  EXPECT_EQ(eval("CHAR(233)"), "\u00E9");
  EXPECT_EQ(ansiCode(U'\u0100'), 0) << "no code in the code page";
  EXPECT_EQ(ansiChar(0x81), U'\u0081');
}

}  // namespace
}  // namespace krv::sheet
