#include "platform/base/status.h"

#include <gtest/gtest.h>

namespace {

using krv::base::Result;
using krv::base::Status;

TEST(Status, SuccessAndErrorsSayWhatAndWhere) {
  const Status ok;
  EXPECT_TRUE(ok.ok());
  EXPECT_EQ(ok.text(), "");
  const Status plain = Status::error("no such sheet");
  EXPECT_FALSE(plain.ok());
  EXPECT_EQ(plain.text(), "no such sheet");
  const Status inFile =
      Status::fileError("a/macro.json", "a number is expected", "variables[0].value");
  EXPECT_EQ(inFile.text(), "a/macro.json: variables[0].value: a number is expected");
  EXPECT_EQ(Status::fileError("x.json", "truncated").text(), "x.json: truncated");
}

TEST(Status, PlacesJoinLikeJsonPathsAndTheFirstFileStays) {
  const Status inner = Status::error("a number is expected").within("value");
  EXPECT_EQ(inner.within("[0]").within("variables").within("modules[0]").within("macro").place(),
            "macro.modules[0].variables[0].value");
  EXPECT_EQ(inner.inFile("m.json").inFile("other.json").path(), "m.json");
  EXPECT_TRUE(Status().within("x").ok());
  EXPECT_TRUE(Status().inFile("x").ok());
}

TEST(Status, ResultsHoldAValueOrTheError) {
  Result<int> seven = 7;
  ASSERT_TRUE(seven.ok());
  EXPECT_EQ(*seven, 7);
  EXPECT_TRUE(seven.status().ok());
  Result<int> failed = Status::error("bad");
  EXPECT_FALSE(failed.ok());
  EXPECT_EQ(failed.status().text(), "bad");
  EXPECT_EQ(failed.valueOr(3), 3);
  Result<int> misused = Status();
  EXPECT_FALSE(misused.ok()) << "a success status cannot stand for a value";
  EXPECT_EQ(misused.status().message(), "no value");
}

TEST(Status, TheBoolBoundaryGivesTheText) {
  std::string error = "untouched";
  EXPECT_TRUE(krv::base::reportTo(Status(), error));
  EXPECT_EQ(error, "untouched");
  EXPECT_FALSE(krv::base::reportTo(Status::fileError("f", "bad", "line 2"), error));
  EXPECT_EQ(error, "f: line 2: bad");
  EXPECT_FALSE(krv::base::reportTo(Status::error("x"), nullptr));
}

}  // namespace
