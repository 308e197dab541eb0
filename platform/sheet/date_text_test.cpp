#include "platform/sheet/date_text.h"

#include <gtest/gtest.h>

#include "platform/sheet/cell_document.h"
#include "platform/sheet/formula_number_text.h"

namespace krv::sheet {
namespace {

// Serial numbers: 45000 is Wednesday 15 March 2023, 36526 Saturday
// 1 January 2000; a quarter of a day is 06:00.
struct Case {
  double serial;
  const char* pattern;
  const char* shown;
  const char* why;
};

TEST(DateText, DateCodesShowTheDateOfTheSerialNumber) {
  const Case cases[] = {
      {45000, "yyyy-mm-dd", "2023-03-15", ""},
      {45000, "dd.mm.yy", "15.03.23", ""},
      {45000, "m/d/yyyy", "3/15/2023", "single letters without leading zeros"},
      {45000, "d mmm yyyy", "15 Mar 2023", ""},
      {45000, "dddd, mmmm d", "Wednesday, March 15", ""},
      {45000, "ddd mmmmm", "Wed M", "five m: the month's first letter"},
      {45000, "YYYY-MM-DD", "2023-03-15", "codes ignore letter case"},
      {45000, "y", "23", "one y is the two-digit year"},
      {36526, "dddd d mmmm yyyy", "Saturday 1 January 2000", ""},
      {2958465, "yyyy-mm-dd", "9999-12-31", "the last date"},
      {45000, "\"Date:\" yyyy\\y", "Date: 2023y", "quoted and escaped literals"},
  };
  for (const Case& c : cases) {
    auto out = formatNumberPattern(c.serial, c.pattern);
    ASSERT_TRUE(out) << c.pattern;
    EXPECT_EQ(*out, c.shown) << c.serial << " " << c.pattern << " " << c.why;
  }
}

TEST(DateText, TheYear1900CountsA29February) {
  const Case cases[] = {
      {1, "yyyy-mm-dd dddd", "1900-01-01 Sunday", "serial 1 is a Sunday in this date system"},
      {59, "yyyy-mm-dd", "1900-02-28", ""},
      {60, "yyyy-mm-dd dddd", "1900-02-29 Wednesday", "the day that never was"},
      {61, "yyyy-mm-dd dddd", "1900-03-01 Thursday", "from here the weekdays are the real ones"},
      {0, "yyyy-mm-dd", "1900-01-00", "serial 0 is day 0 of January"},
  };
  for (const Case& c : cases) {
    auto out = formatNumberPattern(c.serial, c.pattern);
    ASSERT_TRUE(out) << c.pattern;
    EXPECT_EQ(*out, c.shown) << c.serial << " " << c.why;
  }
}

TEST(DateText, TimeCodesShowTheFractionOfTheDay) {
  const Case cases[] = {
      {0.5, "hh:mm:ss", "12:00:00", ""},
      {45000.25, "dd.mm.yyyy hh:mm", "15.03.2023 06:00", "mm after hh is minutes"},
      {0.75 + 5.0 / 1440, "h:mm AM/PM", "6:05 PM", ""},
      {0, "h:mm AM/PM", "12:00 AM", "midnight is 12 AM"},
      {0.5, "h AM/PM", "12 PM", "noon is 12 PM"},
      {0.25, "h A/P", "6 A", ""},
      {45000 + 7.0 / 1440, "m", "3", "a lone m is the month"},
      {7.0 / 1440 + 9.0 / 86400, "mm:ss", "07:09", "mm before ss is minutes"},
      {1.5, "[h]:mm", "36:00", "elapsed hours run past a day"},
      {2.0 / 24, "[hh]", "02", ""},
      {0.75, "[mm]", "1080", "elapsed minutes"},
      {1.0 / 24 + 1.0 / 86400, "[ss]", "3601", "elapsed seconds"},
      {1.0 / 86400 * 1.25, "ss.00", "01.25", "hundredths of a second"},
      {1.0 / 86400 * 0.6, "hh:mm:ss", "00:00:01", "rounded to whole seconds"},
  };
  for (const Case& c : cases) {
    auto out = formatNumberPattern(c.serial, c.pattern);
    ASSERT_TRUE(out) << c.pattern;
    EXPECT_EQ(*out, c.shown) << c.serial << " " << c.pattern << " " << c.why;
  }
}

TEST(DateText, OutOfRangeSerialsAreRefusedAndNumberPatternsStayNumbers) {
  EXPECT_FALSE(formatNumberPattern(-1, "yyyy-mm-dd")) << "no date before day 0";
  EXPECT_FALSE(formatNumberPattern(2958466, "yyyy")) << "after 31 December 9999";
  EXPECT_EQ(formatNumberPattern(-1, "0;yyyy"), "1900") << "a negative section formats |value|";
  EXPECT_EQ(formatNumberPattern(1234.5, "#,##0.00"), "1,234.50");
  EXPECT_EQ(formatNumberPattern(12, "0 \"days\""), "12 days") << "quoted letters are no codes";
  EXPECT_FALSE(isDateTimeSection("0.00E+00"));
  EXPECT_TRUE(isDateTimeSection("[h]"));
}

TEST(DateText, TextFunctionUsesTheCodes) {
  CellDocument doc;
  EXPECT_TRUE(doc.setCellText(1, 1, "45000.5"));
  ASSERT_TRUE(doc.setFormula(2, 1, "=TEXT(A1,\"yyyy-mm-dd hh:mm\")"));
  EXPECT_EQ(doc.valueText(2, 1), "2023-03-15 12:00");
  ASSERT_TRUE(doc.setFormula(2, 1, "=TEXT(-A1,\"yyyy\")"));
  EXPECT_EQ(doc.valueText(2, 1), "#VALUE!") << "a negative date";
}

}  // namespace
}  // namespace krv::sheet
