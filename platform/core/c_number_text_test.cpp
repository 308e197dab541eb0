#include "platform/core/c_number_text.h"

#include <gtest/gtest.h>

#include <clocale>
#include <cmath>
#include <locale>
#include <string>

#include "platform/core/krv_string.h"

namespace {

// Switches the process to a locale whose decimal separator is a comma (C
// library and C++ global locale) for the life of the object.
class CommaLocale {
 public:
  CommaLocale() {
    mOldC = std::setlocale(LC_ALL, nullptr);
    for (const char* name : {"de_DE.UTF-8", "de_DE.utf8", "nl_NL.UTF-8", "fr_FR.UTF-8"})
      if (std::setlocale(LC_ALL, name)) {
        mActive = std::localeconv()->decimal_point[0] == ',';
        break;
      }
    // The C++ global locale gets a comma even without an installed locale.
    struct Comma : std::numpunct<wchar_t> {
      wchar_t do_decimal_point() const override { return L','; }
    };
    mOldCpp = std::locale::global(std::locale(std::locale::classic(), new Comma));
  }
  ~CommaLocale() {
    std::setlocale(LC_ALL, mOldC.c_str());
    std::locale::global(mOldCpp);
  }
  bool active() const { return mActive; }

 private:
  std::string mOldC;
  std::locale mOldCpp;
  bool mActive = false;
};

}  // namespace

TEST(NumberToText, FixedDecimalsAndDroppingZeros) {
  EXPECT_EQ(Krv_String(12.5, 7), L"12.5000000");
  EXPECT_EQ(Krv_String(12.5, 0), L"12");  // exact tie: round half to even of the binary value
  EXPECT_EQ(Krv_String(13.5, 0), L"14");
  EXPECT_EQ(Krv_String(2.675, 2), L"2.67");  // 2.675 is 2.67499999... in binary
  EXPECT_EQ(Krv_String(1.005, 2), L"1.00");
  EXPECT_EQ(Krv_String(10.0, 6), L"10.000000");
  EXPECT_EQ(Krv_String(2.50, 2, true), L"2.5");
  EXPECT_EQ(Krv_String(3.0, 2, true), L"3");
  EXPECT_EQ(Krv_String(100.0, 0, true), L"100");  // zeros before the point stay
  EXPECT_EQ(Krv_String(-0.0001, 2), L"0.00");     // no "-0.00"
  EXPECT_EQ(Krv_String(-1.25, 1), L"-1.2");
  EXPECT_EQ(Krv_String(1e20, 2), L"100000000000000000000.00");
  EXPECT_EQ(Krv_String(0.1, 40).length(), 32);  // decimals capped at 30
  EXPECT_EQ(Krv_String(std::nan(""), 2), L"nan");
  EXPECT_EQ(Krv_String(7, 2), L"7.00");  // an int is a number, not a count
  EXPECT_EQ(Krv_String(L'-', 3), L"---");
}

TEST(NumberToText, IgnoresACommaLocale) {
  CommaLocale comma;
  if (!comma.active()) GTEST_SKIP() << "no locale with a decimal comma is installed";
  EXPECT_EQ(Krv_String(1234.5678, 2), L"1234.57");
  EXPECT_DOUBLE_EQ(_wtof(L"12.75"), 12.75);
  EXPECT_DOUBLE_EQ(_wtof(L"12,75"), 12.0);
  EXPECT_EQ(krv::core::shortestDouble(0.1), "0.1");
  double v = 0;
  EXPECT_TRUE(krv::core::parseDouble("2.5", v));
  EXPECT_EQ(v, 2.5);
}

TEST(TextToNumber, FollowsCLibraryRules) {
  EXPECT_DOUBLE_EQ(_wtof(L"  -12.5mm"), -12.5);
  EXPECT_DOUBLE_EQ(_wtof(L"1e3"), 1000.0);
  EXPECT_DOUBLE_EQ(_wtof(L"+.5"), 0.5);
  EXPECT_EQ(_wtof(L"abc"), 0.0);
  EXPECT_EQ(_wtof(L""), 0.0);
  EXPECT_EQ(_wtof(static_cast<const wchar_t*>(nullptr)), 0.0);
  EXPECT_EQ(_wtoi(L" 42abc"), 42);
  EXPECT_EQ(_wtoi(L"12.9"), 12);
  EXPECT_EQ(_wtoi(L"-7"), -7);
  EXPECT_EQ(_wtoi(L"x1"), 0);
  EXPECT_EQ(_wtoi(L"99999999999"), 2147483647);
  EXPECT_EQ(_wtoi(L"-99999999999"), -2147483647 - 1);
  EXPECT_EQ(_wtol(Krv_String(L"\t123456")), 123456L);
}

TEST(Rounding, RoundToWorksOnDecimalValues) {
  EXPECT_DOUBLE_EQ(ObjectExportRoundTo(2.15, 0.1), 2.2);
  EXPECT_DOUBLE_EQ(ObjectExportRoundTo(2.25, 0.1), 2.3);
  EXPECT_DOUBLE_EQ(ObjectExportRoundTo(-2.15, 0.1), -2.2);  // halves away from zero
  EXPECT_DOUBLE_EQ(ObjectExportRoundTo(1.005, 0.01), 1.01);
  EXPECT_DOUBLE_EQ(ObjectExportRoundTo(12.0, 5.0), 10.0);
  EXPECT_DOUBLE_EQ(ObjectExportRoundTo(12.5, 5.0), 15.0);
  EXPECT_DOUBLE_EQ(ObjectExportRoundTo(-12.5, 5.0), -15.0);
  EXPECT_DOUBLE_EQ(ObjectExportRoundTo(7.3, -2.0), 8.0);
  EXPECT_EQ(ObjectExportRoundTo(7.3, 0.0), 7.3);
  EXPECT_EQ(ObjectExportRoundTo(0.3, 0.1), 0.3);  // clean decimal result, not 0.30000000000000004
  EXPECT_DOUBLE_EQ(ObjectExportRoundTo(1e300, 0.1), 1e300);
  EXPECT_DOUBLE_EQ(ObjectExportRoundTo(123.456, 1e-9), 123.456);
}

TEST(Rounding, ResultsBeyondTheDoubleRangeAreInfiniteNotZero) {
  EXPECT_EQ(ObjectExportRoundTo(1.7e308, 1e308), HUGE_VAL) << "the nearest multiple is 2e308";
  EXPECT_EQ(ObjectExportRoundTo(-1.7e308, 1e308), -HUGE_VAL);
  EXPECT_EQ(ObjectExportRoundUp(1.5e308, 1e308, 0), HUGE_VAL);
}

TEST(Rounding, RoundUpWithTolerance) {
  EXPECT_DOUBLE_EQ(ObjectExportRoundUp(10.4, 5, 0.5), 10.0);
  EXPECT_DOUBLE_EQ(ObjectExportRoundUp(10.5, 5, 0.5), 10.0);
  EXPECT_DOUBLE_EQ(ObjectExportRoundUp(10.6, 5, 0.5), 15.0);
  EXPECT_DOUBLE_EQ(ObjectExportRoundUp(10.0, 5, 0.0), 10.0);
  EXPECT_DOUBLE_EQ(ObjectExportRoundUp(10.01, 5, 0.0), 15.0);
  EXPECT_DOUBLE_EQ(ObjectExportRoundUp(-7.0, 5, 0.0), -5.0);
  EXPECT_DOUBLE_EQ(ObjectExportRoundUp(2.3, 0.1, 0.0), 2.3);  // exact decimal multiple
  EXPECT_DOUBLE_EQ(ObjectExportRoundUp(2.31, 0.1, -1.0), 2.4);
  EXPECT_EQ(ObjectExportRoundUp(2.31, 0.0, 0.0), 2.31);
}
