#include "platform/core/section_table_manager.h"

#include <gtest/gtest.h>

#include "platform/core/global_str.h"
#include "platform/core/krv_settings.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/core/text_file.h"

namespace {

Krv_StringTable ipeRows() {
  Krv_StringTable rows;
  rows.append(Krv_StringArray{L"200", L"IPE 200", L"IPE 200 nl", L"IPE 200 fr", L"IPE 200 de",
                              L"200", L"100", L"5.6"});
  rows.append(
      Krv_StringArray{L"220", L"IPE 220", L"IPE 220", L"IPE 220", L"IPE 220", L"220", L"110"});
  return rows;
}

Krv_StringArray ipeHeaders() {
  return Krv_StringArray{L"SysName", L"English", L"Dutch", L"French", L"German", L"h", L"b", L"tw"};
}

TEST(SectionTableManager, FindsSectionsByFullAndUserNamesIgnoringCase) {
  Krv_SectionTableManager m;
  ASSERT_EQ(m.addSectionTable(L"IPE.pr", L"1", ipeHeaders(), ipeRows()), Acad::eOk);
  Krv_String name;
  EXPECT_TRUE(m.getSystemName(L"IPE-200", name));
  EXPECT_EQ(name, L"IPE-200");
  EXPECT_TRUE(m.getSystemName(L"ipe 220", name));
  EXPECT_EQ(name, L"IPE-220");
  EXPECT_TRUE(m.getSystemName(L"IPE 200 fr", name));  // a later language column
  EXPECT_EQ(name, L"IPE-200");
  name = L"unchanged";
  EXPECT_FALSE(m.getSystemName(L"IPE-999", name));
  EXPECT_FALSE(m.getSystemName(L"200", name));  // a bare system name is no full name
  EXPECT_FALSE(m.getSystemName(L"", name));
  EXPECT_EQ(name, L"unchanged");
}

TEST(SectionTableManager, ValueIndexZeroIsTheFirstValueColumn) {
  Krv_SectionTableManager m;
  ASSERT_EQ(m.addSectionTable(L"IPE.pr", L"1", ipeHeaders(), ipeRows()), Acad::eOk);
  Krv_String v;
  EXPECT_TRUE(m.getValue(L"IPE 200", 0, v));
  EXPECT_EQ(v, L"200");
  EXPECT_TRUE(m.getValue(L"IPE-200", 2, v));
  EXPECT_EQ(v, L"5.6");
  v = L"kept";
  EXPECT_FALSE(m.getValue(L"IPE-200", -1, v));
  EXPECT_FALSE(m.getValue(L"IPE-200", 3, v));
  EXPECT_FALSE(m.getValue(L"IPE-220", 2, v));  // a short row has no such value
  EXPECT_FALSE(m.getValue(L"HEA-200", 0, v));
  EXPECT_EQ(v, L"kept");

  Krv_StringArray names;
  ASSERT_TRUE(m.getValueColumnNames(L"IPE 220", names));
  EXPECT_EQ(names, (Krv_StringArray{L"h", L"b", L"tw"}));
  EXPECT_TRUE(m.getUserName(L"IPE-200", L"dutch", v));
  EXPECT_EQ(v, L"IPE 200 nl");
  EXPECT_FALSE(m.getUserName(L"IPE-200", L"h", v));  // a value column is no language
}

TEST(SectionTableManager, KoreanInColumnFiveMakesAFifthLanguage) {
  Krv_SectionTableManager m;
  Krv_StringArray headers{L"SysName", L"English", L"Dutch", L"French", L"German", L"Korean", L"h"};
  Krv_StringTable rows;
  rows.append(Krv_StringArray{L"1", L"A", L"B", L"C", L"D", L"K 1", L"42"});
  ASSERT_EQ(m.addSectionTable(L"K.pr", L"1", headers, rows), Acad::eOk);
  Krv_String v;
  EXPECT_TRUE(m.getSystemName(L"K 1", v));
  EXPECT_TRUE(m.getValue(L"K-1", 0, v));
  EXPECT_EQ(v, L"42");

  // "Korean" elsewhere is a value column, with four languages.
  Krv_SectionTableManager other;
  headers = {L"SysName", L"English", L"Dutch", L"French", L"German", L"h", L"Korean"};
  ASSERT_EQ(other.addSectionTable(L"K.pr", L"1", headers, rows), Acad::eOk);
  EXPECT_TRUE(other.getValue(L"K-1", 0, v));
  EXPECT_EQ(v, L"K 1");
}

TEST(SectionTableManager, TablesAreAddedOnceAndRemovedByFamily) {
  Krv_SectionTableManager m;
  EXPECT_EQ(m.addSectionTable(L"", L"1", ipeHeaders(), ipeRows()), Acad::eInvalidInput);
  EXPECT_EQ(m.addSectionTable(L"IPE.pr", L"1", Krv_StringArray{L"SysName", L"English"}, ipeRows()),
            Acad::eInvalidInput);
  Krv_StringTable withEmptyRow = ipeRows();
  withEmptyRow.append(Krv_StringArray());
  EXPECT_EQ(m.addSectionTable(L"IPE.pr", L"1", ipeHeaders(), withEmptyRow), Acad::eInvalidInput);
  EXPECT_EQ(m.tableCount(), 0);

  ASSERT_EQ(m.addSectionTable(L"prof\\IPE.pr", L"1", ipeHeaders(), ipeRows()), Acad::eOk);
  EXPECT_TRUE(m.hasTable(L"ipe"));
  EXPECT_TRUE(m.hasTable(L"IPE.pr"));
  EXPECT_EQ(m.addSectionTable(L"IPE.pr", L"1", ipeHeaders(), ipeRows()), Acad::eInvalidInput);
  EXPECT_TRUE(m.removeTable(L"IPE"));
  EXPECT_FALSE(m.removeTable(L"IPE"));
  Krv_String v;
  EXPECT_FALSE(m.getSystemName(L"IPE 200", v));
}

TEST(SectionTableManager, LoadsFamilyFilesWithoutTheActiveFlag) {
  TempFolder dir;
  Krv_StringTable file;
  file.append(Krv_StringArray{L"my.dwg"});
  file.append(
      Krv_StringArray{L"SysName", L"I/O", L"English", L"Dutch", L"French", L"German", L"h"});
  file.append(Krv_StringArray{L"1", L"0", L"S 1", L"S 1", L"S 1", L"S 1", L"10"});
  file.append(Krv_StringArray{L"lonely"});
  ASSERT_TRUE(writeFile(dir.text("S.pr"), file));
  dir.writeBytes("short.pr", "Krv table version 1\n1\n");
  dir.writeBytes("bad.pr", "Krv table version 99\n1\nSysName\n");
  dir.writeBytes("sub/Nested.pr", "Krv table version 1\n1\nSysName\tI/O\tE\tD\tF\tG\n");

  Krv_SectionTableManager m;
  EXPECT_EQ(m.loadFolder(dir.text()), 1);
  EXPECT_EQ(m.familyNames(), (Krv_StringArray{L"S"}));
  Krv_String v;
  ASSERT_TRUE(m.getValue(L"S 1", 0, v));
  EXPECT_EQ(v, L"10");
  ASSERT_TRUE(m.getShape(L"S-1", v));
  EXPECT_EQ(v, L"Prof\\my.dwg");
  EXPECT_TRUE(m.getSystemName(L"S-lonely", v));  // a single-cell row keeps its cell

  // Loading again replaces the family's table.
  file[2][6] = L"20";
  ASSERT_TRUE(writeFile(dir.text("S.pr"), file));
  EXPECT_TRUE(m.loadTableFile(dir.text("S.pr")));
  ASSERT_TRUE(m.getValue(L"S 1", 0, v));
  EXPECT_EQ(v, L"20");
  EXPECT_FALSE(m.loadTableFile(dir.text("missing.pr")));
  EXPECT_EQ(m.tableCount(), 1);
}

TEST(SectionTableManager, GlobalTablesFollowTheLibraryFolder) {
  Krv_Settings::setLibDir(Krv_String(KRV_SOURCE_DIR) + L"/examples/library");
  Krv_String v;
  ASSERT_EQ(getSectionValue(L"HEA 200", 0, v), Acad::eOk);
  EXPECT_EQ(v, L"190");
  EXPECT_EQ(getSectionSystemName(L"IPE 200", v), Acad::eOk);
  EXPECT_EQ(v, L"IPE-200");
  Krv_StringArray names;
  ASSERT_EQ(getSectionColumnNames(L"HEB-300", names), Acad::eOk);
  ASSERT_GE(names.length(), 2);
  EXPECT_EQ(names[0], L"h");

  TempFolder empty;
  Krv_Settings::setLibDir(empty.text());
  EXPECT_EQ(getSectionValue(L"HEA 200", 0, v), Acad::eInvalidInput);
  Krv_Settings::setLibDir(L"");
}

TEST(GlobalStr, HandlesCarryWideTextBothWays) {
  const Krv_String text(L"Ø 20 \u2022 \u00bf");
  const std::uint32_t h = setGlobalStr(text);
  ASSERT_NE(h, 0u);
  Krv_String back;
  EXPECT_TRUE(getGlobalStr(h, back));
  EXPECT_EQ(back, text);
  EXPECT_FALSE(getGlobalStr(0, back));
  EXPECT_TRUE(back.isEmpty());
}

}  // namespace
