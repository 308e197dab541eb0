#include "platform/sheet/sheet_import.h"

#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>

#include "platform/base/file_io.h"
#include "platform/sheet/ods_formula.h"
#include "platform/sheet/sheet_file.h"
#include "platform/sheet/sheet_xlsx_writer.h"

namespace krv::sheet {
namespace {

namespace fs = std::filesystem;

// A zip container of stored (uncompressed) entries, for workbooks written
// by hand and containers damaged on purpose.
struct ZipFile {
  struct Entry {
    std::string name, data;
    uint16_t flags = 0;
    uint32_t claimedSize = 0;  // 0: the real size
  };
  std::vector<Entry> entries;

  ZipFile& add(std::string name, std::string data) {
    entries.push_back({std::move(name), std::move(data)});
    return *this;
  }
  std::string bytes() const {
    std::string out, dir;
    auto u16 = [](std::string& s, uint32_t v) {
      s += static_cast<char>(v & 0xFF);
      s += static_cast<char>((v >> 8) & 0xFF);
    };
    auto u32 = [&](std::string& s, uint32_t v) {
      u16(s, v & 0xFFFF);
      u16(s, v >> 16);
    };
    for (const Entry& e : entries) {
      const uint32_t crc = static_cast<uint32_t>(crc32(
          0, reinterpret_cast<const Bytef*>(e.data.data()), static_cast<uInt>(e.data.size())));
      const uint32_t size = static_cast<uint32_t>(e.data.size());
      const uint32_t claimed = e.claimedSize ? e.claimedSize : size;
      const uint32_t at = static_cast<uint32_t>(out.size());
      u32(out, 0x04034b50);
      u16(out, 20);
      u16(out, e.flags);
      u16(out, 0);  // stored
      u32(out, 0);
      u32(out, crc);
      u32(out, size);
      u32(out, claimed);
      u16(out, static_cast<uint32_t>(e.name.size()));
      u16(out, 0);
      out += e.name + e.data;
      u32(dir, 0x02014b50);
      u16(dir, 20);
      u16(dir, 20);
      u16(dir, e.flags);
      u16(dir, 0);
      u32(dir, 0);
      u32(dir, crc);
      u32(dir, size);
      u32(dir, claimed);
      u16(dir, static_cast<uint32_t>(e.name.size()));
      u16(dir, 0);
      u16(dir, 0);
      u16(dir, 0);
      u16(dir, 0);
      u32(dir, 0);
      u32(dir, at);
      dir += e.name;
    }
    const uint32_t dirAt = static_cast<uint32_t>(out.size());
    out += dir;
    u32(out, 0x06054b50);
    u16(out, 0);
    u16(out, 0);
    u16(out, static_cast<uint32_t>(entries.size()));
    u16(out, static_cast<uint32_t>(entries.size()));
    u32(out, static_cast<uint32_t>(dir.size()));
    u32(out, dirAt);
    u16(out, 0);
    return out;
  }
};

// The smallest xlsx package around one worksheet's <sheetData> content.
ZipFile xlsxOf(const std::string& sheetData) {
  ZipFile z;
  z.add(
       "[Content_Types].xml",
       R"(<?xml version="1.0" encoding="UTF-8"?><Types xmlns="http://schemas.openxmlformats.org/package/2006/content-types"><Default Extension="rels" ContentType="application/vnd.openxmlformats-package.relationships+xml"/><Default Extension="xml" ContentType="application/xml"/><Override PartName="/xl/workbook.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.sheet.main+xml"/><Override PartName="/xl/worksheets/sheet1.xml" ContentType="application/vnd.openxmlformats-officedocument.spreadsheetml.worksheet+xml"/></Types>)")
      .add(
          "_rels/.rels",
          R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/officeDocument" Target="xl/workbook.xml"/></Relationships>)")
      .add(
          "xl/workbook.xml",
          R"(<?xml version="1.0" encoding="UTF-8"?><workbook xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main" xmlns:r="http://schemas.openxmlformats.org/officeDocument/2006/relationships"><sheets><sheet name="Sheet1" sheetId="1" r:id="rId1"/></sheets></workbook>)")
      .add(
          "xl/_rels/workbook.xml.rels",
          R"(<?xml version="1.0" encoding="UTF-8"?><Relationships xmlns="http://schemas.openxmlformats.org/package/2006/relationships"><Relationship Id="rId1" Type="http://schemas.openxmlformats.org/officeDocument/2006/relationships/worksheet" Target="worksheets/sheet1.xml"/></Relationships>)")
      .add(
          "xl/worksheets/sheet1.xml",
          R"(<?xml version="1.0" encoding="UTF-8"?><worksheet xmlns="http://schemas.openxmlformats.org/spreadsheetml/2006/main"><sheetData>)" +
              sheetData + "</sheetData></worksheet>");
  return z;
}

// The smallest ods package around one table's rows.
ZipFile odsOf(const std::string& rows, const std::string& manifestExtra = {}) {
  ZipFile z;
  z.add("mimetype", "application/vnd.oasis.opendocument.spreadsheet")
      .add(
          "META-INF/manifest.xml",
          R"(<?xml version="1.0" encoding="UTF-8"?><manifest:manifest xmlns:manifest="urn:oasis:names:tc:opendocument:xmlns:manifest:1.0" manifest:version="1.2"><manifest:file-entry manifest:full-path="/" manifest:media-type="application/vnd.oasis.opendocument.spreadsheet"/><manifest:file-entry manifest:full-path="content.xml" manifest:media-type="text/xml">)" +
              manifestExtra + "</manifest:file-entry></manifest:manifest>")
      .add(
          "content.xml",
          R"(<?xml version="1.0" encoding="UTF-8"?><office:document-content xmlns:office="urn:oasis:names:tc:opendocument:xmlns:office:1.0" xmlns:table="urn:oasis:names:tc:opendocument:xmlns:table:1.0" xmlns:text="urn:oasis:names:tc:opendocument:xmlns:text:1.0" xmlns:of="urn:oasis:names:tc:opendocument:xmlns:of:1.2" office:version="1.2"><office:body><office:spreadsheet><table:table table:name="Sheet1">)" +
              rows + "</table:table></office:spreadsheet></office:body></office:document-content>");
  return z;
}

class WorkbookImportTest : public ::testing::Test {
 protected:
  void SetUp() override {
    doc.setMaxCols(2);
    doc.setMaxRows(2);
    doc.setData(1, 1, L"before");
  }
  // Refused with a message holding `words`, and the document unchanged.
  void expectRefused(std::string_view bytes, WorkbookKind kind, const std::string& words,
                     const WorkbookLimits& limits = {}) {
    const base::Status s = sheetFromWorkbook(doc, bytes, kind, limits);
    ASSERT_FALSE(s) << "accepted, expected: " << words;
    EXPECT_NE(s.text().find(words), std::string::npos) << s.text();
    EXPECT_EQ(doc.maxCols(), 2);
    EXPECT_EQ(*doc.data(1, 1), L"before");
  }
  ControlDocument doc;
};

TEST_F(WorkbookImportTest, HandWrittenWorkbooksRead) {
  // Shared formulas spread to their cells; an unparseable formula stays as
  // its text; an error formula is the error value.
  const ZipFile x = xlsxOf(
      R"(<row r="1"><c r="A1"><v>2</v></c><c r="B1"><f t="shared" ref="B1:B3" si="0">A1*10</f><v>20</v></c><c r="C1" t="b"><v>1</v></c></row>)"
      R"(<row r="2"><c r="A2"><v>3</v></c><c r="B2"><f t="shared" si="0"/><v>30</v></c><c r="C2"><f>SUM((1</f></c></row>)"
      R"(<row r="3"><c r="A3"><v>4</v></c><c r="D3"><v>nan</v></c><c r="B3"><f t="shared" si="0"/></c><c r="C3"><f>CUSTOMNAME(A1,"x")</f></c></row>)");
  ASSERT_TRUE(sheetFromWorkbook(doc, x.bytes(), WorkbookKind::Xlsx));
  EXPECT_EQ(*doc.formula(2, 3), L"=A3*10");
  EXPECT_EQ(*doc.data(2, 3), L"40");
  EXPECT_EQ(*doc.data(3, 1), L"TRUE");
  EXPECT_EQ(*doc.formula(3, 2), L"");
  EXPECT_EQ(*doc.data(3, 2), L"=SUM((1");
  EXPECT_EQ(*doc.formula(3, 3), L"=CUSTOMNAME(A1,\"x\")");
  EXPECT_EQ(*doc.data(4, 3), L"#NUM!");  // no cell holds a NaN
  EXPECT_EQ(doc.maxCols(), 4);
  EXPECT_EQ(doc.maxRows(), 3);

  const ZipFile o = odsOf(
      R"(<table:table-row><table:table-cell office:value-type="float" office:value="1.5"/><table:table-cell office:value-type="string"><text:p>text</text:p></table:table-cell></table:table-row>)"
      R"(<table:table-row><table:table-cell office:value-type="boolean" office:boolean-value="true"><text:p>TRUE</text:p></table:table-cell><table:table-cell office:value-type="boolean" office:boolean-value="false"/></table:table-row>)"
      R"~(<table:table-row><table:table-cell table:formula="of:=SUM([.A1:.A1];2)"/><table:table-cell table:formula="of:=GETCELL([.A1];&quot;a;b&quot;)"/></table:table-row>)~");
  ASSERT_TRUE(sheetFromWorkbook(doc, o.bytes(), WorkbookKind::Ods));
  EXPECT_EQ(*doc.data(1, 1), L"1.5");
  EXPECT_EQ(*doc.data(2, 1), L"text");
  // Boolean cells, which the reader library drops, come as formulas.
  EXPECT_EQ(*doc.formula(1, 2), L"=TRUE()");
  EXPECT_EQ(*doc.data(1, 2), L"TRUE");
  EXPECT_EQ(*doc.data(2, 2), L"FALSE");
  EXPECT_EQ(*doc.formula(1, 3), L"=SUM(A1:A1,2)");
  EXPECT_EQ(*doc.data(1, 3), L"3.5");
  EXPECT_EQ(*doc.formula(2, 3), L"=GETCELL(A1,\"a;b\")");
}

TEST_F(WorkbookImportTest, DamagedContainersAreRefused) {
  ControlDocument sample;
  sample.setMaxCols(3);
  sample.setMaxRows(3);
  sample.setData(1, 1, L"12");
  sample.setData(2, 2, L"text");
  const std::string good = *sheetToXlsx(sample);
  expectRefused("", WorkbookKind::Xlsx, "not a zip container");
  expectRefused("just some text that is long enough", WorkbookKind::Ods, "not a zip container");
  expectRefused(good.substr(0, good.size() / 2), WorkbookKind::Xlsx, "truncated");
  expectRefused(good.substr(0, good.size() - 10), WorkbookKind::Xlsx, "truncated");
  // Damaged compressed data inside an intact container.
  std::string corrupt = good;
  for (std::size_t i = 200; i < 1200 && i < corrupt.size(); i += 7) corrupt[i] ^= 0x5A;
  expectRefused(corrupt, WorkbookKind::Xlsx, "");
  // A valid zip that is not a workbook.
  expectRefused(ZipFile().add("a.txt", "hello").bytes(), WorkbookKind::Xlsx, "damaged or not a");
  // An xlsx read as ods.
  expectRefused(good, WorkbookKind::Ods, "damaged or not a");
}

TEST_F(WorkbookImportTest, ProtectedWorkbooksAreRefused) {
  std::string ole("\xD0\xCF\x11\xE0\xA1\xB1\x1A\xE1", 8);
  ole += std::string(512, '\0');
  expectRefused(ole, WorkbookKind::Xlsx, "password-protected");
  ZipFile z = xlsxOf("");
  z.entries[4].flags = 1;
  expectRefused(z.bytes(), WorkbookKind::Xlsx, "is encrypted");
  const ZipFile o = odsOf(
      "", R"(<manifest:encryption-data manifest:checksum-type="SHA1" manifest:checksum="x"/>)");
  expectRefused(o.bytes(), WorkbookKind::Ods, "password-protected");
}

TEST_F(WorkbookImportTest, OversizedWorkbooksAreRefusedBeforeBuilding) {
  // Declared sizes beyond the limit: a zip bomb is refused unread.
  ZipFile bomb = xlsxOf("");
  bomb.entries[4].claimedSize = 0xFFFFFFF0u;
  expectRefused(bomb.bytes(), WorkbookKind::Xlsx, "zip bomb");
  // A real container over a small limit.
  std::string rows;
  for (int r = 1; r <= 50; ++r)
    rows += "<row r=\"" + std::to_string(r) + "\"><c r=\"A" + std::to_string(r) + "\"><v>" +
            std::to_string(r) + "</v></c></row>";
  const std::string fifty = xlsxOf(rows).bytes();
  WorkbookLimits small;
  small.zip.maxUnpackedBytes = 1000;
  expectRefused(fifty, WorkbookKind::Xlsx, "zip bomb", small);
  WorkbookLimits fewCells;
  fewCells.maxCells = 20;
  expectRefused(fifty, WorkbookKind::Xlsx, "more than 20 cells", fewCells);
  ASSERT_TRUE(sheetFromWorkbook(doc, fifty, WorkbookKind::Xlsx));
  EXPECT_EQ(doc.maxRows(), 50);
  // Cells beyond the control's rows and columns.
  doc.setData(1, 1, L"before");
  doc.setMaxCols(2);
  expectRefused(xlsxOf(R"(<row r="1048577"><c r="A1048577"><v>1</v></c></row>)").bytes(),
                WorkbookKind::Xlsx, "row 1048577");
  expectRefused(xlsxOf(R"(<row r="1"><c r="XFE1"><v>1</v></c></row>)").bytes(), WorkbookKind::Xlsx,
                "XFE1");
  const std::string repeated =
      odsOf(
          R"(<table:table-row table:number-rows-repeated="3"><table:table-cell table:number-columns-repeated="20000" office:value-type="float" office:value="1"/></table:table-row>)")
          .bytes();
  expectRefused(repeated, WorkbookKind::Ods, "column 16385");
}

TEST_F(WorkbookImportTest, SavedFuzzInputsLoadOrAreRefused) {
  // The seeds of the fuzzers and what they found: damaged ones (named so)
  // are refused, the others load, and what loads writes and reads again.
  int files = 0;
  for (const char* folder : {"fuzz_xlsx", "fuzz_ods"}) {
    for (const auto& entry : fs::directory_iterator(fs::path(KRV_TESTDATA_DIR) / folder)) {
      SCOPED_TRACE(entry.path().filename().string());
      ++files;
      auto bytes = base::readFile(entry.path());
      ASSERT_TRUE(bytes);
      const WorkbookKind kind =
          entry.path().extension() == ".ods" ? WorkbookKind::Ods : WorkbookKind::Xlsx;
      const std::string name = entry.path().filename().string();
      const bool damaged =
          name.starts_with("corrupt") || name.starts_with("bad") || name.starts_with("unclosed");
      ControlDocument d;
      const base::Status read = sheetFromWorkbook(d, *bytes, kind);
      EXPECT_EQ(bool(read), !damaged) << read.text();
      if (!read) continue;
      auto again = sheetToXlsx(d);
      ASSERT_TRUE(again) << again.status().text();
      ControlDocument copy;
      EXPECT_TRUE(sheetFromWorkbook(copy, *again, WorkbookKind::Xlsx));
    }
  }
  EXPECT_GE(files, 8);
  // An entry that unpacks to more than it declares is refused too.
  ZipFile liar = xlsxOf("<row r=\"1\"><c r=\"A1\"><v>1</v></c></row>");
  liar.entries[4].claimedSize = 10;
  expectRefused(liar.bytes(), WorkbookKind::Xlsx, "damaged");
}

TEST_F(WorkbookImportTest, LoadSheetFileNamesTheFileAndKeepsTheDocument) {
  const fs::path file = fs::temp_directory_path() / ("bad_" + std::to_string(::getpid()) + ".xlsx");
  ASSERT_TRUE(base::writeFileAtomic(file, "PK\x03\x04 broken"));
  const base::Status s = loadSheetFile(doc, file);
  EXPECT_FALSE(s);
  EXPECT_NE(s.text().find(file.filename().string()), std::string::npos) << s.text();
  EXPECT_EQ(*doc.data(1, 1), L"before");
  fs::remove(file);
}

TEST(OdsFormulaTest, ReferencesSeparatorsAndNamespaces) {
  EXPECT_EQ(*odsFormulaToA1("of:=[.A1]+[.$B$2]"), "=A1+$B$2");
  EXPECT_EQ(*odsFormulaToA1("of:=SUM([.A1:.B2];[$Sheet2.C3])"), "=SUM(A1:B2,Sheet2!C3)");
  EXPECT_EQ(*odsFormulaToA1("of:=['My sheet'.A1:.A3]"), "='My sheet'!A1:A3");
  EXPECT_EQ(*odsFormulaToA1("of:=CONCAT(\"a;[.b]\";\"\"\"\")"), "=CONCAT(\"a;[.b]\",\"\"\"\")");
  EXPECT_EQ(*odsFormulaToA1("of:=SUM({1;2|3;4})"), "=SUM({1,2;3,4})");
  EXPECT_EQ(*odsFormulaToA1("of:=COM.MICROSOFT.IFERROR(1;2)+TOLERANCE(1)"),
            "=IFERROR(1,2)+TOLERANCE(1)");
  EXPECT_EQ(*odsFormulaToA1("=A1"), "=A1");
  EXPECT_FALSE(odsFormulaToA1("of:=\"open"));
  EXPECT_EQ(upperFunctionNames("=getcell(\"a(b\",'my sheet(1)'!A1)+com.x.y(1)"),
            "=GETCELL(\"a(b\",'my sheet(1)'!A1)+COM.X.Y(1)");
  EXPECT_FALSE(odsFormulaToA1("of:=[.A1"));
}

}  // namespace
}  // namespace krv::sheet
