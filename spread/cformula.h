#pragma once
// CFormula: the formula window (template 133, caption "Formulas"). One
// spreadsheet over the frame item 1004, reference style radio buttons,
// load and save of the sheet file named in the edit 1000, and an automatic
// calculation switch with a Recalculate button. A mode chosen before it
// opens gives its purpose:
//   1 (kEvaluateCell): load mFile, recalculate cell (mCol, mRow) and keep
//     its data text in mCellResult; the window then stays for the person.
//   2 (kFromTable): answer one call of the spreadsheet function FROMTABLE
//     (a look-up in another sheet file) while opening, then close. The
//     look-up needs no visible window, so it is never shown. A table's own
//     formulas may call FROMTABLE again while it is answered; a call into a
//     table already being looked up further up that chain, or one that
//     would nest more than kMaxFromTableNesting look-ups, fails (its formula
//     gives an error) and says why on the command line.
//   3 (kListOutput): lay out the list mListOutput (see below); the window
//     then stays for the person.
//   4 (kRead): load mFile, read it into mName, *mHeader and *mRows (when
//     both outputs are given), then close without being shown. The rows
//     and columns read are the used range: up to the last filled cell and
//     the last column with a header text of its own. A used range of more
//     than kMaxReadCells cells is not read ("Spreadsheet too large to
//     read" on the command line).
// Other values leave the window to the person. Every window registers
// FROMTABLE on its sheet (2 to 4 arguments, references as cells).
//
// Results and failures are printed on the command line: "Loading
// spreadsheet:<path>", "Load failed", "Save failed", and the FROMTABLE
// result lines ("Result is long: 5", "Result is double: 2.500000",
// "Result is string: M20", "Result is cell", "Result is range").
#include <string>

#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"
#include "platform/sheet/custom_function.h"
#include "platform/win/dialog.h"
#include "spread/krv_spread.h"
#include "spread/list_output_layout.h"

class CFormula : public CDialog {
 public:
  static constexpr UINT IDD = 133;
  enum Mode { kEvaluateCell = 1, kFromTable = 2, kListOutput = 3, kRead = 4 };
  static constexpr long long kMaxReadCells = 4 << 20;
  enum Item {
    kFileEdit = 1000,
    kSaveButton = 1001,
    kSheetFrame = 1004,
    kStyleDefault = 1005,
    kStyleA1 = 1006,
    kStyleR1C1 = 1007,
    kListFrame = 1008,
    kLoadButton = 1087,
    kAutoCalcCheck = 1106,
    kRecalcButton = 1107,
  };

  // The deepest chain of FROMTABLE look-ups answered inside one another.
  static constexpr int kMaxFromTableNesting = 8;

  explicit CFormula(CWnd* parent = nullptr);
  ~CFormula() override;

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;

  // Registers FROMTABLE on a sheet: each call opens a formula window in
  // mode 2 that answers it.
  static bool registerFromTable(Krv_Spread& sheet);
  // FROMTABLE itself for the sheet of window `callingSheet`. False (the
  // formula fails) for a refused look-up; true otherwise, also when the
  // target cannot be resolved (the result is then empty).
  static bool fromTable(HWND callingSheet, krv::sheet::FunctionValue& result,
                        krv::sheet::FunctionValue* args, int count);
  // Prints a function result as the result lines of the class comment.
  static void printResult(const krv::sheet::FunctionValue& result);

  // The buttons.
  void setReferenceStyle(int style);
  bool saveToFile();
  bool loadFromFile();
  void setAutoCalc(bool on);
  void recalculate();

  Krv_Spread mSheet;
  int mMode = 0;
  // Mode 3: the list laid out in the sheet (ListOutputLayout), formatted
  // after its template sheet, which is loaded into a second sheet over the
  // frame item kListFrame (hidden once used). A list that cannot be laid
  // out ends the window with IDCANCEL and the reason on the command line.
  const ListOutputDescription* mListOutput = nullptr;
  Krv_Spread mTemplateSheet;
  // Mode 2: the FROMTABLE call being answered.
  HWND mCallingSheet = nullptr;
  krv::sheet::FunctionValue* mResult = nullptr;
  krv::sheet::FunctionValue* mArgs = nullptr;
  int mArgCount = 0;
  std::wstring mFile;
  // Mode 1: the cell to evaluate and its data text afterwards.
  int mCol = 0;
  int mRow = 0;
  Krv_String mCellResult;
  // Mode 4: the outputs.
  Krv_StringArray* mHeader = nullptr;
  Krv_Array<Krv_StringArray>* mRows = nullptr;
  Krv_String mName;

 private:
  void readSheet();
  void answerFromTable();
};
