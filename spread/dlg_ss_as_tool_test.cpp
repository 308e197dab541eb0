#include "spread/dlg_ss_as_tool.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/base/file_io.h"
#include "platform/base/utf.h"
#include "platform/sheet/sheet_printer.h"
#include "platform/win/person.h"
#include "spread/dlg_find_replace.h"
#include "spread/dlg_ss_document_settings.h"
#include "spread/dlg_ss_options.h"
#include "spread/dlg_ss_settings.h"
#include "spread/spread_test_support.h"

namespace {

namespace fs = std::filesystem;
using krv::win::Person;

class EditorTest : public krv::test::SheetOnDialog {
 protected:
  void SetUp() override {
    SheetOnDialog::SetUp();
    folder = fs::temp_directory_path() / ("korvane_editor_" + std::to_string(::getpid()));
    fs::create_directories(folder);
    ASSERT_TRUE(editor.create(&dialogWnd));
    editor.ShowWindow(SW_SHOW);
  }
  void TearDown() override {
    if (editor.GetSafeHwnd()) editor.DestroyWindow();
    fs::remove_all(folder);
    SheetOnDialog::TearDown();
  }
  Krv_Spread& s() { return editor.sheet(); }
  std::wstring data(int c, int r) { return s().document().data(c, r).value_or(L"(outside)"); }
  std::wstring text(int id) { return editor.GetDlgItemText(id); }
  std::wstring path(const char* name) { return krv::base::utf8ToWide((folder / name).string()); }
  CWnd* item(int id) { return editor.GetDlgItem(id); }
  void typeIntoCell(const std::wstring& t) {
    Person::type(&s(), t);
    Person::pressKey(&s(), VK_RETURN);
  }

  fs::path folder;
  CDlgSSAsTool editor;
};

TEST_F(EditorTest, OpensAsAnEmptyDocumentWithItsButtonsAndAFittedSheet) {
  EXPECT_EQ(editor.GetWindowText(), L"Untitled - Spreadsheet editor");
  EXPECT_EQ(text(CDlgSSAsTool::kDocumentSettingsButton), L"Document settings...");
  EXPECT_EQ(text(CDlgSSAsTool::kCellNameStatic), L"A1");
  EXPECT_EQ(s().getMaxCols(), 6);
  EXPECT_EQ(s().getMaxRows(), 11);
  EXPECT_FALSE(editor.isChanged());
  // The sheet and the formula edit follow the window's size.
  CRect before, after, client;
  s().GetWindowRect(&before);
  editor.MoveWindow(0, 0, 900, 700);
  s().GetWindowRect(&after);
  editor.GetClientRect(&client);
  EXPECT_GT(after.Width(), before.Width());
  EXPECT_GT(after.Height(), before.Height());
  CRect edit;
  item(CDlgSSAsTool::kFormulaEdit)->GetWindowRect(&edit);
  EXPECT_EQ(edit.right, after.right) << "the formula bar ends where the sheet does";
  editor.ScreenToClient(&after);
  EXPECT_EQ(client.right - after.right, after.left);
  EXPECT_EQ(client.bottom - after.bottom, after.left);
}

TEST_F(EditorTest, TheFormulaBarFollowsTheActiveCellAndWritesBack) {
  s().setCellData(1, 2, L"4");
  ASSERT_TRUE(s().setCellFormula(2, 2, L"=A2*2"));
  Person::pressKey(&s(), VK_DOWN);
  EXPECT_EQ(text(CDlgSSAsTool::kCellNameStatic), L"A2");
  EXPECT_EQ(text(CDlgSSAsTool::kFormulaEdit), L"4");
  Person::pressKey(&s(), VK_RIGHT);
  EXPECT_EQ(text(CDlgSSAsTool::kCellNameStatic), L"B2");
  EXPECT_EQ(text(CDlgSSAsTool::kFormulaEdit), L"=A2*2") << "a formula cell shows its formula";

  CWnd* bar = item(CDlgSSAsTool::kFormulaEdit);
  Person::replaceText(bar, L"=A2*10");
  Person::pressKey(bar, VK_RETURN);
  EXPECT_EQ(s().document().formula(2, 2).value_or(L""), L"=A2*10");
  EXPECT_EQ(data(2, 2), L"40");
  EXPECT_TRUE((editor.GetSafeHwnd() != nullptr)) << "Enter in the bar does not close the editor";
  EXPECT_EQ(editor.GetWindowText(), L"*Untitled - Spreadsheet editor");

  Person::replaceText(bar, L"plain text");
  Person::pressKey(bar, VK_RETURN);
  EXPECT_EQ(data(2, 2), L"plain text");
  EXPECT_EQ(CWnd::GetFocus(), &s()) << "the person goes on in the sheet";
  // Enter on the sheet: the first finishes the entry, the next goes down.
  Person::type(&s(), L"7");
  Person::pressKey(&s(), VK_RETURN);
  EXPECT_EQ(data(2, 2), L"7");
  EXPECT_EQ(text(CDlgSSAsTool::kCellNameStatic), L"B2");
  Person::pressKey(&s(), VK_RETURN);
  EXPECT_EQ(text(CDlgSSAsTool::kCellNameStatic), L"B3");
  s().setActiveCell(2, 2);
  editor.updateFormulaBar();
  EXPECT_EQ(s().document().formula(2, 2).value_or(L"?"), L"");

  // Escape puts the cell's text back; a refused formula stays in the bar.
  Person::replaceText(bar, L"dropped");
  Person::pressKey(bar, VK_ESCAPE);
  EXPECT_EQ(text(CDlgSSAsTool::kFormulaEdit), L"7");
  EXPECT_TRUE((editor.GetSafeHwnd() != nullptr));
  Person::replaceText(bar, L"=1+");
  ui->answerMessageBox(IDOK, L"not taken");
  Person::pressKey(bar, VK_RETURN);
  EXPECT_EQ(data(2, 2), L"7");
  EXPECT_EQ(text(CDlgSSAsTool::kFormulaEdit), L"=1+");
}

TEST_F(EditorTest, SaveAsAndOpenRoundTripAndABadFileLeavesTheSheetAlone) {
  typeIntoCell(L"HEA 200");
  s().setActiveCell(2, 3);
  typeIntoCell(L"12.5");
  ui->answerFiles({path("beams.vts")});
  Person::click(&editor, CDlgSSAsTool::kSaveAsButton);
  ASSERT_TRUE(fs::exists(folder / "beams.vts"));
  EXPECT_EQ(editor.GetWindowText(), L"beams.vts - Spreadsheet editor");
  EXPECT_FALSE(editor.isChanged());

  Person::click(&editor, CDlgSSAsTool::kNewButton);
  EXPECT_EQ(data(1, 1), L"");
  ui->answerFiles({path("beams.vts")});
  Person::click(&editor, CDlgSSAsTool::kOpenButton);
  EXPECT_EQ(data(1, 1), L"HEA 200");
  EXPECT_EQ(data(2, 3), L"12.5");
  EXPECT_EQ(editor.file(), folder / "beams.vts");

  // Save writes to the same file without asking.
  s().setActiveCell(1, 1);
  typeIntoCell(L"IPE 300");
  Person::click(&editor, CDlgSSAsTool::kSaveButton);
  auto saved = krv::base::readFile(folder / "beams.vts");
  ASSERT_TRUE(saved);
  EXPECT_NE(saved->find("IPE 300"), std::string::npos);

  ASSERT_TRUE(krv::base::writeFileAtomic(folder / "broken.vts", "{\"format\": \"korvane sheet\","));
  ui->answerFiles({path("broken.vts")});
  ui->answerMessageBox(IDOK, L"broken.vts could not be opened");
  Person::click(&editor, CDlgSSAsTool::kOpenButton);
  EXPECT_EQ(data(1, 1), L"IPE 300");
  EXPECT_EQ(editor.file(), folder / "beams.vts");

  // A save that fails says so and keeps the changed mark.
  typeIntoCell(L"changed");
  ui->answerFiles({path("no such folder/x.vts")});
  ui->answerMessageBox(IDOK, L"could not be saved");
  Person::click(&editor, CDlgSSAsTool::kSaveAsButton);
  EXPECT_TRUE(editor.isChanged());
  EXPECT_EQ(editor.file(), folder / "beams.vts");
}

TEST_F(EditorTest, LinesAreInsertedAndDeletedAtTheActiveCellAndEveryKindIsUndone) {
  s().setCellData(1, 1, L"first");
  s().setCellData(1, 2, L"second");
  s().setCellData(2, 1, L"b1");
  editor.undoSteps().reset(s().document());
  const std::string start = SheetUndo::contentText(s().document());
  s().setActiveCell(1, 2);

  Person::click(&editor, CDlgSSAsTool::kInsertRowButton);
  EXPECT_EQ(s().getMaxRows(), 12);
  EXPECT_EQ(data(1, 3), L"second");
  Person::click(&editor, CDlgSSAsTool::kDeleteColumnButton);
  EXPECT_EQ(s().getMaxCols(), 5);
  EXPECT_EQ(data(1, 1), L"b1");
  s().setActiveCell(1, 1);
  typeIntoCell(L"typed");
  Person::pressKey(&s(), VK_DELETE);
  EXPECT_EQ(data(1, 1), L"");
  Person::click(&editor, CDlgSSAsTool::kInsertColumnButton);
  EXPECT_EQ(s().getMaxCols(), 6);

  Person::click(&editor, CDlgSSAsTool::kUndoButton);
  EXPECT_EQ(s().getMaxCols(), 5);
  Person::pressKey(&s(), 'Z', false, true);
  EXPECT_EQ(data(1, 1), L"typed") << "the emptied cells come back";
  Person::pressKey(&s(), 'Z', false, true);
  EXPECT_EQ(data(1, 1), L"b1");
  Person::pressKey(&s(), 'Z', false, true);
  EXPECT_EQ(s().getMaxCols(), 6);
  EXPECT_EQ(data(1, 1), L"first");
  Person::click(&editor, CDlgSSAsTool::kUndoButton);
  EXPECT_EQ(SheetUndo::contentText(s().document()), start);
  EXPECT_FALSE(editor.undo());
}

TEST_F(EditorTest, ReplacementsAndTheContextMenuMarkTheCaptionAndAreUndone) {
  s().setCellData(1, 1, L"HEA 200");
  s().setCellData(1, 3, L"HEA 240");
  editor.undoSteps().reset(s().document());
  Person::click(&editor, CDlgSSAsTool::kReplaceButton);
  CDlgFindReplace* find = s().findDialog();
  ASSERT_NE(find, nullptr);
  find->setFindText(L"HEA");
  find->setReplaceText(L"HEB");
  ASSERT_TRUE(find->findNext(false));
  EXPECT_EQ(text(CDlgSSAsTool::kCellNameStatic), L"A1") << "the bar follows what was found";
  ui->answerMessageBox(IDOK);
  Person::click(find, CDlgFindReplace::kReplaceAllButton);
  EXPECT_EQ(data(1, 3), L"HEB 240");
  EXPECT_EQ(editor.GetWindowText(), L"*Untitled - Spreadsheet editor");
  Person::click(find, IDCANCEL);

  // The context menu's "Insert row" (its third command) on row 2.
  CRect cell;
  ASSERT_TRUE(s().GetCellRect(1, 2, cell));
  ui->answerPopupMenu(2);
  Person::rightClickAt(&s(), CPoint(cell.left + 3, cell.top + 3));
  EXPECT_EQ(data(1, 4), L"HEB 240");
  EXPECT_EQ(editor.undoSteps().steps(), 2) << "each was told and taken as its own step";

  Person::click(&editor, CDlgSSAsTool::kUndoButton);
  EXPECT_EQ(data(1, 3), L"HEB 240");
  Person::click(&editor, CDlgSSAsTool::kUndoButton);
  EXPECT_EQ(data(1, 3), L"HEA 240");
  EXPECT_EQ(data(1, 1), L"HEA 200");
}

TEST_F(EditorTest, TheSettingsButtonsOpenTheirDialogsAndOkIsAnUndoableChange) {
  ui->onModal(
      [](CDialog& d) {
        Person::replaceText(d.GetDlgItem(CDlgSSOptions::kColumnsEdit), L"8");
        Person::click(&d, IDOK);
      },
      CDlgSSOptions::IDD);
  Person::click(&editor, CDlgSSAsTool::kSheetOptionsButton);
  EXPECT_EQ(s().getMaxCols(), 8);
  EXPECT_TRUE(editor.isChanged());

  ui->onModal(
      [](CDialog& d) {
        Person::replaceText(d.GetDlgItem(CDlgSSDocumentSettings::kFontCombo), L"Verdana");
        Person::click(&d, IDOK);
      },
      CDlgSSDocumentSettings::IDD);
  Person::click(&editor, CDlgSSAsTool::kDocumentSettingsButton);
  EXPECT_EQ(s().document().attributes(3, 3).fontName, L"Verdana");

  ui->onModal([](CDialog& d) { Person::click(&d, IDCANCEL); }, CDlgSSSettings::IDD);
  Person::click(&editor, CDlgSSAsTool::kLanguageButton);

  Person::click(&editor, CDlgSSAsTool::kUndoButton);
  EXPECT_NE(s().document().attributes(3, 3).fontName, L"Verdana");
  EXPECT_EQ(s().getMaxCols(), 8);
  Person::click(&editor, CDlgSSAsTool::kUndoButton);
  EXPECT_EQ(s().getMaxCols(), 6);
}

TEST_F(EditorTest, ClosingWithChangesAsksAndCancelKeepsTheWindow) {
  typeIntoCell(L"unsaved");
  ui->answerMessageBox(IDCANCEL, L"Save the changes to Untitled?");
  Person::close(&editor);
  EXPECT_TRUE((editor.GetSafeHwnd() != nullptr));
  // Yes saves first: a cancelled file choice keeps the window too.
  ui->answerMessageBox(IDYES);
  ui->answerFiles({});
  Person::close(&editor);
  EXPECT_TRUE((editor.GetSafeHwnd() != nullptr));
  ui->answerMessageBox(IDYES);
  ui->answerFiles({path("kept.vts")});
  Person::close(&editor);
  EXPECT_FALSE((editor.GetSafeHwnd() != nullptr));
  EXPECT_TRUE(fs::exists(folder / "kept.vts"));
}

TEST_F(EditorTest, ClosingWithoutSavingDropsTheChanges) {
  // An entry still open counts as a change.
  Person::type(&s(), L"unsaved");
  ui->answerMessageBox(IDNO);
  Person::close(&editor);
  EXPECT_FALSE((editor.GetSafeHwnd() != nullptr));
}

// A printer that keeps what it was asked to print.
class RecordingPrinter : public krv::sheet::SheetPrinter {
 public:
  krv::base::Status print(const krv::sheet::ControlDocument& doc,
                          const krv::sheet::PrintSettings& settings, krv::sheet::PrintTarget target,
                          const std::filesystem::path&) override {
    cols = doc.maxCols();
    title = settings.title;
    this->target = target;
    return {};
  }
  int cols = 0;
  std::wstring title;
  krv::sheet::PrintTarget target = krv::sheet::PrintTarget::PdfFile;
};

TEST_F(EditorTest, PrintAndPreviewGoToTheInstalledPrinterOrSayThereIsNone) {
  ui->answerMessageBox(IDOK, L"not available");
  Person::click(&editor, CDlgSSAsTool::kPrintButton);

  RecordingPrinter printer;
  krv::sheet::setSheetPrinter(&printer);
  Person::click(&editor, CDlgSSAsTool::kPreviewButton);
  krv::sheet::setSheetPrinter(nullptr);
  EXPECT_EQ(printer.target, krv::sheet::PrintTarget::Preview);
  EXPECT_EQ(printer.title, L"Untitled");
  EXPECT_EQ(printer.cols, 6);
}

TEST_F(EditorTest, HandlesShareOneWindowThatTheLastOneCloses) {
  HWND shown = nullptr;
  {
    DlgSSAsTool handle;
    EXPECT_FALSE(handle.isOpen());
    EXPECT_EQ(handle.sheet(), nullptr);
    DlgSSAsTool early = handle;
    ASSERT_TRUE(handle.open(&dialogWnd));
    EXPECT_EQ(CWnd::GetFocus(), &dialogWnd) << "the focus goes back to the parent";
    ASSERT_NE(handle.sheet(), nullptr);
    EXPECT_EQ(early.sheet(), handle.sheet()) << "a copy made before open shares the window";
    shown = handle.window()->GetSafeHwnd();
    {
      DlgSSAsTool copy = handle;
      EXPECT_EQ(copy.owners(), 3);
    }
    EXPECT_TRUE(::IsWindow(shown)) << "a copy going does not close the window the others show";
    handle.sheet()->setCellData(1, 1, L"kept");
    early = DlgSSAsTool();
    EXPECT_TRUE(handle.isOpen());
    // A person closing the window: the handle says so.
    Person::close(handle.window());
    EXPECT_FALSE(handle.isOpen());
    EXPECT_EQ(handle.sheet(), nullptr);
    ASSERT_TRUE(handle.open(&dialogWnd));
    shown = handle.window()->GetSafeHwnd();
  }
  EXPECT_FALSE(::IsWindow(shown)) << "the last handle closed it";
}

}  // namespace
