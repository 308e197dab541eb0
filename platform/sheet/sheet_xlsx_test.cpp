#include <gtest/gtest.h>

#include <filesystem>
#include <sstream>

#include "platform/base/file_io.h"
#include "platform/base/utf.h"
#include "platform/sheet/sheet_exchange.h"
#include "platform/sheet/sheet_file.h"
#include "platform/sheet/sheet_import.h"
#include "platform/sheet/sheet_xlsx_writer.h"

namespace krv::sheet {
namespace {

namespace fs = std::filesystem;

// What a person sees of a sheet, cell by cell and line by line, in one text
// so that a difference shows where it is.
std::string describe(const ControlDocument& d) {
  std::string out = "size " + std::to_string(d.maxCols()) + "x" + std::to_string(d.maxRows()) +
                    " default " + std::to_string(d.defaultColWidth()) + "/" +
                    std::to_string(d.defaultRowHeight()) + "\n";
  auto w = [](const std::optional<std::wstring>& t) {
    return t ? base::toUtf8(*t) : std::string("-");
  };
  auto attrs = [](const CellAttributes& a) {
    return std::to_string(a.type) + "," + std::to_string(a.style) + "," +
           std::to_string(a.decimals) + "," + std::to_string(a.minValue) + "," +
           std::to_string(a.maxValue) + "," + std::to_string(a.maxLength) + "," +
           base::toUtf8(a.typeText) + "," + std::to_string(a.backColor) + "," +
           std::to_string(a.foreColor) + "," + base::toUtf8(a.fontName) + "," +
           std::to_string(a.fontHeight) + "," + std::to_string(a.fontWeight) + "," +
           std::to_string(a.borderMask) + "," + std::to_string(a.borderStyle) + "," +
           std::to_string(a.borderColor) + "," + std::to_string(a.locked);
  };
  for (int32_t r = 0; r <= d.maxRows(); ++r) {
    for (int32_t c = 0; c <= d.maxCols(); ++c) {
      std::string cell = w(d.data(c, r)) + "|" + w(d.formula(c, r)) + "|" + w(d.tag(c, r)) + "|" +
                         (r && c ? attrs(d.attributes(c, r)) : "");
      if (r && c) {
        const Value& v = d.engine().value(c, r);
        cell += "|t" + std::to_string(static_cast<int>(v.type()));
      }
      out += std::to_string(c) + "," + std::to_string(r) + ": " + cell + "\n";
    }
    out += "row " + std::to_string(r) + " h" + std::to_string(d.rowHeight(r)) + " hidden " +
           std::to_string(d.isRowHidden(r)) + "\n";
  }
  for (int32_t c = 0; c <= d.maxCols(); ++c)
    out += "col " + std::to_string(c) + " w" + std::to_string(d.colWidth(c)) + " hidden " +
           std::to_string(d.isColHidden(c)) + "\n";
  for (const CellSpan& s : d.spans())
    out += "span " + std::to_string(s.col) + "," + std::to_string(s.row) + " " +
           std::to_string(s.numCols) + "x" + std::to_string(s.numRows) + "\n";
  return out;
}

// Reports the lines of two descriptions that differ (the first few).
void expectSame(const ControlDocument& expected, const ControlDocument& actual) {
  std::istringstream a(describe(expected)), b(describe(actual));
  std::string la, lb;
  int shown = 0;
  while (shown < 8 && (std::getline(a, la) ? 1 : 0) + (std::getline(b, lb) ? 1 : 0) > 0) {
    if (la != lb) {
      ADD_FAILURE() << "expected: " << la << "\n  actual: " << lb;
      ++shown;
    }
    la.clear();
    lb.clear();
  }
}

// A standards-like sheet: a table of values with the standards' own
// functions, headers, settings in the corner cell and a dressed-up look.
void fillStandard(ControlDocument& d) {
  d.setMaxCols(6);
  d.setMaxRows(12);
  d.setData(1, 1, L"M12");
  d.setData(2, 1, L"12.5");
  d.setData(3, 1, L"Länge \u2022 \u00bf");
  d.engine().setValue(4, 1, Value::boolean(true));
  d.engine().setValue(5, 1, Value::error(ErrorCode::Div0));
  d.setData(1, 2, L"=not a formula");
  d.setData(2, 2, L"-1.5E-20");
  d.setData(3, 2, L"1234567.891");
  EXPECT_TRUE(d.setFormula(4, 2, L"=B1*2+SUM(B1:B2)"));
  EXPECT_TRUE(d.setFormula(5, 2, L"=GETCELL(\"Bolts\",A1,2)"));
  EXPECT_TRUE(d.setFormula(6, 2, L"=TOLERANCE(B1,0.5)+FROMTABLE(\"x\",A1:C3,$B$2)"));
  EXPECT_TRUE(d.setFormula(1, 3, L"=IF(D1,\"yes\",\"no\")"));
  d.setData(3, 0, L"Diameter");
  d.setData(0, 2, L"Row two");
  d.setTag(0, 0,
           L"defaultFont\xa4"
           L"4\xa4Tahoma\xa4units\xa4mm\xa4");
  d.setTag(2, 2, L"tag of B2");
  d.changeAttributes(3, 1, 3, -1, [](CellAttributes& a) {
    a.type = kCellTypeNumber;
    a.decimals = 3;
    a.style = kNumberStyleThousands | kNumberStyleWindowFormat;
  });
  d.changeAttributes(2, 3, 2, 3, [](CellAttributes& a) {
    a.type = kCellTypeNumber;
    a.decimals = 0;
    a.style = kNumberStylePlain;
    a.minValue = 0;
    a.maxValue = 100;
  });
  d.changeAttributes(4, 1, 4, 1, [](CellAttributes& a) { a.type = kCellTypeCheckBox; });
  d.changeAttributes(1, 4, 1, 4, [](CellAttributes& a) {
    a.type = kCellTypeComboBox;
    a.typeText = L"M10\tM12\tM16";
    a.maxLength = 8;
  });
  d.changeAttributes(1, 1, 1, 1, [](CellAttributes& a) {
    a.backColor = 0x123456;
    a.foreColor = 0x0000FF;
    a.fontName = L"Arial";
    a.fontHeight = 16;
    a.fontWeight = 700;
    a.borderMask = 1 | 8;
    a.borderStyle = 2;
    a.borderColor = 0x00FF00;
    a.locked = true;
  });
  d.changeAttributes(-1, 5, -1, 5, [](CellAttributes& a) { a.backColor = 0xC0C0C0; });
  d.setData(2, 5, L"in a grey row");
  d.addSpan(1, 8, 2, 3);
  d.setData(1, 8, L"merged");
  d.setColWidth(2, 120);
  d.setColWidth(6, 9);
  d.setRowHeight(4, 33);
  d.setRowHidden(6, true);
  d.setColHidden(5, true);
}

ControlDocument& roundTrip(const ControlDocument& from, ControlDocument& to) {
  auto bytes = sheetToXlsx(from);
  EXPECT_TRUE(bytes) << bytes.status().text();
  if (bytes) {
    const base::Status read = sheetFromWorkbook(to, *bytes, WorkbookKind::Xlsx);
    EXPECT_TRUE(read) << read.text();
  }
  return to;
}

TEST(SheetXlsxTest, StandardsSheetRoundTripsThroughXlsxBothWays) {
  ControlDocument original;
  fillStandard(original);
  ControlDocument once, twice;
  roundTrip(original, once);
  expectSame(original, once);
  // What was read writes the same workbook content again.
  roundTrip(once, twice);
  expectSame(once, twice);
  // The points the standards rely on, spelled out.
  EXPECT_EQ(*once.formula(5, 2), L"=GETCELL(\"Bolts\",A1,2)");
  EXPECT_EQ(*once.tag(0, 0), *original.tag(0, 0));
  EXPECT_EQ(*once.data(3, 0), L"Diameter");
  EXPECT_EQ(*once.data(1, 2), L"=not a formula");  // a text, not a formula
  EXPECT_EQ(once.attributes(1, 4).typeText, L"M10\tM12\tM16");
  EXPECT_EQ(*once.valueText(3, 2), *original.valueText(3, 2));
}

TEST(SheetXlsxTest, LongTextsAndEmptySheets) {
  ControlDocument empty, back;
  back.setMaxCols(3);
  back.setData(1, 1, L"old");
  roundTrip(empty, back);
  expectSame(empty, back);

  // A settings text longer than a workbook cell is split and joined again;
  // a cell text that long is refused with the cell's name.
  ControlDocument d;
  d.setMaxCols(2);
  d.setMaxRows(2);
  std::wstring settings;
  for (int i = 0; i < 9000; ++i) settings += L"key\xa4value\xa4";
  d.setTag(0, 0, settings);
  ControlDocument read;
  roundTrip(d, read);
  EXPECT_TRUE(*read.tag(0, 0) == settings) << "the settings text differs";
  d.setData(2, 2, std::wstring(40000, L'x'));
  auto refused = sheetToXlsx(d);
  ASSERT_FALSE(refused);
  EXPECT_NE(refused.status().text().find("B2"), std::string::npos) << refused.status().text();
}

TEST(SheetXlsxTest, UnitsAndColoursConvert) {
  EXPECT_DOUBLE_EQ(pixelsToColumnChars(64), 59.0 / 7.0);           // the default column
  EXPECT_DOUBLE_EQ(fileColumnWidthToPixels(9.140625), 63.984375);  // as the programs store 64
  EXPECT_DOUBLE_EQ(pixelsToPoints(20), 15);
  EXPECT_EQ(colorrefToRgb(0x00332211), 0x112233u);
  EXPECT_EQ(rgbToColorref(0xFF112233), 0x00332211u);  // alpha dropped
  for (int style = 0; style < 5; ++style)
    EXPECT_EQ(borderStyleFromWorkbook(borderStyleToWorkbook(style)), style);
  int decimals = -1;
  bool thousands = false;
  EXPECT_TRUE(parseNumberFormatCode(numberFormatCode(3, true), decimals, thousands));
  EXPECT_EQ(decimals, 3);
  EXPECT_TRUE(thousands);
  EXPECT_TRUE(parseNumberFormatCode("0", decimals, thousands));
  EXPECT_EQ(decimals, 0);
  EXPECT_FALSE(parseNumberFormatCode("0.00%", decimals, thousands));
  EXPECT_FALSE(parseNumberFormatCode("yyyy-mm-dd", decimals, thousands));
}

TEST(SheetXlsxTest, SheetFilesDispatchByExtension) {
  const fs::path dir =
      fs::temp_directory_path() / ("sheet_xlsx_test_" + std::to_string(::getpid()));
  fs::create_directories(dir);
  ControlDocument d;
  fillStandard(d);
  EXPECT_EQ(sheetFileKind("a.XLSX"), SheetFileKind::Xlsx);
  EXPECT_EQ(sheetFileKind("a.ods"), SheetFileKind::Ods);
  ASSERT_TRUE(saveSheetFile(d, dir / "s.xlsx"));
  ControlDocument back;
  ASSERT_TRUE(loadSheetFile(back, dir / "s.xlsx"));
  expectSame(d, back);
  // Saving ods is refused and writes nothing.
  const base::Status ods = saveSheetFile(d, dir / "s.ods");
  EXPECT_FALSE(ods);
  EXPECT_NE(ods.text().find("s.ods"), std::string::npos);
  EXPECT_FALSE(fs::exists(dir / "s.ods"));
  fs::remove_all(dir);
}

}  // namespace
}  // namespace krv::sheet
