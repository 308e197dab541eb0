#include "standards/standards_functions.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/core/global_str.h"
#include "platform/core/krv_settings.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/sheet/cell_document.h"
#include "platform/win/scripted_user_interface.h"
#include "platform/win/win_messages.h"
#include "standards/standards_function_table.h"

namespace {

using krv::sheet::CellDocument;
using krv::sheet::FunctionValue;
using krv::sheet::Value;

const Krv_String kSampleLibrary = Krv_String(KRV_SOURCE_DIR) + L"/examples/library";

// Formulas of a sheet that has the standards functions, over a library
// folder of its own (with the sample section tables).
class StandardsFormulas : public ::testing::Test {
 protected:
  void SetUp() override {
    std::filesystem::create_directories(lib.path() / "prof");
    for (const char* family : {"IPE.pr", "HEA.pr"})
      std::filesystem::copy_file(
          std::filesystem::path(KRV_SOURCE_DIR) / "examples/library/prof" / family,
          lib.path() / "prof" / family);
    Krv_Settings::setLibDir(lib.text());
    ASSERT_TRUE(krv::standards::registerStandardsFunctions(doc));
  }
  void TearDown() override {
    Krv_Settings::setLibDir(L"");
    Krv_Settings::current().setCalcMessages(true);
  }
  void data(const std::string& name, const std::string& text) {
    lib.writeBytes("Connection Standards/Data/" + name, text);
  }
  Value eval(const std::string& formula) {
    failed = false;
    const krv::base::Status set = doc.setFormula(1, 1, formula);
    EXPECT_TRUE(set) << formula << ": " << set.text();
    failed = doc.lastEvaluationFailed(1, 1);
    return doc.value(1, 1);
  }
  double number(const std::string& formula) {
    Value v = eval(formula);
    EXPECT_TRUE(v.isNumber()) << formula << " gave " << doc.valueText(1, 1);
    return v.number();
  }
  std::string text(const std::string& formula) {
    Value v = eval(formula);
    EXPECT_TRUE(v.isText() || v.isEmpty()) << formula << " gave " << doc.valueText(1, 1);
    return v.text();
  }
  // The function reported failure, which the sheet shows as #VALUE!.
  bool fails(const std::string& formula) {
    Value v = eval(formula);
    return failed && v.isError();
  }

  TempFolder lib;
  CellDocument doc{50, 50};
  bool failed = false;
};

TEST_F(StandardsFormulas, RoundTo) {
  EXPECT_DOUBLE_EQ(number("=ROUNDTO(2.15, 0.1)"), 2.2);
  EXPECT_DOUBLE_EQ(number("=ROUNDTO(17, 5)"), 15);
  EXPECT_TRUE(fails("=ROUNDTO(\"2\", 1)"));
}

TEST_F(StandardsFormulas, GetCellBuildsTheKeyFromNumbersAndTexts) {
  data("k.txt",
       "// grade table\n"
       "10;S235\tshort key\n"
       "10.000000;S235\tfound\n"
       "10.000000;S355\t\n"
       "12.500000\tone key\n"
       "single\n");
  EXPECT_EQ(text("=GETCELL(\"k.txt\", 10, \"S235\")"), "found");
  EXPECT_EQ(text("=GETCELL(\"\"\"k.txt\"\"\", 10, \"\"\"s235\"\"\")"), "found");  // quotes, case
  EXPECT_EQ(text("=GETCELL(\"k.txt\", 12.5)"), "one key");
  // The first argument that is neither number nor text (an empty cell) ends the key.
  EXPECT_EQ(text("=GETCELL(\"k.txt\", 12.5, Z9, \"ignored\")"), "one key");
  EXPECT_TRUE(eval("=GETCELL(\"k.txt\", 10, \"S355\")").isEmpty());  // an empty value
  EXPECT_FALSE(failed);
  EXPECT_TRUE(fails("=GETCELL(\"k.txt\", \"single\")"));  // a row of one cell
  EXPECT_TRUE(fails("=GETCELL(\"k.txt\", 11)"));
  EXPECT_TRUE(fails("=GETCELL(\"none.txt\", 10)"));
  EXPECT_TRUE(fails("=GETCELL(5, 10)"));
  data("comments.txt", "// nothing\n//\tbut comments\n\n");
  EXPECT_TRUE(fails("=GETCELL(\"comments.txt\", \"\")"));
  data("empty.txt", "");
  EXPECT_TRUE(fails("=GETCELL(\"empty.txt\", \"\")"));
}

TEST_F(StandardsFormulas, GetCellOnLongLinesAndLargeFiles) {
  std::string file;
  for (int i = 0; i < 3000; ++i) file += "k" + std::to_string(i) + "\tv" + std::to_string(i) + "\n";
  file += "long\t" + std::string(100000, 'x') + "\n";
  data("big.txt", file);
  EXPECT_EQ(text("=GETCELL(\"big.txt\", \"k2999\")"), "v2999");
  EXPECT_EQ(text("=GETCELL(\"big.txt\", \"long\")").size(), 100000u);
}

TEST_F(StandardsFormulas, GetProfCellComparesSystemSectionNames) {
  data("p.txt", "IPE 200\tby user name\nHEA-200\tby full name\nplain\tnot a section\n");
  EXPECT_EQ(text("=GETPROFCELL(\"p.txt\", \"IPE-200\")"), "by user name");
  EXPECT_EQ(text("=GETPROFCELL(\"p.txt\", \"hea-200\")"), "by full name");
  EXPECT_EQ(text("=GETPROFCELL(\"p.txt\", \"plain\")"), "not a section");
  EXPECT_TRUE(fails("=GETPROFCELL(\"p.txt\", \"IPE 200\")"));  // the key is not translated
}

TEST_F(StandardsFormulas, SectionSizeAndSystemName) {
  EXPECT_EQ(number("=SECTIONSIZE(\"HEA 200\", 1)"), 190);
  EXPECT_EQ(number("=SECTIONSIZE(\"HEA-200\", 2.9)"), 200);  // b; the index is truncated
  EXPECT_EQ(number("=SECTIONSIZE(\"\"\"IPE 200\"\"\", 1)"), 200);
  EXPECT_TRUE(fails("=SECTIONSIZE(\"HEA 200\", 0)"));
  EXPECT_TRUE(fails("=SECTIONSIZE(\"HEA 200\", -1)"));
  EXPECT_TRUE(fails("=SECTIONSIZE(\"HEA 200\", 99)"));
  EXPECT_TRUE(fails("=SECTIONSIZE(\"XYZ 1\", 1)"));

  EXPECT_EQ(text("=GETSYSNAME(\"IPE 200\")"), "IPE-200");
  EXPECT_EQ(text("=GETSYSNAME(\"\"\"hea-200\"\"\")"), "HEA-200");
  EXPECT_EQ(text("=GETSYSNAME(\"no section\")"), "no section");
  EXPECT_TRUE(fails("=GETSYSNAME(5)"));
}

TEST_F(StandardsFormulas, ThicknessWithTolerance) {
  data("t.txt", "// plate thicknesses\n0x8\n0x10\n0x12\n");
  EXPECT_EQ(number("=STDTHICKNESSWITHTOLERANCE(\"t.txt\", 5, 10.5, 1, 1)"), 10);
  EXPECT_EQ(number("=STDTHICKNESSWITHTOLERANCE(\"t.txt\", 5, 11, 1, 1)"), 10);
  EXPECT_EQ(number("=STDTHICKNESSWITHTOLERANCE(\"t.txt\", 5, 11.8, 1, 1)"), 12);
  // Nothing within the tolerances: rounded to the step.
  EXPECT_EQ(number("=STDTHICKNESSWITHTOLERANCE(\"t.txt\", 5, 31, 2, 2)"), 30);
  // A missing file only means no standard sizes.
  EXPECT_EQ(number("=STDTHICKNESSWITHTOLERANCE(\"none.txt\", 5, 10.5, 1, 1)"), 10);
  EXPECT_TRUE(fails("=STDTHICKNESSWITHTOLERANCE(\"t.txt\", 5, \"10\", 1, 1)"));
  EXPECT_TRUE(fails("=STDTHICKNESSWITHTOLERANCE(8, 5, 10, 1, 1)"));
}

TEST_F(StandardsFormulas, WidthAndSizeWithTolerance) {
  data("w.txt", "100x10\n120x12\n140\n");
  // Thickness 10 takes 100 and 140; 120 belongs to thickness 12.
  EXPECT_EQ(number("=STDWIDTHWITHTOLERANCE(\"w.txt\", 5, 10, 120, 30, 30)"), 100);
  EXPECT_EQ(number("=STDWIDTHWITHTOLERANCE(\"w.txt\", 5, 10, 125, 30, 30)"), 140);
  EXPECT_EQ(number("=STDWIDTHWITHTOLERANCE(\"w.txt\", 5, 12, 125, 30, 30)"), 120);
  EXPECT_EQ(number("=STDSIZEWITHTOLERANCE(\"w.txt\", 5, 125, 30, 30)"), 120);
  EXPECT_EQ(number("=STDSIZEWITHTOLERANCE(\"w.txt\", 5, 180, 10, 10)"), 180);  // rounded
}

TEST_F(StandardsFormulas, SizeWithToleranceRoundsUpWhenNothingMayGoDown) {
  EXPECT_EQ(number("=STDSIZEWITHTOLERANCE(\"none.txt\", 5, 12.2, 0, 3)"), 15)
      << "10 lies below the value although the down tolerance is 0";
}

TEST_F(StandardsFormulas, InvalidTolerancesShowTheMessageAndStillGiveAResult) {
  krv::win::ScriptedUserInterface ui;
  krv::win::ScopedUserInterface use(ui);
  ui.answerMessageBox(IDOK, L"Invalid tolerances");
  EXPECT_EQ(number("=STDSIZEWITHTOLERANCE(\"none.txt\", 5, 12, -3, 1)"), 15);
  ASSERT_EQ(ui.messageBoxes().size(), 1u);
  EXPECT_EQ(ui.messageBoxes()[0].text,
            L"Invalid tolerances provided.\n DownTolerance is :-3.00UpTolerance is :1.00"
            L"\nAdding both tolerances should result in a positive value.");
  EXPECT_EQ(ui.messageBoxes()[0].type, static_cast<UINT>(MB_OK | MB_ICONEXCLAMATION));
  EXPECT_TRUE(ui.errors().empty()) << ui.report();

  Krv_Settings::current().setCalcMessages(false);
  EXPECT_EQ(number("=STDSIZEWITHTOLERANCE(\"none.txt\", 5, 12, 0, 0)"), 12);
  EXPECT_EQ(ui.messageBoxes().size(), 1u);
}

TEST_F(StandardsFormulas, ArrayItemsAndConversions) {
  EXPECT_EQ(text("=GETARRAYITEM(\"a;b;c\", 2)"), "b");
  EXPECT_EQ(text("=GETARRAYITEM(\"\"\"a;b;c\"\"\", 3.7)"), "c");
  EXPECT_TRUE(eval("=GETARRAYITEM(\"a;b;c\", 4)").isEmpty());
  EXPECT_FALSE(failed);
  EXPECT_TRUE(eval("=GETARRAYITEM(\"a;b;c\", 0)").isEmpty());
  EXPECT_FALSE(failed);
  EXPECT_TRUE(fails("=GETARRAYITEM(\"a;b;c\", \"2\")"));

  EXPECT_EQ(number("=TONUMBER(\"5\")"), 5);
  EXPECT_EQ(number("=TONUMBER(\"\"\"12.5mm\"\"\")"), 12.5);
  EXPECT_EQ(number("=TONUMBER(\"abc\")"), 0);
  EXPECT_TRUE(fails("=TONUMBER(5)"));
  EXPECT_TRUE(fails("=TONUMBER(Z9)"));
}

TEST_F(StandardsFormulas, IsNullAndIsPositive) {
  EXPECT_EQ(number("=ISNULL(\"\")"), 1);
  EXPECT_EQ(number("=ISNULL(\"\"\"\"\"\")"), 1);  // a text of two quotes only
  EXPECT_EQ(number("=ISNULL(0)"), 1);
  EXPECT_EQ(number("=ISNULL(Z9)"), 1);
  EXPECT_EQ(number("=ISNULL(\"x\")"), 0);
  EXPECT_EQ(number("=ISNULL(-2)"), 0);
  EXPECT_TRUE(fails("=ISNULL(1/0)"));

  EXPECT_EQ(number("=ISPOSITIVE(\"-3\")"), 0);
  EXPECT_EQ(number("=ISPOSITIVE(\"4\")"), 1);
  EXPECT_EQ(number("=ISPOSITIVE(\"\")"), 0);
  EXPECT_EQ(number("=ISPOSITIVE(Z9)"), 0);
  EXPECT_EQ(number("=ISPOSITIVE(0.5)"), 1);
  EXPECT_EQ(number("=ISPOSITIVE(0)"), 0);
  EXPECT_TRUE(fails("=ISPOSITIVE(1/0)"));
}

TEST_F(StandardsFormulas, SampleLibraryData) {
  Krv_Settings::setLibDir(kSampleLibrary);
  EXPECT_EQ(text("=GETCELL(\"Bolts.txt\", 16, \"8.8\", \"hole\")"), "18");
  EXPECT_EQ(number("=STDTHICKNESSWITHTOLERANCE(\"PlateThicknesses.txt\", 1, 11, 1, 2)"), 10);
  EXPECT_EQ(number("=STDWIDTHWITHTOLERANCE(\"PlateSizes.txt\", 10, 12, 178, 5, 5)"), 180);
  EXPECT_EQ(number("=STDWIDTHWITHTOLERANCE(\"PlateSizes.txt\", 10, 8, 138, 5, 5)"), 140);
  EXPECT_EQ(number("=SECTIONSIZE(\"HEB 300\", 1)"), 300);
  EXPECT_EQ(text("=GETPROFCELL(\"EndPlates.txt\", GETSYSNAME(\"IPE 300\"))"), "15");
  EXPECT_EQ(text("=GETPROFCELL(\"EndPlates.txt\", \"HEB-220\")"), "20");
}

// The calling convention as the control sees it, without the sheet.
TEST(StandardsCallbacks, ResultIsEmptiedAndTooFewArgumentsFail) {
  FunctionValue result;
  result.setDouble(7);
  FunctionValue args[1];
  args[0].setDouble(3);
  EXPECT_FALSE(krv::standards::roundTo(result, args, 1));
  EXPECT_EQ(result.status, FunctionValue::Status::Empty);
  EXPECT_EQ(result.type, FunctionValue::Type::Long);
  EXPECT_FALSE(krv::standards::isNull(result, nullptr, 0));

  args[0].setLong(0);  // a long is a number
  ASSERT_TRUE(krv::standards::isNull(result, args, 1));
  EXPECT_EQ(result.doubleValue, 1);

  args[0].setEmpty();
  ASSERT_TRUE(args[0].setString("\"IPE 200\""));
  ASSERT_TRUE(krv::standards::getSysName(result, args, 1));  // unknown: the text itself
  Krv_String out;
  ASSERT_TRUE(getGlobalStr(result.stringHandle, out));
  EXPECT_EQ(out, L"IPE 200");

  args[0].stringHandle = 0;  // a handle that reads nothing is no text
  EXPECT_FALSE(krv::standards::toNumber(result, args, 1));
}

TEST(StandardsCallbacks, RegisteredInTableOrder) {
  const char* names[] = {"ROUNDTO",
                         "GETCELL",
                         "GETPROFCELL",
                         "SECTIONSIZE",
                         "GETSYSNAME",
                         "STDWIDTHWITHTOLERANCE",
                         "STDTHICKNESSWITHTOLERANCE",
                         "STDSIZEWITHTOLERANCE",
                         "GETARRAYITEM",
                         "TONUMBER",
                         "ISNULL",
                         "ISPOSITIVE"};
  const int counts[][2] = {{2, 2}, {2, 7}, {2, 7}, {2, 2}, {1, 1}, {6, 6},
                           {5, 5}, {5, 5}, {2, 2}, {1, 1}, {1, 1}, {1, 1}};
  const auto& table = krv::standards::standardsFunctions();
  for (size_t i = 0; i < table.size(); ++i) {
    EXPECT_STREQ(table[i].name, names[i]);
    EXPECT_EQ(table[i].minArgs, counts[i][0]) << names[i];
    EXPECT_EQ(table[i].maxArgs, counts[i][1]) << names[i];
    EXPECT_EQ(table[i].flags, 0u);
  }
  krv::sheet::CustomFunctionTable functions;
  ASSERT_TRUE(krv::standards::registerStandardsFunctions(functions));
  EXPECT_EQ(functions.size(), 12u);
  ASSERT_NE(functions.find("getcell"), nullptr);
}

TEST_F(StandardsFormulas, TextsPassedAndReturnedLeaveNoHandlesBehind) {
  data("k.txt", "a\tb\n");
  const size_t before = krv::sheet::StringHandles::global().size();
  text("=GETCELL(\"k.txt\", \"a\")");
  text("=GETSYSNAME(\"IPE 200\")");
  eval("=GETCELL(\"k.txt\", \"missing\")");
  EXPECT_EQ(krv::sheet::StringHandles::global().size(), before);
}

}  // namespace
