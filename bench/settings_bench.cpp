// Sheet document settings: the ¤-separated text form of a set with many
// document variables, written and read back (it must be linear in their number).
#include <benchmark/benchmark.h>

#include "spread/vt_ss_property_list.h"
#include "spread/vt_ss_settings.h"

namespace {

VtSSSettings settingsWithVariables(int count) {
  VtSSSettings s;
  s.setValid(true);
  Krv_StringArray names, values;
  for (int i = 0; i < count; ++i) {
    names.append(Krv_String(L"Variable") + Krv_String(std::to_wstring(i)));
    values.append(Krv_String(L"value number ") + Krv_String(std::to_wstring(i * 7)));
  }
  s.setVarNames(names);
  s.setVarValues(values);
  return s;
}

void BM_SettingsTextRoundTrip(benchmark::State& state) {
  const int count = static_cast<int>(state.range(0));
  const VtSSSettings s = settingsWithVariables(count);
  for (auto _ : state) {
    const std::string text = s.toProperties().toText();
    VtSSPropertyList list;
    list.addFromText(text);
    VtSSSettings back;
    back.takeProperties(list);
    if (back.varNames().length() != count) state.SkipWithError("variables lost");
    benchmark::DoNotOptimize(back);
  }
  state.SetComplexityN(count);
}
BENCHMARK(BM_SettingsTextRoundTrip)->RangeMultiplier(4)->Range(64, 4096)->Complexity();

}  // namespace

BENCHMARK_MAIN();
