// Standards evaluations end to end, through StartDlgStandardsSS:
//   BM_SampleEvaluation      the sample end plate standard for the sample
//                            macro: read the macro file, map, evaluate
//                            (with its child standard), write the macro;
//   BM_GeneratedStandard/N   a standard of N equation cells (with N/10
//                            locals), evaluated for passed variables; the
//                            counter per_cell is the time per equation cell;
//   BM_NestedStandard/N      the same standard calling a child standard of N
//                            cells once, to compare with twice N cells.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "frame/resource_guard.h"
#include "frame/ss_dlgs_mgr.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/macro_file.h"
#include "platform/sheet/sheet_file.h"
#include "platform/win/resource_modules.h"
#include "standards/cdlg_ss_standards.h"
#include "standards/vt_dlg_standards_data.h"

namespace {

namespace fs = std::filesystem;

void setUpModule() {
  static bool done = [] {
    HINSTANCE module =
        krv::win::ResourceModules::add(L"korvane_ss_bench", KRV_SOURCE_DIR "/resources");
    krv::frame::moduleResourceOverride().SaveDefaultResource(module);
    krv::standards::installStandardsDialogFactory();
    return true;
  }();
  (void)done;
}

fs::path benchFolder() {
  static fs::path folder = [] {
    fs::path p = fs::temp_directory_path() / ("korvane_eval_bench_" + std::to_string(::getpid()));
    fs::create_directories(p / "Connection Standards");
    return p;
  }();
  return folder;
}

// A standard with `cells` equation cells: inputs a and b, one output, and
// cells / 10 locals that the equations assign in turn, each from the one
// assigned before. With `child`, one more cell calls that child with a and
// the output.
void writeGenerated(const fs::path& file, int cells, const std::string& child = "") {
  krv::sheet::ControlDocument doc;
  const int locals = std::max(1, cells / 10);
  const int rows = 9 + locals + cells + 1;
  doc.setMaxCols(2);
  doc.setMaxRows(rows);
  int r = 1;
  doc.setData(1, r++, L"Input");
  doc.setData(1, r++, L"(passed)");
  doc.setData(1, r, L"Double a");
  doc.setData(2, r++, L"Double b");
  doc.setData(1, r++, L"Output");
  doc.setData(1, r++, L"(returned)");
  doc.setData(1, r++, L"Double out");
  doc.setData(1, r++, L"Local");
  doc.setData(1, r++, L"(working)");
  for (int i = 0; i < locals; ++i) doc.setData(1, r++, L"Double v" + std::to_wstring(i));
  doc.setData(1, r++, L"Calc");
  for (int i = 0; i < cells; ++i) {
    const std::wstring target = L"v" + std::to_wstring(i % locals);
    const std::wstring source = L"v" + std::to_wstring((i + locals - 1) % locals);
    std::wstring eq = i + 1 == cells ? L"out = " + source + L" + b"
                                     : target + L" = ROUNDTO(" + source + L" + a * 0.5, 0.1)";
    doc.setData(1, r++, eq);
  }
  if (!child.empty()) {
    doc.setMaxRows(r);
    doc.setData(1, r, L"CallChild(\"" + Krv_String(child).str() + L"\", a, b, out)");
  }
  std::string error;
  if (!krv::base::reportTo(krv::sheet::saveSheetFile(doc, file), error))
    throw std::runtime_error(error);
}

bool runChild(const Krv_String& standard) {
  VtDlgStandardsData data;
  data.mMode = 1;
  data.mStandardsName = standard;
  VtVarCell a, b, out;
  a.set(L"a", Input, Double, L"2");
  b.set(L"b", Input, Double, L"3");
  out.set(L"out", Output, Double, L"");
  data.mVarCells.append(a);
  data.mVarCells.append(b);
  data.mVarCells.append(out);
  return StartDlgStandardsSS(data);
}

void BM_SampleEvaluation(benchmark::State& state) {
  setUpModule();
  Krv_Settings::setLibDir(Krv_String(KRV_SOURCE_DIR "/examples/library/"));
  const Krv_String macroFile(KRV_SOURCE_DIR "/examples/library/Macros/EndPlateBeam.json");
  const Krv_String outFile = krv::core::fromOsPath(benchFolder() / "EndPlateBeam.out.json");
  for (auto _ : state) {
    Krv_DbMacro db;
    MacroData macroData;
    std::string error;
    if (!krv::base::reportTo(krv::core::readMacroFile(macroFile, db, macroData), error))
      return state.SkipWithError(error.c_str());
    AcTransaction transaction;
    VtDlgStandardsData data;
    data.initialize(&db, L"EndPlate", L"EndPlateBeam", &macroData);
    data.mTransaction = &transaction;
    data.mGenVarNames = {L"gen_edge_margin", L"gen_bolt_set"};
    data.mGenVarValues = {L"10", L"M20 8.8"};
    if (!StartDlgStandardsSS(data)) return state.SkipWithError("evaluation failed");
    if (!krv::base::reportTo(krv::core::writeMacroFile(outFile, db, macroData), error))
      return state.SkipWithError(error.c_str());
  }
}
BENCHMARK(BM_SampleEvaluation)
    ->Unit(benchmark::kMillisecond)
    ->Repetitions(5)
    ->ReportAggregatesOnly(true);

void BM_GeneratedStandard(benchmark::State& state) {
  setUpModule();
  const int cells = static_cast<int>(state.range(0));
  Krv_Settings::setLibDir(krv::core::fromOsPath(benchFolder()) + L"\\");
  const fs::path file =
      benchFolder() / "Connection Standards" / ("Gen" + std::to_string(cells) + ".vts");
  writeGenerated(file, cells);
  const Krv_String name = krv::core::fromOsPath(file);
  for (auto _ : state)
    if (!runChild(name)) return state.SkipWithError("evaluation failed");
  state.counters["per_cell"] =
      benchmark::Counter(static_cast<double>(cells), benchmark::Counter::kIsIterationInvariantRate |
                                                         benchmark::Counter::kInvert);
}
BENCHMARK(BM_GeneratedStandard)->Arg(100)->Arg(1000)->Arg(5000)->Unit(benchmark::kMillisecond);

void BM_NestedStandard(benchmark::State& state) {
  setUpModule();
  const int cells = static_cast<int>(state.range(0));
  Krv_Settings::setLibDir(krv::core::fromOsPath(benchFolder()) + L"\\");
  const fs::path dir = benchFolder() / "Connection Standards";
  writeGenerated(dir / ("Child" + std::to_string(cells) + ".vts"), cells);
  const fs::path parent = dir / ("Parent" + std::to_string(cells) + ".vts");
  writeGenerated(parent, cells, "Child" + std::to_string(cells) + ".vts");
  const Krv_String name = krv::core::fromOsPath(parent);
  for (auto _ : state)
    if (!runChild(name)) return state.SkipWithError("evaluation failed");
  state.counters["per_cell"] = benchmark::Counter(
      2.0 * cells, benchmark::Counter::kIsIterationInvariantRate | benchmark::Counter::kInvert);
}
BENCHMARK(BM_NestedStandard)->Arg(100)->Arg(1000)->Unit(benchmark::kMillisecond);

}  // namespace
