#pragma once
// TSpread: the window of the spreadsheet control (window class
// "fpUSpread70"; "fpSpreadPreview70" for the print preview). The window
// owns the control's document; the SS... functions (ss_api.h) reach it
// through the window handle, and the member functions here offer the
// operations that callers use by role: load and save, clipboard copy and
// paste of the selection, and the row block move.
//
// The window answers a person's mouse like a spreadsheet: a left press on a
// cell makes it the active cell and the selection (with Shift the selection
// reaches from the active cell to it instead); a press on a column or row
// header selects the whole column or row, on the corner the whole sheet. A
// press on an unlocked check box cell (type 12) toggles its data text between
// "1" and "0" and sets the changed mark (kOptionChanged); a press on an unlocked
// button cell (type 7) sends WM_COMMAND with kSpreadNotifyButtonClicked and
// the control's identifier to the parent, the pressed cell being the active
// cell by then. While the mode value (integer option 0) is 5, the rows are
// read only: a press selects the whole row and check boxes stay as they are.
// A double click selects like a press and does nothing more. A right press
// outside the selection makes the pressed cell active first.
//
// A person's keys edit the active cell: typed characters go into the cell's
// editor (the first one replaces what the cell shows) with the limits of
// the cell's type (cell_input.h: the maximum length of edit cells, the
// number and bounds of number cells); Backspace and Delete delete; Enter
// (its key press) finishes the entry and sets the changed mark, Escape drops it; a press on
// another cell finishes it first. An entry the cell does not take is
// refused with a message box saying why, and stays in the editor. The arrow
// keys, Page Up and Page Down move the active cell (and the selection with
// it, as a press on the cell would) past hidden lines, finishing the entry
// first, and scroll the view so that the cell is shown whole. Locked,
// check box, button and picture cells, and read-only rows, take no typing.
// A paste (ClipboardPaste, Ctrl+V) goes into the editor while one is open,
// else into the cells from the active one on, fitted to each cell; a paste
// with a field that a cell does not take is refused whole, with a message.
#include <optional>
#include <string>

#include "platform/sheet/control_document.h"
#include "platform/win/wnd.h"

inline constexpr wchar_t kSpreadWindowClass[] = L"fpUSpread70";
inline constexpr wchar_t kSpreadPreviewWindowClass[] = L"fpSpreadPreview70";

// Command notification code of a press on a button cell (sent to the
// parent with the control's identifier; lParam is the control's window).
inline constexpr UINT kSpreadNotifyButtonClicked = 70;
// The mode value (integer option 0) of read-only rows.
inline constexpr int kSpreadModeReadOnlyRows = 5;

// The message the control sends its parent after a person's message moved
// its active cell or changed cells: wParam is one of the codes below, lParam
// the control's window. A parent that does not know it lets it pass.
//   kSpreadActiveCellMoved: the active cell is another one than before the
//     message (a press, an arrow or page key);
//   kSpreadCellsEdited: an entry was written (FinishEdit), a paste or cut
//     went into the cells, or a check box cell was toggled.
// Changes a program makes through the document send nothing.
inline constexpr UINT kSpreadChangeMessage = WM_APP + 0x170;
inline constexpr WPARAM kSpreadActiveCellMoved = 1, kSpreadCellsEdited = 2;

class TSpread : public CWnd {
 public:
  TSpread();
  ~TSpread() override;

  // Creates the control window with the given style, rectangle (parent
  // client coordinates), parent and identifier.
  BOOL Create(DWORD style, const RECT& rect, CWnd* parent, UINT id);
  using CWnd::Create;

  // The control behind a window handle; nullptr for a handle that is not a
  // live spreadsheet control window.
  static TSpread* fromHandle(HWND hWnd);

  krv::sheet::ControlDocument& document() { return mDocument; }
  const krv::sheet::ControlDocument& document() const { return mDocument; }

  // Loads a sheet file (native format, or CSV/TSV by extension); on failure
  // the document is unchanged and `error` says why.
  BOOL LoadFromFile(const std::wstring& file, std::string* error = nullptr);
  // Saves atomically in the format of the extension.
  BOOL SaveToFile(const std::wstring& file, std::string* error = nullptr);

  // Copies the selection as tab-separated text to the clipboard.
  BOOL ClipboardCopy();
  // Copies the selection, then empties its cells.
  BOOL ClipboardCut();
  // A person's paste of the clipboard's text (see the class comment):
  // into the open editor, else from the active cell on. FALSE when nothing
  // was pasted.
  BOOL ClipboardPaste();
  // Finishes the entry being edited (as Enter does); FALSE, after the
  // message box, when the cell does not take it. TRUE when nothing is
  // being edited.
  BOOL FinishEdit();
  // Moves the block of rows row1..row2 so that it starts at `destRow`; the
  // rows in between shift to make room. False outside the sheet.
  BOOL MoveRowBlock(long row1, long row2, long destRow);

  // ---- view and mouse ------------------------------------------------------------
  // The cell under a client point: row 0 on the header row, column 0 on
  // the header column; nothing outside the cells (beyond the last row or
  // column, on the scroll bars, outside the window).
  std::optional<krv::sheet::ControlDocument::ViewCell> CellFromPoint(CPoint point) const;
  // The client rectangle of a cell that is shown (cut to the cell area);
  // false for one hidden, scrolled off or beyond the window.
  BOOL GetCellRect(long col, long row, CRect& rect) const;
  // The first row and column shown below and right of the headers.
  BOOL SetTopLeftCell(long col, long row);
  long GetTopRow() const { return mDocument.topRow(); }
  long GetLeftCol() const { return mDocument.leftCol(); }

  void OnLButtonDown(UINT flags, CPoint point) override;
  void OnLButtonDblClk(UINT flags, CPoint point) override;
  void OnRButtonDown(UINT flags, CPoint point) override;
  void OnChar(UINT ch, UINT repCount, UINT flags) override;
  void OnKeyDown(UINT ch, UINT repCount, UINT flags) override;
  // Answers WM_GETDLGCODE: the control takes the arrow keys and characters
  // from a dialog, and while an entry is open Enter and Escape as well, so
  // that they finish or drop the entry instead of closing the dialog.
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  // Handles the message, then tells the parent when the active cell moved
  // (kSpreadChangeMessage).
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

 protected:
  // Sends the parent kSpreadChangeMessage with `code`.
  void notifyParent(WPARAM code);
  // Selects for a press on `cell` (a cell, a header or the corner); with
  // `extend` the selection reaches from the active cell.
  void selectForPress(krv::sheet::ControlDocument::ViewCell cell, bool extend);
  // Moves the active cell for an arrow or page key; false for other keys.
  bool moveForKey(UINT key);
  // Scrolls the least that shows the active cell whole (as far as it fits).
  void scrollToActiveCell();

 private:
  // The client area that shows cells: the client rectangle without the
  // scroll bars.
  CSize cellAreaSize() const;
  // Whether the person may type into the active cell.
  bool activeCellTakesTyping() const;
  void showRefusal(const std::string& why);

  krv::sheet::ControlDocument mDocument;
};
