#include "platform/core/properties_list.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "platform/base/file_io.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/core/text_file.h"

TEST(PropertiesList, AwkwardValuesRoundTripExactlyInOrder) {
  TempFolder dir;
  Krv_PropertiesList list;
  const Krv_String awkward[] = {
      L"",      L"  lead and trail  ", L"tab\there", L"line\nbreak\r\n", L"back\\slash\\n",
      L"a=b=c", L"\u2022\u00BF\u0192", L"\\",        L"# not a comment", L"\U0001F600"};
  int i = 0;
  for (const Krv_String& v : awkward)
    list.setProperty(L"contents" + Krv_String(std::to_wstring(i++)), v);
  list.setProperty(L"nrOfControls", 7);
  list.setProperty(L"min", std::numeric_limits<int>::min());
  const double doubles[] = {0.1,    1.0 / 3.0,           -0.0,
                            1e-310, 123456789.123456789, 1.7976931348623157e308};
  i = 0;
  for (double d : doubles) list.setProperty(L"topLeftX" + Krv_String(std::to_wstring(i++)), d);
  list.setProperty(L"odd name = \t\u2022", L"x");

  ASSERT_TRUE(list.writeToFile(dir.text("design.txt")).ok());
  Krv_PropertiesList back;
  const krv::base::Status read = back.readFromFile(dir.text("design.txt"));
  ASSERT_TRUE(read.ok()) << read.text();
  EXPECT_TRUE(back == list);
  EXPECT_EQ(back.nameAt(0), L"contents0");
  Krv_String s;
  ASSERT_TRUE(back.getProperty(L"contents3", s));
  EXPECT_EQ(s, L"line\nbreak\r\n");
  double d = 0;
  ASSERT_TRUE(back.getProperty(L"topLeftX2", d));
  EXPECT_TRUE(std::signbit(d));
  ASSERT_TRUE(back.getProperty(L"topLeftX1", d));
  EXPECT_EQ(d, 1.0 / 3.0);
}

TEST(PropertiesList, TypesAndMissingProperties) {
  Krv_PropertiesList list;
  list.setProperty(L"type0", 3);
  list.setProperty(L"x", 2.75);
  list.setProperty(L"s", L"12");
  int i = -1;
  double d = -1;
  Krv_String s = L"unchanged";
  EXPECT_TRUE(list.getProperty(L"type0", d));
  EXPECT_EQ(d, 3.0);
  EXPECT_TRUE(list.getProperty(L"x", i));
  EXPECT_EQ(i, 2);
  EXPECT_FALSE(list.getProperty(L"s", i));  // text is not a number
  EXPECT_FALSE(list.getProperty(L"x", s));
  EXPECT_FALSE(list.getProperty(L"TYPE0", i));  // names are exact
  EXPECT_FALSE(list.getProperty(L"missing", s));
  EXPECT_EQ(s, L"unchanged");
  list.setProperty(L"type0", L"now text");  // keeps its place, changes type
  EXPECT_EQ(list.nameAt(0), L"type0");
  EXPECT_TRUE(list.getProperty(L"type0", s));
  EXPECT_EQ(list.length(), 3);
  // After a removal the names behind it are still found at their new places.
  EXPECT_TRUE(list.removeProperty(L"type0"));
  EXPECT_FALSE(list.getProperty(L"type0", s));
  EXPECT_TRUE(list.getProperty(L"s", s));
  EXPECT_EQ(s, L"12");
  list.setProperty(L"type0", 5);  // back at the end
  EXPECT_EQ(list.nameAt(2), L"type0");
  EXPECT_TRUE(list.getProperty(L"type0", i));
  EXPECT_EQ(i, 5);
  list.clear();
  EXPECT_FALSE(list.getProperty(L"x", d));
}

TEST(PropertiesList, MalformedOrMissingFilesLeaveListUnchanged) {
  TempFolder dir;
  Krv_PropertiesList list;
  list.setProperty(L"keep", 1);
  EXPECT_FALSE(list.readFromFile(dir.text("missing.txt")).ok());
  const char* bad[] = {"",
                       "something else\n",
                       "Krv properties version 1\ni\tn\t1.5\n",
                       "Krv properties version 1\ni\tn\t99999999999\n",
                       "Krv properties version 1\ni\tn\t1E5\n",  // read as 1 before
                       "Krv properties version 1\nd\tn\t1E400\n",
                       "Krv properties version 1\nd\tn\t1,5\n",
                       "Krv properties version 1\nx\tn\t1\n",
                       "Krv properties version 1\ns\tn\n",
                       "Krv properties version 1\ns\tn\tv\textra\n"};
  for (const char* bytes : bad) {
    dir.writeBytes("bad.txt", bytes);
    const krv::base::Status read = list.readFromFile(dir.text("bad.txt"));
    EXPECT_FALSE(read.ok()) << bytes;
    // The header is line 1; the first property line 2.
    EXPECT_EQ(read.place(), std::string(bytes).starts_with("Krv") ? "line 2" : "line 1") << bytes;
    int v = 0;
    EXPECT_TRUE(list.getProperty(L"keep", v));
    EXPECT_EQ(list.length(), 1);
  }
  // Asked to, a reader leaves malformed lines out and lists them; a wrong
  // header still refuses the file.
  dir.writeBytes("mixed.txt", "Krv properties version 1\ni\ta\t1\nx\tn\t1\n\ns\tb\tv\ni\tc\t1.5\n");
  std::vector<Krv_PropertiesList::SkippedLine> skipped;
  ASSERT_TRUE(list.readFromFile(dir.text("mixed.txt"), &skipped).ok());
  ASSERT_EQ(skipped.size(), 2u);
  EXPECT_EQ(skipped[0].line, 3);
  EXPECT_EQ(skipped[0].text, L"x\tn\t1");
  EXPECT_EQ(skipped[1].line, 6);
  EXPECT_EQ(list.length(), 2);
  EXPECT_EQ(list.nameAt(1), L"b");
  skipped.clear();
  dir.writeBytes("bad.txt", "something else\n");
  EXPECT_FALSE(list.readFromFile(dir.text("bad.txt"), &skipped).ok());
  EXPECT_TRUE(skipped.empty());
  list.clear();
  list.setProperty(L"keep", 1);
  // A write that fails keeps the previous file.
  ASSERT_TRUE(list.writeToFile(dir.text("p.txt")).ok());
  const std::string before = dir.readBytes("p.txt");
  auto old = krv::base::setRenameStep([](auto&, auto&) { return false; });
  list.setProperty(L"more", 2);
  EXPECT_FALSE(list.writeToFile(dir.text("p.txt")).ok());
  krv::base::setRenameStep(old);
  EXPECT_EQ(dir.readBytes("p.txt"), before);
}

TEST(PropertiesList, WritingBackKeepsTheFormOfTheFileRead) {
  TempFolder dir;
  const std::string text =
      "Krv properties version "
      "1\n\ni\tcount\t+7\nd\twidth\t1e3\nd\tratio\t0.50\n\ns\tname\tBeam\n\n";
  dir.writeBytes("p.txt", text);
  Krv_PropertiesList list;
  const krv::base::Status read = list.readFromFile(dir.text("p.txt"));
  ASSERT_TRUE(read.ok()) << read.text();
  ASSERT_TRUE(list.writeToFile(dir.text("p.txt")).ok());
  EXPECT_EQ(dir.readBytes("p.txt"), text) << "blank lines and number spellings stay";

  list.setProperty(L"ratio", 0.75);
  list.setProperty(L"width", 1000.0);  // the same value
  list.setProperty(L"added", 1);
  ASSERT_TRUE(list.writeToFile(dir.text("p.txt")).ok());
  EXPECT_EQ(
      dir.readBytes("p.txt"),
      "Krv properties version 1\n\ni\tcount\t+7\nd\twidth\t1e3\nd\tratio\t0.75\n\ns\tname\tBeam\n"
      "i\tadded\t1\n\n");

  list.removeProperty(L"count");
  list.removeProperty(L"name");
  ASSERT_TRUE(list.writeToFile(dir.text("p.txt")).ok());
  EXPECT_EQ(dir.readBytes("p.txt"),
            "Krv properties version 1\n\nd\twidth\t1e3\nd\tratio\t0.75\n\ni\tadded\t1\n\n")
      << "the blank line before a removed property stays as a separator";
}
