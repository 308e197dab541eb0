// Speed of the workbook exchange on a sheet of 100,000 cells: 10 columns by
// 10,000 rows, four columns of numbers, three of texts and three of
// formulas (one of them with a function the engine does not know).
//
//   BM_XlsxExport100k   the sheet written as xlsx bytes (the writer library
//                       works through a temporary file; reading it back
//                       into memory is inside the timing).
//   BM_XlsxImport100k   those bytes read into a sheet, formulas calculated.
//   BM_XlsxToCsv100k    the bytes read and written as CSV text: the work of
//                       `korvane sheet convert IN.xlsx OUT.csv` without the
//                       file system; bench/xlsx_vs_soffice.sh compares it
//                       with the office suite's converter.
//
// --write=FILE (before the benchmark flags) writes the workload as an xlsx
// file and stops; --values=FILE.xlsx reads a workbook and prints the value
// text of every cell of its used range, comma-separated, one row a line
// (for checking another converter's CSV against what this one computes).
#include <benchmark/benchmark.h>

#include <cstring>
#include <iostream>
#include <string>

#include "platform/base/file_io.h"
#include "platform/sheet/sheet_csv.h"
#include "platform/sheet/sheet_import.h"
#include "platform/sheet/sheet_xlsx_writer.h"

namespace {

using krv::sheet::ControlDocument;

constexpr int kCols = 10, kRows = 10000;

void fillWorkload(ControlDocument& d) {
  d.setMaxCols(kCols);
  d.setMaxRows(kRows);
  auto& e = d.engine();
  for (int r = 1; r <= kRows; ++r) {
    for (int c = 1; c <= 4; ++c) e.setValue(c, r, krv::sheet::Value::number(r * 0.25 + c));
    for (int c = 5; c <= 7; ++c)
      e.setValue(
          c, r,
          krv::sheet::Value::text("M" + std::to_string(r % 97) + " item " + std::to_string(c)));
    const std::string row = std::to_string(r);
    e.setFormula(8, r, "=A" + row + "*2+B" + row).ignore();
    e.setFormula(9, r, "=IF(C" + row + ">100,\"big\",\"small\")").ignore();
    e.setFormula(10, r, "=TOLERANCE(D" + row + ",0.5)").ignore();
  }
}

const std::string& workloadBytes() {
  static const std::string bytes = [] {
    ControlDocument d;
    fillWorkload(d);
    return *krv::sheet::sheetToXlsx(d);
  }();
  return bytes;
}

void BM_XlsxExport100k(benchmark::State& state) {
  ControlDocument d;
  fillWorkload(d);
  for (auto _ : state) {
    auto bytes = krv::sheet::sheetToXlsx(d);
    if (!bytes) state.SkipWithError(bytes.status().text().c_str());
    benchmark::DoNotOptimize(bytes);
  }
}
BENCHMARK(BM_XlsxExport100k)->Unit(benchmark::kMillisecond);

void BM_XlsxImport100k(benchmark::State& state) {
  const std::string& bytes = workloadBytes();
  for (auto _ : state) {
    ControlDocument d;
    if (!krv::sheet::sheetFromWorkbook(d, bytes, krv::sheet::WorkbookKind::Xlsx))
      state.SkipWithError("the workload does not read");
    benchmark::DoNotOptimize(d.engine().value(8, kRows));
  }
}
BENCHMARK(BM_XlsxImport100k)->Unit(benchmark::kMillisecond);

void BM_XlsxToCsv100k(benchmark::State& state) {
  const std::string& bytes = workloadBytes();
  for (auto _ : state) {
    ControlDocument d;
    if (!krv::sheet::sheetFromWorkbook(d, bytes, krv::sheet::WorkbookKind::Xlsx))
      state.SkipWithError("the workload does not read");
    auto csv = krv::sheet::sheetToDelimited(d, ',', 1u << 30);
    benchmark::DoNotOptimize(csv);
  }
}
BENCHMARK(BM_XlsxToCsv100k)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strncmp(argv[1], "--write=", 8) == 0) {
    const krv::base::Status s = krv::base::writeFileAtomic(argv[1] + 8, workloadBytes());
    if (!s) std::cerr << s.text() << "\n";
    return s ? 0 : 1;
  }
  if (argc > 1 && std::strncmp(argv[1], "--values=", 9) == 0) {
    ControlDocument d;
    auto bytes = krv::base::readFile(argv[1] + 9);
    krv::base::Status s =
        bytes ? krv::sheet::sheetFromWorkbook(d, *bytes, krv::sheet::WorkbookKind::Xlsx)
              : bytes.status();
    if (!s) {
      std::cerr << s.text() << "\n";
      return 1;
    }
    for (int32_t r = 1; r <= d.maxRows(); ++r) {
      std::string line;
      for (int32_t c = 1; c <= d.maxCols(); ++c)
        line += (c > 1 ? "," : "") + d.engine().valueText(c, r);
      std::cout << line << "\n";
    }
    return 0;
  }
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
