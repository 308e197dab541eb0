// The look-up and tolerance functions of standards sheets on data files of
// 10,000 lines, with parsed files kept between calls and without.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "platform/core/krv_settings.h"
#include "platform/sheet/cell_document.h"
#include "standards/data_files.h"
#include "standards/standards_function_table.h"
#include "standards/standards_functions.h"

namespace {

using krv::sheet::FunctionValue;

constexpr int kLines = 10000;

// A library folder with the two data files, written once per run and left
// to settle so that they may be kept parsed.
struct Library {
  std::filesystem::path root;
  Library() {
    root = std::filesystem::temp_directory_path() / ("krv_std_bench_" + std::to_string(::getpid()));
    const auto data = root / "Connection Standards" / "Data";
    std::filesystem::create_directories(data);
    std::ofstream keys(data / "Keys.txt");
    keys << "// bolt data, " << kLines << " rows\n";
    for (int i = 0; i < kLines; ++i) keys << i << ".000000;8.8;hole\t" << i + 2 << "\n";
    std::ofstream sizes(data / "Sizes.txt");
    sizes << "/* plate sizes */\n";
    for (int i = 0; i < kLines; ++i) sizes << 100 + i << "x" << 5 + (i % 40) << "  // stock\n";
    keys.close();
    sizes.close();
    std::this_thread::sleep_for(std::chrono::milliseconds(2100));
    Krv_Settings::setLibDir(Krv_String(root.string()));
  }
  ~Library() {
    std::error_code ec;
    std::filesystem::remove_all(root, ec);
  }
};

Library& library() {
  static Library lib;
  return lib;
}

void release(FunctionValue& v) {
  if (v.status == FunctionValue::Status::Ok && v.type == FunctionValue::Type::String)
    krv::sheet::StringHandles::global().release(v.stringHandle);
}

// GETCELL("Keys.txt", key, "8.8", "hole") for a key near the end of the file.
void BM_GetCell(benchmark::State& state) {
  library();
  krv::standards::setDataFileCacheEnabled(state.range(0) != 0);
  FunctionValue args[4];
  args[0].setString("Keys.txt");
  args[1].setDouble(kLines - 7);
  args[2].setString("8.8");
  args[3].setString("hole");
  for (auto _ : state) {
    FunctionValue result;
    if (!krv::standards::getCell(result, args, 4)) state.SkipWithError("GETCELL failed");
    release(result);
  }
  for (auto& a : args) release(a);
  krv::standards::setDataFileCacheEnabled(true);
}
BENCHMARK(BM_GetCell)->ArgName("kept")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// STDTHICKNESSWITHTOLERANCE("Sizes.txt", 1, 17.4, 1, 1).
void BM_StdThickness(benchmark::State& state) {
  library();
  krv::standards::setDataFileCacheEnabled(state.range(0) != 0);
  FunctionValue args[5];
  args[0].setString("Sizes.txt");
  args[1].setDouble(1);
  args[2].setDouble(17.4);
  args[3].setDouble(1);
  args[4].setDouble(1);
  for (auto _ : state) {
    FunctionValue result;
    if (!krv::standards::stdThicknessWithTolerance(result, args, 5) || result.doubleValue != 17)
      state.SkipWithError("STDTHICKNESSWITHTOLERANCE failed");
  }
  release(args[0]);
  krv::standards::setDataFileCacheEnabled(true);
}
BENCHMARK(BM_StdThickness)->ArgName("kept")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

// The same look-up as a formula of a sheet, recalculated.
void BM_GetCellFormula(benchmark::State& state) {
  library();
  krv::standards::setDataFileCacheEnabled(state.range(0) != 0);
  krv::sheet::CellDocument doc(10, 10);
  krv::standards::registerStandardsFunctions(doc);
  doc.setFormula(1, 1, "=GETCELL(\"Keys.txt\", 9993, \"8.8\", \"hole\")").ignore();
  for (auto _ : state) {
    doc.recalcCell(1, 1);
    if (doc.value(1, 1).text() != "9995") state.SkipWithError("wrong result");
  }
  krv::standards::setDataFileCacheEnabled(true);
}
BENCHMARK(BM_GetCellFormula)->ArgName("kept")->Arg(0)->Arg(1)->Unit(benchmark::kMicrosecond);

}  // namespace
