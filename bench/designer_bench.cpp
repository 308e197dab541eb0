// Dialog designs: reading a design file, drawing its controls and ordering
// their tabs at run time; showing it in design mode; and dragging a
// selection, where only the moved windows may change.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "designer/control_tracker.h"
#include "designer/krv_dlg_designer_data.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/properties_list.h"
#include "platform/win/bitmap_image.h"
#include "platform/win/bmp_file.h"
#include "platform/win/combo_box.h"
#include "platform/win/dialog.h"
#include "platform/win/edit.h"
#include "platform/win/resource_modules.h"
#include "platform/win/scripted_user_interface.h"
#include "platform/win/static_ctrl.h"
#include "platform/win/window_observer.h"
#include "platform/win/wnd.h"

namespace {

constexpr int kWidth = 800, kHeight = 600;
// A range wide enough for every control of the largest design measured.
constexpr int kFirstId = 33000, kLastId = 35999;

const std::filesystem::path& libraryFolder() {
  static const std::filesystem::path folder = [] {
    auto p =
        std::filesystem::temp_directory_path() / ("krv_designer_bench_" + std::to_string(getpid()));
    std::filesystem::create_directories(p / "Dialog Templates" / "Dialog Design");
    Krv_Settings::setLibDir(krv::core::fromOsPath(p));
    static HINSTANCE module =
        krv::win::ResourceModules::add(L"korvane_ss", KRV_SOURCE_DIR "/resources");
    AfxSetResourceHandle(module);
    return p;
  }();
  return folder;
}

// A design of `count` controls laid out in rows of 10 over a picture of
// kWidth x kHeight (a page picture of 800 x 600 pixels): edits, combo boxes, check boxes and texts
// in turn.
Krv_String designOf(int count) {
  const std::filesystem::path root = libraryFolder() / "Dialog Templates" / "Dialog Design";
  const std::string name = "Bench" + std::to_string(count);
  if (!std::filesystem::exists(root / (name + ".txt"))) {
    Krv_PropertiesList list;
    list.setProperty(L"nrOfControls", count);
    const Krv_ControlType kinds[] = {ctVarEdit, ctVarCombo, ctVarCheck, ctText};
    for (int i = 0; i < count; ++i) {
      Krv_DesignerControl c;
      c.mType = kinds[i % 4];
      const int row = i / 10, col = i % 10;
      c.mTopLeftX = (5.0 + col * 79) / kWidth;
      c.mBottomRightX = (5.0 + col * 79 + 72) / kWidth;
      c.mTopLeftY = (5.0 + (row % 26) * 22) / kHeight + (row / 26) * 0.5 / kHeight;
      c.mBottomRightY = c.mTopLeftY + 18.0 / kHeight;
      c.mContents = L"Var" + Krv_String(std::to_wstring(i));
      if (c.mType == ctVarCheck) c.mComboList = L"Flag" + Krv_String(std::to_wstring(i));
      c.setToPropList(list, i);
    }
    list.writeToFile(krv::core::fromOsPath(root / (name + ".txt"))).ignore();
    krv::win::writeBmpFile(root / (name + ".bmp"), krv::win::BitmapImage(kWidth, kHeight, 0xffffff))
        .ignore();
  }
  return krv::core::fromOsPath(root / (name + ".txt"));
}

// A dialog with the designer's five property controls.
struct Host {
  CWnd dialog;
  CComboBox combo;
  CStatic contentsLabel, extLabel;
  CEdit contents, ext;
  Host() {
    dialog.Create(L"#32770", L"", WS_POPUP | WS_VISIBLE, CRect(0, 0, kWidth + 200, kHeight),
                  nullptr, 0);
    combo.Create(WS_CHILD | WS_VISIBLE | CBS_DROPDOWNLIST, CRect(kWidth, 10, kWidth + 190, 200),
                 &dialog, 1005);
    contentsLabel.Create(L"", WS_CHILD | WS_VISIBLE, CRect(kWidth, 40, kWidth + 190, 50), &dialog,
                         1016);
    contents.Create(WS_CHILD | WS_VISIBLE, CRect(kWidth, 50, kWidth + 190, 70), &dialog, 1304);
    extLabel.Create(L"", WS_CHILD | WS_VISIBLE, CRect(kWidth, 80, kWidth + 190, 90), &dialog, 1017);
    ext.Create(WS_CHILD | WS_VISIBLE, CRect(kWidth, 90, kWidth + 190, 110), &dialog, 1305);
  }
  ~Host() { dialog.DestroyWindow(); }
};

// Read, draw and order at run time, as the macro dialog shows a page.
void BM_RunTimePage(benchmark::State& state) {
  const Krv_String path = designOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Host host;
    Krv_DlgDesignerData data;
    data.initialize(&host.dialog, kFirstId, kLastId, 0, 0, 0, 0, 0, false);
    if (!data.readFromFile(path, true)) state.SkipWithError("the design was not read");
    data.redrawAllControls();
    benchmark::DoNotOptimize(data.mDrawnCtrls.length());
    state.PauseTiming();  // the windows go with the host, outside the measure
    data.removeRunTimeCtrls();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_RunTimePage)
    ->RangeMultiplier(2)
    ->Range(125, 1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Read and draw in design mode, as the designer window opens a design.
void BM_DesignModePage(benchmark::State& state) {
  const Krv_String path = designOf(static_cast<int>(state.range(0)));
  for (auto _ : state) {
    Host host;
    Krv_DlgDesignerData data;
    data.initialize(&host.dialog, kFirstId, kLastId, 1005, 1016, 1304, 1017, 1305, true);
    if (!data.readFromFile(path, true)) state.SkipWithError("the design was not read");
    data.redrawAllControls();
    benchmark::DoNotOptimize(data.mDrawnCtrls.length());
    state.PauseTiming();
    data.removeAllDrawnCtrls();
    state.ResumeTiming();
  }
  state.SetComplexityN(state.range(0));
}
BENCHMARK(BM_DesignModePage)
    ->RangeMultiplier(2)
    ->Range(125, 1000)
    ->Unit(benchmark::kMillisecond)
    ->Complexity();

// Counts the windows that change during a drag, and how.
class ChangeCounter : public WindowObserver {
 public:
  void windowChanged(CWnd& window, WindowChange change) override {
    if (change == WindowChange::Rect)
      ++moved;
    else if (change == WindowChange::Created || change == WindowChange::Destroyed)
      ++remade;
    else if (change == WindowChange::Invalidated && window.GetParent())
      ++childRepaints;
  }
  long moved = 0, remade = 0, childRepaints = 0;
};

// A drag of 50 selected controls among 500: the tracker moves the 50
// windows and nothing else; the counters report what changed per drag.
void BM_Drag50Of500(benchmark::State& state) {
  Host host;
  Krv_DlgDesignerData data;
  data.initialize(&host.dialog, kFirstId, kLastId, 1005, 1016, 1304, 1017, 1305, true);
  data.readFromFile(designOf(500), true);
  data.redrawAllControls();
  AcArray<int> selected;
  for (int i = 0; i < 50; ++i) selected.append(data.mControls[i * 10].mResId);
  data.selectCtrls(selected);
  krv::win::ScriptedUserInterface ui;
  krv::win::ScopedUserInterface scoped(ui);
  ChangeCounter counter;
  host.dialog.addObserver(&counter);
  CRect first;
  host.dialog.GetDlgItem(selected[0])->GetWindowRect(&first);
  host.dialog.ScreenToClient(&first);
  const CPoint press = first.CenterPoint();
  int step = 0;
  for (auto _ : state) {
    state.PauseTiming();
    // The bounding rectangle of the selection, moved 3 pixels right and
    // back in turn.
    CRect bounds = data.mTracker->selectionBounds();
    bounds.OffsetRect(step++ % 2 ? -3 : 3, 0);
    ui.answerTrack(true, bounds);
    state.ResumeTiming();
    data.mTracker->trackButtonDown(press, 0, true);
  }
  host.dialog.removeObserver(&counter);
  const double drags = static_cast<double>(state.iterations());
  state.counters["moved windows"] = counter.moved / drags;
  state.counters["made or destroyed"] = counter.remade / drags;
  state.counters["control repaints"] = counter.childRepaints / drags;
}
BENCHMARK(BM_Drag50Of500)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
