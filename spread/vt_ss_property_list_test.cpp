#include "spread/vt_ss_property_list.h"

#include <gtest/gtest.h>

#include "platform/core/temp_folder_for_tests.h"

namespace {

constexpr char kSep = '\xA4';

std::string record(const std::string& name, int type, const std::string& value) {
  return name + kSep + std::to_string(type) + kSep + value + kSep;
}

TEST(VtSSPropertyList, WritesRecordsInListOrderWithTheirTypeCodes) {
  VtSSPropertyList list;
  list.setString(L"font", L"Arial");
  list.setInt(L"height", 13);
  list.setDouble(L"scale", 1.2345);
  list.setLong(L"count", 70000L);
  EXPECT_EQ(list.toText(), record("font", 4, "Arial") + record("height", 2, "13") +
                               record("scale", 1, "1.23") + record("count", 3, "70000"))
      << "a double is written with two decimals";
}

TEST(VtSSPropertyList, ReadingBackGivesTheTypedValues) {
  VtSSPropertyList list;
  list.addFromText(record("scale", 1, "1.2345") + record("n", 2, "-7") + record("l", 3, "123") +
                   record("s", 4, "a b") + record("odd", 9, "x"));
  double d = 0;
  ASSERT_TRUE(list.getDouble(L"scale", d));
  EXPECT_DOUBLE_EQ(d, 1.2345) << "reading does not round; writing does";
  int i = 0;
  ASSERT_TRUE(list.getInt(L"N", i)) << "names are found without regard to case";
  EXPECT_EQ(i, -7);
  long l = 0;
  ASSERT_TRUE(list.getLong(L"l", l));
  EXPECT_EQ(l, 123);
  Krv_String s;
  ASSERT_TRUE(list.getString(L"s", s));
  EXPECT_EQ(s, L"a b");
  ASSERT_NE(list.find(L"odd"), nullptr);
  EXPECT_EQ(list.find(L"odd")->type, VtSSPropertyList::kNone) << "an unknown code gives none";
  EXPECT_FALSE(list.getInt(L"s", i)) << "a value of another type is not given";
}

TEST(VtSSPropertyList, ADoubleRoundTripsWithTwoDecimals) {
  VtSSPropertyList list;
  list.setDouble(L"v", 1.2345);
  VtSSPropertyList back;
  back.addFromText(list.toText());
  double d = 0;
  ASSERT_TRUE(back.getDouble(L"v", d));
  EXPECT_DOUBLE_EQ(d, 1.23);
}

TEST(VtSSPropertyList, WritingAnExistingNameReplacesItInPlace) {
  VtSSPropertyList list;
  list.setInt(L"a", 1);
  list.setInt(L"b", 2);
  list.setString(L"A", L"x");
  ASSERT_EQ(list.size(), 2);
  EXPECT_EQ(list.properties()[0].type, VtSSPropertyList::kString);
  EXPECT_EQ(list.properties()[0].name, L"a") << "the first name's spelling stays";
  list.setInt(L"", 5);
  EXPECT_EQ(list.size(), 2) << "an empty name is not written";
}

TEST(VtSSPropertyList, DamagedTextYieldsTheCompleteRecordsOnly) {
  VtSSPropertyList list;
  list.addFromText(record("a", 2, "1") + "b" + kSep + "2" + kSep + "4");
  EXPECT_EQ(list.size(), 1);
  EXPECT_EQ(list.find(L"b"), nullptr) << "a record without its third separator is dropped";
}

TEST(VtSSPropertyList, ASeparatorInsideAValueShiftsTheFollowingFieldsWhenRead) {
  // Files written before the separator was refused read as they always did.
  VtSSPropertyList list;
  list.addFromText(std::string("t") + kSep + "4" + kSep + "x" + kSep + "y" + kSep + "2" + kSep +
                   "5" + kSep);
  Krv_String t;
  ASSERT_TRUE(list.getString(L"t", t));
  EXPECT_EQ(t, L"x");
  int y = 0;
  ASSERT_TRUE(list.getInt(L"y", y)) << "the rest of the value became the next record's name";
  EXPECT_EQ(y, 5);
}

TEST(VtSSPropertyList, ASeparatorInANameOrValueIsRefusedOnWriting) {
  TempFolder folder;
  const auto file = folder.path() / "set.vtd";
  folder.writeBytes("set.vtd", "previous");
  VtSSPropertyList list;
  list.setString(L"title", L"a\u00A4b");
  krv::base::Status s = list.writeFile(file);
  ASSERT_FALSE(s.ok());
  EXPECT_NE(s.message().find("title"), std::string::npos) << s.text();
  EXPECT_EQ(folder.readBytes("set.vtd"), "previous") << "the file is left whole";

  VtSSPropertyList names;
  names.setInt(L"x\u00A4", 1);
  EXPECT_FALSE(names.checkWritable().ok());
}

TEST(VtSSPropertyList, FileRoundTripKeepsCodePageTexts) {
  TempFolder folder;
  VtSSPropertyList list;
  list.setString(L"name", L"Stückliste \u00BF \u0192");
  list.setInt(L"n", 3);
  ASSERT_TRUE(list.writeFile(folder.path() / "a.vtd").ok());
  EXPECT_EQ(folder.readBytes("a.vtd").find('\n'), std::string::npos) << "no line breaks";
  VtSSPropertyList back;
  ASSERT_TRUE(back.readFile(folder.path() / "a.vtd").ok());
  Krv_String s;
  ASSERT_TRUE(back.getString(L"name", s));
  EXPECT_EQ(s, L"Stückliste \u00BF \u0192");
  EXPECT_FALSE(back.readFile(folder.path() / "missing.vtd").ok());
}

}  // namespace
