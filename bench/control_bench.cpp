// Spreadsheet control: loading and saving sheet files, searching and the
// row and column transfers of the spreadsheet window.
#include <benchmark/benchmark.h>

#include <filesystem>

#include "platform/sheet/sheet_csv.h"
#include "platform/sheet/sheet_file.h"
#include "spread/krv_spread.h"

namespace {

using krv::sheet::ControlDocument;

// `cells` filled cells in 20 columns: numbers, every fifth a text, every
// 50th a formula.
void fillSheet(ControlDocument& doc, int cells, bool numbersOnly = false) {
  const int cols = 20;
  const int rows = (cells + cols - 1) / cols;
  doc.setMaxCols(cols);
  doc.setMaxRows(rows);
  int n = 0;
  for (int r = 1; r <= rows && n < cells; ++r) {
    for (int c = 1; c <= cols && n < cells; ++c, ++n) {
      if (!numbersOnly && n % 50 == 49) {
        doc.setFormula(c, r, L"=A" + std::to_wstring(r) + L"*2").ignore();
      } else if (!numbersOnly && n % 5 == 4) {
        doc.setData(c, r, L"IPE " + std::to_wstring(n % 600));
      } else {
        doc.engine().setValue(c, r, krv::sheet::Value::number(n * 0.25));
      }
    }
  }
}

std::filesystem::path benchFile(const char* name) {
  return std::filesystem::temp_directory_path() / (std::string("control_bench_") + name);
}

void BM_SaveNative(benchmark::State& state) {
  ControlDocument doc;
  fillSheet(doc, static_cast<int>(state.range(0)));
  auto file = benchFile("save.vts");
  std::string error;
  for (auto _ : state) {
    if (!krv::base::reportTo(krv::sheet::saveSheetFile(doc, file), error))
      state.SkipWithError(error.c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(file);
}
BENCHMARK(BM_SaveNative)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_LoadNative(benchmark::State& state) {
  ControlDocument doc;
  fillSheet(doc, static_cast<int>(state.range(0)), state.range(1) != 0);
  auto file = benchFile("load.vts");
  std::string error;
  krv::base::reportTo(krv::sheet::saveSheetFile(doc, file), error);
  for (auto _ : state) {
    ControlDocument loaded;
    if (!krv::base::reportTo(krv::sheet::loadSheetFile(loaded, file), error))
      state.SkipWithError(error.c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  std::filesystem::remove(file);
}
BENCHMARK(BM_LoadNative)
    ->Args({10000, 0})
    ->Args({100000, 0})
    ->Args({1000000, 1})
    ->Unit(benchmark::kMillisecond);

void BM_CsvRoundTrip(benchmark::State& state) {
  ControlDocument doc;
  fillSheet(doc, static_cast<int>(state.range(0)));
  for (auto _ : state) {
    auto text = krv::sheet::sheetToDelimited(doc, ',', krv::sheet::kMaxSheetFileBytes);
    if (!text) {
      state.SkipWithError(text.status().text().c_str());
      break;
    }
    ControlDocument loaded;
    if (krv::base::Status read = krv::sheet::sheetFromDelimited(loaded, *text, ','); !read)
      state.SkipWithError(read.text().c_str());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_CsvRoundTrip)->Arg(100000)->Unit(benchmark::kMillisecond);

class SheetWindow {
 public:
  explicit SheetWindow(int cells) {
    parent.Create(L"#32770", L"", WS_POPUP, CRect(0, 0, 800, 600), nullptr, 0);
    sheet.createInParent(&parent, CRect(0, 0, 700, 500), 100);
    fillSheet(sheet.document(), cells);
  }
  ~SheetWindow() {
    sheet.DestroyWindow();
    parent.DestroyWindow();
  }
  CWnd parent;
  Krv_Spread sheet;
};

void BM_FindTextMissing(benchmark::State& state) {
  SheetWindow w(static_cast<int>(state.range(0)));
  int c, r;
  for (auto _ : state) benchmark::DoNotOptimize(w.sheet.findText(L"HEB", 1, 1, c, r, true));
  state.SetItemsProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_FindTextMissing)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_ColumnTransfer(benchmark::State& state) {
  SheetWindow w(static_cast<int>(state.range(0)));
  Krv_StringArray items;
  for (auto _ : state) {
    w.sheet.getColumn(3, items, Value);
    w.sheet.setColumn(4, items);
  }
  state.SetItemsProcessed(state.iterations() * w.sheet.getMaxRows());
}
BENCHMARK(BM_ColumnTransfer)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_RowTransferDoubles(benchmark::State& state) {
  SheetWindow w(static_cast<int>(state.range(0)));
  Krv_Array<double> values;
  for (auto _ : state) {
    for (int r = 1; r <= 1000; ++r) {
      w.sheet.getRow(r, values);
      w.sheet.setRow(r, values);
    }
  }
  state.SetItemsProcessed(state.iterations() * 1000 * 20);
}
BENCHMARK(BM_RowTransferDoubles)->Arg(100000)->Unit(benchmark::kMillisecond);

}  // namespace
