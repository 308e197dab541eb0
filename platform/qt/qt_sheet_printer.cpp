#include "platform/qt/qt_sheet_printer.h"

#include <QBuffer>
#include <QImage>
#include <QPageLayout>
#include <QPageSize>
#include <QPagedPaintDevice>
#include <QPainter>
#include <QPdfWriter>
#include <QPrintDialog>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <string>

#include "platform/base/file_io.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/sheet_print_painter.h"

namespace krv::qt {

using krv::base::Result;
using krv::base::Status;
using krv::sheet::ControlDocument;
using krv::sheet::PrintSettings;

namespace {

// Lays the sheet out on the device's whole paper; an error when there is
// nothing to print.
Result<SheetPrintPainter> prepareFor(const ControlDocument& doc, const PrintSettings& settings,
                                     double width, double height, double dpi) {
  auto painter = SheetPrintPainter::prepare(doc, settings, {width, height, dpi});
  if (!painter) return painter.status();
  if (painter->pageCount() == 0) return Status::error(kNothingToPrintMessage);
  return painter;
}

// Paints every page onto a paged device, starting a new page between them.
Status paintPages(const SheetPrintPainter& pages, QPagedPaintDevice& device) {
  QPainter painter;
  if (!painter.begin(&device)) return Status::error("The printer did not start");
  for (int i = 0; i < pages.pageCount(); ++i) {
    if (i > 0 && !device.newPage()) return Status::error("The printer refused a new page");
    pages.paintPage(painter, i);
  }
  if (!painter.end()) return Status::error("The printer did not finish the pages");
  return {};
}

Result<SheetPrintPainter> prepareForPrinter(const ControlDocument& doc,
                                            const PrintSettings& settings, QPrinter& printer) {
  printer.setFullPage(true);
  const QRectF paper = printer.paperRect(QPrinter::DevicePixel);
  return prepareFor(doc, settings, paper.width(), paper.height(), printer.resolution());
}

}  // namespace

Result<std::string> QtSheetPrinter::pdfBytes(const ControlDocument& doc,
                                             const PrintSettings& settings, int dpi) {
  QByteArray bytes;
  {
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QPdfWriter writer(&buffer);
    writer.setResolution(dpi);
    writer.setPageLayout(
        QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(0, 0, 0, 0)));
    writer.setTitle(toQString(settings.title));
    writer.setCreator(QStringLiteral("korvane"));
    const QRect paper = writer.pageLayout().fullRectPixels(writer.resolution());
    auto pages = prepareFor(doc, settings, paper.width(), paper.height(), writer.resolution());
    if (!pages) return pages.status();
    if (Status s = paintPages(*pages, writer); !s.ok()) return s;
  }
  return std::string(bytes.constData(), static_cast<size_t>(bytes.size()));
}

Result<int> QtSheetPrinter::savePagePictures(const ControlDocument& doc,
                                             const PrintSettings& settings,
                                             const std::filesystem::path& folder, int dpi) {
  const QRect paper =
      QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF()).fullRectPixels(dpi);
  auto pages = prepareFor(doc, settings, paper.width(), paper.height(), dpi);
  if (!pages) return pages.status();
  for (int i = 0; i < pages->pageCount(); ++i) {
    QImage image(paper.size(), QImage::Format_RGB32);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      pages->paintPage(painter, i);
    }
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    const std::filesystem::path file = folder / ("page-" + std::to_string(i + 1) + ".png");
    if (!image.save(&buffer, "PNG")) return Status::fileError(file, "the picture was not made");
    if (Status s = krv::base::writeFileAtomic(
            file, std::string_view(bytes.constData(), static_cast<size_t>(bytes.size())));
        !s.ok())
      return s;
  }
  return pages->pageCount();
}

Status QtSheetPrinter::print(const ControlDocument& doc, const PrintSettings& settings,
                             krv::sheet::PrintTarget target, const std::filesystem::path& pdfFile) {
  switch (target) {
    case krv::sheet::PrintTarget::PdfFile: {
      if (pdfFile.empty()) return Status::error("No file to print to was given");
      auto bytes = pdfBytes(doc, settings);
      if (!bytes) return bytes.status();
      return krv::base::writeFileAtomic(pdfFile, *bytes);
    }
    case krv::sheet::PrintTarget::Printer: {
      QPrinter printer(QPrinter::HighResolution);
      printer.setDocName(toQString(settings.title));
      // A sheet that cannot print says why before the person picks a printer.
      if (auto check = prepareForPrinter(doc, settings, printer); !check) return check.status();
      QPrintDialog dialog(&printer);
      if (dialog.exec() != QDialog::Accepted) return {};
      auto pages = prepareForPrinter(doc, settings, printer);
      if (!pages) return pages.status();
      return paintPages(*pages, printer);
    }
    case krv::sheet::PrintTarget::Preview: {
      // Lay out once up front so that a sheet that cannot print says why
      // instead of showing an empty preview.
      QPrinter printer(QPrinter::HighResolution);
      printer.setDocName(toQString(settings.title));
      if (auto check = prepareForPrinter(doc, settings, printer); !check) return check.status();
      Status result;
      QPrintPreviewDialog preview(&printer);
      QObject::connect(&preview, &QPrintPreviewDialog::paintRequested, [&](QPrinter* device) {
        auto pages = prepareForPrinter(doc, settings, *device);
        result = pages ? paintPages(*pages, *device) : pages.status();
      });
      preview.exec();
      return result;
    }
  }
  return Status::error("Unknown print target");
}

}  // namespace krv::qt
