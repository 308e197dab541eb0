#include "platform/sheet/sheet_file.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/base/file_io.h"
#include "platform/sheet/sheet_csv.h"

namespace krv::sheet {
namespace {

namespace fs = std::filesystem;

class SheetFileTest : public ::testing::Test {
 protected:
  void SetUp() override {
    dir = fs::temp_directory_path() /
          ("sheet_file_test_" + std::to_string(::getpid()) + "_" +
           ::testing::UnitTest::GetInstance()->current_test_info()->name());
    fs::create_directories(dir);
  }
  void TearDown() override { fs::remove_all(dir); }

  // A sheet with something of every kind the document holds.
  static void fill(ControlDocument& d) {
    d.setMaxCols(5);
    d.setMaxRows(40);
    d.setData(1, 1, L"Länge, \"mm\"");
    d.setData(2, 1, L"12.50");
    d.setData(3, 1, L"0.1");
    d.setData(4, 1, L"=text");
    d.setData(5, 1, L"'quoted");
    d.setData(1, 2, L"line\nbreak");
    d.setData(2, 2, L"-1.5E-20");
    d.setData(1, 30, L"\u2022 \u00bf \u0192");
    EXPECT_TRUE(d.setFormula(3, 2, L"=B1*2+SUM(B1:B2)"));
    d.setData(3, 0, L"Header C");
    d.setData(0, 7, L"Row seven");
    d.setTag(0, 0,
             L"defaultFont\xa4"
             L"4\xa4Tahoma\xa4");
    d.setTag(2, 2, L"tag");
    d.setTextTip(1, 1, L"tip");
    d.changeAttributes(2, 1, 2, -1, [](CellAttributes& a) {
      a.type = kCellTypeNumber;
      a.decimals = 3;
    });
    d.changeAttributes(1, 3, 1, 3, [](CellAttributes& a) {
      a.type = kCellTypeCheckBox;
      a.backColor = 0x123456;
      a.fontName = L"Arial";
    });
    d.changeAttributes(-1, 5, -1, 5, [](CellAttributes& a) { a.locked = true; });
    d.addSpan(1, 10, 2, 3);
    d.setColWidth(2, 20.5);
    d.setRowHeight(4, 33);
    d.setRowHidden(6, true);
    d.setColHidden(5, true);
    d.setBoolOption(kOptionEditMode, true);
    d.setBoolOption(kOptionRedraw, false);
    d.setBoolOption(kOptionChanged, true);
    d.setIntOption(1, -1);
    d.look().selBackColor = 0x6A240A;
    d.look().actionKeys[1] = {1, 0, 0x72};
    d.setActiveCell(2, 3);
    d.setSelection(1, 2, 3, -1);
  }

  static void expectSame(const ControlDocument& a, const ControlDocument& b) {
    ASSERT_EQ(a.maxCols(), b.maxCols());
    ASSERT_EQ(a.maxRows(), b.maxRows());
    for (int r = 0; r <= a.maxRows(); ++r) {
      for (int c = 0; c <= a.maxCols(); ++c) {
        EXPECT_EQ(*a.data(c, r), *b.data(c, r)) << c << "," << r;
        EXPECT_EQ(*a.valueText(c, r), *b.valueText(c, r)) << c << "," << r;
        EXPECT_EQ(*a.formula(c, r), *b.formula(c, r)) << c << "," << r;
        EXPECT_EQ(*a.tag(c, r), *b.tag(c, r)) << c << "," << r;
        EXPECT_EQ(a.attributes(c, r), b.attributes(c, r)) << c << "," << r;
      }
    }
  }

  fs::path dir;
};

TEST_F(SheetFileTest, NativeFileKeepsEverything) {
  ControlDocument original;
  fill(original);
  fs::path file = dir / "sheet.vts";
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(saveSheetFile(original, file), error)) << error;
  ControlDocument loaded;
  ASSERT_TRUE(krv::base::reportTo(loadSheetFile(loaded, file), error)) << error;
  expectSame(original, loaded);
  EXPECT_EQ(loaded.spans().size(), 1u);
  EXPECT_EQ(loaded.colWidth(2), 20.5);
  EXPECT_EQ(loaded.rowHeight(4), 33);
  EXPECT_TRUE(loaded.isRowHidden(6));
  EXPECT_TRUE(loaded.isColHidden(5));
  EXPECT_TRUE(loaded.boolOption(13));
  EXPECT_FALSE(loaded.boolOption(8));
  EXPECT_TRUE(loaded.boolOption(30));
  EXPECT_EQ(loaded.intOption(1), -1);
  EXPECT_EQ(loaded.look(), original.look());
  EXPECT_EQ(*loaded.textTip(1, 1), L"tip");
  int32_t s[4];
  loaded.selection(s[0], s[1], s[2], s[3]);
  EXPECT_EQ(s[3], -1);
  EXPECT_EQ(loaded.activeCol(), 2);
  // Saving the loaded sheet gives the same text.
  EXPECT_EQ(sheetToJson(loaded), sheetToJson(original));
}

TEST_F(SheetFileTest, CsvAndTabTextKeepTextsAndFormulas) {
  ControlDocument original;
  fill(original);
  for (const char* name : {"sheet.csv", "sheet.tsv"}) {
    fs::path file = dir / name;
    std::string error;
    ASSERT_TRUE(krv::base::reportTo(saveSheetFile(original, file), error)) << error;
    ControlDocument loaded;
    ASSERT_TRUE(krv::base::reportTo(loadSheetFile(loaded, file), error)) << error;
    // The text holds the used range: E30 is the last column and row with content.
    ASSERT_EQ(loaded.maxCols(), 5) << name;
    ASSERT_EQ(loaded.maxRows(), 30) << name << ": the declared 40 rows end in empty ones";
    for (int r = 1; r <= loaded.maxRows(); ++r) {
      for (int c = 1; c <= original.maxCols(); ++c) {
        EXPECT_EQ(*loaded.data(c, r), *original.data(c, r)) << name << " " << c << "," << r;
        EXPECT_EQ(*loaded.formula(c, r), *original.formula(c, r)) << name << " " << c << "," << r;
      }
    }
  }
}

TEST_F(SheetFileTest, CsvReadsQuotesBomAndCrLfAsAnEditorWritesThem) {
  ControlDocument d;
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(
      sheetFromDelimited(d, "\xEF\xBB\xBFname,value\r\n\"a, b\",\"say \"\"hi\"\"\"\r\nx,=2*3\r\n",
                         ','),
      error))
      << error;
  EXPECT_EQ(d.maxRows(), 3);
  EXPECT_EQ(d.maxCols(), 2);
  EXPECT_EQ(*d.data(1, 2), L"a, b");
  EXPECT_EQ(*d.data(2, 2), L"say \"hi\"");
  EXPECT_EQ(*d.data(2, 3), L"6");
  // UTF-16 with BOM.
  std::string utf16 = std::string("\xFF\xFE", 2) + std::string("a\0\t\0b\0", 6);
  ASSERT_TRUE(krv::base::reportTo(sheetFromDelimited(d, utf16, '\t'), error)) << error;
  EXPECT_EQ(*d.data(2, 1), L"b");
}

TEST_F(SheetFileTest, CsvNumberBeyondTheDoubleRangeStaysText) {
  ControlDocument d;
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(sheetFromDelimited(d, "1E400,=A1+0,1E-400\n", ','), error))
      << error;
  EXPECT_EQ(*d.data(1, 1), L"1E400");
  EXPECT_TRUE(d.engine().value(1, 1).isText()) << "no double holds it; 0 would lose it";
  EXPECT_EQ(d.engine().valueText(2, 1), "#VALUE!");
  // The same in a number cell, where number texts become numbers.
  d.changeAttributes(1, 1, 1, 1, [](CellAttributes& a) { a.type = kCellTypeNumber; });
  ASSERT_TRUE(d.setData(1, 1, L"1E400"));
  EXPECT_TRUE(d.engine().value(1, 1).isText());
  ASSERT_TRUE(d.setData(1, 1, L"1E300"));
  EXPECT_EQ(d.engine().value(1, 1).number(), 1e300);
}

TEST_F(SheetFileTest, BadFilesAreRefusedWithAMessageAndLeaveTheSheetAlone) {
  ControlDocument d;
  d.setMaxCols(2);
  d.setMaxRows(2);
  d.setData(1, 1, L"keep");
  int count = 0;
  for (const auto& entry : fs::directory_iterator(fs::path(KRV_TESTDATA_DIR) / "bad_sheets")) {
    std::string error;
    EXPECT_FALSE(krv::base::reportTo(loadSheetFile(d, entry.path()), error)) << entry.path();
    EXPECT_FALSE(error.empty()) << entry.path();
    EXPECT_EQ(*d.data(1, 1), L"keep") << entry.path();
    EXPECT_EQ(d.maxRows(), 2) << entry.path();
    ++count;
  }
  EXPECT_GE(count, 15);
}

TEST_F(SheetFileTest, MessagesNameTheFault) {
  ControlDocument d;
  std::string error;
  EXPECT_FALSE(krv::base::reportTo(
      sheetFromJson(d,
                    R"({"format": "korvane sheet", "version": 1, "cols": 2, "rows": 1000000000})"),
      error));
  EXPECT_NE(error.find("1000000000 rows"), std::string::npos) << error;
  EXPECT_FALSE(krv::base::reportTo(
      sheetFromJson(d, R"({"format": "korvane sheet", "version": 2, "cols": 2, "rows": 2})"),
      error));
  EXPECT_NE(error.find("newer version"), std::string::npos) << error;
  EXPECT_FALSE(krv::base::reportTo(loadSheetFile(d, dir / "missing.vts"), error));
  EXPECT_NE(error.find("no such file"), std::string::npos) << error;
}

TEST_F(SheetFileTest, FailedSaveKeepsThePreviousFile) {
  ControlDocument d;
  fill(d);
  // A name of 254 characters is a valid file, but the temporary file beside
  // it would need a longer name than the file system allows: the save fails
  // before the rename, for every user (the superuser included).
  fs::path file = dir / (std::string(250, 'k') + ".vts");
  std::string error;
  const std::string before = "previous contents";
  { std::ofstream(file, std::ios::binary) << before; }
  d.setData(1, 1, L"changed");
  EXPECT_FALSE(krv::base::reportTo(saveSheetFile(d, file), error));
  EXPECT_FALSE(error.empty());
  const krv::base::Result<std::string> text = krv::base::readFile(file);
  ASSERT_TRUE(text.ok()) << text.status().text();
  EXPECT_EQ(*text, before);
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(SheetFileTest, AReadOnlyTargetIsRefusedAndKeepsItsContentsAndMode) {
  ControlDocument d;
  fill(d);
  const fs::path file = dir / "locked.csv";
  { std::ofstream(file, std::ios::binary) << "previous"; }
  fs::permissions(file, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  std::string error;
  EXPECT_FALSE(krv::base::reportTo(saveSheetFile(d, file), error))
      << "refused also when the tests run as the superuser";
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  const krv::base::Result<std::string> text = krv::base::readFile(file);
  ASSERT_TRUE(text.ok()) << text.status().text();
  EXPECT_EQ(*text, "previous");
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::mask, fs::perms(0444));
  EXPECT_EQ(std::distance(fs::directory_iterator(dir), fs::directory_iterator()), 1);
}

TEST_F(SheetFileTest, AReplacedFileKeepsItsPermissions) {
  ControlDocument d;
  fill(d);
  const fs::path file = dir / "shared.vts";
  { std::ofstream(file, std::ios::binary) << "previous"; }
  fs::permissions(file, fs::perms(0640));
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(saveSheetFile(d, file), error)) << error;
  EXPECT_EQ(fs::status(file).permissions() & fs::perms::mask, fs::perms(0640));
}

// The bytes of `text` in UTF-16 with a byte order mark.
std::string utf16(const std::u16string& text, bool littleEndian) {
  std::string out = littleEndian ? "\xFF\xFE" : "\xFE\xFF";
  for (char16_t c : text) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    out += littleEndian ? lo : hi;
    out += littleEndian ? hi : lo;
  }
  return out;
}

TEST_F(SheetFileTest, Utf16FilesWithAByteOrderMarkAreRead) {
  const std::u16string native =
      u"{\"format\": \"korvane sheet\", \"version\": 1, \"cols\": 2, \"rows\": 2,"
      u" \"cells\": [{\"col\": 1, \"row\": 1, \"values\": [\"L\u00e4nge \u2022\", 12.5]}]}";
  for (bool little : {true, false}) {
    const fs::path file = dir / (little ? "le.vts" : "be.vts");
    { std::ofstream(file, std::ios::binary) << utf16(native, little); }
    ControlDocument d;
    std::string error;
    ASSERT_TRUE(krv::base::reportTo(loadSheetFile(d, file), error)) << error;
    EXPECT_EQ(*d.data(1, 1), L"L\u00e4nge \u2022");
    EXPECT_EQ(*d.valueText(1, 2), L"12.5");
  }
  const fs::path csv = dir / "le.csv";
  { std::ofstream(csv, std::ios::binary) << utf16(u"a,\u0192\r\n1,2\r\n", true); }
  ControlDocument d;
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(loadSheetFile(d, csv), error)) << error;
  EXPECT_EQ(*d.data(2, 1), L"\u0192");
}

TEST_F(SheetFileTest, Utf16WithoutAByteOrderMarkIsNamedAsSuch) {
  const fs::path file = dir / "nobom.vts";
  { std::ofstream(file, std::ios::binary) << utf16(u"{\"format\": 1}", true).substr(2); }
  ControlDocument d;
  std::string error;
  EXPECT_FALSE(krv::base::reportTo(loadSheetFile(d, file), error));
  EXPECT_NE(error.find("UTF-16"), std::string::npos) << error;
}

TEST_F(SheetFileTest, ParserMessagesShowBinaryBytesEscapedAndCut) {
  const fs::path file = dir / "binary.vts";
  // 0x9B is a terminal's control sequence introducer where bytes are read
  // one by one.
  const std::string bytes = std::string("\x9B") + "31m" + std::string(5000, 'x');
  { std::ofstream(file, std::ios::binary) << bytes; }
  ControlDocument d;
  std::string error;
  EXPECT_FALSE(krv::base::reportTo(loadSheetFile(d, file), error));
  EXPECT_EQ(error.find('\x9B'), std::string::npos) << "no raw byte reaches the message";
  EXPECT_NE(error.find("\\x9B"), std::string::npos) << error;
  EXPECT_LT(error.size(), 500u) << error;
}

// Every member of the format, each away from its default.
void fillEveryMember(ControlDocument& d) {
  d.setMaxCols(6);
  d.setMaxRows(12);
  d.setData(1, 1, L"L\u00e4nge");
  d.setData(2, 1, L"12.50");
  ASSERT_TRUE(d.setFormula(3, 1, L"=B1*2").ok());
  d.engine().setValue(4, 1, Value::boolean(true));
  d.engine().setValue(5, 1, Value::error(*parseErrorText("#DIV/0!")));
  d.setData(1, 8, L"after a gap");
  d.setData(1, 3, L"within four");
  d.setData(3, 0, L"Header C");
  d.setData(0, 7, L"Row seven");
  d.setTag(2, 2, L"tag");
  d.setTextTip(1, 1, L"tip");
  d.setNoteIndicator(2, 3, true);
  d.changeAttributes(2, 1, 2, -1, [](CellAttributes& a) {
    a.type = kCellTypeNumber;
    a.decimals = 3;
    a.minValue = -5;
    a.maxValue = 1e6;
  });
  d.changeAttributes(1, 3, 1, 3, [](CellAttributes& a) {
    a.type = kCellTypeCheckBox;
    a.backColor = 0x123456;
    a.fontName = L"Arial";
    a.typeText = L"a\tb";
    a.borderMask = 5;
    a.borderColor = 0xFF;
    a.fontWeight = 700;
  });
  d.changeAttributes(-1, 5, -1, 5, [](CellAttributes& a) { a.locked = true; });
  d.defaultAttributes().maxLength = 20;
  d.addSpan(1, 10, 2, 2);
  d.setColWidth(2, 20.5);
  d.setRowHeight(4, 33);
  d.setRowHeight(-1, 14.25);
  d.setColWidth(-1, 9.5);
  d.setRowHidden(6, true);
  d.setColHidden(5, true);
  d.setBoolOption(kOptionEditMode, true);
  d.setBoolOption(kOptionRedraw, false);
  d.setBoolOption(kOptionAutoCalc, true);
  d.setIntOption(1, -1);
  d.setIntOption(12, 3);
  d.engine().setReferenceStyle(static_cast<ReferenceStyle>(1));
  d.look().selBackColor = 0x6A240A;
  d.look().textTipDelay = 250;
  d.look().actionKeys[1] = {1, 0, 0x72};
  d.setActiveCell(2, 3);
  d.setSelection(1, 2, 3, -1);
}

std::string bytesOf(const fs::path& file) {
  const krv::base::Result<std::string> bytes = krv::base::readFile(file);
  EXPECT_TRUE(bytes.ok()) << bytes.status().text();
  return bytes.valueOr("");
}

// The files under testdata/written are what the writer has always written;
// files are kept under version control, so not one byte may change.
TEST_F(SheetFileTest, WrittenFilesKeepTheirBytesAndReadBackTheSame) {
  const fs::path written = fs::path(KRV_TESTDATA_DIR) / "written";
  ControlDocument every;
  fillEveryMember(every);
  const std::string text = sheetToJson(every);
  EXPECT_EQ(text, bytesOf(written / "every_member.vts"));
  ControlDocument back;
  const krv::base::Status read = sheetFromJson(back, text);
  ASSERT_TRUE(read.ok()) << read.text();
  EXPECT_EQ(sheetToJson(back), text);

  const fs::path samples = fs::path(KRV_SOURCE_DIR) / "examples/library/Connection Standards";
  for (const fs::path& sample : {samples / "EndPlate.vts", samples / "Childs/BoltRows.vts"}) {
    ControlDocument d;
    const krv::base::Status s = sheetFromJson(d, bytesOf(sample));
    ASSERT_TRUE(s.ok()) << sample << ": " << s.text();
    EXPECT_EQ(sheetToJson(d), bytesOf(written / sample.filename())) << sample;
  }
}

TEST_F(SheetFileTest, RefusalsNameTheirPlaceInTheDocument) {
  const std::string head = R"({"format": "korvane sheet", "version": 1, "cols": 3, "rows": 5, )";
  struct Case {
    std::string rest, place, message;
  } cases[] = {
      {R"("cells": [{"col": 1, "row": 1, "values": [1, [2]]}]})", "cells[0].values[1]",
       "a cell value must be a number, text, boolean, null or formula"},
      {R"("cells": [{"col": 4, "row": 1, "values": []}]})", "cells[0].col",
       "must lie between 1 and 3"},
      {R"("cells": [{"col": 1, "row": 4, "values": [1, 2, 3]}]})", "cells[0].values",
       "the cells from column 1, row 4 reach beyond the last row"},
      {R"("cells": [{"col": 1, "row": 1, "values": [{"f": "=SUM("}]}]})", "cells[0].values[0]", ""},
      // A faulty value is reported before a run too long, wherever it is.
      {R"("cells": [{"col": 1, "row": 4, "values": [1, 2, [3]]}]})", "cells[0].values[2]",
       "a cell value must be a number, text, boolean, null or formula"},
      {R"("cells": [{"col": 1, "row": 1, "values": [1]},
                    {"col": 2, "row": 1, "values": [null, {"f": "=SUM("}]}]})",
       "cells[1].values[1]", ""},
      {R"("cellAttributes": [{"col": 1, "row": 1, "decimals": 16}]})", "cellAttributes[0].decimals",
       "must lie between 0 and 15"},
      {R"("look": {"actionKeys": [[0, 0, 0], [0, 0, 0], [0, 0, 65536]]}})", "look.actionKeys[2][2]",
       "must lie between 0 and 65535"},
      {R"("spans": [[1, 1, 3, 1], [2, 1, 1, 1]]})", "spans[1]",
       "span at column 2, row 1 reaches beyond the sheet or overlaps another"},
      {R"("tags": [[1, 1]]})", "tags[0]", "[column, row, text] is expected"},
      {R"("options": {"int": {"x": 1}}})", "options.int", "\"x\" is not an option index"},
      {R"("rows": 1})", "", "the member \"cols\" is missing"},
  };
  for (const Case& c : cases) {
    const std::string text = c.rest.starts_with(R"("rows")")
                                 ? R"({"format": "korvane sheet", "version": 1, )" + c.rest
                                 : head + c.rest;
    ControlDocument d;
    d.setMaxCols(1);
    d.setMaxRows(1);
    d.setData(1, 1, L"keep");
    const krv::base::Status s = sheetFromJson(d, text);
    ASSERT_FALSE(s.ok()) << text;
    EXPECT_EQ(s.place(), c.place) << text << "\n" << s.text();
    if (!c.message.empty()) {
      EXPECT_EQ(s.message(), c.message) << text;
    }
    EXPECT_EQ(*d.data(1, 1), L"keep");
  }
}

}  // namespace
}  // namespace krv::sheet
