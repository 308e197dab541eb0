#pragma once
// CDlgSSOptions: the sheet options dialog (template 245, modal). It edits a
// sheet's number of columns and rows, the width of its row header column
// and the height of its column header row, and its header texts: a one-row
// sheet over item kColumnHeaderFrame edits the column header texts (one
// column per sheet column) and a one-column sheet over item kRowHeaderFrame
// the row header texts (one row per sheet row). Both editors hold only
// cells, so a sheet of a million rows makes no widget per row.
//
// The caller fills the public members before DoModal. Opening shows the
// four values in their edits and the texts in the editors: the column
// header editor gets mColumns columns and one row, its header column as
// wide as mHeaderWidth; the row header editor one column and mRows rows,
// its header row as high as mHeaderHeight.
//
// Leaving a count's edit (EN_KILLFOCUS) with a changed count reads the texts
// typed so far back from its editor into the edited list, resizes the
// editor and refills it: an edited text where there is one, else the text
// as first given, else empty. Edited texts beyond a lowered count are kept,
// so raising the count again brings them back. A text in the edit that is
// not a valid count changes nothing (OK refuses it). A change of the width
// or the height is applied to the editor at once.
//
// OK checks the four values: a count that is not a whole number or lies
// outside 0 to the control's limit (kControlMaxCols, kControlMaxRows), or
// a header size outside 0 to kMaxHeaderSize pixels, is refused with a
// message box and the dialog stays open with the focus on that edit.
// Otherwise OK reads both editors back, stores the values and closes.
// Cancel keeps the members as they were given (the edited lists aside).
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"
#include "platform/win/dialog.h"
#include "spread/krv_spread.h"

class CDlgSSOptions : public CDialog {
 public:
  static constexpr UINT IDD = 245;
  static constexpr int kColumnsEdit = 1017, kRowsEdit = 1019, kHeaderWidthEdit = 1021,
                       kHeaderHeightEdit = 1023;
  static constexpr int kColumnHeaderFrame = 1025, kRowHeaderFrame = 1002;
  static constexpr int kSummaryLabel = 1000, kColumnHeadersLabel = 1024, kRowHeadersLabel = 1001;
  static constexpr int kColumnsLabel = 1016, kRowsLabel = 1018, kHeaderWidthLabel = 1020,
                       kHeaderHeightLabel = 1022;
  // The largest header width or height, in pixels.
  static constexpr int kMaxHeaderSize = 2000;

  explicit CDlgSSOptions(CWnd* parent = nullptr);

  int mColumns = 0, mRows = 0;
  int mHeaderWidth = 0, mHeaderHeight = 0;
  // The header texts as first given (item i belongs to column/row i + 1)
  // and as edited (read back from the editors; may be longer than the count).
  Krv_StringArray mColumnTexts, mRowTexts;
  Krv_StringArray mColumnTextsEdited, mRowTextsEdited;

  // The text of column (row) header i (from 0) as the editor shows it: the
  // edited text where there is one, else the first-given text, else empty.
  Krv_String columnText(int i) const;
  Krv_String rowText(int i) const;

  Krv_Spread& columnEditor() { return mColumnEditor; }
  Krv_Spread& rowEditor() { return mRowEditor; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override;

 private:
  // Reads the texts of the editor back into its edited list.
  void readColumnEditor();
  void readRowEditor();
  // Resizes the editor to `count` and refills its cells.
  void fillColumnEditor(int count);
  void fillRowEditor(int count);
  // Refuses the value of `id` with `message` and a limit; false.
  bool refuse(int id, int message, int limit);

  Krv_Spread mColumnEditor, mRowEditor;
  int mShownColumns = 0, mShownRows = 0;
  bool mFilling = false;
};

// Edits the options of `sheet` with CDlgSSOptions: the dialog is filled
// from the sheet (column and row counts, the width of column 0, the height
// of row 0, the value texts of the column headers and of the row headers).
// On OK the sheet gets the counts, the height of row 0, the width of column
// 0 and the header texts as data texts, and its changed mark (option 30).
// A header text is written only where it differs from what the sheet
// showed (or, for a new line, is not empty), so headers that show their
// default labels keep following their positions. True when OK was pressed
// and the result applied; Cancel changes nothing.
bool editSheetOptions(Krv_Spread& sheet, CWnd* parent = nullptr);
