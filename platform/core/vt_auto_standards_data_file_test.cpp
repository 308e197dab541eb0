#include "platform/core/vt_auto_standards_data_file.h"

#include <gtest/gtest.h>

namespace {

using krv::core::generalVariablesFromText;
using krv::core::generalVariablesToText;

VtAutoStandardsData sample() {
  VtAutoStandardsData d;
  d.dwgGenVars() = {L"Grade", L"Coating"};
  d.dwgGenValues() = {L"S355", L""};
  d.dwgGenFilters() = {L"Beam\\a.dwg;Columns", L""};
  d.stdGenVars() = {L"BoltGrade"};
  d.stdGenValues() = {L"8.8"};
  d.stdGenOverrides() = {L"Endplate"};
  d.stdGenFilters() = {L""};
  return d;
}

TEST(GeneralVariablesFile, RoundTripsAsOneObjectPerVariable) {
  const VtAutoStandardsData d = sample();
  const std::string text = generalVariablesToText(d);
  EXPECT_NE(text.find(R"("name": "Coating")"), std::string::npos);
  EXPECT_EQ(text.find(R"("value": "")"), std::string::npos) << "empty texts are left out";
  EXPECT_NE(text.find(R"("filter": "Beam\\a.dwg;Columns")"), std::string::npos) << text;
  VtAutoStandardsData back;
  ASSERT_TRUE(generalVariablesFromText(text, back));
  EXPECT_TRUE(back == d);
  // Every array of a group has one entry per variable, empty ones included.
  EXPECT_EQ(back.dwgGenValues().length(), 2);

  // A row the person added and left empty reads back as it was written.
  VtAutoStandardsData blank;
  blank.dwgGenVars() = {L""};
  ASSERT_TRUE(generalVariablesFromText(generalVariablesToText(blank), back));
  EXPECT_EQ(back.dwgGenVars(), (Krv_StringArray{L""}));

  VtAutoStandardsData empty;
  ASSERT_TRUE(generalVariablesFromText(generalVariablesToText(empty), back));
  EXPECT_TRUE(back == empty);
}

TEST(GeneralVariablesFile, ArraysOfUnequalLengthAreWrittenPaddedWithEmptyTexts) {
  VtAutoStandardsData d;
  d.stdGenVars() = {L"A", L"B"};
  d.stdGenValues() = {L"1"};
  VtAutoStandardsData back;
  ASSERT_TRUE(generalVariablesFromText(generalVariablesToText(d), back));
  EXPECT_EQ(back.stdGenValues(), (Krv_StringArray{L"1", L""}));
  EXPECT_EQ(back.stdGenOverrides(), (Krv_StringArray{L"", L""}));
}

TEST(GeneralVariablesFile, ARefusedTextLeavesTheRecordAlone) {
  VtAutoStandardsData d = sample();
  const auto s = generalVariablesFromText(
      R"({"format": "korvane general variables", "version": 1,
          "drawings": [{"name": "A"}, {"name": 3}]})",
      d);
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.text(), "drawings[1].name: a text is expected");
  EXPECT_TRUE(d == sample());
}

}  // namespace
