#pragma once
// Test fixture of the calculation engine: a library folder of its own with
// "Connection Standards\" below it, the module's resources (the standards
// dialog's template), a scripted user interface, and helpers that write
// standards sheets and run evaluations.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "frame/resource_guard.h"
#include "frame/ss_dlgs_mgr.h"
#include "platform/core/krv_settings.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/sheet/sheet_file.h"
#include "platform/win/resource_modules.h"
#include "platform/win/user_interface_test_support.h"
#include "standards/cdlg_ss_standards.h"
#include "standards/vt_calc_ss.h"

namespace krv::test {

using SheetRows = std::vector<std::vector<std::wstring>>;

class CalcFixture : public ::testing::Test {
 protected:
  void SetUp() override {
    static HINSTANCE module =
        krv::win::ResourceModules::add(L"korvane_ss_calc_tests", KRV_SOURCE_DIR "/resources");
    frame::moduleResourceOverride().SaveDefaultResource(module);
    Krv_Settings::setLibDir(lib.text());
    Krv_Settings::current().setCalcMessages(true);
    standards::installStandardsDialogFactory();
    ASSERT_TRUE(parent.Create(L"#32770", L"Host", WS_POPUP, CRect(0, 0, 400, 300), nullptr, 0));
  }
  void TearDown() override {
    gSSDlgsMgr.destroyAll();
    if (engine.GetSafeHwnd()) engine.DestroyWindow();
    parent.DestroyWindow();
    Krv_Settings::setLibDir(L"");
    frame::moduleResourceOverride().SaveDefaultResource(nullptr);
  }

  // Writes a sheet below "Connection Standards\" (or at `relative` when it
  // starts with "/"), one text per cell; empty texts leave the cell empty.
  Krv_String writeSheet(const std::string& relative, const SheetRows& rows) {
    sheet::ControlDocument doc;
    size_t cols = 1;
    for (const auto& r : rows) cols = std::max(cols, r.size());
    doc.setMaxCols(static_cast<int>(cols));
    doc.setMaxRows(static_cast<int>(rows.size()));
    for (size_t r = 0; r < rows.size(); ++r)
      for (size_t c = 0; c < rows[r].size(); ++c)
        if (!rows[r][c].empty())
          doc.setData(static_cast<int>(c + 1), static_cast<int>(r + 1), rows[r][c]);
    const std::string rel = "Connection Standards/" + relative;
    std::filesystem::create_directories((lib.path() / rel).parent_path());
    std::string error;
    EXPECT_TRUE(krv::base::reportTo(sheet::saveSheetFile(doc, lib.path() / rel), error)) << error;
    Krv_String text = lib.text("Connection Standards\\" + relative);
    text.replaceSubString(L"/", L"\\");
    return text;
  }

  // The engine as a window of its own, for the steps below the dialog.
  VtCalcSS& openEngine() {
    if (!engine.isCreated()) engine.createInParent(&parent, CRect(0, 0, 300, 200), 1196);
    return engine;
  }

  static VtVarCell var(const Krv_String& name, VtCellType kind, const Krv_String& value,
                       VtValueType type = Double) {
    VtVarCell c;
    c.set(name, kind, type, value);
    return c;
  }

  // A child-mode run through the exported entry point.
  bool runChild(const Krv_String& standard, VtVarCells& vars) {
    VtDlgStandardsData data;
    data.mMode = VtDlgStandardsData::kChildEvaluation;
    data.mStandardsName = standard;
    data.mVarCells = vars;
    const bool ok = StartDlgStandardsSS(data);
    vars = data.mVarCells;
    return ok;
  }

  // Texts of the message boxes shown so far.
  std::vector<std::wstring> messages() {
    std::vector<std::wstring> texts;
    for (const auto& box : ui->messageBoxes()) texts.push_back(box.text);
    return texts;
  }

  TempFolder lib;
  krv::win::ScriptedUserInterfaceGuard ui;
  CWnd parent;
  VtCalcSS engine;
};

}  // namespace krv::test
