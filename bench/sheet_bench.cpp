// Speed of the formula engine on the workloads of a standards evaluation and
// of a large sheet. bench/hyperformula/bench.mjs runs the same operations,
// within the same timing boundaries, through a peer engine:
//
//   BM_StandardsPattern     one evaluation: a fresh sheet (the cell document is
//                           both engine and sheet); the inputs of
//                           bench/workloads/standards.txt set one by one; each
//                           formula set and its value read at once; the sheet
//                           discarded.
//   BM_Build100k            the 100,000-formula sheet built and calculated from
//                           prepared cell texts, one value read (the texts are
//                           made and the sheet discarded outside the timing).
//   BM_ChangeAllInputs100k  on that sheet: all 1,000 inputs changed, then one
//                           recalculation, one value read.
//   BM_ChangeOneInput100k   on that sheet: one input changed with its
//                           dependents recalculated, one value read.
//
// --values=DIR (before the benchmark flags) first writes what the engine
// computes to DIR: standards.tsv (every formula of the standards workload),
// build.tsv, all_inputs.tsv and one_input.tsv (every cell of the large sheet
// after building, after changing all inputs, then after changing one), one
// "REF<TAB>KIND<TAB>VALUE" line per cell, for the peer's values to be
// compared with.
#include <benchmark/benchmark.h>

#include <charconv>
#include <chrono>
#include <cstring>
#include <fstream>
#include <iostream>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "platform/sheet/cell_address.h"
#include "platform/sheet/cell_document.h"

namespace {

using krv::sheet::CellDocument;
using krv::sheet::Value;

struct Entry {
  int32_t col, row;
  std::string content;
  bool isFormula() const { return !content.empty() && content[0] == '='; }
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
                           : "=IF(A" + std::to_string(a) + ">C" + std::to_string(i - 1) +
                                 ",ROUNDUP(A" + std::to_string(b) + "/25,0)*25,MAX(A" +
                                 std::to_string(a) + ",C" + std::to_string(i - 1) + ")+SQRT(ABS(A" +
                                 std::to_string(b) + ")))";
    out.push_back({3, i, f});
  }
  return out;
}

// One evaluation of the standards pattern; `read` gets each formula's value.
template <class Read>
void evaluateStandards(const std::vector<Entry>& work, Read&& read) {
  CellDocument doc;
  for (const Entry& e : work) {
    if (e.isFormula()) {
      doc.setFormula(e.col, e.row, e.content).ignore();
      read(e, doc.value(e.col, e.row));
    } else {
      doc.setCellText(e.col, e.row, e.content).ignore();
    }
  }
}

void BM_StandardsPattern(benchmark::State& state) {
  const std::vector<Entry> work = loadStandards();
  size_t seen = 0;
  for (auto _ : state) {
    evaluateStandards(work, [&](const Entry&, const Value& v) {
      benchmark::DoNotOptimize(v);
      ++seen;
    });
  }
  benchmark::DoNotOptimize(seen);
  state.counters["cells"] = static_cast<double>(work.size());
}
BENCHMARK(BM_StandardsPattern)->Unit(benchmark::kMicrosecond);

// ---- the large sheet ---------------------------------------------------------------

constexpr int kInputs = 1000;      // A1:A1000
constexpr int kFormulas = 100000;  // columns B onwards, 1,000 rows each
constexpr int kLastCol = 1 + kFormulas / kInputs;
constexpr int32_t kProbeCol = kLastCol;  // depends on every input through its row
constexpr int32_t kProbeRow = kInputs;

// The formulas of the large sheet, in the order they are set.
std::vector<Entry> largeSheetFormulas() {
  std::vector<Entry> out;
  out.reserve(kFormulas);
  for (int k = 0; k < kFormulas; ++k) {
    const int c = 2 + k / kInputs, r = 1 + k % kInputs;
    const std::string p = krv::sheet::columnLetters(c - 1);
    std::string f;
    if (c == 2)
      f = "=A" + std::to_string(r) + "*1.0001+1";
    else if (r % 10 == 0)
      f = "=SUM(" + p + std::to_string(r - 9) + ":" + p + std::to_string(r) + ")/10";
    else
      f = "=" + p + std::to_string(r) + "+" + p + std::to_string(r > 1 ? r - 1 : 1) + "*0.5";
    out.push_back({c, r, std::move(f)});
  }
  return out;
}

// The inputs' values: round 0 is r, every later round a different set.
double inputValue(int row, int round) {
  return round == 0 ? row : row * (round % 2 ? 0.75 : 1.25) + round % 7;
}

void buildLargeSheet(CellDocument& doc, const std::vector<Entry>& formulas) {
  for (int r = 1; r <= kInputs; ++r) doc.setValue(1, r, Value::number(inputValue(r, 0)));
  for (const Entry& e : formulas) doc.setFormula(e.col, e.row, e.content).ignore();
}

void changeAllInputs(CellDocument& doc, int round) {
  for (int r = 1; r <= kInputs; ++r) doc.setValue(1, r, Value::number(inputValue(r, round)));
  doc.recalcAll();
}

// With automatic calculation on, the change recalculates the dependents.
void changeOneInput(CellDocument& doc, int round) {
  doc.setValue(1, 1, Value::number(inputValue(1, round)));
}

void BM_Build100k(benchmark::State& state) {
  const std::vector<Entry> formulas = largeSheetFormulas();
  for (auto _ : state) {
    auto doc = std::make_unique<CellDocument>();
    const auto start = std::chrono::steady_clock::now();
    buildLargeSheet(*doc, formulas);
    benchmark::DoNotOptimize(doc->value(kProbeCol, kProbeRow));
    const auto end = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(end - start).count());
  }
  state.counters["formulas"] = kFormulas;
}
BENCHMARK(BM_Build100k)->Unit(benchmark::kMillisecond)->UseManualTime();

void BM_ChangeAllInputs100k(benchmark::State& state) {
  CellDocument doc;
  buildLargeSheet(doc, largeSheetFormulas());
  int round = 0;
  for (auto _ : state) {
    changeAllInputs(doc, ++round);
    benchmark::DoNotOptimize(doc.value(kProbeCol, kProbeRow));
  }
}
BENCHMARK(BM_ChangeAllInputs100k)->Unit(benchmark::kMillisecond);

void BM_ChangeOneInput100k(benchmark::State& state) {
  CellDocument doc;
  buildLargeSheet(doc, largeSheetFormulas());
  doc.setAutoCalc(true);
  int round = 0;
  for (auto _ : state) {
    changeOneInput(doc, ++round);
    benchmark::DoNotOptimize(doc.value(kProbeCol, 1));
  }
}
BENCHMARK(BM_ChangeOneInput100k)->Unit(benchmark::kMicrosecond);

// A sheet of 1,000,000 numeric cells: reports the bytes the cells take.
void BM_MillionNumbers(benchmark::State& state) {
  size_t bytes = 0;
  for (auto _ : state) {
    CellDocument doc;
    for (int c = 1; c <= 100; ++c)
      for (int r = 1; r <= 10000; ++r) doc.setValue(c, r, Value::number(r * 0.5 + c));
    bytes = doc.memoryBytes();
    benchmark::DoNotOptimize(bytes);
  }
  state.counters["bytes"] = static_cast<double>(bytes);
}
BENCHMARK(BM_MillionNumbers)->Unit(benchmark::kMillisecond)->Iterations(1);

// ---- values for the comparison ----------------------------------------------------------

std::string reference(int32_t col, int32_t row) {
  return krv::sheet::columnLetters(col) + std::to_string(row);
}

void writeValue(std::ostream& out, int32_t col, int32_t row, const Value& v) {
  out << reference(col, row) << '\t';
  switch (v.type()) {
    case krv::sheet::ValueType::Number: {
      char buffer[32];
      auto end = std::to_chars(buffer, buffer + sizeof buffer, v.number()).ptr;
      out << "n\t" << std::string_view(buffer, static_cast<size_t>(end - buffer));
      break;
    }
    case krv::sheet::ValueType::Text:
      out << "s\t" << v.text();
      break;
    case krv::sheet::ValueType::Bool:
      out << "b\t" << (v.boolean() ? "TRUE" : "FALSE");
      break;
    case krv::sheet::ValueType::Error:
      out << "e\t" << krv::sheet::errorText(v.error());
      break;
    case krv::sheet::ValueType::Empty:
      out << "-\t";
      break;
  }
  out << '\n';
}

bool writeLargeSheet(const CellDocument& doc, const std::string& file) {
  std::ofstream out(file);
  for (int32_t r = 1; r <= kInputs; ++r)
    for (int32_t c = 2; c <= kLastCol; ++c) writeValue(out, c, r, doc.value(c, r));
  return static_cast<bool>(out);
}

bool writeValues(const std::string& dir) {
  {
    std::ofstream out(dir + "/standards.tsv");
    evaluateStandards(loadStandards(),
                      [&](const Entry& e, const Value& v) { writeValue(out, e.col, e.row, v); });
    if (!out) return false;
  }
  CellDocument doc;
  buildLargeSheet(doc, largeSheetFormulas());
  if (!writeLargeSheet(doc, dir + "/build.tsv")) return false;
  changeAllInputs(doc, 1);
  if (!writeLargeSheet(doc, dir + "/all_inputs.tsv")) return false;
  doc.setAutoCalc(true);
  changeOneInput(doc, 2);
  return writeLargeSheet(doc, dir + "/one_input.tsv");
}

}  // namespace

int main(int argc, char** argv) {
  if (argc > 1 && std::strncmp(argv[1], "--values=", 9) == 0) {
    if (!writeValues(argv[1] + 9)) {
      std::cerr << "cannot write the values to " << (argv[1] + 9) << "\n";
      return 1;
    }
    for (int i = 1; i + 1 < argc; ++i) argv[i] = argv[i + 1];
    --argc;
  }
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
