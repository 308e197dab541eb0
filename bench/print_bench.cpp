// Printing sheets, offscreen.
//
//   BM_PrintPdf/ROWS     the A4 PDF of a bill of ROWS rows (8 columns with
//                        colours, borders, spans, number and check box
//                        cells, hidden rows and a hidden column), as
//                        `korvane sheet print` makes it, in memory. The
//                        pages counter says how many pages it holds.
//   BM_LayoutPages/ROWS  the page layout alone.
//
// `print_bench --write-sample FILE ROWS` writes that bill as a sheet file
// instead, to print and look at.
#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <string>

#include "platform/qt/qt_application.h"
#include "platform/qt/qt_sheet_printer.h"
#include "platform/sheet/sheet_file.h"
#include "platform/sheet/sheet_pages.h"

namespace {

using krv::sheet::CellAttributes;
using krv::sheet::ControlDocument;

// COLORREF values (0x00BBGGRR).
constexpr uint32_t kTitleBack = 0x00F0D8B8;  // light blue
constexpr uint32_t kStripe = 0x00F4F4F4;
constexpr uint32_t kSectionBack = 0x00C8F0FF;  // light yellow
constexpr uint32_t kRed = 0x000000C0;

// A bill of `rows` rows: a title row spanning the columns, column titles
// with borders, then parts with a section row (spanned, framed) every 25
// rows, every 40th row hidden, column G hidden, framed notes spanning
// four rows.
void makeBill(ControlDocument& d, int rows) {
  d.setMaxCols(9);
  d.setMaxRows(rows);
  d.setColWidth(0, 40);
  const double widths[] = {0, 40, 150, 100, 70, 70, 80, 60, 70, 150};
  for (int c = 1; c <= 9; ++c) d.setColWidth(c, widths[c]);
  d.setData(1, 1, L"Bill of materials: hall frame, axis A to F");
  d.addSpan(1, 1, 9, 1);
  d.setRowHeight(1, 28);
  d.changeAttributes(1, 1, 9, 1, [](CellAttributes& a) {
    a.backColor = kTitleBack;
    a.fontHeight = 16;
    a.fontWeight = 700;
  });
  const wchar_t* titles[] = {L"Pos",    L"Part",  L"Profile", L"Length", L"Count",
                             L"Weight", L"Spare", L"Done",    L"Note"};
  for (int c = 1; c <= 9; ++c) d.setData(c, 2, titles[c - 1]);
  d.changeAttributes(1, 2, 9, 2, [](CellAttributes& a) {
    a.fontWeight = 700;
    a.borderMask = 8;
    a.borderColor = 0;
  });
  d.changeAttributes(4, 3, 6, rows, [](CellAttributes& a) {
    a.type = krv::sheet::kCellTypeNumber;
    a.decimals = 1;
  });
  d.changeAttributes(8, 3, 8, rows,
                     [](CellAttributes& a) { a.type = krv::sheet::kCellTypeCheckBox; });
  const wchar_t* profiles[] = {L"HEA 200", L"IPE 300", L"UNP 120", L"L 60x6", L"FL 10x200"};
  for (int r = 3; r <= rows; ++r) {
    if ((r - 3) % 25 == 0) {
      d.setData(1, r, L"Section " + std::to_wstring((r - 3) / 25 + 1) + L": columns and beams");
      d.addSpan(1, r, 4, 1);
      d.changeAttributes(1, r, 9, r, [](CellAttributes& a) {
        a.backColor = kSectionBack;
        a.borderMask = 4 | 8;
        a.borderColor = 0x00806040;
      });
      continue;
    }
    d.setData(1, r, std::to_wstring(r - 2));
    d.setData(2, r, (r % 3 ? L"Column " : L"Beam ") + std::to_wstring(r));
    d.setData(3, r, profiles[r % 5]);
    d.setData(4, r, std::to_wstring(1000 + (r * 37) % 5000));
    d.setData(5, r, std::to_wstring(1 + r % 4));
    d.setData(6, r, std::to_wstring((r * 7919) % 100000 / 10.0));
    d.setData(7, r, L"x");
    d.setData(8, r, r % 2 ? L"1" : L"0");
    if (r % 7 == 0) d.setData(9, r, L"check the end plate");
    if (r % 2 == 0)
      d.changeAttributes(1, r, 9, r, [](CellAttributes& a) { a.backColor = kStripe; });
    if (r % 11 == 0) d.changeAttributes(6, r, 6, r, [](CellAttributes& a) { a.foreColor = kRed; });
    if (r % 40 == 0) d.setRowHidden(r, true);
  }
  // Notes over four rows; the first one crosses the break after row 52 of
  // an A4 page.
  for (int r = 50; r + 3 <= rows; r += 45) {
    d.setData(9, r, L"see drawing " + std::to_wstring(r));
    d.addSpan(9, r, 1, 4);
    d.changeAttributes(9, r, 9, r, [](CellAttributes& a) {
      a.borderMask = 1 | 2 | 4 | 8;
      a.borderColor = kRed;
    });
  }
  d.setColHidden(7, true);
}

void BM_PrintPdf(benchmark::State& state) {
  krv::qt::ensureApplication(krv::qt::Display::Offscreen);
  ControlDocument doc;
  makeBill(doc, static_cast<int>(state.range(0)));
  const krv::sheet::PrintSettings settings;
  size_t bytes = 0;
  for (auto _ : state) {
    auto pdf = krv::qt::QtSheetPrinter::pdfBytes(doc, settings);
    if (!pdf) state.SkipWithError(pdf.status().message().c_str());
    bytes = pdf ? pdf->size() : 0;
    benchmark::DoNotOptimize(bytes);
  }
  auto pages = krv::sheet::SheetPages::layout(doc, settings, {4961, 7016, 600});
  state.counters["pages"] = pages ? pages->pageCount() : 0;
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_PrintPdf)->Arg(1000)->Arg(5000)->Arg(10000)->Unit(benchmark::kMillisecond);

void BM_LayoutPages(benchmark::State& state) {
  ControlDocument doc;
  makeBill(doc, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto pages = krv::sheet::SheetPages::layout(doc, {}, {4961, 7016, 600});
    benchmark::DoNotOptimize(pages);
  }
}
BENCHMARK(BM_LayoutPages)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc == 4 && std::strcmp(argv[1], "--write-sample") == 0) {
    ControlDocument doc;
    makeBill(doc, std::stoi(argv[3]));
    const krv::base::Status s = krv::sheet::saveSheetFile(doc, argv[2]);
    if (!s.ok()) std::cerr << s.text() << "\n";
    return s.ok() ? 0 : 1;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
