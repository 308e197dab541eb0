#include "platform/core/list_output.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// Records every call as one line.
class RecordingOutput : public Krv_ListOutputCallback {
 public:
  std::vector<std::string> calls;
  Acad::ErrorStatus startResult = Acad::eOk;
  Acad::ErrorStatus endResult = Acad::eOk;

  Acad::ErrorStatus onStartFeed() override {
    calls.push_back("start");
    return startResult;
  }
  Acad::ErrorStatus onEndFeed() override {
    calls.push_back("end");
    return endResult;
  }
  void onAddRow(const Krv_StringArray& cells) override { calls.push_back("row " + join(cells)); }
  void onAddSubTotals(const Krv_StringArray& cells, const Krv_StringArray& group, bool grand,
                      int level) override {
    calls.push_back("subtotals " + join(cells) + " of " + join(group) + (grand ? " grand " : " ") +
                    std::to_string(level));
  }

 private:
  static std::string join(const Krv_StringArray& cells) {
    std::string text;
    for (int i = 0; i < cells.length(); ++i) text += (i ? "|" : "") + cells[i].utf8();
    return text;
  }
};

Krv_ListEntry row(Krv_StringArray cells) {
  return {Krv_ListEntry::kRow, std::move(cells), {}, false, 0};
}

TEST(ListOutput, FeedCallsTheOutputInListOrder) {
  RecordingOutput output;
  output.endResult = Acad::eInvalidInput;
  const std::vector<Krv_ListEntry> entries = {
      row({L"1", L"IPE200"}),
      {Krv_ListEntry::kNewPage, {}, {}, false, 0},
      row({L"2", L"HEA100"}),
      {Krv_ListEntry::kSeparation, {}, {}, false, 0},
      {Krv_ListEntry::kSubTotals, {L"", L"12.5"}, {L"2", L"HEA100"}, true, 1},
  };
  EXPECT_EQ(feedList(output, entries), Acad::eInvalidInput) << "the feed gives onEndFeed's result";
  // The page and separation entries reach the base class, which ignores them.
  EXPECT_THAT(output.calls, ::testing::ElementsAre("start", "row 1|IPE200", "row 2|HEA100",
                                                   "subtotals |12.5 of 2|HEA100 grand 1", "end"));
}

TEST(ListOutput, FailedStartStopsTheFeed) {
  RecordingOutput output;
  output.startResult = static_cast<Acad::ErrorStatus>(337);
  EXPECT_EQ(feedList(output, {row({L"1"})}), 337);
  EXPECT_THAT(output.calls, ::testing::ElementsAre("start"))
      << "no row and no end after a failed start";
}

TEST(ListOutput, BaseClassTakesEveryCallAndSucceeds) {
  Krv_ListOutputCallback base;
  EXPECT_EQ(feedList(base, {row({L"1"}), {Krv_ListEntry::kSubTotals, {L"1"}, {}, false, 2}}),
            Acad::eOk);
  EXPECT_EQ(feedList(base, {}), Acad::eOk);
}

TEST(ListOutput, ColumnKindsGiveTheirDecimals) {
  EXPECT_EQ(listColumnDecimals(kListColumnInteger), 0);
  EXPECT_EQ(listColumnDecimals(kListColumnDecimal), 1);
  EXPECT_EQ(listColumnDecimals(kListColumnText), -1) << "a text column is no number column";
  EXPECT_EQ(listColumnDecimals(0), -1);
  EXPECT_EQ(listColumnDecimals(4), -1) << "unknown kinds have no cell type";
}

}  // namespace
