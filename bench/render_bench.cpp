// The renderer, offscreen: one frame of the spreadsheet control, a picture of
// a dialog, and mirroring dialogs of growing size.
//
//   BM_SheetFrame/ROWS/TOP    one 800 x 600 frame of a 20-column sheet of ROWS
//                             filled rows, scrolled to row TOP: the sheet
//                             widget drawn into an image.
//   BM_FindReplacePicture     a picture of the find and replace dialog (over
//                             a spreadsheet window), as `korvane picture`
//                             makes it: mirror, draw, frame and caption.
//   BM_MirrorDialog/N/0       a dialog of N controls mirrored into widgets and
//                             the mirror taken down again.
//   BM_DialogPicture/N/1      a picture of that dialog (mirrored, every control
//                             drawn).
//
// With KRV_BENCH_PICTURES set to a folder, the sheet frames and the dialog
// pictures measured are also written there as PNG files, to look at.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QImage>
#include <QString>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/qt/picture.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/window_mirror.h"
#include "platform/sheet/tspread.h"
#include "platform/win/registry.h"
#include "platform/win/resource_modules.h"
#include "spread/dlg_find_replace.h"
#include "spread/krv_spread.h"

namespace {

// Writes what a benchmark draws when KRV_BENCH_PICTURES names a folder.
void keepPicture(const QImage& image, const std::string& name) {
  const char* folder = std::getenv("KRV_BENCH_PICTURES");
  if (folder && *folder) image.save(QString::fromStdString(std::string(folder) + "/" + name));
}

// A sheet of `rows` rows and 20 columns of 64 x 20 pixels, every cell
// filled: numbers, every fifth a text, every 50th a formula.
void fillSheet(krv::sheet::ControlDocument& d, int rows) {
  const int cols = 20;
  d.setMaxCols(cols);
  d.setMaxRows(rows);
  d.setColWidth(-1, 64);
  d.setColWidth(0, 48);
  d.setRowHeight(-1, 20);
  int n = 0;
  for (int r = 1; r <= rows; ++r) {
    for (int c = 1; c <= cols; ++c, ++n) {
      if (n % 50 == 49)
        d.setFormula(c, r, L"=A" + std::to_wstring(r) + L"*2").ignore();
      else if (n % 5 == 4)
        d.setData(c, r, L"IPE " + std::to_wstring(n % 600));
      else
        d.engine().setValue(c, r, krv::sheet::Value::number(n * 0.25));
    }
  }
}

void BM_SheetFrame(benchmark::State& state) {
  krv::qt::ensureApplication(krv::qt::Display::Offscreen);
  CWnd parent;
  parent.Create(L"#32770", L"Sheet", WS_POPUP | WS_CAPTION | WS_VISIBLE, CRect(0, 0, 820, 640),
                nullptr, 0);
  TSpread sheet;
  sheet.Create(WS_CHILD | WS_VISIBLE, CRect(0, 0, 800, 600), &parent, 1);
  fillSheet(sheet.document(), static_cast<int>(state.range(0)));
  sheet.document().setActiveCell(3, static_cast<int>(state.range(1)) + 2);
  sheet.SetTopLeftCell(1, static_cast<long>(state.range(1)));
  krv::qt::WindowMirror mirror;
  mirror.mirror(parent);
  QWidget* widget = mirror.widgetFor(&sheet);
  QImage image(widget->size(), QImage::Format_RGB32);
  widget->render(&image);
  keepPicture(image, "sheet_frame_" + std::to_string(state.range(0)) + "_" +
                         std::to_string(state.range(1)) + ".png");
  for (auto _ : state) {
    widget->render(&image);
    benchmark::DoNotOptimize(image.constBits());
  }
  sheet.DestroyWindow();
  parent.DestroyWindow();
}
BENCHMARK(BM_SheetFrame)
    ->Args({1000, 1})
    ->Args({100000, 1})
    ->Args({100000, 50000})
    ->Unit(benchmark::kMillisecond);

void BM_FindReplacePicture(benchmark::State& state) {
  krv::qt::ensureApplication(krv::qt::Display::Offscreen);
  krv::win::Registry::resetInMemory();
  static HINSTANCE module =
      krv::win::ResourceModules::add(L"korvane_ss", KRV_SOURCE_DIR "/resources");
  AfxSetResourceHandle(module);
  CWnd dialog;
  dialog.Create(L"#32770", L"Dialog", WS_POPUP | WS_CAPTION | WS_VISIBLE, CRect(100, 100, 600, 400),
                nullptr, 0);
  CWnd placeholder;
  placeholder.Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(40, 60, 340, 260), &dialog, 500);
  Krv_Spread sheet;
  if (!sheet.attachToDlgItem(&dialog, 500, false)) {
    state.SkipWithError("the spreadsheet window could not be made");
    return;
  }
  sheet.setMaxCols(3);
  sheet.setMaxRows(4);
  CDlgFindReplace* find = sheet.openFindDialog();
  if (!find) {
    state.SkipWithError("the find and replace dialog did not open");
    return;
  }
  keepPicture(krv::qt::renderPicture(*find), "find_replace.png");
  for (auto _ : state) {
    QImage picture = krv::qt::renderPicture(*find);
    benchmark::DoNotOptimize(picture.constBits());
  }
  find->DestroyWindow();
  sheet.DestroyWindow();
  dialog.DestroyWindow();
}
BENCHMARK(BM_FindReplacePicture)->Unit(benchmark::kMillisecond);

void BM_MirrorDialog(benchmark::State& state) {
  krv::qt::ensureApplication(krv::qt::Display::Offscreen);
  const int count = static_cast<int>(state.range(0));
  CWnd dialog;
  dialog.Create(L"#32770", L"Controls", WS_POPUP | WS_CAPTION | WS_VISIBLE, CRect(0, 0, 1000, 800),
                nullptr, 0);
  // Rows of a static text, an edit and a button.
  std::vector<std::unique_ptr<CWnd>> controls;
  static const wchar_t* classes[] = {L"STATIC", L"EDIT", L"BUTTON"};
  for (int i = 0; i < count; ++i) {
    auto control = std::make_unique<CWnd>();
    const int x = 10 + (i % 3) * 120, y = 10 + (i / 3) * 4;
    control->Create(classes[i % 3], (L"Item " + std::to_wstring(i)).c_str(), WS_CHILD | WS_VISIBLE,
                    CRect(x, y, x + 110, y + 22), &dialog, 1000 + i);
    controls.push_back(std::move(control));
  }
  const bool draw = state.range(1) != 0;
  if (draw) keepPicture(krv::qt::renderPicture(dialog), "dialog_" + std::to_string(count) + ".png");
  for (auto _ : state) {
    if (draw) {
      QImage picture = krv::qt::renderPicture(dialog);
      benchmark::DoNotOptimize(picture.constBits());
    } else {
      krv::qt::WindowMirror mirror;
      benchmark::DoNotOptimize(mirror.mirror(dialog));
    }
    // What the widgets posted is handled, as the application's event loop
    // would, rather than piling up over the iterations.
    QCoreApplication::sendPostedEvents();
  }
  state.SetComplexityN(count);
  controls.clear();
  dialog.DestroyWindow();
}
BENCHMARK(BM_MirrorDialog)
    ->ArgsProduct({{50, 100, 200, 400}, {0}})
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);
BENCHMARK(BM_MirrorDialog)
    ->Name("BM_DialogPicture")
    ->ArgsProduct({{50, 100, 200, 400}, {1}})
    ->Complexity(benchmark::oN)
    ->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
