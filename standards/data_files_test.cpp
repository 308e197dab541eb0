#include "standards/data_files.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <filesystem>

#include "platform/core/krv_settings.h"
#include "platform/core/temp_folder_for_tests.h"

namespace {

using namespace krv::standards;

class DataFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    Krv_Settings::setLibDir(lib.text());
    clockAhead = std::chrono::nanoseconds::zero();
    krv::standards::setDataFileClock(&testClock);
  }
  void TearDown() override {
    Krv_Settings::setLibDir(L"");
    krv::standards::setDataFileCacheEnabled(true);
    krv::standards::setDataFileClock(nullptr);
  }
  // The system clock, put forward by clockAhead, so that a test can age its
  // files without waiting.
  static std::int64_t testClock() {
    const auto now = std::chrono::system_clock::now().time_since_epoch() + clockAhead.load();
    return std::chrono::duration_cast<std::chrono::nanoseconds>(now).count();
  }
  // Files are kept parsed only once they have been left unchanged for a
  // while (two seconds, see data_files.h): ten seconds leaves no doubt.
  static void waitUntilSettled() { clockAhead = std::chrono::seconds(10); }
  static void backToNow() { clockAhead = std::chrono::nanoseconds::zero(); }
  static inline std::atomic<std::chrono::nanoseconds> clockAhead{};
  TempFolder lib;
};

TEST_F(DataFiles, ResolvesTheNameThenDataThenStandardsThenLibrary) {
  lib.writeBytes("Connection Standards/Data/a.txt", "1");
  lib.writeBytes("Connection Standards/a.txt", "2");
  lib.writeBytes("a.txt", "3");
  lib.writeBytes("Connection Standards/b.txt", "4");
  lib.writeBytes("c.txt", "5");
  std::filesystem::create_directories(lib.path() / "Connection Standards/Data/c.txt");  // a folder
  Krv_String path;
  ASSERT_TRUE(findDataFile(L"a.txt", path));
  EXPECT_TRUE(path.endsWith(L"Connection Standards\\Data\\a.txt"));
  ASSERT_TRUE(findDataFile(L"b.txt", path));
  EXPECT_TRUE(path.endsWith(L"Connection Standards\\b.txt"));
  ASSERT_TRUE(findDataFile(L"c.txt", path));
  EXPECT_EQ(path, lib.text("c.txt"));
  ASSERT_TRUE(findDataFile(lib.text("Connection Standards/a.txt"), path));  // a full name as it is
  EXPECT_EQ(path, lib.text("Connection Standards/a.txt"));
  EXPECT_FALSE(findDataFile(L"", path));
  EXPECT_FALSE(findDataFile(L"missing.txt", path));
  Krv_Settings::setLibDir(L"");
  EXPECT_FALSE(findDataFile(L"b.txt", path));
}

TEST(LookupLines, CommentsBlankLinesAndTabs) {
  LookupTable t;
  krv::standards::parseLookupLines(
      Krv_StringArray{L"// header", L"k1\tv1\textra", L"   ", L"K1\tsecond", L"k2\tv2 // note",
                      L"//\tx", L"lonely", L""},
      t);
  ASSERT_EQ(t.rows.length(), 5);
  EXPECT_EQ(t.rows[0], (Krv_StringArray{L"k1", L"v1", L"extra"}));
  EXPECT_EQ(t.rows[1], (Krv_StringArray{L"   "}));  // blanks are not empty
  EXPECT_EQ(t.rows[3], (Krv_StringArray{L"k2", L"v2 "}));
  EXPECT_EQ(t.findKey(L"K1"), 0);  // first of the keys equal ignoring case
  EXPECT_EQ(t.findKey(L"k2"), 3);
  EXPECT_EQ(t.findKey(L"lonely"), 4);
  EXPECT_EQ(t.findKey(L"v1"), -1);
}

TEST(StdSizeLines, BothLineFormsAndBothCommentForms) {
  StdSizes s;
  krv::standards::parseStdSizeLines(
      Krv_StringArray{L"/* sizes */", L"100x10", L"140", L"  120x12 // flat",
                      L"/*a*/160/*b*/x/*c*/15", L"280  /* cut */", L"   ", L"abc", L"0x8",
                      L"200 /* open"},
      s);
  EXPECT_EQ(s.widths, (Krv_Array<double>{100, 140, 120, 160, 280, 0, 0, 200}));
  EXPECT_EQ(s.thicknesses, (Krv_Array<double>{10, 0, 12, 15, 0, 0, 8, 0}));
}

TEST_F(DataFiles, StdSizesOfAMissingFileAreEmpty) {
  lib.writeBytes("Connection Standards/Data/s.txt", "100x10\n");
  Krv_Array<double> w{1}, t{1};
  EXPECT_TRUE(readStdSizes(L"s.txt", w, t));
  EXPECT_EQ(w, (Krv_Array<double>{100}));
  EXPECT_FALSE(readStdSizes(L"none.txt", w, t));
  EXPECT_TRUE(w.isEmpty());
  EXPECT_TRUE(t.isEmpty());
}

TEST_F(DataFiles, KeptFilesAreReadAgainWhenChanged) {
  const std::string rel = "Connection Standards/Data/k.txt";
  lib.writeBytes(rel, "key\told\n");
  waitUntilSettled();
  Krv_String path;
  ASSERT_TRUE(findDataFile(L"k.txt", path));
  auto first = readLookupTable(path);
  ASSERT_TRUE(first);
  EXPECT_EQ(readLookupTable(path), first);  // kept
  EXPECT_EQ(first->rows[0][1], L"old");

  backToNow();
  lib.writeBytes(rel, "key\tnew\n");  // same size, written now
  auto second = readLookupTable(path);
  ASSERT_TRUE(second);
  EXPECT_EQ(second->rows[0][1], L"new");
  EXPECT_EQ(readLookupTable(path)->rows[0][1], L"new");  // recent: never kept stale

  std::filesystem::remove(lib.path() / rel);
  EXPECT_FALSE(readLookupTable(path));

  lib.writeBytes(rel, "key\tagain\n");
  krv::standards::setDataFileCacheEnabled(false);
  EXPECT_EQ(readLookupTable(path)->rows[0][1], L"again");
  EXPECT_NE(readLookupTable(path), readLookupTable(path));  // parsed on every call
}

TEST_F(DataFiles, AFileChangedMomentsAgoIsNeverServedFromTheCache) {
  lib.writeBytes("recent.txt", "key\tvalue\n");
  Krv_String path;
  ASSERT_TRUE(findDataFile(L"recent.txt", path));
  // Another change within the file system's time granularity could leave
  // the stamp as it is, so a kept copy could go stale unseen.
  auto first = readLookupTable(path);
  ASSERT_TRUE(first);
  EXPECT_NE(readLookupTable(path).get(), first.get())
      << "written just now: parsed again on every call";

  waitUntilSettled();
  auto settled = readLookupTable(path);
  EXPECT_EQ(readLookupTable(path).get(), settled.get()) << "unchanged for long enough: kept";
}

}  // namespace
