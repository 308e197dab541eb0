#include "spread/krv_spread.h"

#include <gtest/gtest.h>

#include <memory>

#include "platform/win/clipboard.h"
#include "platform/win/person.h"
#include "spread/dlg_find_replace.h"
#include "spread/dyn_menu.h"
#include "spread/spread_test_support.h"

namespace {

using krv::test::SheetOnDialog;

TEST(KrvSpreadUnattached, CountsAreMinusOneAndEverythingFails) {
  Krv_Spread s;
  EXPECT_EQ(s.getMaxCols(), -1);
  EXPECT_EQ(s.getMaxRows(), -1);
  Krv_String text = L"old";
  EXPECT_FALSE(s.getCellString(1, 1, text, Value));
  EXPECT_TRUE(text.isEmpty());
  EXPECT_FALSE(s.setCellData(1, 1, L"x"));
  EXPECT_FALSE(s.setMaxRows(3));
  EXPECT_FALSE(s.setDefaultLook(Krv_Spread::kLookReadOnlyRows));
  EXPECT_FALSE(s.insertRow(1, false, false));
  int c, r;
  EXPECT_FALSE(s.getActiveCell(c, r));
  EXPECT_EQ(s.openFindDialog(), nullptr);
  Krv_StringArray items;
  EXPECT_FALSE(s.getColumn(1, items));
}

TEST_F(SheetOnDialog, AttachTakesThePlaceholdersPlaceRelativeToTheDialogFrame) {
  CRect item, dialog;
  placeholder->GetWindowRect(&item);
  dialogWnd.GetWindowRect(&dialog);
  Krv_Spread exact;
  auto second = std::make_unique<CWnd>();
  ASSERT_TRUE(second->Create(L"STATIC", L"", WS_CHILD | WS_VISIBLE, CRect(40, 60, 340, 260),
                             &dialogWnd, 501));
  ASSERT_TRUE(sheet.attachToDlgItem(&dialogWnd, 500, false));
  ASSERT_TRUE(exact.attachToDlgItem(&dialogWnd, 501, true));
  CRect placed = sheet.windowRectInParent();
  EXPECT_EQ(placed.left, item.left - dialog.left - 5);
  EXPECT_EQ(placed.top, item.top - dialog.top - 20);
  EXPECT_EQ(placed.Width(), item.Width());
  EXPECT_EQ(placed.Height(), item.Height());
  EXPECT_EQ(exact.windowRectInParent().left, item.left - dialog.left);
  EXPECT_EQ(sheet.GetDlgCtrlID(), 500);
  EXPECT_EQ(dialogWnd.GetDlgItem(500), &sheet);
  EXPECT_EQ(sheet.className(), L"fpUSpread70");
  EXPECT_EQ(sheet.getMaxRows(), 0);
  EXPECT_EQ(sheet.document().look().appearance, 1);
  EXPECT_FALSE(sheet.attachToDlgItem(&dialogWnd, 999, false));
}

TEST_F(SheetOnDialog, ReadsInsideSucceedAndOneBeyondTheLastRowFails) {
  attach(3, 4);
  Krv_String t;
  EXPECT_TRUE(sheet.getCellString(2, 4, t, Value));
  EXPECT_TRUE(t.isEmpty());
  EXPECT_FALSE(sheet.getCellString(2, 5, t, Value));
  EXPECT_FALSE(sheet.getCellString(4, 1, t, Data));
  ASSERT_TRUE(sheet.setCellData(1, 1, L"2"));
  ASSERT_TRUE(sheet.setCellFormula(2, 1, L"=A1*3"));
  EXPECT_FALSE(sheet.setCellFormula(3, 1, L"=A1*"));
  sheet.getCellString(2, 1, t, Value);
  EXPECT_EQ(t, L"6");
  sheet.getCellString(2, 1, t, Formula);
  EXPECT_EQ(t, L"=A1*3");
  sheet.setCellData(2, -32767, L"Name");
  sheet.getCellString(2, 0, t, Value);
  EXPECT_EQ(t, L"Name");
  sheet.setNumberFormat(1, 1, 2, false);
  sheet.getCellString(1, 1, t, Value);
  EXPECT_EQ(t, L"2.00");
  sheet.setNumberFormat(1, 2, -1, 2, 1, true);
  sheet.setCellData(3, 2, L"12345.67");
  sheet.getCellString(3, 2, t, Value);
  EXPECT_EQ(t, L"12,345.7");
}

TEST_F(SheetOnDialog, GrowingWithInitialiseCopiesTheLastRowAndSetsTheDefaultFont) {
  attach(2, 2);
  sheet.setCheckBoxFormat(1, 2, 1, 2);
  sheet.setMaxRows(4, true);
  EXPECT_EQ(sheet.getCellType(1, 4), krv::sheet::kCellTypeCheckBox);
  EXPECT_EQ(sheet.document().attributes(2, 3).fontName, L"Tahoma");
  EXPECT_EQ(sheet.document().attributes(0, 4).fontHeight, 15);
  sheet.setMaxRows(6, false);
  EXPECT_NE(sheet.getCellType(1, 6), krv::sheet::kCellTypeCheckBox);
}

TEST_F(SheetOnDialog, TransfersStopAtTheEdgeAndConvertNumbers) {
  attach(3, 3);
  Krv_StringArray items{L"a", L"b", L"c", L"beyond"};
  EXPECT_TRUE(sheet.setColumn(1, items));
  EXPECT_EQ(sheet.getMaxRows(), 3);
  EXPECT_FALSE(sheet.setColumn(4, items));
  Krv_StringArray back;
  ASSERT_TRUE(sheet.getColumn(1, back, Data));
  ASSERT_EQ(back.length(), 3);
  EXPECT_EQ(back[2], L"c");
  Krv_Array<double> numbers;
  numbers.append(1.5);
  numbers.append(-2.25);
  EXPECT_TRUE(sheet.setRow(2, numbers));
  Krv_Array<int> ints;
  ASSERT_TRUE(sheet.getRow(2, ints));
  EXPECT_EQ(ints[0], 1);
  EXPECT_EQ(ints[1], -2);
  Krv_Array<int> flags;
  flags.append(1);
  flags.append(0);
  sheet.setColumn(3, flags);
  Krv_Array<bool> bools;
  ASSERT_TRUE(sheet.getColumn(3, bools));
  EXPECT_TRUE(bools[0]);
  EXPECT_FALSE(bools[1]);
  EXPECT_FALSE(sheet.getRow(4, back));
}

TEST_F(SheetOnDialog, TransfersReachTheHeaderLinesThroughTheHeaderIndex) {
  attach(3, 2);
  Krv_StringArray titles;
  titles.append(L"Size");
  titles.append(L"Grade");
  titles.append(L"Mass");
  ASSERT_TRUE(sheet.setRow(-32767, titles)) << "-32767 is the header row";
  Krv_Array<int> numbers;
  numbers.append(10);
  numbers.append(20);
  ASSERT_TRUE(sheet.setColumn(-32767, numbers)) << "-32767 is the header column";
  Krv_String t;
  sheet.getCellString(2, 0, t, Data);
  EXPECT_EQ(t, L"Grade");
  sheet.getCellString(0, 2, t, Data);
  EXPECT_EQ(t, L"20");
  Krv_StringArray back;
  ASSERT_TRUE(sheet.getRow(-32767, back));
  ASSERT_EQ(back.length(), 3);
  EXPECT_EQ(back[2], L"Mass");
  Krv_Array<double> rowLabels;
  ASSERT_TRUE(sheet.getColumn(-32767, rowLabels));
  ASSERT_EQ(rowLabels.length(), 2);
  EXPECT_EQ(rowLabels[0], 10.0);
  EXPECT_FALSE(sheet.setRow(-1, titles)) << "only the header index addresses a header line";
  EXPECT_FALSE(sheet.getColumn(-2, back));
}

TEST_F(SheetOnDialog, InsertedLinesLeaveTheDefaultHeaderLabelsFollowingTheirPosition) {
  attach(2, 3);
  ASSERT_TRUE(sheet.insertRow(2, true, false));
  ASSERT_TRUE(sheet.insertRow(2, true, false));
  ASSERT_TRUE(sheet.insertColumn(1, true, false));
  ASSERT_TRUE(sheet.insertColumn(1, true, false));
  Krv_String t;
  const wchar_t* rowLabels[] = {L"1", L"2", L"3", L"4", L"5"};
  for (int r = 1; r <= 5; ++r) {
    sheet.getCellString(0, r, t, Data);
    EXPECT_EQ(t.str(), rowLabels[r - 1]) << "row " << r;
  }
  const wchar_t* colLabels[] = {L"A", L"B", L"C", L"D"};
  for (int c = 1; c <= 4; ++c) {
    sheet.getCellString(c, 0, t, Data);
    EXPECT_EQ(t.str(), colLabels[c - 1]) << "column " << c;
  }
}

TEST_F(SheetOnDialog, InsertedLinesMoveExplicitHeaderTextsWithTheirLine) {
  attach(2, 3);
  sheet.setCellData(0, 2, L"Bolt");
  sheet.setCellData(2, 0, L"Grade");
  ASSERT_TRUE(sheet.insertRow(1, true, false));
  ASSERT_TRUE(sheet.insertColumn(1, true, false));
  Krv_String t;
  sheet.getCellString(0, 3, t, Data);
  EXPECT_EQ(t, L"Bolt") << "a text set on row 2 moves down with it";
  sheet.getCellString(0, 2, t, Data);
  EXPECT_EQ(t, L"2");
  sheet.getCellString(3, 0, t, Data);
  EXPECT_EQ(t, L"Grade");
  sheet.getCellString(1, 0, t, Data);
  EXPECT_EQ(t, L"A") << "the inserted column shows its default label";
}

TEST_F(SheetOnDialog, HouseCellFormatsLimitWhatAPersonTypesAndPastes) {
  attach(2, 2);
  ASSERT_TRUE(sheet.setEditFormat(1, 1, 1, 2));              // at most 200 characters
  ASSERT_TRUE(sheet.setNumberFormat(2, 1, 2, 2, 0, false));  // -99999999999999 .. 99999999999999
  ASSERT_TRUE(sheet.setActiveCell(1, 1));
  krv::win::Person::type(&sheet, std::wstring(250, L'x'));
  krv::win::Person::pressKey(&sheet, VK_RETURN);
  Krv_String t;
  sheet.getCellString(1, 1, t, Data);
  EXPECT_EQ(t.length(), 200);
  ASSERT_TRUE(sheet.setActiveCell(2, 1));
  krv::win::Person::type(&sheet, L"1000000000000000");
  krv::win::Person::pressKey(&sheet, VK_RETURN);
  sheet.getCellString(2, 1, t, Data);
  EXPECT_EQ(t.str(), L"10000000000000")
      << "from the fifteenth digit on the number would pass the maximum";
  ASSERT_TRUE(krv::win::setClipboardText(std::wstring(250, L'y'), sheet.m_hWnd));
  ASSERT_TRUE(sheet.setActiveCell(1, 2));
  ASSERT_TRUE(sheet.runMenuKind(krv::spread::kMenuPaste));
  sheet.getCellString(1, 2, t, Data);
  EXPECT_EQ(t.length(), 200) << "a paste is cut to the cell's maximum length";
}

TEST_F(SheetOnDialog, InsertAndDeleteKeepTheChangedMark) {
  attach(2, 3);
  sheet.setCellData(1, 3, L"last");
  EXPECT_FALSE(sheet.insertRow(5, false, false));  // two beyond the last
  EXPECT_EQ(sheet.getMaxRows(), 3);
  EXPECT_FALSE(sheet.getBoolOption(krv::spread::kOptionChanged));
  EXPECT_TRUE(sheet.insertRow(4, true, false));  // one beyond: appends
  EXPECT_EQ(sheet.getMaxRows(), 4);
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionChanged));
  sheet.setBoolOption(krv::spread::kOptionChanged, false);
  EXPECT_TRUE(sheet.insertRow(1, false, true));
  Krv_String t;
  sheet.getCellString(1, 4, t, Data);
  EXPECT_EQ(t, L"last");
  EXPECT_TRUE(sheet.deleteRow(1));
  EXPECT_TRUE(sheet.insertColumn(1, true, true));
  sheet.getCellString(1, 0, t, Data);
  EXPECT_EQ(t, L"A");
  EXPECT_TRUE(sheet.deleteColumn(3));
  EXPECT_EQ(sheet.getMaxCols(), 2);
  EXPECT_FALSE(sheet.deleteColumn(3));
}

TEST_F(SheetOnDialog, ActiveCellDefaultsToTheFirstAndFollowsARowMove) {
  attach(2, 3);
  int c = 0, r = 0;
  ASSERT_TRUE(sheet.getActiveCell(c, r));
  EXPECT_EQ(c, 1);
  EXPECT_EQ(r, 1);
  sheet.setCellData(1, 1, L"first");
  sheet.setCellData(1, 2, L"second");
  EXPECT_FALSE(sheet.moveCurrentRowUp());
  EXPECT_TRUE(sheet.moveCurrentRowDown());
  sheet.getActiveCell(c, r);
  EXPECT_EQ(r, 2);
  Krv_String t;
  sheet.getCellString(1, 1, t, Data);
  EXPECT_EQ(t, L"second");
  sheet.setSelection(1, 2, -1, -1);
  int s[4];
  sheet.getSelection(s[0], s[1], s[2], s[3]);
  EXPECT_EQ(s[2], -1);
}

TEST_F(SheetOnDialog, FindTextSearchesRowByRowFromTheStartCell) {
  attach(3, 3);
  sheet.setCellData(1, 1, L"Bolt M20");
  sheet.setCellData(3, 2, L"bolt");
  sheet.setCellData(2, 3, L"BOLT m20 x 60");
  int c, r;
  ASSERT_TRUE(sheet.findText(L"bolt", 2, 1, c, r, false));
  EXPECT_EQ(c, 3);
  EXPECT_EQ(r, 2);
  ASSERT_TRUE(sheet.findText(L"m20", 1, 2, c, r, true));
  EXPECT_EQ(c, 2);
  EXPECT_EQ(r, 3);
  EXPECT_FALSE(sheet.findText(L"nut", 1, 1, c, r, true));
  EXPECT_EQ(sheet.replaceText(2, 3, L"m20", L"M24"), 1);
  Krv_String t;
  sheet.getCellString(2, 3, t, Data);
  EXPECT_EQ(t, L"BOLT M24 x 60");
}

TEST_F(SheetOnDialog, FindTextOnTheLargestSheetLooksOnlyAtFilledCells) {
  attach(3, 3);
  ASSERT_TRUE(sheet.document().setMaxCols(krv::sheet::kControlMaxCols));
  ASSERT_TRUE(sheet.document().setMaxRows(krv::sheet::kControlMaxRows));
  sheet.setCellData(5, 1, L"Input");
  sheet.setCellData(krv::sheet::kControlMaxCols, krv::sheet::kControlMaxRows, L"Calc");
  int c, r;
  // A scan of all 17 G positions would take minutes.
  EXPECT_FALSE(sheet.findText(L"Local", 1, 1, c, r, false));
  ASSERT_TRUE(sheet.findText(L"calc", 1, 1, c, r, false));
  EXPECT_EQ(c, krv::sheet::kControlMaxCols);
  EXPECT_EQ(r, krv::sheet::kControlMaxRows);
  EXPECT_FALSE(sheet.findText(L"Input", 6, 1, c, r, false))
      << "the start row is searched from the start column";
  ASSERT_TRUE(sheet.findText(L"", 5, 1, c, r, false))
      << "an empty text matches the first empty cell";
  EXPECT_EQ(c, 6);
  EXPECT_EQ(r, 1);
}

TEST_F(SheetOnDialog, ContextMenuCountsCommandsWithoutSeparators) {
  attach(3, 3);
  Krv_Array<int> kinds{krv::spread::kMenuSeparator, krv::spread::kMenuInsertRow,
                       krv::spread::kMenuSeparator, krv::spread::kMenuCopy,
                       krv::spread::kMenuDeleteRow, krv::spread::kMenuSeparator};
  sheet.setContextMenu(kinds);
  ASSERT_NE(sheet.contextMenu(), nullptr);
  EXPECT_EQ(sheet.contextMenu()->commandCount(), 3);
  EXPECT_EQ(sheet.contextMenu()->items()[1].text, dialString(774).str());
  sheet.setCellData(1, 1, L"top");
  sheet.setActiveCell(1, 1);
  // The third command (identifier of entry 2) deletes the active row.
  ui->answerPopupMenu(2);
  krv::win::Person::rightClickAt(&sheet, CPoint(5, 5));
  ASSERT_EQ(ui->popupMenus().size(), 1u);
  EXPECT_EQ(ui->popupMenus().back(),
            (std::vector<std::wstring>{dialString(774).str(), dialString(1154).str(),
                                       dialString(775).str()}));
  EXPECT_EQ(sheet.getMaxRows(), 2);
  Krv_String t;
  sheet.getCellString(1, 1, t, Data);
  EXPECT_TRUE(t.isEmpty());
  // A position beyond the list does nothing.
  sheet.SendMessage(WM_COMMAND, dynMenu::commandId(5));
  EXPECT_EQ(sheet.getMaxRows(), 2);
  sheet.clearContextMenu();
  EXPECT_EQ(sheet.contextMenu(), nullptr);
}

TEST_F(SheetOnDialog, CheckCommandsSetOnlyCheckBoxCellsUpToTheLast) {
  attach(3, 3);
  sheet.setCheckBoxFormat(2, 1, 2, -1);
  sheet.setSelection(1, 2, -1, -1);
  ASSERT_TRUE(sheet.runMenuKind(krv::spread::kMenuCheckSelected));
  Krv_String t;
  sheet.getCellString(2, 3, t, Value);
  EXPECT_EQ(t, L"1");
  sheet.getCellString(2, 1, t, Value);
  EXPECT_TRUE(t.isEmpty());
  sheet.getCellString(3, 3, t, Value);
  EXPECT_TRUE(t.isEmpty());
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionChanged));
  sheet.runMenuKind(krv::spread::kMenuUncheckSelected);
  sheet.getCellString(2, 2, t, Value);
  EXPECT_EQ(t, L"0");
}

TEST_F(SheetOnDialog, CopyAndPasteGoThroughTheClipboard) {
  attach(3, 3);
  sheet.setCellData(1, 1, L"a");
  sheet.setCellData(2, 1, L"b");
  sheet.setSelection(1, 1, 2, 1);
  ASSERT_TRUE(sheet.runMenuKind(krv::spread::kMenuCopy));
  EXPECT_EQ(krv::win::getClipboardText(), L"a\tb\r\n");
  sheet.setActiveCell(2, 3);
  ASSERT_TRUE(sheet.runMenuKind(krv::spread::kMenuPaste));
  Krv_String t;
  sheet.getCellString(3, 3, t, Data);
  EXPECT_EQ(t, L"b");
  krv::win::resetClipboard();
}

TEST_F(SheetOnDialog, KeysOpenTheFindDialogAndToggleTheEditOption) {
  attach(3, 3);
  sheet.SetFocus();
  krv::win::Person::pressKey(&sheet, VK_F3);
  CDlgFindReplace* dlg = sheet.findDialog();
  ASSERT_NE(dlg, nullptr);
  EXPECT_TRUE(dlg->IsWindowVisible());
  int c, r;
  sheet.getActiveCell(c, r);
  EXPECT_EQ(c, 1);
  EXPECT_FALSE(sheet.document().editing());  // nothing searched yet
  sheet.setBoolOption(krv::spread::kOptionEditMode, false);
  krv::win::Person::pressKey(&sheet, VK_F8);
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionEditMode));
  sheet.setF8Allowed(false);
  krv::win::Person::pressKey(&sheet, VK_F8);
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionEditMode));
}

TEST_F(SheetOnDialog, ResizeModeOneFitsTheColumnsAndTheNotificationIsSwallowed) {
  attach(4, 2);
  sheet.setResizeMode(krv::spread::kResizeFitColumns);
  sheet.MoveWindow(0, 0, 417, 200);
  double sum = 0;
  for (int c = 1; c <= 4; ++c) sum += sheet.document().colWidth(c);
  EXPECT_NEAR(sum, 417 - 17 - sheet.document().colWidth(0), 1e-9);
  EXPECT_EQ(sheet.SendMessage(krv::spread::kSpreadNotifyMessage, 1, 2), 0);
}

TEST_F(SheetOnDialog, ResizeModeFiveGivesTheListedColumnsTheirShareOfTheWidth) {
  attach(4, 2);
  const double untouched = sheet.document().colWidth(2);
  sheet.setResizeColumns(Krv_Array<int>{1, 3, 9}, Krv_Array<int>{20, 50, 30});
  sheet.setResizeMode(krv::spread::kResizeColumnPercents);
  sheet.MoveWindow(0, 0, 417, 200);
  // The width shared out is the window's less the vertical scroll bar (17)
  // and the row header.
  const double width = 417 - 17 - sheet.document().colWidth(0);
  EXPECT_NEAR(sheet.document().colWidth(1), width * 0.2, 1e-9) << "the first column is listed too";
  EXPECT_NEAR(sheet.document().colWidth(3), width * 0.5, 1e-9);
  EXPECT_EQ(sheet.document().colWidth(2), untouched) << "a column not listed keeps its width";
  EXPECT_EQ(sheet.document().maxCols(), 4) << "a listed column beyond the sheet is ignored";
}

TEST_F(SheetOnDialog, ListNotificationKeepsTheTrackedCellActive) {
  attach(3, 5);
  sheet.setListCell(2, 1);
  sheet.setActiveCell(2, 4);
  sheet.SendMessage(WM_COMMAND, MAKEWPARAM(500, krv::spread::kListNotifyCloseUp));
  int c, r;
  sheet.getListCell(c, r);
  EXPECT_EQ(r, 4);
  sheet.setActiveCell(3, 2);
  sheet.SendMessage(WM_COMMAND, MAKEWPARAM(500, krv::spread::kListNotifyDropDown));
  sheet.getListCell(c, r);
  EXPECT_EQ(r, 4);  // the active cell is not in the tracked column
}

TEST_F(SheetOnDialog, DefaultLookModesDifferInTheEditOptions) {
  attach(2, 2);
  ASSERT_TRUE(sheet.setDefaultLook(Krv_Spread::kLookEditable));
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionEditMode));
  EXPECT_FALSE(sheet.getBoolOption(krv::spread::kOptionReadOnlyRowsLook));
  EXPECT_EQ(sheet.modeValue(), 0);
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionRedraw));
  EXPECT_FALSE(sheet.getBoolOption(krv::spread::kOptionAutoCalc));
  EXPECT_EQ(sheet.document().look().selBackColor, 0x6A240Au);
  ASSERT_TRUE(sheet.setDefaultLook(Krv_Spread::kLookReadOnlyRows));
  EXPECT_FALSE(sheet.getBoolOption(krv::spread::kOptionEditMode));
  EXPECT_TRUE(sheet.getBoolOption(krv::spread::kOptionReadOnlyRowsLook));
  EXPECT_EQ(sheet.modeValue(), 5);
}

TEST_F(SheetOnDialog, InsertedRowWithCopyFormatTakesTheFormatOfTheRowItPushesDown) {
  attach(2, 3);
  auto& d = sheet.document();
  krv::sheet::CellAttributes above, pushed;
  above.backColor = 0x0000FF;
  pushed.backColor = 0x00FF00;
  pushed.locked = true;
  d.setCellAttributes(1, 1, above);
  d.setCellAttributes(1, 2, pushed);
  constexpr double kAboveHeight = 20.0, kPushedHeight = 33.0;
  d.setRowHeight(1, kAboveHeight);
  d.setRowHeight(2, kPushedHeight);

  const int newRow = 2, pushedRow = 3;
  ASSERT_TRUE(sheet.insertRow(newRow, false, true));
  EXPECT_EQ(d.attributes(1, newRow).backColor, pushed.backColor)
      << "the format comes from the row below, not the one above";
  EXPECT_EQ(d.rowHeight(newRow), kPushedHeight);
  EXPECT_EQ(d.attributes(1, pushedRow).backColor, pushed.backColor)
      << "the pushed row keeps its own format";
  EXPECT_EQ(d.rowHeight(pushedRow), kPushedHeight);
  EXPECT_EQ(d.attributes(1, 1).backColor, above.backColor);
  EXPECT_EQ(d.rowHeight(1), kAboveHeight);
}

TEST_F(SheetOnDialog, GrowingColumnsCopiesTheLastColumnOnlyWithInitialise) {
  attach(2, 2);
  sheet.setCheckBoxFormat(2, 1, 2, 2);
  const int checkBox = sheet.getCellType(2, 1);
  sheet.setMaxCols(4, true);
  EXPECT_EQ(sheet.getCellType(4, 1), checkBox) << "the new columns take the last column's format";
  sheet.setMaxCols(6, false);
  EXPECT_NE(sheet.getCellType(6, 1), checkBox);
}

TEST(DynMenu, IdentifierTableIsDistinctAndReversible) {
  std::set<UINT> seen;
  for (int i = 0; i < dynMenu::kEntryCount; ++i) {
    UINT id = dynMenu::commandId(i);
    EXPECT_TRUE(seen.insert(id).second) << i;
    EXPECT_EQ(dynMenu::entryOf(id), i);
  }
  EXPECT_EQ(dynMenu::commandId(4), 32818u);
  EXPECT_EQ(dynMenu::commandId(5), 32800u);
  EXPECT_EQ(dynMenu::commandId(16), 33117u);
  EXPECT_EQ(dynMenu::commandId(99), 33200u);
  EXPECT_EQ(dynMenu::commandId(100), 0u);
  EXPECT_EQ(dynMenu::entryOf(1), -1);
}

}  // namespace
