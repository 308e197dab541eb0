#pragma once
// krv::sheet::ControlDocument: everything the spreadsheet control holds
// about one sheet, without windows. The formula engine (CellDocument) keeps
// the cell values and formulas; this class adds what the control shows and
// edits around them:
//
// * the header row and header column (row 0 and column 0; the control's
//   header index -32767 is mapped to 0 by `headerIndex`), their texts, and
//   the corner cell (0, 0) whose tag carries the document settings;
// * per cell a tag, a cell type with its parameters (edit, number, check
//   box, combo box, picture, button), colours, font, border, locked state
//   and text tip; these attributes cascade: a cell's own record, else its
//   column's, else its row's, else the sheet's default; changing one cell
//   copies the record in effect first;
// * spans, row heights and column widths, hidden rows and columns, the
//   active cell, the selection, the in-cell edit state;
// * the control's boolean and integer options (ControlOption). Boolean
//   option kOptionAutoCalc is the engine's automatic calculation; the others
//   are stored for their users.
//
// Texts are wide at this interface and UTF-8 in the engine. A cell's data
// text is its content unformatted (for a formula cell: its result); its
// value text is the content as the cell's format shows it. A data text is
// kept as a number only when it is the number's own General text ("12.5"),
// so every data text reads back exactly as written.
//
// Positions outside the sheet are refused: reads give nullopt or empty,
// writes return false and change nothing.
#include <array>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "platform/sheet/cell_document.h"

namespace krv::sheet {

inline constexpr int32_t kHeaderIndex = -32767;
// Sizes the control accepts (those of the engine).
inline constexpr int32_t kControlMaxCols = kMaxColumnLimit;
inline constexpr int32_t kControlMaxRows = kMaxRowLimit;

// Cell type numbers. The check box is 12; the others are this control's.
enum CellTypeNumber : int {
  kCellTypeGeneral = 0,
  kCellTypeEdit = 1,
  kCellTypeNumber = 2,
  kCellTypeButton = 7,
  kCellTypeComboBox = 8,
  kCellTypePicture = 9,
  kCellTypeCheckBox = 12,
  // Types a sheet file may carry without this control giving them a look of
  // their own: a look-up reads the data of a whole-number cell as a whole
  // number, that of the other number cells (14 to 16) as a number.
  kCellTypeWholeNumber = 10,
  kCellTypeFirstOtherNumber = 14,
  kCellTypeLastOtherNumber = 16,
};

// The control's options by index, for boolOption/setBoolOption and
// intOption/setIntOption (and the control calls that reach them). Boolean
// and integer options are numbered apart. Only kOptionAutoCalc changes what
// the engine does; the others are stored for the callers, which give them
// the roles named here.
enum ControlOption : int {
  // Boolean options.
  kOptionDefaultLook3 = 3,       // on in the spreadsheet window's default look
  kOptionDefaultLook4 = 4,       // on in the default look
  kOptionAutoCalc = 7,           // the engine recalculates after every change
  kOptionRedraw = 8,             // the window redraws (on in a new control)
  kOptionReadOnlyRowsLook = 10,  // on with read-only rows, off with editable ones
  kOptionDefaultLook11 = 11,     // on in the default look
  // On for sheets the program fills and reads itself; off in the default look.
  kOptionProgramSheet = 12,
  kOptionEditMode = 13,          // in-cell editing; F8 toggles it
  kOptionDefaultLook18 = 18,     // on in the default look
  kOptionOffWhileFinding = 20,   // switched off while the find and replace dialog is open
  kOptionDefaultLook21 = 21,     // on in the default look
  kOptionDefaultLook22 = 22,     // on in the default look
  kOptionDefaultLookOff26 = 26,  // off in the default look
  kOptionChanged = 30,           // the changed mark: a person changed a cell
  kOptionDefaultLook32 = 32,     // on in the default look
  kOptionDefaultLook34 = 34,     // on in the default look
  // Integer options.
  // The mode value; kSpreadModeReadOnlyRows (5) makes the rows read only.
  kIntOptionMode = 0,
  kIntOptionDefaultLook1 = 1,  // -1 in the default look
};

// Number format style bits.
inline constexpr uint32_t kNumberStyleThousands = 0x00400000;  // digits grouped by thousands
inline constexpr uint32_t kNumberStylePlain = 0x00100000;      // digits not grouped
// Set in every number format the spreadsheet window gives its cells.
inline constexpr uint32_t kNumberStyleWindowFormat = 0x10000000;
// Colour value meaning "not set, use the control's default".
inline constexpr uint32_t kColorDefault = 0xFFFFFFFF;

// The attributes of a cell (or of a column, a row, the whole sheet).
struct CellAttributes {
  int type = kCellTypeGeneral;
  uint32_t style = 0;  // type style bits (number and edit formats)
  int decimals = 2;    // number cells
  double minValue = -99999999999999.0;
  double maxValue = 99999999999999.0;
  int maxLength = 0;      // edit and combo box cells (0: no limit)
  std::wstring typeText;  // combo items (tab separated), button text, picture name
  uint32_t backColor = kColorDefault;
  uint32_t foreColor = kColorDefault;
  std::wstring fontName;  // empty: the control's default font
  int fontHeight = 0;     // 0: default
  int fontWeight = 400;
  uint32_t borderMask = 0;  // 1 left, 2 right, 4 top, 8 bottom
  int borderStyle = 0;
  uint32_t borderColor = 0;
  bool locked = false;
  bool operator==(const CellAttributes&) const = default;
};

// Control-wide look and behaviour settings (saved with the document).
struct ControlLook {
  int appearance = 0;
  int backColorStyle = 0;
  int activeCellHighlightStyle = 0;
  uint32_t selBackColor = kColorDefault;
  uint32_t selForeColor = kColorDefault;
  uint32_t shadowColor = kColorDefault;  // header cells
  uint32_t shadowTextColor = kColorDefault;
  uint32_t grayAreaBackColor = kColorDefault;  // the area beyond the last cell
  uint32_t grayAreaForeColor = kColorDefault;
  int noteIndicator = 0;
  int textTipStatus = 0;
  int textTipDelay = 500;
  uint32_t textTipBackColor = kColorDefault;
  uint32_t textTipForeColor = kColorDefault;
  // Action keys 0..2: shift, ctrl, virtual key (all zero: none).
  std::array<std::array<int, 3>, 3> actionKeys{};
  bool operator==(const ControlLook&) const = default;
};

struct CellSpan {
  int32_t col = 0, row = 0, numCols = 1, numRows = 1;
  bool contains(int32_t c, int32_t r) const {
    return c >= col && c < col + numCols && r >= row && r < row + numRows;
  }
};

class ControlDocument {
 public:
  ControlDocument();
  ~ControlDocument();
  ControlDocument(const ControlDocument&) = delete;
  ControlDocument& operator=(const ControlDocument&) = delete;

  // Maps the header index -32767 to 0; other indices unchanged.
  static int32_t headerIndex(int32_t i) { return i == kHeaderIndex ? 0 : i; }

  CellDocument& engine() { return *mEngine; }
  const CellDocument& engine() const { return *mEngine; }

  // ---- size ---------------------------------------------------------------
  int32_t maxCols() const { return mEngine->maxCols(); }
  int32_t maxRows() const { return mEngine->maxRows(); }
  // False for a negative count or one beyond the control's limits.
  bool setMaxCols(int32_t count);
  bool setMaxRows(int32_t count);
  // Inside the sheet, header row and column (index 0) included.
  bool containsCell(int32_t col, int32_t row) const {
    col = headerIndex(col);
    row = headerIndex(row);
    return col >= 0 && row >= 0 && col <= maxCols() && row <= maxRows();
  }

  // ---- texts ----------------------------------------------------------------
  // Data text; header cells give their header text (the column letters or
  // the row number when none was set), the corner cell an empty text.
  std::optional<std::wstring> data(int32_t col, int32_t row) const;
  std::optional<std::wstring> valueText(int32_t col, int32_t row) const;
  // The formula with its leading "=", empty without one.
  std::optional<std::wstring> formula(int32_t col, int32_t row) const;
  std::optional<std::wstring> tag(int32_t col, int32_t row) const;
  // Writes a data text (never a formula: "=x" stays text). A header cell
  // gets its header text. An empty text empties the cell. An edit cell
  // keeps the text as text ("8.8" stays the text 8.8); other cells store a
  // number when the text is one (in its plain form, or any number form in
  // number and check box cells). The limits of the cell's type (maximum
  // length, number bounds) bound what a person enters, not this write: a
  // program's text is stored whole, so that nothing it writes is lost.
  bool setData(int32_t col, int32_t row, const std::wstring& text);
  // Sets a formula ("=" optional); an error when the cell lies outside the
  // sheet or the engine refuses the formula. An empty formula empties the cell.
  krv::base::Status setFormula(int32_t col, int32_t row, const std::wstring& formula);
  bool setTag(int32_t col, int32_t row, const std::wstring& tag);
  bool clearCell(int32_t col, int32_t row);
  // Whether a header text was set explicitly.
  bool hasHeaderText(int32_t col, int32_t row) const;

  // ---- attributes -------------------------------------------------------------
  // The attributes in effect for a cell (cascade of the class comment).
  const CellAttributes& attributes(int32_t col, int32_t row) const;
  // Changes the attributes of a block (-1 for a bound means "all"): a whole
  // sheet changes the default, whole columns the column records, whole rows
  // the row records; cells with records of their own in the block change
  // too. False when the block lies outside the sheet.
  template <class F>
  bool changeAttributes(int32_t col1, int32_t row1, int32_t col2, int32_t row2, F&& change) {
    return changeAttributesImpl(col1, row1, col2, row2,
                                std::function<void(CellAttributes&)>(change));
  }
  int cellType(int32_t col, int32_t row) const { return attributes(col, row).type; }

  std::optional<std::wstring> textTip(int32_t col, int32_t row) const;
  bool setTextTip(int32_t col, int32_t row, const std::wstring& text);
  bool noteIndicator(int32_t col, int32_t row) const;
  bool setNoteIndicator(int32_t col, int32_t row, bool on);

  // ---- rows and columns ------------------------------------------------------
  double rowHeight(int32_t row) const;
  double colWidth(int32_t col) const;
  bool setRowHeight(int32_t row, double height);
  bool setColWidth(int32_t col, double width);
  bool isRowHidden(int32_t row) const { return mHiddenRows.count(headerIndex(row)) > 0; }
  bool isColHidden(int32_t col) const { return mHiddenCols.count(headerIndex(col)) > 0; }
  bool setRowHidden(int32_t row, bool hidden);
  bool setColHidden(int32_t col, bool hidden);
  // Widths and heights are in pixels; a new control's rows and columns are
  // tall and wide enough for a short text in the default font.
  static constexpr double kDefaultRowHeight = 20.0;
  static constexpr double kDefaultColWidth = 64.0;
  double defaultRowHeight() const { return mDefaultRowHeight; }
  double defaultColWidth() const { return mDefaultColWidth; }

  // Inserts `count` empty rows before `row` (1 .. maxRows + 1); the sheet
  // grows by `count`. Everything of the rows below moves down.
  bool insertRows(int32_t row, int32_t count = 1);
  bool deleteRows(int32_t row, int32_t count = 1);
  bool insertCols(int32_t col, int32_t count = 1);
  bool deleteCols(int32_t col, int32_t count = 1);
  // Formulas anywhere in the sheet follow the rows and columns they refer
  // to through all of these (see CellDocument::moveLines).
  // Exchanges two rows completely (contents, attributes, height, header).
  bool swapRows(int32_t row1, int32_t row2);
  // Copies the attributes and height of row `from` to row `to`.
  bool copyRowFormat(int32_t from, int32_t to);
  bool copyColFormat(int32_t from, int32_t to);

  // ---- spans ------------------------------------------------------------------
  // False for a span outside the sheet, of less than one cell, or one that
  // overlaps an existing span.
  bool addSpan(int32_t col, int32_t row, int32_t numCols, int32_t numRows);
  // Removes the span anchored at (col, row); false when there is none.
  bool removeSpan(int32_t col, int32_t row);
  // The span covering the cell, if any.
  std::optional<CellSpan> spanAt(int32_t col, int32_t row) const;
  const std::vector<CellSpan>& spans() const { return mSpans; }

  // ---- options ----------------------------------------------------------------
  // Indices 0 to kOptionCount - 1; ControlOption names those in use.
  static constexpr int kOptionCount = 64;
  bool boolOption(int index) const;
  bool setBoolOption(int index, bool on);
  int intOption(int index) const;
  bool setIntOption(int index, int value);

  ControlLook& look() { return mLook; }
  const ControlLook& look() const { return mLook; }

  // ---- active cell, selection, editing ------------------------------------------
  int32_t activeCol() const { return mActiveCol; }
  int32_t activeRow() const { return mActiveRow; }
  bool setActiveCell(int32_t col, int32_t row);
  // The selected block; -1 for a bound stands for "to the last".
  void selection(int32_t& col1, int32_t& row1, int32_t& col2, int32_t& row2) const;
  bool setSelection(int32_t col1, int32_t row1, int32_t col2, int32_t row2);
  // In-cell editing of the active cell: the editor's text and its
  // selection (characters start..end; start == end is the caret).
  // setEditing(true, ...) opens the editor on the cell's value text with
  // that selection; setEditing(false) closes it without writing.
  bool editing() const { return mEditing; }
  void setEditing(bool on, int selStart = 0, int selEnd = 0);
  int editSelStart() const { return mEditSelStart; }
  int editSelEnd() const { return mEditSelEnd; }
  const std::wstring& editText() const { return mEditText; }
  // Whether the editor holds typing that is not written yet.
  bool editChanged() const { return mEditing && mEditChanged; }
  // What a person types or pastes into the active cell, with the limits of
  // its type (cell_input.h); typing into a cell that is not being edited
  // opens the editor with an empty text. False when nothing was taken.
  bool typeText(std::wstring_view text);
  // Deletes the selection, else the character before (`backward`) or after
  // the caret. False when not editing or nothing was deleted.
  bool eraseText(bool backward);
  // Finishes the edit: a typed text is written (as a formula when it starts
  // with "=" and is one, else as data) and the editor closes; an unchanged
  // one closes without writing. A text the cell does not take (a number
  // cell's text that is no number or lies outside its bounds) is refused:
  // an error with the reason, and the editor stays open with the text.
  krv::base::Status commitEdit();

  // ---- view geometry -------------------------------------------------------------
  // The view shows the header row and header column, then the cells from the
  // top-left cell (the scroll position, (1, 1) by default) right and down.
  // Sizes are those of colWidth and rowHeight, in the window's client units;
  // a hidden row or column takes no room. Points and rectangles are relative
  // to the view's top-left corner; `viewWidth` and `viewHeight` bound the
  // area that shows cells.
  int32_t leftCol() const { return clampedView(mLeftCol, maxCols()); }
  int32_t topRow() const { return clampedView(mTopRow, maxRows()); }
  // False (and nothing changes) for a cell outside 1..maxCols, 1..maxRows.
  bool setTopLeft(int32_t col, int32_t row);
  // The room a column (row) takes in the view: 0 when hidden.
  double shownColWidth(int32_t col) const { return isColHidden(col) ? 0.0 : colWidth(col); }
  double shownRowHeight(int32_t row) const { return isRowHidden(row) ? 0.0 : rowHeight(row); }
  struct ViewCell {
    int32_t col = 0, row = 0;
    bool operator==(const ViewCell&) const = default;
  };
  // The cell under the point: row 0 on the header row, column 0 on the
  // header column, (0, 0) on the corner; a point on a span gives the span's
  // anchor. Nothing for a point beyond the view, beyond the last row or
  // column, or on a row or column that takes no room.
  std::optional<ViewCell> cellAt(double x, double y, double viewWidth, double viewHeight) const;
  struct ViewRect {
    double left = 0, top = 0, right = 0, bottom = 0;
  };
  // Where a single cell (headers included) lies in the view, cut to the
  // view; nothing when it is hidden, scrolled off or beyond the view.
  std::optional<ViewRect> cellRectInView(int32_t col, int32_t row, double viewWidth,
                                         double viewHeight) const;
  // Whether the cell lies in the selected block (-1 bounds reach the last).
  bool isSelected(int32_t col, int32_t row) const;

  // ---- clipboard blocks ---------------------------------------------------------
  // The block as tab-separated lines of data texts (formulas as formulas).
  std::wstring copyBlock(int32_t col1, int32_t row1, int32_t col2, int32_t row2) const;
  // Writes tab-separated lines from (col, row) on; cells beyond the sheet
  // are ignored. An error when the start lies outside the sheet. With
  // `applyCellLimits` (a person's paste) every field is first fitted to
  // its cell as cell_input.h says; when one does not fit, nothing is
  // written and the error names the cell and the reason.
  krv::base::Status pasteBlock(int32_t col, int32_t row, const std::wstring& text,
                               bool applyCellLimits = false);

  // Empties the document and sets every setting back (the control's reset).
  void reset();
  // Exchanges the whole content and settings with `other` (a document
  // loaded aside replaces this one only when it loaded completely).
  void swapContents(ControlDocument& other);

  // ---- for the file format ---------------------------------------------------------
  const CellAttributes& defaultAttributes() const { return mDefaultAttrs; }
  CellAttributes& defaultAttributes() { return mDefaultAttrs; }
  const std::map<int32_t, CellAttributes>& colAttributes() const { return mColAttrs; }
  const std::map<int32_t, CellAttributes>& rowAttributes() const { return mRowAttrs; }
  const std::unordered_map<uint64_t, CellAttributes>& cellAttributes() const { return mCellAttrs; }
  void setColAttributes(int32_t col, const CellAttributes& a) { mColAttrs[col] = a; }
  void setRowAttributes(int32_t row, const CellAttributes& a) { mRowAttrs[row] = a; }
  void setCellAttributes(int32_t col, int32_t row, const CellAttributes& a) {
    mCellAttrs[key(col, row)] = a;
  }
  const std::map<int32_t, std::wstring>& colHeaders() const { return mColHeaders; }
  const std::map<int32_t, std::wstring>& rowHeaders() const { return mRowHeaders; }
  const std::unordered_map<uint64_t, std::wstring>& tags() const { return mTags; }
  const std::unordered_map<uint64_t, std::wstring>& textTips() const { return mTextTips; }
  const std::set<uint64_t>& noteIndicators() const { return mNotes; }
  const std::map<int32_t, double>& rowHeights() const { return mRowHeights; }
  const std::map<int32_t, double>& colWidths() const { return mColWidths; }
  const std::set<int32_t>& hiddenRows() const { return mHiddenRows; }
  const std::set<int32_t>& hiddenCols() const { return mHiddenCols; }

  static uint64_t key(int32_t col, int32_t row) {
    return (static_cast<uint64_t>(static_cast<uint32_t>(col)) << 32) | static_cast<uint32_t>(row);
  }
  static int32_t keyCol(uint64_t k) { return static_cast<int32_t>(k >> 32); }
  static int32_t keyRow(uint64_t k) { return static_cast<int32_t>(k & 0xFFFFFFFFu); }

  // Default header labels: column letters and row numbers.
  static std::wstring defaultColHeader(int32_t col);
  // The cell's name in A1 form ("B3").
  static std::wstring cellName(int32_t col, int32_t row);

 private:
  bool changeAttributesImpl(int32_t col1, int32_t row1, int32_t col2, int32_t row2,
                            const std::function<void(CellAttributes&)>& change);
  void installFormatter();
  std::string formatValue(int32_t col, int32_t row, const Value& v) const;
  static int32_t clampedView(int32_t first, int32_t count) {
    return first > count ? (count > 0 ? count : 1) : first;
  }
  // Moves everything in the rows (columns) that the shift moves, removes
  // what lies in deleted ones, and re-addresses the formulas. Used by
  // insert, delete and swap.
  void remap(const LineShift& shift);
  // Writes what a person entered: a formula when it starts with "=" and is
  // one, else a data text.
  bool writeEntry(int32_t col, int32_t row, const std::wstring& text);

  std::unique_ptr<CellDocument> mEngine;
  CellAttributes mDefaultAttrs;
  std::map<int32_t, CellAttributes> mColAttrs, mRowAttrs;
  std::unordered_map<uint64_t, CellAttributes> mCellAttrs;
  std::map<int32_t, std::wstring> mColHeaders, mRowHeaders;
  std::unordered_map<uint64_t, std::wstring> mTags, mTextTips;
  std::set<uint64_t> mNotes;
  std::map<int32_t, double> mRowHeights, mColWidths;
  std::set<int32_t> mHiddenRows, mHiddenCols;
  std::vector<CellSpan> mSpans;
  ControlLook mLook;
  std::array<bool, kOptionCount> mBoolOptions{};
  std::array<int, kOptionCount> mIntOptions{};
  double mDefaultRowHeight = kDefaultRowHeight;
  double mDefaultColWidth = kDefaultColWidth;
  int32_t mActiveCol = 0, mActiveRow = 0;
  int32_t mLeftCol = 1, mTopRow = 1;
  int32_t mSel[4] = {0, 0, 0, 0};
  bool mEditing = false;
  int mEditSelStart = 0, mEditSelEnd = 0;
  std::wstring mEditText;
  bool mEditChanged = false;
};

}  // namespace krv::sheet
