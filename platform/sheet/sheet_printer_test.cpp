#include "platform/sheet/sheet_printer.h"

#include <gtest/gtest.h>

namespace krv::sheet {
namespace {

struct CountingPrinter : SheetPrinter {
  int calls = 0;
  PrintTarget target{};
  base::Status print(const ControlDocument&, const PrintSettings&, PrintTarget t,
                     const std::filesystem::path&) override {
    ++calls;
    target = t;
    return {};
  }
};

TEST(SheetPrinter, WithoutAnInstalledPrinterPrintingFailsWithTheReason) {
  ControlDocument doc;
  base::Status s = printSheet(doc, PrintSettings{}, PrintTarget::PdfFile, "x.pdf");
  ASSERT_FALSE(s.ok());
  EXPECT_EQ(s.message(), kNoPrinterMessage);
}

TEST(SheetPrinter, TheInstalledPrinterGetsTheJobUntilItIsRemoved) {
  ControlDocument doc;
  CountingPrinter printer;
  setSheetPrinter(&printer);
  EXPECT_TRUE(printSheet(doc, PrintSettings{}, PrintTarget::Preview).ok());
  EXPECT_EQ(printer.calls, 1);
  EXPECT_EQ(printer.target, PrintTarget::Preview);
  setSheetPrinter(nullptr);
  EXPECT_FALSE(printSheet(doc, PrintSettings{}, PrintTarget::Preview).ok());
  EXPECT_EQ(printer.calls, 1) << "a removed printer is not called";
}

}  // namespace
}  // namespace krv::sheet
