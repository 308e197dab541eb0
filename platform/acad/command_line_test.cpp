#include "platform/acad/command_line.h"

#include <gtest/gtest.h>

#include "platform/acad/ac_array.h"
#include "platform/acad/acad_status.h"

TEST(CommandLine, PercentSTakesWideStringsAndOutputIsCaptured) {
  acad::CommandLineCapture cap;
  const wchar_t* name = L"Bolt\u2022";
  acutPrintf(L"**** Control %s ****\n", name);
  acutPrintf(L"Left: %f - Right: %f\n", 1.5, 2.0);
  acutPrintf(L"%c%d%%%-4s|\n", L'x', 7, L"ab");
  acutPrintf(L"%hs\n", "narrow");
  EXPECT_EQ(cap.text(),
            L"**** Control Bolt\u2022 ****\nLeft: 1.500000 - Right: 2.000000\nx7%ab  |\nnarrow\n");
}

TEST(CommandLine, LongOutputIsNotTruncated) {
  acad::CommandLineCapture cap;
  std::wstring big(5000, L'q');
  acutPrintf(L"%s!", big.c_str());
  EXPECT_EQ(cap.text().size(), 5001u);
}

TEST(CommandLine, CaptureRestoresPreviousSink) {
  std::wstring outer;
  auto prev = acad::setCommandLineSink([&](const std::wstring& t) { outer += t; });
  {
    acad::CommandLineCapture inner;
    acutPrintf(L"inner");
    EXPECT_EQ(inner.text(), L"inner");
  }
  acutPrintf(L"outer");
  acad::setCommandLineSink(prev);
  EXPECT_EQ(outer, L"outer");
}

TEST(CommandLine, PostCommandPromptIsCounted) {
  acad::resetPostedCommandPrompts();
  acedPostCommandPrompt();
  acedPostCommandPrompt();
  EXPECT_EQ(acad::postedCommandPrompts(), 2);
}

TEST(AcArrayTest, AppendRemoveAtAndGrowStep) {
  AcArray<int> a(0, 5);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(a.append(i * 10), i);
  EXPECT_EQ(a.length(), 6);
  EXPECT_EQ(a.logicalLength(), 6);
  EXPECT_EQ(a.physicalLength(), 10);  // two grow steps of 5
  a.removeAt(0);
  EXPECT_EQ(a.at(0), 10);
  EXPECT_EQ(a.length(), 5);
  EXPECT_THROW(a.at(5), std::out_of_range);
  EXPECT_THROW(a.removeAt(-1), std::out_of_range);
  // Appending many elements grows storage geometrically, in whole steps.
  AcArray<int> big(0, 8);
  int reallocations = 0;
  const int* data = nullptr;
  for (int i = 0; i < 100000; ++i) {
    big.append(i);
    if (big.asArrayPtr() != data) ++reallocations, data = big.asArrayPtr();
  }
  EXPECT_LT(reallocations, 60);
  EXPECT_EQ(big.physicalLength() % 8, 0);
  a.setLogicalLength(2);
  EXPECT_EQ(a.length(), 2);
  a.setLogicalLength(4);
  EXPECT_EQ(a.at(3), 0);
  EXPECT_EQ(a.find(20), 1);
  EXPECT_TRUE(a.remove(20));
  EXPECT_FALSE(a.remove(999));
}

TEST(AcArrayTest, InsertAtAcceptsEveryPositionUpToTheEndAndNoFurther) {
  AcArray<int> a{10, 20};
  a.insertAt(0, 5);
  a.insertAt(a.length(), 30);  // the end is a valid position: it appends
  a.insertAt(2, 15);
  EXPECT_EQ(a, (AcArray<int>{5, 10, 15, 20, 30}));
  EXPECT_THROW(a.insertAt(a.length() + 1, 99), std::out_of_range);
  EXPECT_THROW(a.insertAt(-1, 99), std::out_of_range);
  EXPECT_EQ(a.length(), 5) << "a refused insert changes nothing";
}

TEST(AcArrayTest, EndsOfAnEmptyArrayThrowInsteadOfReadingOutside) {
  AcArray<int> empty;
  EXPECT_THROW(empty.first(), std::out_of_range);
  EXPECT_THROW(empty.last(), std::out_of_range);
  EXPECT_THROW(empty.removeLast(), std::out_of_range);
  EXPECT_THROW(empty.removeFirst(), std::out_of_range);
  const AcArray<int> one{7};
  EXPECT_EQ(one.last(), 7);
  EXPECT_EQ(one.first(), 7);
}

TEST(AcArrayTest, ShrinkingThePhysicalLengthDropsTheElementsBeyondIt) {
  AcArray<int> a{1, 2, 3, 4};
  a.setPhysicalLength(2);
  EXPECT_EQ(a, (AcArray<int>{1, 2}));
  a.setPhysicalLength(10);
  EXPECT_EQ(a.length(), 2) << "growing the storage adds no elements";
  EXPECT_GE(a.physicalLength(), 10);
}

TEST(AcArrayTest, BoolArrayHoldsFlags) {
  AcArray<bool> flags;
  flags.append(true);
  flags.append(false);
  EXPECT_TRUE(flags.at(0));
  EXPECT_FALSE(flags[1]);
  flags.setAt(1, true);
  EXPECT_TRUE(flags.at(1));
  EXPECT_EQ(flags.length(), 2);
}

TEST(ErrorStatus, NumbersPassThrough) {
  EXPECT_EQ(static_cast<int>(Acad::eOk), 0);
  EXPECT_EQ(static_cast<int>(Acad::eInvalidInput), 3);
  auto other = static_cast<Acad::ErrorStatus>(337);
  EXPECT_EQ(static_cast<int>(other), 337);
}
