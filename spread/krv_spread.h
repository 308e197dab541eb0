#pragma once
// Krv_Spread: the system's spreadsheet window. It wraps the spreadsheet
// control (TSpread) and adds placement over a placeholder item of a dialog,
// the house look, reading and writing of cell texts in four kinds, number
// and edit formats, row and column transfers, row and column insertion and
// deletion that keep the changed mark (option 30), text search, a context
// menu with editing commands, the keys F3 (find), F5 (replace) and F8
// (toggles option 13), resize modes, in-cell list tracking, and the modeless
// find and replace dialog that the control owns.
//
// Until the control window exists (attachToDlgItem or createInParent)
// every operation does nothing: counts give -1, reads fail with an empty
// text, writes fail. Rows and columns count from 1; -32767 addresses the
// header row or column (0 works as well).
#include <memory>

#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"
#include "platform/sheet/tspread.h"

class CDlgFindReplace;
class dynMenu;

// What getCellString reads.
enum CellTextKind { Data = 0, Formula = 1, Tag = 2, Value = 3 };

namespace krv::spread {

// Kinds of context menu items.
enum SpreadMenuKind {
  kMenuSeparator = 1,
  kMenuCopy = 2,
  kMenuPaste = 3,
  kMenuInsertRow = 4,
  kMenuDeleteRow = 5,
  kMenuInsertColumn = 6,
  kMenuDeleteColumn = 7,
  kMenuCheckSelected = 8,
  kMenuUncheckSelected = 9,
};

// The control's option names (platform/sheet/control_document.h), for the
// callers of the spreadsheet window.
using enum krv::sheet::ControlOption;

// The control's notification that the spreadsheet window swallows.
inline constexpr UINT kSpreadNotifyMessage = 0x0517;
// Command notification codes of the in-cell list.
inline constexpr UINT kListNotifyDropDown = 59, kListNotifyCloseUp = 60;

// How the window sizes its columns (and rows) when it is resized, for
// Krv_Spread::setResizeMode; `a` and `b` are the resize parameters.
enum SpreadResizeMode : int {
  kResizeNone = 0,
  kResizeFitColumns = 1,         // the columns share the window width equally
  kResizeFitColumnsAndRows = 2,  // so do the rows the height
  kResizeShareWidthBeyond = 3,   // columns share the width beyond `a` pixels, at least `b` each
  kResizeLastColumnTakesRest =
      4,                      // the last column takes the width beyond the others, at least `b`
  kResizeColumnPercents = 5,  // the listed columns get their percent of the window width
};

}  // namespace krv::spread

class Krv_Spread : public TSpread {
 public:
  Krv_Spread();
  ~Krv_Spread() override;

  // ---- creation and look ----------------------------------------------------
  // Places the control over dialog item `id`: the item's window rectangle
  // relative to the dialog's window rectangle, unless `exact` moved 5 left
  // and 20 up (the dialog's frame and caption); the item is destroyed and
  // the control takes its place and identifier. The control starts with 0
  // rows and 0 columns, appearance 1 and no action keys.
  bool attachToDlgItem(CWnd* dialog, int id, bool exact = false);
  // Creates the control as a visible child of `parent` at `rect` (for code
  // that builds its own window), set up as attachToDlgItem does.
  bool createInParent(CWnd* parent, const CRect& rect, UINT id);
  bool isCreated() const { return mCreated; }
  HWND parentWindow() const { return mParent; }
  int controlId() const { return mControlId; }
  // The house look; kLookEditable for editable tables, any other mode
  // (kLookReadOnlyRows) for the others, whose rows are read only.
  static constexpr int kLookReadOnlyRows = 0, kLookEditable = 1;
  bool setDefaultLook(int mode);

  bool setBoolOption(int index, bool on);
  bool getBoolOption(int index) const;
  bool setIntOption(int index, int value);
  int getIntOption(int index) const;
  // The control's mode value (0 edit, 5 read-only rows).
  int modeValue() const;

  const Krv_String& defaultFont() const { return mDefaultFont; }
  void setDefaultFont(const Krv_String& font) { mDefaultFont = font; }
  int defaultTextHeight() const { return mDefaultTextHeight; }
  void setDefaultTextHeight(int height) { mDefaultTextHeight = height; }

  // ---- size ---------------------------------------------------------------------
  int getMaxCols() const;
  int getMaxRows() const;
  // Sets the count. When it grows: with `initialise` every new row (column)
  // is first made like the last existing one; then the new part, header
  // cells included, gets the default font and text height.
  bool setMaxRows(int count, bool initialise = false);
  bool setMaxCols(int count, bool initialise = false);

  // ---- cells -----------------------------------------------------------------------
  // Empties `text`; fails when not created or outside the sheet; an empty
  // cell inside the sheet succeeds with an empty text.
  bool getCellString(int col, int row, Krv_String& text, CellTextKind kind = Value) const;
  // Write the data text (value text). These are a program's writes: the
  // limits of the cell's format (the maximum length of an edit cell, the
  // bounds of a number cell) are not applied, and the text is stored whole,
  // so that values a caller computes (the standards engine's results, a
  // bill's texts) are never cut or refused. The limits bound what a person
  // types or pastes (TSpread).
  bool setCellData(int col, int row, const Krv_String& text);
  bool setCellValue(int col, int row, const Krv_String& text);
  // Sets a formula; false when the control refuses it.
  bool setCellFormula(int col, int row, const Krv_String& formula, bool buildDependencies = true);
  // The cell type number (12: check box); -1 when not created or outside.
  int getCellType(int col, int row) const;
  // Number cells: `decimals` shown, from -99999999999999 to 99999999999999,
  // with thousands separators when `separator`. A person can type or paste
  // only numbers within these bounds.
  bool setNumberFormat(int col, int row, int decimals, bool separator);
  bool setNumberFormat(int col1, int row1, int col2, int row2, int decimals, bool separator);
  // Edit (text) cells; a person can type or paste at most `maxLength`
  // characters into one (200 by default).
  bool setEditFormat(int col, int row);
  bool setEditFormat(int col1, int row1, int col2, int row2, DWORD style = 0x110000,
                     int maxLength = 200);
  // Check box cells (type 12) for a block (-1: all).
  bool setCheckBoxFormat(int col1, int row1, int col2, int row2);

  // ---- row and column transfers ---------------------------------------------------------
  // Item i goes to row i + 1 (column i + 1); items beyond the last row are
  // ignored. Column (row) -32767 is the header column (row): its items are
  // the header texts of the rows (columns). Fails for a column (row)
  // beyond the last or below 1 other than the header.
  bool setColumn(int col, const Krv_StringArray& items, bool asValue = false);
  bool setColumn(int col, const Krv_Array<int>& items);
  bool setColumn(int col, const Krv_Array<double>& items);
  bool setRow(int row, const Krv_StringArray& items, bool asValue = false);
  bool setRow(int row, const Krv_Array<int>& items);
  bool setRow(int row, const Krv_Array<double>& items);
  // Reads all rows (columns) from 1; the row form reads value texts. The
  // header line (-32767) reads the header texts, default labels included.
  bool getColumn(int col, Krv_StringArray& items, CellTextKind kind = Value) const;
  bool getColumn(int col, Krv_Array<int>& items) const;
  bool getColumn(int col, Krv_Array<double>& items) const;
  bool getColumn(int col, Krv_Array<bool>& items) const;
  bool getRow(int row, Krv_StringArray& items) const;
  bool getRow(int row, Krv_Array<int>& items) const;
  bool getRow(int row, Krv_Array<double>& items) const;
  bool getRow(int row, Krv_Array<bool>& items) const;

  // ---- rows and columns ----------------------------------------------------------------------
  // Inserts a line before `row` (`col`), 1 to one past the last, copying
  // the format of the line after it when `copyFormat`, and sets the changed
  // mark. The new line shows the default header label of its position and
  // the lines after it are relabelled by theirs (`setHeader` asks for that,
  // which is what every insertion gives); header texts that were set
  // explicitly move with their lines.
  bool insertRow(int row, bool setHeader, bool copyFormat);
  bool insertColumn(int col, bool setHeader, bool copyFormat);
  bool deleteRow(int row);
  bool deleteColumn(int col);
  // Moves the active row one up (down) with the control's block move; the
  // active cell follows. False at the first (last) row.
  bool moveCurrentRowUp();
  bool moveCurrentRowDown();

  // The current cell; when the control has none, (1, 1) is made current.
  bool getActiveCell(int& col, int& row);
  bool setActiveCell(int col, int row);
  // The selected block; -1 stands for the last column or row.
  bool getSelection(int& col1, int& row1, int& col2, int& row2) const;
  bool setSelection(int col1, int row1, int col2, int row2);

  // ---- search ------------------------------------------------------------------------------
  // From (startCol, startRow), then from column 1 on the following rows, to
  // the last row: the first cell whose value text equals `text` (contains
  // it, with `part`), ignoring case.
  bool findText(const Krv_String& text, int startCol, int startRow, int& foundCol, int& foundRow,
                bool part) const;
  // Replaces every occurrence of `what` (ignoring case) in the cell's value
  // text by `with` and writes the result as data text; the number replaced.
  int replaceText(int col, int row, const Krv_String& what, const Krv_String& with);

  // ---- context menu --------------------------------------------------------------------------
  void setContextMenu(const Krv_Array<int>& kinds);
  void clearContextMenu();
  const Krv_Array<int>& contextMenuKinds() const { return mMenuKinds; }
  const dynMenu* contextMenu() const { return mMenu; }
  // Runs the action of the context menu kind (as its menu item does).
  bool runMenuKind(int kind);
  // Tells the parent what a person's action did (kSpreadChangeMessage with
  // kSpreadActiveCellMoved or kSpreadCellsEdited), for the actions that
  // reach the document directly: the context menu, find and replace.
  void tellParent(WPARAM code) { notifyParent(code); }

  // ---- find dialog, keys, resizing, list tracking --------------------------------------------
  // Opens the find and replace dialog (created on first use, owned here).
  CDlgFindReplace* openFindDialog();
  CDlgFindReplace* findDialog() const { return mFindDlg.get(); }
  // Called by the dialog when it closes: the control lets it go.
  void releaseFindDialog();
  void setF8Allowed(bool allowed) { mF8Allowed = allowed; }
  bool isF8Allowed() const { return mF8Allowed; }

  // A SpreadResizeMode; other values resize nothing.
  void setResizeMode(int mode) { mResizeMode = mode; }
  int resizeMode() const { return mResizeMode; }
  void setResizeParameters(double a, double b) { mResizeParams[0] = a, mResizeParams[1] = b; }
  void setResizeColumns(const Krv_Array<int>& cols, const Krv_Array<int>& percents) {
    mResizeCols = cols, mResizePercents = percents;
  }
  // Applies the resize mode to the current window size.
  void applyResizeMode();

  // The cell whose in-cell list is tracked (-1: none).
  void setListCell(int col, int row, int value = -1) {
    mListCell[0] = col, mListCell[1] = row, mListCell[2] = value;
  }
  void getListCell(int& col, int& row) const { col = mListCell[0], row = mListCell[1]; }

  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnSize(UINT type, int cx, int cy) override;
  // The control takes the press first (a press outside the selection makes
  // the pressed cell active), then the context menu shows.
  void OnRButtonDown(UINT flags, CPoint point) override;
  void OnDestroy() override;

 protected:
  // Runs the context menu item at `position` (counting items without the
  // separators); false for a position beyond the list.
  bool runMenuPosition(int position);
  void setChanged() { document().setBoolOption(krv::spread::kOptionChanged, true); }
  void applyDefaultFont(int col1, int row1, int col2, int row2);
  bool setupCreated(UINT id);

 private:
  bool mCreated = false;
  HWND mParent = nullptr;
  int mControlId = 0;
  Krv_String mDefaultFont = L"Tahoma";
  int mDefaultTextHeight = 15;
  int mResizeMode = 0;
  int mReserved1 = 0, mReserved2 = 0;
  dynMenu* mMenu = nullptr;
  Krv_Array<int> mMenuKinds;
  std::unique_ptr<CDlgFindReplace> mFindDlg;
  bool mF8Allowed = true;
  int mReserved3 = 0, mReserved4 = 0;
  double mResizeParams[2] = {0, 0};
  Krv_Array<int> mResizeCols, mResizePercents;
  int mListCell[3] = {-1, -1, -1};
  // A closed find dialog waits here until it is safe to delete it.
  std::unique_ptr<CDlgFindReplace> mClosedFindDlg;
};
