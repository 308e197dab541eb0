// Speed of the formula engine on the workloads of a standards evaluation
// and of a large sheet.
#include <benchmark/benchmark.h>

#include <fstream>
#include <string>
#include <utility>
#include <vector>

#include "platform/sheet/cell_address.h"
#include "platform/sheet/cell_document.h"

namespace {

using krv::sheet::CellDocument;

struct Entry {
  int32_t col, row;
  std::string content;
};

// The standards workload: 300 inputs then 500 formulas, "REF<TAB>CONTENT".
// Without the workload file the same shape is generated here.
std::vector<Entry> loadStandards() {
  std::vector<Entry> out;
  std::ifstream in(std::string(KRV_SOURCE_DIR) + "/bench/workloads/standards.txt");
  std::string line;
  while (in && std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    size_t tab = line.find('\t');
    if (line.empty() || line[0] == '#' || tab == std::string::npos) continue;
    auto a = krv::sheet::parseA1(line.substr(0, tab));
    if (a) out.push_back({a->col, a->row, line.substr(tab + 1)});
  }
  if (!out.empty()) return out;
  for (int i = 1; i <= 300; ++i) out.push_back({1, i, std::to_string((i * 37 % 1000) * 0.25 + 1)});
  for (int i = 1; i <= 500; ++i) {
    int a = 1 + (i * 7) % 300, b = 1 + (i * 13) % 300;
    std::string f = i == 1 ? "=ROUND(A" + std::to_string(a) + "*1.5,2)"
                           : "=IF(A" + std::to_string(a) + ">C" + std::to_string(i - 1) + ",ROUNDUP(A" +
                                 std::to_string(b) + "/25,0)*25,MAX(A" + std::to_string(a) + ",C" +
                                 std::to_string(i - 1) + ")+SQRT(ABS(A" + std::to_string(b) + ")))";
    out.push_back({3, i, f});
  }
  return out;
}

void BM_StandardsPattern(benchmark::State& state) {
  const std::vector<Entry> work = loadStandards();
  size_t chars = 0;
  for (auto _ : state) {
    CellDocument doc;
    for (const Entry& e : work) {
      if (!e.content.empty() && e.content[0] == '=') {
        doc.setFormula(e.col, e.row, e.content);
        std::string text = doc.valueText(e.col, e.row);
        chars += text.size();
      } else {
        doc.setCellText(e.col, e.row, e.content);
      }
    }
    benchmark::DoNotOptimize(chars);
  }
  state.counters["cells"] = static_cast<double>(work.size());
}
BENCHMARK(BM_StandardsPattern)->Unit(benchmark::kMicrosecond);

std::string letters(int col) { return krv::sheet::columnLetters(col); }

void buildRecalcSheet(CellDocument& doc) {
  for (int r = 1; r <= 1000; ++r) doc.setValue(1, r, krv::sheet::Value::number(r));
  for (int k = 0; k < 100000; ++k) {
    int c = 2 + k / 1000, r = 1 + k % 1000;
    std::string f;
    std::string p = letters(c - 1);
    if (c == 2) f = "=A" + std::to_string(r) + "*1.0001+1";
    else if (r % 10 == 0) f = "=SUM(" + p + std::to_string(r - 9) + ":" + p + std::to_string(r) + ")/10";
    else f = "=" + p + std::to_string(r) + "+" + p + std::to_string(r > 1 ? r - 1 : 1) + "*0.5";
    doc.setFormula(c, r, f);
  }
}

void BM_FullRecalc100k(benchmark::State& state) {
  CellDocument doc;
  buildRecalcSheet(doc);
  for (auto _ : state) {
    doc.recalcAll();
    benchmark::DoNotOptimize(doc.value(101, 1000));
  }
  state.counters["formulas"] = static_cast<double>(doc.formulaCount());
}
BENCHMARK(BM_FullRecalc100k)->Unit(benchmark::kMillisecond);

void BM_BuildSheet100k(benchmark::State& state) {
  for (auto _ : state) {
    CellDocument doc;
    buildRecalcSheet(doc);
    benchmark::DoNotOptimize(doc.formulaCount());
  }
}
BENCHMARK(BM_BuildSheet100k)->Unit(benchmark::kMillisecond)->Iterations(2);

// A sheet of 1,000,000 numeric cells: reports the bytes the cells take.
void BM_MillionNumbers(benchmark::State& state) {
  size_t bytes = 0;
  for (auto _ : state) {
    CellDocument doc;
    for (int c = 1; c <= 100; ++c)
      for (int r = 1; r <= 10000; ++r) doc.setValue(c, r, krv::sheet::Value::number(r * 0.5 + c));
    bytes = doc.memoryBytes();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_MillionNumbers)->Unit(benchmark::kMillisecond)->Iterations(1);

}  // namespace
