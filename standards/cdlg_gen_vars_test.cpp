#include "standards/cdlg_gen_vars.h"

#include <gtest/gtest.h>

#include <filesystem>

#include "frame/exported_functions.h"
#include "frame/resource_guard.h"
#include "platform/core/dial_string.h"
#include "platform/core/dlg_size.h"
#include "platform/core/krv_settings.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/sheet/control_document.h"
#include "platform/sheet/ss_api.h"
#include "platform/win/button.h"
#include "platform/win/person.h"
#include "platform/win/registry.h"
#include "platform/win/resource_modules.h"
#include "platform/win/user_interface_test_support.h"

// Readable failure messages for text lists.
static void PrintTo(const Krv_StringArray& items, std::ostream* out) {
  *out << "{";
  for (int i = 0; i < items.length(); ++i) *out << (i ? ", \"" : "\"") << items[i].utf8() << "\"";
  *out << "}";
}

namespace krv::test {
namespace {

class GenVarsDialog : public ::testing::Test {
 protected:
  void SetUp() override {
    static HINSTANCE module =
        krv::win::ResourceModules::add(L"korvane_ss_genvars_tests", KRV_SOURCE_DIR "/resources");
    krv::win::Registry::resetInMemory();
    frame::moduleResourceOverride().SaveDefaultResource(module);
    Krv_Settings::setLibDir(lib.text());
    std::filesystem::create_directories(lib.path() / "Macros" / "Beam");
  }
  void TearDown() override {
    Krv_Settings::setLibDir(L"");
    frame::moduleResourceOverride().SaveDefaultResource(nullptr);
  }

  // An operating-system path below the library folder, as a file dialog
  // gives it.
  std::wstring libPath(const std::string& relative) const {
    return (lib.path() / relative).wstring();
  }

  static Krv_String cell(Krv_Spread& sheet, int col, int row) {
    Krv_String text;
    sheet.getCellString(col, row, text, Data);
    return text;
  }
  static Krv_StringArray column(Krv_Spread& sheet, int col) {
    Krv_StringArray items;
    sheet.getColumn(col, items, Data);
    return items;
  }
  // A person's click on a cell of a table.
  static void clickCell(Krv_Spread& sheet, int col, int row) {
    CRect r;
    ASSERT_TRUE(sheet.GetCellRect(col, row, r)) << "cell " << col << "," << row << " is not shown";
    krv::win::Person::clickAt(&sheet, r.CenterPoint());
  }
  // A person's click on the "..." of `row`.
  static void clickDots(Krv_Spread& sheet, int row) { clickCell(sheet, sheet.getMaxCols(), row); }

  static VtAutoStandardsData sample() {
    VtAutoStandardsData d;
    d.dwgGenVars() = {L"Grade", L"Coating"};
    d.dwgGenValues() = {L"S355", L"none"};
    d.dwgGenFilters() = {L"Beam\\a.dwg", L""};
    d.stdGenVars() = {L"BoltGrade"};
    d.stdGenValues() = {L"8.8"};
    d.stdGenOverrides() = {L"Endplate"};
    d.stdGenFilters() = {L""};
    return d;
  }

  TempFolder lib;
  krv::win::ScriptedUserInterfaceGuard ui;
};

TEST_F(GenVarsDialog, OpensWithTheRecordLabelsAndButtonColumns) {
  VtAutoStandardsData data = sample();
  ui->onModal(
      [&](CDialog& d) {
        auto& dlg = static_cast<CDlgGenVars&>(d);
        EXPECT_EQ(dlg.GetWindowText(), dialString(1764).str());
        EXPECT_EQ(dlg.GetDlgItemText(CDlgGenVars::kDwgGroup), dialString(1762).str());
        EXPECT_EQ(dlg.GetDlgItemText(CDlgGenVars::kStdGroup), dialString(1763).str());
        EXPECT_EQ(dlg.GetDlgItemText(CDlgGenVars::kStdAdd), dialString(606).str());
        EXPECT_EQ(dlg.GetDlgItemText(CDlgGenVars::kDwgRemove), dialString(607).str());

        Krv_Spread& dwg = dlg.mDwgSheet;
        Krv_Spread& std = dlg.mStdSheet;
        ASSERT_TRUE(dwg.isCreated());
        EXPECT_EQ(dwg.getMaxCols(), 4);
        EXPECT_EQ(dwg.getMaxRows(), 2);
        EXPECT_EQ(std.getMaxCols(), 5);
        EXPECT_EQ(std.getMaxRows(), 1);
        EXPECT_EQ(dwg.modeValue(), 0);  // the editable house look
        EXPECT_TRUE(dwg.getBoolOption(krv::spread::kOptionEditMode));
        EXPECT_EQ(cell(dwg, 3, SS_HEADER), dialString(1543));
        EXPECT_EQ(cell(std, 2, SS_HEADER), dialString(1765));
        EXPECT_EQ(cell(dwg, 1, 2), L"Coating");
        EXPECT_EQ(cell(dwg, 3, 1), L"Beam\\a.dwg");
        EXPECT_EQ(cell(std, 3, 1), L"Endplate");
        for (int r = 1; r <= 2; ++r) {
          EXPECT_EQ(dwg.getCellType(4, r), sheet::kCellTypeButton);
          EXPECT_NE(dwg.getCellType(3, r), sheet::kCellTypeButton);
        }
        EXPECT_EQ(std.document().attributes(5, 1).typeText, L"...");

        // Move buttons carry the arrow icons and their tool tips.
        HINSTANCE instance = nullptr;
        UINT icon = 0;
        auto* up = dynamic_cast<CButton*>(dlg.GetDlgItem(CDlgGenVars::kStdUp));
        ASSERT_NE(up, nullptr);
        ASSERT_TRUE(krv::win::ResourceModules::iconSource(up->GetIcon(), instance, icon));
        EXPECT_EQ(icon, 257u);
        std::wstring tip;
        dlg.mToolTips.GetText(tip, dlg.GetDlgItem(CDlgGenVars::kDwgDown));
        EXPECT_EQ(tip, dialString(174).str());
        krv::win::Person::click(&d, IDCANCEL);
      },
      CDlgGenVars::IDD);
  EXPECT_FALSE(StartDlgGenVars(data));
}

TEST_F(GenVarsDialog, PersonEditsRowsChoosesFiltersAndConfirms) {
  VtAutoStandardsData data = sample();
  ui->answerFiles({libPath("Macros/Beam/end.dwg"), libPath("Macros/Columns"), L"/elsewhere/x.dwg"});
  ui->answerFiles({libPath("Macros/Beam/b.dwg")});
  ui->onModal(
      [&](CDialog& d) {
        auto& dlg = static_cast<CDlgGenVars&>(d);
        Krv_Spread& dwg = dlg.mDwgSheet;
        Krv_Spread& std = dlg.mStdSheet;
        // A new drawing variable between the two.
        clickCell(dwg, 1, 2);
        krv::win::Person::click(&d, CDlgGenVars::kDwgAdd);
        ASSERT_EQ(dwg.getMaxRows(), 3);
        EXPECT_EQ(cell(dwg, 1, 2), L"");
        EXPECT_EQ(cell(dwg, 1, 3), L"Coating");
        EXPECT_EQ(dwg.getCellType(4, 2), sheet::kCellTypeButton);
        dwg.setCellData(1, 2, L"Fire");
        dwg.setCellData(2, 2, L"R30");
        clickDots(dwg, 2);
        EXPECT_EQ(cell(dwg, 3, 2), L"Beam\\end.dwg;Columns");  // the drawing outside is dropped
        clickDots(dwg, 1);
        EXPECT_EQ(cell(dwg, 3, 1), L"Beam\\a.dwg;Beam\\b.dwg");

        // Reorder: the new row to the top, Coating up once, then remove Grade.
        clickCell(dwg, 2, 2);
        krv::win::Person::click(&d, CDlgGenVars::kDwgUp);
        clickCell(dwg, 1, 3);
        krv::win::Person::click(&d, CDlgGenVars::kDwgDown);  // Coating is last already
        krv::win::Person::click(&d, CDlgGenVars::kDwgUp);
        EXPECT_EQ(column(dwg, 1), (Krv_StringArray{L"Fire", L"Coating", L"Grade"}));
        krv::win::Person::click(&d, CDlgGenVars::kDwgDown);
        krv::win::Person::click(&d, CDlgGenVars::kDwgRemove);  // removes Coating, now in row 3
        EXPECT_EQ(column(dwg, 1), (Krv_StringArray{L"Fire", L"Grade"}));

        // A second standards variable, added at the active row.
        clickCell(std, 2, 1);
        krv::win::Person::click(&d, CDlgGenVars::kStdAdd);
        ASSERT_EQ(std.getMaxRows(), 2);
        EXPECT_EQ(cell(std, 1, 2), L"BoltGrade");
        std.setCellData(1, 1, L"Weld");
        std.setCellData(2, 1, L"a5");
        EXPECT_EQ(std.getCellType(5, 1), sheet::kCellTypeButton);
        EXPECT_EQ(std.getCellType(5, 2), sheet::kCellTypeButton);
        EXPECT_EQ(data.dwgGenVars().length(), 2);  // nothing reaches the caller before OK
        krv::win::Person::click(&d, IDOK);
      },
      CDlgGenVars::IDD);
  ASSERT_TRUE(StartDlgGenVars(data));
  EXPECT_EQ(data.dwgGenVars(), (Krv_StringArray{L"Fire", L"Grade"}));
  EXPECT_EQ(data.dwgGenValues(), (Krv_StringArray{L"R30", L"S355"}));
  EXPECT_EQ(data.dwgGenFilters(),
            (Krv_StringArray{L"Beam\\end.dwg;Columns", L"Beam\\a.dwg;Beam\\b.dwg"}));
  EXPECT_EQ(data.stdGenVars(), (Krv_StringArray{L"Weld", L"BoltGrade"}));
  EXPECT_EQ(data.stdGenValues(), (Krv_StringArray{L"a5", L"8.8"}));
  EXPECT_EQ(data.stdGenOverrides(), (Krv_StringArray{L"", L"Endplate"}));
  EXPECT_EQ(data.stdGenFilters(), (Krv_StringArray{L"", L""}));

  // The file dialog was asked for drawings and folders below Macros.
  ASSERT_EQ(ui->fileDialogs().size(), 2u);
  const FileDialogRequest& request = ui->fileDialogs()[0];
  EXPECT_TRUE(request.open);
  EXPECT_TRUE(request.multiSelect);
  EXPECT_TRUE(request.foldersToo);
  EXPECT_EQ(request.title, L"Select the drawings and folders that apply to this general variable");
  EXPECT_EQ(request.filter, L"Drawing (*.dwg)|*.dwg||");
  EXPECT_TRUE(krv::core::samePath(request.initialFolder, lib.text("Macros")));
}

TEST_F(GenVarsDialog, EnterFinishesAnEntryInATableAndOnlyThenConfirms) {
  VtAutoStandardsData data = sample();
  ui->onModal(
      [&](CDialog& d) {
        Krv_Spread& dwg = static_cast<CDlgGenVars&>(d).mDwgSheet;
        clickCell(dwg, 2, 1);
        krv::win::Person::type(&dwg, L"S460");
        krv::win::Person::pressKey(&d, VK_RETURN);
        ASSERT_FALSE(d.hasEnded()) << "Enter in an open entry finishes the entry, not the dialog";
        EXPECT_EQ(cell(dwg, 2, 1), L"S460");
        clickCell(dwg, 2, 2);
        krv::win::Person::type(&dwg, L"zinc");
        krv::win::Person::pressKey(&d, VK_ESCAPE);
        ASSERT_FALSE(d.hasEnded()) << "Escape in an open entry drops the entry";
        EXPECT_EQ(cell(dwg, 2, 2), L"none");
        krv::win::Person::pressKey(&d, VK_RETURN);  // no entry open: the default button
      },
      CDlgGenVars::IDD);
  ASSERT_TRUE(StartDlgGenVars(data));
  EXPECT_EQ(data.dwgGenValues(), (Krv_StringArray{L"S460", L"none"}));
}

TEST_F(GenVarsDialog, CancelLeavesTheRecordUntouched) {
  VtAutoStandardsData data = sample();
  const VtAutoStandardsData before = data;
  ui->answerFiles({libPath("Macros/Beam/end.dwg")});
  ui->onModal(
      [&](CDialog& d) {
        auto& dlg = static_cast<CDlgGenVars&>(d);
        dlg.mDwgSheet.setCellData(1, 1, L"Changed");
        clickDots(dlg.mStdSheet, 1);
        clickCell(dlg.mDwgSheet, 1, 2);
        krv::win::Person::click(&d, CDlgGenVars::kDwgRemove);
        krv::win::Person::click(&d, IDCANCEL);
      },
      CDlgGenVars::IDD);
  EXPECT_FALSE(StartDlgGenVars(data));
  EXPECT_EQ(data, before);
}

TEST_F(GenVarsDialog, FilterChoicesThatAddNothing) {
  VtAutoStandardsData data = sample();
  data.dwgGenFilters() = {L"Old.dwg", L""};
  // Cancelled; only drawings outside Macros (a sibling folder whose name
  // starts alike, another library); the Macros folder itself.
  ui->answerFiles({});
  ui->answerFiles({libPath("MacrosOld/a.dwg"), L"/other/lib/Macros/b.dwg"});
  ui->answerFiles({libPath("Macros")});
  // The root is matched ignoring letter case and separators.
  ui->answerFiles({libPath("MACROS/Beam/c.dwg")});
  ui->onModal(
      [&](CDialog& d) {
        auto& dlg = static_cast<CDlgGenVars&>(d);
        for (int i = 0; i < 3; ++i) {
          EXPECT_FALSE(dlg.chooseFilter(dlg.mDwgSheet, 1));
          EXPECT_EQ(cell(dlg.mDwgSheet, 3, 1), L"Old.dwg");
        }
        clickDots(dlg.mDwgSheet, 1);
        EXPECT_EQ(cell(dlg.mDwgSheet, 3, 1), L"Old.dwg;Beam\\c.dwg");
        // A click on a cell that is not a button opens nothing.
        const size_t asked = ui->fileDialogs().size();
        clickCell(dlg.mDwgSheet, 3, 1);
        EXPECT_EQ(ui->fileDialogs().size(), asked);
        // Nor does the notification when the active cell is no button.
        dlg.SendMessage(WM_COMMAND, MAKEWPARAM(CDlgGenVars::kDwgSheet, kSpreadNotifyButtonClicked),
                        reinterpret_cast<LPARAM>(dlg.mDwgSheet.GetSafeHwnd()));
        krv::win::Person::click(&d, IDOK);
      },
      CDlgGenVars::IDD);
  ASSERT_TRUE(StartDlgGenVars(data));
  EXPECT_EQ(data.dwgGenFilters(), (Krv_StringArray{L"Old.dwg;Beam\\c.dwg", L""}));
}

TEST_F(GenVarsDialog, EmptyGroupsGetOneRowAndRemovingEveryRowStillAllowsAdding) {
  VtAutoStandardsData data;
  ui->onModal(
      [&](CDialog& d) {
        auto& dlg = static_cast<CDlgGenVars&>(d);
        EXPECT_EQ(dlg.mDwgSheet.getMaxRows(), 1);
        EXPECT_EQ(dlg.mStdSheet.getMaxRows(), 1);
        EXPECT_EQ(dlg.mStdSheet.getCellType(5, 1), sheet::kCellTypeButton);
        // The standards table: remove its row, removing again does nothing,
        // then add one back and name it.
        Krv_Spread& std = dlg.mStdSheet;
        clickCell(std, 1, 1);
        krv::win::Person::click(&d, CDlgGenVars::kStdRemove);
        EXPECT_EQ(std.getMaxRows(), 0);
        krv::win::Person::click(&d, CDlgGenVars::kStdRemove);
        krv::win::Person::click(&d, CDlgGenVars::kStdUp);
        krv::win::Person::click(&d, CDlgGenVars::kStdAdd);
        ASSERT_EQ(std.getMaxRows(), 1);
        EXPECT_EQ(std.getCellType(5, 1), sheet::kCellTypeButton);
        std.setCellData(1, 1, L"Gap");
        krv::win::Person::click(&d, IDOK);
      },
      CDlgGenVars::IDD);
  ASSERT_TRUE(StartDlgGenVars(data));
  // Every row is read back, the empty one of the untouched table too.
  EXPECT_EQ(data.dwgGenVars(), (Krv_StringArray{L""}));
  EXPECT_EQ(data.stdGenVars(), (Krv_StringArray{L"Gap"}));
  EXPECT_EQ(data.stdGenFilters(), (Krv_StringArray{L""}));
}

TEST_F(GenVarsDialog, ResizingStretchesTheTablesKeepsAMinimumAndIsRemembered) {
  VtAutoStandardsData data = sample();
  CRect opened;
  ui->onModal(
      [&](CDialog& d) {
        auto& dlg = static_cast<CDlgGenVars&>(d);
        d.GetWindowRect(&opened);
        auto rectOf = [&](int id) {
          CRect r;
          dlg.GetDlgItem(id)->GetWindowRect(&r);
          return r;
        };
        const CRect dwg0 = rectOf(CDlgGenVars::kDwgSheet), std0 = rectOf(CDlgGenVars::kStdSheet);
        const CRect add0 = rectOf(CDlgGenVars::kStdAdd), ok0 = rectOf(IDOK);
        d.SetWindowPos(nullptr, 0, 0, opened.Width() + 100, opened.Height() + 60,
                       SWP_NOMOVE | SWP_NOZORDER);
        const CRect dwg1 = rectOf(CDlgGenVars::kDwgSheet), std1 = rectOf(CDlgGenVars::kStdSheet);
        EXPECT_EQ(dwg1.Width(), dwg0.Width() + 100);
        EXPECT_EQ(dwg1.Height(), dwg0.Height() + 30);
        EXPECT_EQ(std1.top, std0.top + 30);
        EXPECT_EQ(std1.Height(), std0.Height() + 30);
        EXPECT_EQ(rectOf(CDlgGenVars::kStdAdd).TopLeft(), CPoint(add0.left + 100, add0.top + 30));
        EXPECT_EQ(rectOf(IDOK).TopLeft(), CPoint(ok0.left + 100, ok0.top + 60));
        // Smaller than the template is refused.
        d.SetWindowPos(nullptr, 0, 0, 50, 40, SWP_NOMOVE | SWP_NOZORDER);
        CRect small;
        d.GetWindowRect(&small);
        EXPECT_EQ(small.Size(), opened.Size());
        EXPECT_EQ(rectOf(IDOK), ok0);
        d.SetWindowPos(nullptr, 0, 0, opened.Width() + 40, opened.Height() + 20,
                       SWP_NOMOVE | SWP_NOZORDER);
        krv::win::Person::click(&d, IDCANCEL);
      },
      CDlgGenVars::IDD);
  EXPECT_FALSE(StartDlgGenVars(data));
  int width = 0, height = 0;
  ASSERT_TRUE(getDlgSize(L"DLG_GENVARS", width, height));  // stored on closing, also on Cancel
  EXPECT_EQ(width, opened.Width() + 40);
  EXPECT_EQ(height, opened.Height() + 20);

  // The next opening restores it.
  ui->onModal(
      [&](CDialog& d) {
        CRect r;
        d.GetWindowRect(&r);
        EXPECT_EQ(r.Width(), width);
        EXPECT_EQ(r.Height(), height);
        krv::win::Person::click(&d, IDCANCEL);
      },
      CDlgGenVars::IDD);
  EXPECT_FALSE(StartDlgGenVars(data));
}

}  // namespace
}  // namespace krv::test
