#include "standards/standards_evaluation_record.h"

#include <gtest/gtest.h>

namespace {

using namespace krv::standards;

TEST(StandardsEvaluationRecord, RoundTripsWithItsResults) {
  StandardsEvaluationRecord r;
  r.standard = "EndPlate";
  r.macro = "../library/Macros/EndPlateBeam.json";
  r.caller = "EndPlateBeam";
  r.library = "../library";
  r.generalVariables = {{"gen_edge_margin", "10"}, {"gen_bolt_set", "M20 8.8"}};
  r.variables = {{"Thick", "Output", "Double", "15", "20"}, {"Note", "Local", "String", "", "x"}};
  StandardsEvaluationRecord back;
  ASSERT_TRUE(standardsEvaluationFromText(standardsEvaluationToText(r), back));
  EXPECT_EQ(back, r);
}

TEST(StandardsEvaluationRecord, CallerAndModuleGroupExcludeEachOther) {
  StandardsEvaluationRecord back;
  const auto s = standardsEvaluationFromText(
      R"({"format": "korvane standards evaluation", "version": 1, "standard": "S",
          "macro": "m.json", "caller": "K", "moduleGroup": "Beam"})",
      back);
  EXPECT_EQ(s.text(), R"(moduleGroup: "caller" and "moduleGroup" exclude each other)");
  EXPECT_EQ(
      standardsEvaluationFromText(
          R"({"format": "korvane standards evaluation", "version": 1, "standard": "S"})", back)
          .text(),
      R"(the member "macro" is missing)");
}

}  // namespace
