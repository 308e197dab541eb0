#pragma once
// CDlgSSAsTool: the spreadsheet editor, a modeless, resizable window
// (template 248) around one sheet document:
//
//  - two rows of buttons: New, Open..., Save, Save as..., Print...,
//    Preview, Undo, Find (F3), Replace (F5); Insert row, Delete row,
//    Insert column, Delete column (at the active cell), Sheet options...,
//    Language..., Document settings...;
//  - a formula bar: the active cell's name ("B3") and an edit showing its
//    formula, else its data text. Enter in the edit writes it back into
//    the cell (a formula when it starts with "="; one the sheet refuses is
//    refused with a message box and stays in the edit), Escape puts back
//    the cell's text. The bar follows the active cell as the person moves
//    it (the control's kSpreadChangeMessage);
//  - the sheet (Krv_Spread, editable look, context menu with copy, paste
//    and line insertion and deletion) filling the rest; the children
//    follow the window's size.
//
// Files: Open and Save as go through the user interface's file dialogs
// (native .vts, .csv, .tsv/.txt, .xlsx, .ods by extension); the editor
// calculates automatically (option 7) whatever the file says. A file that
// cannot be read is refused with a message box naming the file and the
// reason, and the sheet shown stays as it was; a failed save says so the
// same way and keeps the changed mark. The caption is "<file name> -
// Spreadsheet editor", with a leading "*" while the document has changes
// (the changed mark, option 30). New, Open and closing the window ask
// whether to save changes first (Yes saves, and a failed save stops; No
// drops them; Cancel stops).
//
// Keys besides the sheet's own: Ctrl+Z undoes (as the Undo button), Ctrl+S
// saves, Delete on the sheet (no entry open) empties the selected cells,
// Enter on the sheet finishes an open entry, or else goes to the cell below.
// Undo goes back over the last 50 changes of the content (SheetUndo):
// entries, pastes, cuts, the formula bar, replacements, emptied cells,
// inserted and deleted lines, the sheet options and document settings (a
// step is taken when the control or a button tells of a change; moves of
// the active cell take none).
//
// Printing: Print... and Preview print the document through the installed
// sheet printer (platform/sheet/sheet_printer.h) with the document's
// settings (VtSSSettings) and the file name as title; without a printer, or
// when printing fails, a message box says why.
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "platform/base/status.h"
#include "platform/win/dialog.h"
#include "spread/krv_spread.h"
#include "spread/sheet_undo.h"

class CDlgSSAsTool : public CDialog {
 public:
  static constexpr UINT IDD = 248;
  enum Item {
    kNewButton = 1501,
    kOpenButton = 1502,
    kSaveButton = 1503,
    kSaveAsButton = 1504,
    kPrintButton = 1505,
    kPreviewButton = 1506,
    kInsertRowButton = 1507,
    kDeleteRowButton = 1508,
    kInsertColumnButton = 1509,
    kDeleteColumnButton = 1510,
    kFindButton = 1511,
    kReplaceButton = 1512,
    kSheetOptionsButton = 1513,
    kLanguageButton = 1514,
    kDocumentSettingsButton = 1515,
    kUndoButton = 1516,
    kCellNameStatic = 1520,
    kFormulaEdit = 1521,
    kSheetFrame = 1522,
  };
  // The file filter of the open and save dialogs.
  static const wchar_t* const kFileFilter;

  explicit CDlgSSAsTool(CWnd* parent = nullptr);
  ~CDlgSSAsTool() override;

  // Creates the window (hidden until shown) with a new document.
  BOOL create(CWnd* parent = nullptr) { return Create(IDD, parent); }

  Krv_Spread& sheet() { return mSheet; }
  // The file the document was loaded from or saved to; empty for a new one.
  const std::filesystem::path& file() const { return mFile; }
  // Every file saved from this window, in order (a file saved twice is
  // listed once).
  const std::vector<std::filesystem::path>& savedFiles() const { return mSaved; }
  bool isChanged() const;
  SheetUndo& undoSteps() { return mUndo; }

  // ---- what the buttons do (also for programs) ----------------------------------
  // Asks about unsaved changes, then starts a new document. False when the
  // person cancelled.
  bool newDocument();
  // Asks about unsaved changes, lets the person choose a file and loads it.
  bool openDocument();
  // Loads `file` without asking; on failure says why and keeps the sheet.
  bool loadFile(const std::filesystem::path& file);
  // The same without the message box: the error names the file.
  krv::base::Status openFile(const std::filesystem::path& file);
  // Saves to the document's file (Save as... when it has none).
  bool save();
  // Lets the person choose a file and saves there.
  bool saveAs();
  // Saves to `file` without asking; on failure says why.
  bool saveTo(const std::filesystem::path& file);
  bool print(bool preview);
  bool insertRow();
  bool deleteRow();
  bool insertColumn();
  bool deleteColumn();
  bool undo();
  // Empties the selected cells (the Delete key).
  bool clearSelection();
  // Writes the formula bar's text into the active cell.
  bool applyFormulaBar();
  // Shows the active cell's name and text in the formula bar.
  void updateFormulaBar();
  // Sets the caption from the file name and the changed mark.
  void updateCaption();
  // Asks whether to save changes (when there are any): true when the
  // document may go (saved, or the person said No).
  bool mayDiscard();
  // Closes the window as its close box does: asks about changes, then
  // destroys it. False when the person cancelled.
  bool closeWindow();

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;
  void OnSize(UINT type, int cx, int cy) override;
  // Enter: the formula bar's entry is written; on the sheet without an
  // open entry, the cell below becomes active. The window stays.
  void OnOK() override;
  // Escape: the formula bar shows the cell's text again; the window stays.
  void OnCancel() override;

 private:
  // After anything that may have changed the document.
  void changed();
  void layout(int cx, int cy);
  void startNewDocument();
  std::wstring title() const;
  int message(const std::wstring& text, UINT type);

  Krv_Spread mSheet;
  SheetUndo mUndo;
  std::filesystem::path mFile;
  std::vector<std::filesystem::path> mSaved;
  // The sheet's distance from the client's right and bottom edges, and the
  // formula edit's from the right edge, as the template places them.
  int mSheetTop = 0, mMargin = 0;
  int mFormulaLeft = 0;
  bool mLaidOut = false;
};

// DlgSSAsTool: the handle a program holds on a spreadsheet editor window
// (the bill output shows its sheets in one).
//
// open() creates the window as a modeless dialog over `parent`, shows it
// and gives the keyboard focus back to the parent at once; a second open()
// while it is open only shows it. Copies share the window (also one that a
// copy opens later): it lives while any copy of the handle does, and the
// last copy to go closes and frees it (without asking about changes; the
// program owns the content). A person may close the window earlier: the
// handles then report it closed, and open() makes a new one.
class DlgSSAsTool {
 public:
  DlgSSAsTool();
  ~DlgSSAsTool();
  DlgSSAsTool(const DlgSSAsTool&) = default;
  DlgSSAsTool& operator=(const DlgSSAsTool&) = default;

  // True when the window is open (made now or before).
  bool open(CWnd* parent);
  bool isOpen() const;
  // The window's sheet; null when no window is open.
  Krv_Spread* sheet() const;
  // The window; null when none was made.
  CDlgSSAsTool* window() const { return mSlot->window.get(); }
  // How many handles share the window.
  long owners() const { return mSlot.use_count(); }

 private:
  // The window all copies of a handle share.
  struct Slot {
    std::unique_ptr<CDlgSSAsTool> window;
    ~Slot();
  };
  std::shared_ptr<Slot> mSlot;
};
