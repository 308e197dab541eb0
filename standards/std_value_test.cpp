#include "standards/std_value.h"

#include <gtest/gtest.h>

#include <cmath>

namespace {

using namespace krv::standards;

TEST(FindStdValue, NearestAcceptableCandidateWithTiesGoingDown) {
  const Krv_Array<double> sizes{8, 10, 12};
  double found = 0;
  ASSERT_TRUE(findStdValue(sizes, 1, 1, 10.5, found));  // 10 at 0.5 beats 12 at 1.5
  EXPECT_EQ(found, 10);
  ASSERT_TRUE(findStdValue(sizes, 1, 1, 11, found));  // both at 1: the lower
  EXPECT_EQ(found, 10);
  ASSERT_TRUE(findStdValue(sizes, 1, 1, 11.8, found));
  EXPECT_EQ(found, 12);
  ASSERT_TRUE(findStdValue(sizes, 0, 0, 10, found));  // an exact size counts as lower
  EXPECT_EQ(found, 10);
}

TEST(FindStdValue, FallsBackToTheFartherSideOrFindsNothing) {
  double found = -1;
  // The lower one is nearer but beyond the down tolerance.
  ASSERT_TRUE(findStdValue(Krv_Array<double>{10, 12}, 0.2, 2, 10.4, found));
  EXPECT_EQ(found, 12);
  // The upper one is nearer but beyond the up tolerance.
  ASSERT_TRUE(findStdValue(Krv_Array<double>{10, 12}, 2, 0.5, 11.2, found));
  EXPECT_EQ(found, 10);
  found = -1;
  EXPECT_FALSE(findStdValue(Krv_Array<double>{8, 14}, 1, 1, 11, found));
  EXPECT_FALSE(findStdValue(Krv_Array<double>{}, 1, 1, 11, found));
  EXPECT_EQ(found, -1);
}

TEST(RoundDownTo, GoesToTheMultipleAtOrBelow) {
  EXPECT_EQ(roundDownTo(12, 5), 10);
  EXPECT_EQ(roundDownTo(13, 5), 10);
  EXPECT_EQ(roundDownTo(15, 5), 15);
  EXPECT_EQ(roundDownTo(-12, 5), -15);
  EXPECT_EQ(roundDownTo(7.3, 0), 7.3);
}

TEST(RoundWithinTolerance, TakesTheNearerAcceptableRounding) {
  // Up to 15 is 3 away, down to 10 is 2 away and within the down tolerance.
  EXPECT_EQ(roundWithinTolerance(12, 5, 0.5, 3), 10);
  // Rounding up by the tolerance of ObjectExportRoundUp: 31 lies 1 above 30.
  EXPECT_EQ(roundWithinTolerance(31, 5, 2, 2), 30);
  // Up to 15 within up 2, down to 10 beyond down 1.
  EXPECT_EQ(roundWithinTolerance(13, 5, 2, 1), 15);
  // Neither rounding fits: the value itself.
  EXPECT_EQ(roundWithinTolerance(12, 5, 1, 1), 12);
  // Tolerances that exclude the value clamp it first (low 15 > high 13).
  EXPECT_EQ(roundWithinTolerance(12, 5, 1, -3), 15);
}

TEST(RoundWithinTolerance, RoundingUpNeverGoesBelowTheValue) {
  // 12.2 lies within the up tolerance above 10, but nothing may go down.
  EXPECT_EQ(roundWithinTolerance(12.2, 5, 3, 0), 15);
  EXPECT_EQ(roundWithinTolerance(10.4, 5, 0.5, 0), 10.4)
      << "15 is beyond the up tolerance, 10 below the value";
}

TEST(RoundWithinTolerance, AMultipleWithinTheTolerancesIsAlwaysFound) {
  // Whenever a multiple of the step lies in [value - down, value + up], the
  // result lies there too.
  const double steps[] = {5, 2.5, 0.5, -5};
  const double downs[] = {0, 0.5, 2, 3};
  const double ups[] = {0, 1, 3};
  for (int tenths = 0; tenths <= 300; ++tenths) {
    const double value = tenths / 10.0;
    for (double step : steps)
      for (double down : downs)
        for (double up : ups) {
          const double low = value - down, high = value + up, size = std::fabs(step);
          const double firstMultiple = std::ceil(low / size - 1e-9) * size;
          if (firstMultiple > high + 1e-9) continue;
          const double result = roundWithinTolerance(value, step, up, down);
          EXPECT_GE(result, low - 1e-9)
              << value << " step " << step << " down " << down << " up " << up;
          EXPECT_LE(result, high + 1e-9)
              << value << " step " << step << " down " << down << " up " << up;
        }
  }
}

}  // namespace
