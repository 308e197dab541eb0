// The formula window: a spreadsheet with load, save and recalculation.
#include "spread/cformula.h"

#include <algorithm>
#include <filesystem>
#include <optional>
#include <string>
#include <system_error>
#include <vector>

#include "platform/acad/command_line.h"
#include "platform/base/utf.h"
#include "platform/core/c_number_text.h"
#include "platform/core/file_paths.h"
#include "platform/sheet/cell_grid.h"
#include "platform/sheet/formula_number_text.h"
#include "platform/sheet/ss_api.h"

using krv::sheet::FunctionValue;

namespace krv::spread {
namespace {

// The operating-system path of a path text, as the wide text the sheet
// window's file functions take: the path's bytes are UTF-8 whatever the
// process locale is, so they are decoded as such (a locale conversion would
// throw on any character outside ASCII).
std::wstring sheetFileName(const Krv_String& path) {
  return krv::base::utf8ToWide(krv::core::osPath(path).string());
}

constexpr int kFromTableFlags = 1;  // references arrive as cells

Krv_String fromUtf8(const std::string& s) { return Krv_String(s); }

// The text of a FROMTABLE key argument: a number as its decimal text, a
// text unchanged, a cell reference as the data text of that cell of the
// calling sheet.
bool argumentText(const FunctionValue& arg, HWND callingSheet, Krv_String& text) {
  switch (arg.type) {
    case FunctionValue::Type::Long:
      text = Krv_String(std::to_wstring(arg.longValue));
      return true;
    case FunctionValue::Type::Double:
      text = fromUtf8(krv::core::shortestDouble(arg.doubleValue));
      return true;
    case FunctionValue::Type::String: {
      auto s = krv::sheet::StringHandles::global().get(arg.stringHandle);
      if (!s) return false;
      text = fromUtf8(*s);
      return true;
    }
    case FunctionValue::Type::Cell: {
      TSpread* sheet = TSpread::fromHandle(callingSheet);
      if (!sheet) return false;
      auto d = sheet->document().data(arg.col, arg.row);
      if (!d) return false;
      text = Krv_String(*d);
      return true;
    }
    default:
      return false;
  }
}

// The last column whose header text is `name` (ignoring case); -1 if none.
int lastColumnNamed(const Krv_Spread& sheet, const Krv_String& name) {
  Krv_String header;
  for (int col = sheet.getMaxCols(); col >= 1; --col)
    if (sheet.getCellString(col, SS_HEADER, header, Data) && header.length() == name.length() &&
        header.equal(name, false))
      return col;
  return -1;
}

}  // namespace
}  // namespace krv::spread

using namespace krv::spread;

CFormula::CFormula(CWnd* parent) : CDialog(IDD, parent) {}
CFormula::~CFormula() = default;

bool CFormula::registerFromTable(Krv_Spread& sheet) {
  HWND window = sheet.GetSafeHwnd();
  return SSAddCustomFunctionExt(
      window, L"FROMTABLE", 2, 4,
      [window](FunctionValue& result, FunctionValue* args, int16_t count) {
        return fromTable(window, result, args, count);
      },
      kFromTableFlags);
}

namespace krv::spread {
namespace {

// The table files of the FROMTABLE look-ups still running, outermost
// first: a table's own formulas may look up further tables while it is
// being answered.
std::vector<std::filesystem::path>& lookupChain() {
  static std::vector<std::filesystem::path> chain;
  return chain;
}

// The table file a call names, as one comparable path; nullopt when the
// call names none (it is then answered with an empty result).
std::optional<std::filesystem::path> tableOf(const FunctionValue* args, int count) {
  if (!args || count < 1 || args[0].status != FunctionValue::Status::Ok ||
      args[0].type != FunctionValue::Type::String)
    return std::nullopt;
  auto file = krv::sheet::StringHandles::global().get(args[0].stringHandle);
  if (!file) return std::nullopt;
  std::error_code ec;
  std::filesystem::path path = krv::core::osPath(fromUtf8(*file));
  std::filesystem::path canonical = std::filesystem::weakly_canonical(path, ec);
  return ec ? path.lexically_normal() : canonical;
}

class ChainEntry {
 public:
  explicit ChainEntry(std::optional<std::filesystem::path> table) : mPushed(table.has_value()) {
    if (mPushed) lookupChain().push_back(std::move(*table));
  }
  ~ChainEntry() {
    if (mPushed) lookupChain().pop_back();
  }
  ChainEntry(const ChainEntry&) = delete;
  ChainEntry& operator=(const ChainEntry&) = delete;

 private:
  bool mPushed;
};

}  // namespace
}  // namespace krv::spread

bool CFormula::fromTable(HWND callingSheet, FunctionValue& result, FunctionValue* args, int count) {
  result.setEmpty();
  std::optional<std::filesystem::path> table = tableOf(args, count);
  if (table) {
    const auto& chain = lookupChain();
    if (std::find(chain.begin(), chain.end(), *table) != chain.end()) {
      acutPrintf(L"FROMTABLE refused: %s is already being looked up\n", table->wstring().c_str());
      return false;
    }
    if (static_cast<int>(chain.size()) >= kMaxFromTableNesting) {
      acutPrintf(L"FROMTABLE refused: look-ups nested deeper than %i tables\n",
                 kMaxFromTableNesting);
      return false;
    }
  }
  ChainEntry entry(std::move(table));
  CFormula window;
  window.mMode = kFromTable;
  window.mCallingSheet = callingSheet;
  window.mResult = &result;
  window.mArgs = args;
  window.mArgCount = count;
  window.DoModal();
  return true;
}

void CFormula::printResult(const FunctionValue& result) {
  switch (result.type) {
    case FunctionValue::Type::Long:
      acutPrintf(L"Result is long: %i\n", static_cast<int>(result.longValue));
      break;
    case FunctionValue::Type::Double:
      acutPrintf(L"Result is double: %f\n", result.doubleValue);
      break;
    case FunctionValue::Type::String: {
      auto s = krv::sheet::StringHandles::global().get(result.stringHandle);
      acutPrintf(L"Result is string: %s\n", fromUtf8(s ? *s : std::string()).c_str());
      break;
    }
    case FunctionValue::Type::Cell:
      acutPrintf(L"Result is cell\n");
      break;
    case FunctionValue::Type::Range:
      acutPrintf(L"Result is range\n");
      break;
  }
}

BOOL CFormula::OnInitDialog() {
  CDialog::OnInitDialog();
  SetFocus();
  SetDlgItemText(kFileEdit, mFile.c_str());
  mSheet.attachToDlgItem(this, kSheetFrame, false);
  mSheet.setBoolOption(kOptionProgramSheet, true);
  mSheet.setBoolOption(kOptionAutoCalc, false);
  if (mMode == kListOutput) {
    std::wstring error = L"There is no list to lay out.";
    if (mListOutput) {
      mTemplateSheet.attachToDlgItem(this, kListFrame, false);
      if (ListOutputLayout::layOut(mSheet, &mTemplateSheet, *mListOutput, error)) error.clear();
      if (mTemplateSheet.isCreated()) mTemplateSheet.ShowWindow(SW_HIDE);
    }
    if (!error.empty()) {
      acutPrintf(L"%s\n", error.c_str());
      EndDialog(IDCANCEL);
    }
    return TRUE;
  }

  CheckDlgButton(kAutoCalcCheck, BST_UNCHECKED);
  CheckRadioButton(kStyleDefault, kStyleR1C1, kStyleDefault);
  if (CWnd* recalc = GetDlgItem(kRecalcButton)) recalc->EnableWindow(TRUE);
  registerFromTable(mSheet);
  mSheet.setMaxRows(10);
  mSheet.setMaxCols(8);
  mSheet.setNumberFormat(1, 1, 6, 6, 2, false);
  if (!mFile.empty()) {
    mSheet.LoadFromFile(sheetFileName(Krv_String(mFile)));
    acutPrintf(L"Loading spreadsheet:%s\n", mFile.c_str());
  }
  registerFromTable(mSheet);

  if (mMode == kRead) {
    readSheet();
    EndDialog(IDOK);
  } else if (mMode == kEvaluateCell) {
    SSReCalcCell(mSheet.GetSafeHwnd(), mCol, mRow);
    mSheet.getCellString(mCol, mRow, mCellResult, Data);
    acutPrintf(L"Cell Col:%i, Row:%i\n", mCol, mRow);
    acutPrintf(L"Result is string: %s\n", mCellResult.c_str());
  } else if (mMode == kFromTable) {
    answerFromTable();
    EndDialog(IDOK);
  }
  return TRUE;
}

void CFormula::readSheet() {
  if (!mHeader || !mRows) return;
  mHeader->removeAll();
  mRows->removeAll();
  mSheet.getCellString(1, 1, mName, Data);
  // The used range: the rows and columns up to the last filled cell (and
  // the last column with a header text of its own). A sheet may declare
  // 16384 x 1048576 cells and fill a few.
  const auto& d = mSheet.document();
  int cols = 0, rows = 0;
  krv::sheet::FilledCellWalk walk(d.engine().grid(), 1, 1, d.maxCols(), d.maxRows());
  for (int32_t c = 0, r = 0; walk.next(c, r);) {
    cols = std::max(cols, c);
    rows = r;
  }
  for (int col = d.maxCols(); col > cols; --col) {
    if (d.hasHeaderText(col, 0)) {
      cols = col;
      break;
    }
  }
  if (static_cast<long long>(cols) * rows > kMaxReadCells) {
    acutPrintf(L"Spreadsheet too large to read: %i columns by %i rows\n", cols, rows);
    return;
  }
  Krv_String text;
  for (int col = 1; col <= cols; ++col) {
    mSheet.getCellString(col, SS_HEADER, text, Data);
    mHeader->append(text);
  }
  for (int row = 1; row <= rows; ++row) {
    Krv_StringArray line;
    for (int col = 1; col <= cols; ++col) {
      mSheet.getCellString(col, row, text, Data);
      line.append(text);
    }
    mRows->append(line);
  }
}

void CFormula::answerFromTable() {
  if (!mResult) return;
  FunctionValue& result = *mResult;
  result.setEmpty();
  if (!mArgs || mArgCount < 2) return;
  for (int i = 0; i < mArgCount; ++i)
    if (mArgs[i].status != FunctionValue::Status::Ok) return;
  if (mArgs[0].type != FunctionValue::Type::String) return;
  auto file = krv::sheet::StringHandles::global().get(mArgs[0].stringHandle);
  if (!file || !mSheet.LoadFromFile(sheetFileName(fromUtf8(*file)))) return;
  registerFromTable(mSheet);

  int col = -1, row = -1;
  if (mArgCount <= 3) {
    if (mArgs[1].type != FunctionValue::Type::Cell) return;
    col = mArgs[1].col;
    row = mArgs[1].row;
  } else {
    Krv_String keyName, valueName, key;
    if (!argumentText(mArgs[1], mCallingSheet, keyName) ||
        !argumentText(mArgs[2], mCallingSheet, valueName) ||
        !argumentText(mArgs[3], mCallingSheet, key))
      return;
    const int keyCol = lastColumnNamed(mSheet, keyName);
    col = lastColumnNamed(mSheet, valueName);
    if (keyCol < 0 || col < 0) return;
    Krv_String text;
    if (key.isEmpty()) {
      // An empty key matches an empty cell: the scan from the bottom ends early.
      for (int r = mSheet.getMaxRows(); r >= 1 && row < 0; --r)
        if (mSheet.getCellString(keyCol, r, text, Data) && text.equal(key, false)) row = r;
    } else {
      // Any other key can only be in a filled cell; the last match counts.
      const auto& d = mSheet.document();
      krv::sheet::FilledCellWalk walk(d.engine().grid(), keyCol, 1, keyCol, d.maxRows());
      for (int32_t c = 0, r = 0; walk.next(c, r);)
        if (mSheet.getCellString(c, r, text, Data) && text.equal(key, false)) row = r;
    }
    if (row < 0) return;
  }
  Krv_String data;
  if (!mSheet.getCellString(col, row, data, Data)) return;
  SSReCalcCell(mSheet.GetSafeHwnd(), col, row);
  mSheet.getCellString(col, row, data, Data);

  if (mArgCount == 3 || mArgCount == 5) {
    const FunctionValue& out = mArgs[mArgCount - 1];
    if (out.type != FunctionValue::Type::Cell) return;
    if (TSpread* calling = TSpread::fromHandle(mCallingSheet))
      calling->document().setData(out.col, out.row, data.str());
    return;
  }
  const int type = mSheet.getCellType(col, row);
  using namespace krv::sheet;
  if (type == kCellTypeWholeNumber || type == kCellTypeCheckBox) {
    result.setLong(_wtoi(data));
  } else if ((type >= kCellTypeFirstOtherNumber && type <= kCellTypeLastOtherNumber) ||
             type == kCellTypeNumber) {
    const auto& v = mSheet.document().engine().value(col, row);
    result.setDouble(v.isNumber() ? v.number() : _wtof(data));
  } else {
    result.setString(data.utf8());
  }
  printResult(result);
}

// ---- buttons --------------------------------------------------------------------------

void CFormula::setReferenceStyle(int style) {
  SSSetRefStyle(mSheet.GetSafeHwnd(), style);
  // Column 1 shows the formulas of column 4 as they read in the new style.
  const int last = mSheet.getMaxRows() >= 5 ? 5 : 4;
  size_t widest = 0;
  Krv_String formula;
  for (int row = 1; row <= last; ++row) {
    if (!mSheet.getCellString(4, row, formula, Formula)) continue;
    mSheet.setCellData(1, row, formula);
    widest = std::max(widest, formula.str().size());
  }
  // Widths are pixels: two characters more than the widest formula, at the
  // average character width of the sheet's default font.
  constexpr double kCharacterWidth = 7.0;
  if (widest > 0)
    mSheet.document().setColWidth(1, (static_cast<double>(widest) + 2) * kCharacterWidth);
}

bool CFormula::saveToFile() {
  const std::wstring path = GetDlgItemText(kFileEdit);
  if (path.empty() || !mSheet.SaveToFile(sheetFileName(Krv_String(path)))) {
    acutPrintf(L"Save failed\n");
    return false;
  }
  return true;
}

bool CFormula::loadFromFile() {
  const std::wstring path = GetDlgItemText(kFileEdit);
  const bool ok = !path.empty() && mSheet.LoadFromFile(sheetFileName(Krv_String(path)));
  if (!ok) acutPrintf(L"Load failed\n");
  registerFromTable(mSheet);
  return ok;
}

void CFormula::setAutoCalc(bool on) {
  mSheet.setBoolOption(krv::spread::kOptionAutoCalc, on);
  if (CWnd* recalc = GetDlgItem(kRecalcButton)) recalc->EnableWindow(!on);
}

void CFormula::recalculate() { mSheet.document().engine().recalcAll(); }

BOOL CFormula::OnCommand(WPARAM wParam, LPARAM lParam) {
  const UINT id = LOWORD(wParam);
  const UINT code = HIWORD(wParam);
  if (code == BN_CLICKED) {
    switch (id) {
      case kStyleDefault:
        setReferenceStyle(0);
        return TRUE;
      case kStyleA1:
        setReferenceStyle(1);
        return TRUE;
      case kStyleR1C1:
        setReferenceStyle(2);
        return TRUE;
      case kSaveButton:
        saveToFile();
        return TRUE;
      case kLoadButton:
        loadFromFile();
        return TRUE;
      case kAutoCalcCheck:
        setAutoCalc(IsDlgButtonChecked(kAutoCalcCheck) == BST_CHECKED);
        return TRUE;
      case kRecalcButton:
        recalculate();
        return TRUE;
      default:
        break;
    }
  }
  return CDialog::OnCommand(wParam, lParam);
}
