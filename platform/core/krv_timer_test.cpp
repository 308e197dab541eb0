#include "platform/core/krv_timer.h"

#include <gtest/gtest.h>

#include <thread>

TEST(KrvTimer, AccumulatesPairsAndScopedTimersEnd) {
  Krv_Timer t(L"gCalcMain");
  t.end();  // without start: ignored
  EXPECT_EQ(t.count(), 0);
  for (int i = 0; i < 3; ++i) {
    Krv_FunctionTimer scope(t);
    EXPECT_TRUE(t.isRunning());
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  EXPECT_FALSE(t.isRunning());
  EXPECT_EQ(t.count(), 3);
  EXPECT_GE(t.seconds(), 0.006);
  EXPECT_NEAR(t.meanSeconds(), t.seconds() / 3, 1e-12);
  EXPECT_TRUE(t.report().startsWith(L"gCalcMain: count 3, total 0.0"));
  t.reset();
  EXPECT_EQ(t.count(), 0);
  EXPECT_EQ(t.meanSeconds(), 0.0);
}
