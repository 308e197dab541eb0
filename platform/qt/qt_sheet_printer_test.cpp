// Printing sheets with Qt, offscreen: PDF files and what is on the pages.
#include "platform/qt/qt_sheet_printer.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPrintPreviewWidget>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "platform/qt/qt_application.h"
#include "platform/qt/sheet_print_painter.h"

namespace {

namespace fs = std::filesystem;
using krv::qt::QtSheetPrinter;
using krv::qt::SheetPrintPainter;
using krv::sheet::ControlDocument;
using krv::sheet::PrintSettings;
using krv::sheet::PrintTarget;

int countPages(const std::string& pdf) {
  static const std::regex page(R"(/Type\s*/Page[^s])");
  return static_cast<int>(
      std::distance(std::sregex_iterator(pdf.begin(), pdf.end(), page), std::sregex_iterator()));
}

std::string readAll(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), {});
}

class QtSheetPrinterTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(krv::qt::ensureApplication(krv::qt::Display::Offscreen));
    folder = fs::temp_directory_path() / ("krv_print_" + std::to_string(::getpid()));
    fs::remove_all(folder);
    fs::create_directories(folder);
    doc.setMaxCols(30);
    doc.setMaxRows(1000);
    doc.setColWidth(0, 40);
    doc.setRowHeight(0, 20);
  }
  void TearDown() override {
    fs::permissions(folder, fs::perms::owner_all, fs::perm_options::add);
    fs::remove_all(folder);
  }
  void fillRows(int rows) {
    for (int r = 1; r <= rows; ++r) {
      doc.setData(1, r, L"Row " + std::to_wstring(r));
      doc.setData(2, r, std::to_wstring(r * 10));
    }
  }
  // Page `page` painted at 96 dpi on paper of width x height pixels.
  QImage pageImage(const PrintSettings& s, int page = 0, int width = 400, int height = 300) {
    auto painter = SheetPrintPainter::prepare(doc, s, {double(width), double(height), 96});
    EXPECT_TRUE(painter.ok()) << painter.status().message();
    QImage image(width, height, QImage::Format_RGB32);
    image.fill(Qt::white);
    if (painter.ok()) {
      QPainter p(&image);
      painter->paintPage(p, page);
    }
    return image;
  }
  static bool hasColour(const QImage& image, QRgb colour) {
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if ((image.pixel(x, y) & 0xFFFFFF) == (colour & 0xFFFFFF)) return true;
    return false;
  }

  fs::path folder;
  ControlDocument doc;
  QtSheetPrinter printer;
};

TEST_F(QtSheetPrinterTest, APdfHasOnePagePerLaidOutPage) {
  fillRows(300);
  const fs::path out = folder / "bill.pdf";
  krv::sheet::setSheetPrinter(&printer);
  const krv::base::Status s =
      krv::sheet::printSheet(doc, PrintSettings{}, PrintTarget::PdfFile, out);
  krv::sheet::setSheetPrinter(nullptr);
  ASSERT_TRUE(s.ok()) << s.message();
  const std::string pdf = readAll(out);
  ASSERT_EQ(pdf.substr(0, 5), "%PDF-");
  // 300 rows of 20 pixels on A4 less 10 mm of margins: 51 rows a page.
  const int expected =
      SheetPrintPainter::prepare(doc, PrintSettings{}, {595, 842, 72})->pageCount();
  EXPECT_EQ(expected, 6);
  EXPECT_EQ(countPages(pdf), expected);

  // Without smart print a wide sheet runs across; pages are counted both ways.
  for (int c = 3; c <= 20; ++c) doc.setData(c, 1, L"wide");
  PrintSettings across;
  across.smartPrint = false;
  auto bytes = QtSheetPrinter::pdfBytes(doc, across);
  ASSERT_TRUE(bytes.ok());
  EXPECT_EQ(countPages(*bytes), 6 * 2);
}

TEST_F(QtSheetPrinterTest, AFailedPrintLeavesNoFileAndNamesThePath) {
  fillRows(3);
  const fs::path missing = folder / "no such folder" / "out.pdf";
  const krv::base::Status s = printer.print(doc, PrintSettings{}, PrintTarget::PdfFile, missing);
  ASSERT_FALSE(s.ok());
  EXPECT_NE(s.text().find(missing.string()), std::string::npos) << s.text();
  EXPECT_FALSE(fs::exists(missing.parent_path()));

  if (::geteuid() != 0) {  // the superuser writes into read-only folders
    const fs::path locked = folder / "locked";
    fs::create_directories(locked);
    fs::permissions(locked, fs::perms::owner_read | fs::perms::owner_exec);
    const krv::base::Status r =
        printer.print(doc, PrintSettings{}, PrintTarget::PdfFile, locked / "out.pdf");
    fs::permissions(locked, fs::perms::owner_all);
    ASSERT_FALSE(r.ok());
    EXPECT_TRUE(fs::is_empty(locked)) << "no file and no temporary file is left";
  }

  // An empty sheet prints nothing and keeps the file that was there.
  const fs::path kept = folder / "kept.pdf";
  std::ofstream(kept) << "old";
  ControlDocument empty;
  const krv::base::Status e = printer.print(empty, PrintSettings{}, PrintTarget::PdfFile, kept);
  ASSERT_FALSE(e.ok());
  EXPECT_EQ(e.message(), krv::qt::kNothingToPrintMessage);
  EXPECT_EQ(readAll(kept), "old");
  EXPECT_EQ(std::distance(fs::directory_iterator(folder), fs::directory_iterator()), 1);
}

TEST_F(QtSheetPrinterTest, CellsColoursGridAndFrameAreDrawnAsTheSettingsSay) {
  fillRows(3);
  doc.changeAttributes(2, 2, 2, 2, [](krv::sheet::CellAttributes& a) { a.backColor = 0x0000FF; });
  PrintSettings s;
  s.marginLeft = s.marginTop = s.marginRight = s.marginBottom = 0;
  s.headerFile = (folder / "missing.png").wstring();
  // No header picture, no margins: the table starts at the corner. Cell
  // B2 lies at x 40 + 64, y 20 + 20 (pixels at 96 dpi).
  const QImage coloured = pageImage(s);
  EXPECT_EQ(coloured.pixel(104 + 30, 40 + 5) & 0xFFFFFF, 0xFF0000u) << "red B2 (COLORREF is BGR)";
  EXPECT_EQ(coloured.pixel(0, 50) & 0xFFFFFF, 0x000000u) << "the frame's left edge";
  EXPECT_NE(coloured.pixel(103, 45) & 0xFFFFFF, 0xFFFFFFu) << "grid line right of A2";
  EXPECT_NE(coloured.pixel(20, 10) & 0xFFFFFF, 0xFFFFFFu) << "the header corner is shaded";

  s.colors = false;
  s.cellSeparators = false;
  s.border = false;
  const QImage plain = pageImage(s);
  EXPECT_FALSE(hasColour(plain, qRgb(255, 0, 0))) << "no fills without colours";
  EXPECT_EQ(plain.pixel(104 + 30, 40 + 5) & 0xFFFFFF, 0xFFFFFFu);
  EXPECT_EQ(plain.pixel(103, 45) & 0xFFFFFF, 0xFFFFFFu) << "no grid line";
  EXPECT_EQ(plain.pixel(0, 50) & 0xFFFFFF, 0xFFFFFFu) << "no frame";

  // Without headers the first cell sits in the corner.
  s.colHeader = s.rowHeader = false;
  s.colors = true;
  const QImage bare = pageImage(s);
  EXPECT_EQ(bare.pixel(64 + 30, 20 + 5) & 0xFFFFFF, 0xFF0000u);
}

TEST_F(QtSheetPrinterTest, HeaderAndFooterPicturesAndThePageNumberLine) {
  fillRows(40);
  const fs::path header = folder / "header.png";
  QImage blue(200, 20, QImage::Format_RGB32);
  blue.fill(qRgb(0, 0, 255));
  ASSERT_TRUE(blue.save(QString::fromStdString(header.string())));
  const fs::path footer = folder / "footer.bmp";
  QImage green(50, 50, QImage::Format_RGB32);
  green.fill(qRgb(0, 255, 0));
  ASSERT_TRUE(green.save(QString::fromStdString(footer.string()), "BMP"));
  PrintSettings s;
  s.marginLeft = s.marginTop = s.marginRight = s.marginBottom = 0;
  s.headerFile = header.wstring();
  s.footerFile = footer.wstring();
  // 400 x 300: the header picture is 400 x 40 at the top; the footer picture
  // at most 45 high (15 %), square, at the bottom left.
  const QImage page = pageImage(s, 1);
  EXPECT_EQ(page.pixel(390, 35) & 0xFFFFFF, 0x0000FFu);
  EXPECT_EQ(page.pixel(40, 290) & 0xFFFFFF, 0x00FF00u);
  EXPECT_EQ(page.pixel(60, 290) & 0xFFFFFF, 0xFFFFFFu) << "the footer keeps its aspect";
  auto layout = SheetPrintPainter::prepare(doc, s, {400, 300, 96});
  ASSERT_TRUE(layout.ok());
  const auto& line = layout->pages().pageNumberLine();
  EXPECT_GT(line.height, 5);
  // Something dark is written at the right end of the page number line.
  bool text = false;
  for (int y = int(line.top); y < int(line.top + line.height); ++y)
    for (int x = 300; x < 400; ++x) text = text || qGray(page.pixel(x, y)) < 128;
  EXPECT_TRUE(text);
  EXPECT_GT(layout->pages().tableTop(), 40);
}

TEST_F(QtSheetPrinterTest, ThePrinterAndPreviewDialogsAskFirstAndACancelIsSuccess) {
  // Nothing to print: said before any dialog opens (a dialog here would
  // stay open: nobody closes it).
  ControlDocument empty;
  for (const PrintTarget target : {PrintTarget::Printer, PrintTarget::Preview}) {
    const krv::base::Status s = printer.print(empty, PrintSettings{}, target, {});
    EXPECT_EQ(s.message(), krv::qt::kNothingToPrintMessage);
  }
  fillRows(3);
  for (const PrintTarget target : {PrintTarget::Printer, PrintTarget::Preview}) {
    QString shown;
    int previewPages = -1;
    int tries = 0;
    QTimer closer;
    QObject::connect(&closer, &QTimer::timeout, [&] {
      if (QWidget* dialog = QApplication::activeModalWidget()) {
        shown = dialog->metaObject()->className();
        if (auto* preview = dialog->findChild<QPrintPreviewWidget*>())
          previewPages = preview->pageCount();
        dialog->close();
      } else if (++tries > 200) {
        closer.stop();
        ADD_FAILURE() << "no dialog opened";
      }
    });
    closer.start(10);
    const krv::base::Status s = printer.print(doc, PrintSettings{}, target, {});
    closer.stop();
    EXPECT_TRUE(s.ok()) << s.message();
    EXPECT_EQ(shown, target == PrintTarget::Printer ? "QPrintDialog" : "QPrintPreviewDialog");
    if (target == PrintTarget::Preview) {
      EXPECT_EQ(previewPages, 1) << "the preview shows the page";
    }
  }
}

TEST_F(QtSheetPrinterTest, PagePicturesAreWrittenOnePerPage) {
  fillRows(120);
  auto count = QtSheetPrinter::savePagePictures(doc, PrintSettings{}, folder, 48);
  ASSERT_TRUE(count.ok()) << count.status().message();
  EXPECT_EQ(*count, 3);
  const QImage first(QString::fromStdString((folder / "page-1.png").string()));
  EXPECT_EQ(first.size(), QSize(397, 561)) << "A4 at 48 dpi";
  EXPECT_TRUE(fs::exists(folder / "page-3.png"));
  EXPECT_FALSE(fs::exists(folder / "page-4.png"));
}

}  // namespace
