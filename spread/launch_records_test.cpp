// The record files of the formula window, its list output, find and
// replace, sheet options and the editor's language.
#include <gtest/gtest.h>

#include "platform/core/list_output.h"
#include "spread/editor_language_record.h"
#include "spread/find_replace_record.h"
#include "spread/formula_window_record.h"
#include "spread/list_output_record.h"
#include "spread/sheet_options_record.h"

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

TEST(SheetOptionsRecord, RoundTripsAndNeedsASheet) {
  SheetOptionsRecord r{"../sheets/a b.vts"};
  SheetOptionsRecord back;
  ASSERT_TRUE(sheetOptionsFromText(sheetOptionsToText(r), back));
  EXPECT_EQ(back, r);
  EXPECT_EQ(
      sheetOptionsFromText(R"({"format": "korvane sheet options", "version": 1})", back).text(),
      R"(the member "sheet" is missing)");
}

TEST(EditorLanguageRecord, RoundTripsAndRefusesAnUnknownCode) {
  EditorLanguageRecord r{EditorLanguageRecord::kFR};
  const std::string text = editorLanguageToText(r);
  EXPECT_NE(text.find(R"("language": "FR")"), std::string::npos) << text;
  EditorLanguageRecord back;
  ASSERT_TRUE(editorLanguageFromText(text, back));
  EXPECT_EQ(back, r);
  ASSERT_TRUE(
      editorLanguageFromText(R"({"format": "korvane editor language", "version": 1})", back));
  EXPECT_EQ(back.language, EditorLanguageRecord::kEN) << "English when none is given";
  const auto refused = editorLanguageFromText(
      R"({"format": "korvane editor language", "version": 1, "language": "DE"})", back);
  EXPECT_FALSE(refused);
  EXPECT_NE(refused.text().find("language:"), std::string::npos) << refused.text();
  EXPECT_EQ(back.language, EditorLanguageRecord::kEN) << "unchanged";
}

TEST(ListOutputRecord, ReadsKindsAndGivesTheLayoutsDescription) {
  ListOutputRecord r;
  ASSERT_TRUE(listOutputFromText(
      R"({"format": "korvane list output", "version": 1, "title": "Bill",
          "columns": [{"name": "Profile", "kind": "text"}, {"name": "Mass", "kind": "decimal"},
                      {"name": "Mark"}],
          "rows": [{"kind": "merged", "cells": ["Beams"]}, {"cells": ["IPE 300", "253.2"]},
                   {"kind": "total", "cells": ["Total"]}],
          "template": "t.vts"})",
      r));
  ListOutputRecord back;
  ASSERT_TRUE(listOutputFromText(listOutputToText(r), back));
  EXPECT_EQ(back, r);
  const ListOutputDescription d = listOutputDescription(r, L"/x/t.vts");
  EXPECT_EQ(d.columnCount, 3);
  EXPECT_EQ(d.headers[1].str(), L"Mass");
  ASSERT_EQ(d.columnKinds.length(), 3);
  EXPECT_EQ(listColumnDecimals(d.columnKinds[1]), 1);
  EXPECT_EQ(listColumnDecimals(d.columnKinds[2]), -1) << "no kind: not a number column";
  ASSERT_EQ(d.rows.size(), 3u);
  EXPECT_EQ(d.rows[0].kind, ListOutputRow::kMerged);
  EXPECT_EQ(d.rows[2].kind, ListOutputRow::kTotal);
  EXPECT_EQ(d.rows[1].cells[0].str(), L"IPE 300");
  EXPECT_EQ(d.templateFile.str(), L"/x/t.vts");
  const auto refused = listOutputFromText(
      R"({"format": "korvane list output", "version": 1, "rows": [{"kind": "sum"}]})", r);
  EXPECT_FALSE(refused);
  EXPECT_NE(refused.text().find("rows[0].kind"), std::string::npos) << refused.text();
}

}  // namespace
