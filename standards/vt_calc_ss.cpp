// The calculation engine of connection standards.
#include "standards/vt_calc_ss.h"

#include <algorithm>
#include <filesystem>
#include <system_error>
#include <utility>
#include <vector>

#include "platform/core/c_number_text.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/text_functions.h"
#include "platform/sheet/cell_grid.h"
#include "platform/win/message_box.h"
#include "standards/calc_timers.h"
#include "standards/standard_files.h"
#include "standards/standards_function_table.h"
#include "standards/vt_calc_ss_words.h"

namespace krv::standards {
namespace {

// The functions an equation may use that the engine evaluates itself.
const Krv_StringArray& programFunctions() {
  static const Krv_StringArray table{L"CallChild"};
  return table;
}

const wchar_t* const kSectionKeywords[4] = {L"Input", L"Output", L"Local", L"Calc"};

krv::standards::CalcTraceSink& traceSink() {
  static krv::standards::CalcTraceSink sink;
  return sink;
}

// The sheets being evaluated, outermost first, as canonical paths: the
// guard against sheets that call one another in a circle.
std::vector<std::wstring>& evaluationChain() {
  static std::vector<std::wstring> chain;
  return chain;
}

std::wstring canonicalPath(const Krv_String& path) {
  std::error_code ec;
  std::filesystem::path p = std::filesystem::weakly_canonical(krv::core::osPath(path), ec);
  if (ec) p = krv::core::osPath(path);
  return Krv_String(p.wstring()).lower().str();
}

// Holds the sheet in the chain while it calculates.
class ChainEntry {
 public:
  explicit ChainEntry(const Krv_String& file) { evaluationChain().push_back(canonicalPath(file)); }
  ~ChainEntry() { evaluationChain().pop_back(); }
  ChainEntry(const ChainEntry&) = delete;
  ChainEntry& operator=(const ChainEntry&) = delete;
};

int traceDepth() { return std::max(0, static_cast<int>(evaluationChain().size()) - 1); }

// Why a sheet without one of its section keywords cannot be evaluated.
Krv_String noSection(const wchar_t* keyword) {
  return Krv_String(L"the sheet has no ") + keyword + L" section (no cell holds just the word " +
         keyword + L")";
}

Krv_String number(int n) { return Krv_String(std::to_wstring(n)); }

Krv_String& lastFailure() {
  static Krv_String reason;
  return reason;
}

bool isAscii(const Krv_String& s) {
  for (wchar_t c : s.str())
    if (c > 0x7F) return false;
  return true;
}

}  // namespace
}  // namespace krv::standards

using namespace krv::standards;

namespace krv::standards {
CalcTraceSink setCalcTraceSink(CalcTraceSink sink) {
  CalcTraceSink previous = std::move(traceSink());
  traceSink() = std::move(sink);
  return previous;
}

const Krv_String& lastCalcFailure() { return lastFailure(); }
void setLastCalcFailure(const Krv_String& reason) { lastFailure() = reason; }
}  // namespace krv::standards

VtCalcSS::VtCalcSS() = default;

VtCalcSS::VtCalcSS(const VtCalcSS& other)
    : Krv_Spread(),
      mFileName(other.mFileName),
      mVarCells(other.mVarCells),
      mGenVarNames(other.mGenVarNames),
      mGenVarValues(other.mGenVarValues) {}

VtCalcSS::~VtCalcSS() = default;

// ---- loading and collecting ----------------------------------------------------------

Acad::ErrorStatus VtCalcSS::loadFile(const Krv_String& name) {
  const Krv_String path = krv::standards::standardSheetPath(name);
  const auto workingOptions = [this] {
    setBoolOption(krv::spread::kOptionAutoCalc, false);
    setBoolOption(krv::spread::kOptionRedraw, false);
    setBoolOption(krv::spread::kOptionProgramSheet, true);
    setBoolOption(krv::spread::kOptionEditMode, true);
  };
  workingOptions();
  if (!isCreated()) return fail(L"the standards dialog has no sheet control");
  std::string why;
  if (!LoadFromFile(krv::core::osPath(path).wstring(), &why)) return fail(Krv_String(why));
  // A loaded sheet brings its own option settings; the engine's come first.
  workingOptions();
  mFileName = path;
  invalidateIndex();
  return Acad::eOk;
}

Acad::ErrorStatus VtCalcSS::findSectionStart(const Krv_String& keyword, int& row) const {
  int col = -1, found = -1;
  if (!findText(keyword, 1, 1, col, found, false)) {
    row = -1;
    return Acad::eInvalidInput;
  }
  row = found + 1;
  return Acad::eOk;
}

Acad::ErrorStatus VtCalcSS::addVarCells(int first, int last, VtCellType kind) {
  if (first < 0) return Acad::eInvalidInput;
  // No row below the sheet's last one holds a declaration.
  last = std::min(last, getMaxRows());
  const int cols = getMaxCols();
  VtVarCell scan;
  // Only a filled cell can hold a declaration; the walk keeps the reading order.
  krv::sheet::FilledCellWalk walk(document().engine().grid(), 1, first, cols, last);
  for (int32_t col = 0, row = 0; walk.next(col, row);)
    if (scan.initialize(*this, col, row, kind) == Acad::eOk) mVarCells.append(scan);
  return Acad::eOk;
}

Acad::ErrorStatus VtCalcSS::initVarCells() {
  mVarCells.resetVarCells();
  invalidateIndex();
  int starts[4];
  for (int i = 0; i < 4; ++i) findSectionStart(kSectionKeywords[i], starts[i]);
  const int lastRow = getMaxRows();
  const VtCellType kinds[3] = {Input, Output, Local};
  for (int s = 0; s < 3; ++s) {
    int last = -1;
    for (int o = 0; o < 4; ++o)
      if (o != s && starts[o] > starts[s] && (last < 0 || starts[o] < last)) last = starts[o];
    if (last < 0 || last > lastRow) last = lastRow;
    addVarCells(starts[s], last, kinds[s]);
  }
  if (starts[0] < 0) return fail(noSection(kSectionKeywords[0]));
  if (starts[1] < 0) return fail(noSection(kSectionKeywords[1]));
  return Acad::eOk;
}

Acad::ErrorStatus VtCalcSS::removeVarCell(int index) {
  if (index < 0 || index >= mVarCells.length()) return Acad::eInvalidInput;
  mVarCells.removeAt(index);
  invalidateIndex();
  return Acad::eOk;
}

// ---- main and child evaluation -----------------------------------------------------------

Acad::ErrorStatus VtCalcSS::initSSForInput(VtDlgStandardsData& data) {
  if (!data.mDbMacro) return fail(L"the evaluation was given no macro");
  if (!data.mTransaction) return fail(L"the evaluation was given no open transaction");
  {
    Krv_FunctionTimer t(gInitSSForInput);
    mGenVarNames = data.mGenVarNames;
    mGenVarValues = data.mGenVarValues;
    if (initVarCells() != Acad::eOk) return Acad::eInvalidInput;
  }
  {
    Krv_FunctionTimer t(gSSSGetFromMacro);
    if (mVarCells.getFromMacro(data) != Acad::eOk)
      return fail(L"the values could not be read from the macro");
  }
  {
    Krv_FunctionTimer t(gSetMacroValuelsToSS);
    if (mVarCells.setValuesToSS(*this) != Acad::eOk)
      return fail(L"the macro's values could not be written into the sheet");
  }
  Krv_FunctionTimer t(gSSSreplaceGenVars);
  return replaceGenVars();
}

Acad::ErrorStatus VtCalcSS::calcMain(VtDlgStandardsData& data) {
  {
    Krv_FunctionTimer t(gCalcMain);
    if (calculate() != Acad::eOk) return Acad::eInvalidInput;
    if (mVarCells.getValuesFromSS(*this) != Acad::eOk)
      return fail(L"the results could not be read from the sheet");
  }
  Krv_FunctionTimer t(gSetToMacro);
  if (mVarCells.setToMacro(data) != Acad::eOk)
    return fail(L"the results could not be stored in the macro");
  return Acad::eOk;
}

Acad::ErrorStatus VtCalcSS::getFromVars(VtDlgStandardsData& data) {
  Krv_FunctionTimer t(gGetFromVars);
  mGenVarNames = data.mGenVarNames;
  mGenVarValues = data.mGenVarValues;
  initVarCells();  // a child may lack sections that it does not need
  const VtVarCells& passed = data.mVarCells;
  int locals = 0;
  for (int i = 0; i < mVarCells.length(); ++i) {
    VtVarCell& own = mVarCells[i];
    if (own.isLocal()) {
      ++locals;
      if (own.setNewValue(*this, Krv_String()) != Acad::eOk)
        return fail(L"the local variable " + own.name() + L" could not be emptied");
    }
    const int position = i - locals;
    if (position >= passed.length()) {
      int declared = 0;
      for (int k = 0; k < mVarCells.length(); ++k)
        if (!mVarCells[k].isLocal()) ++declared;
      const int n = passed.length();
      return fail(L"the sheet declares " + number(declared) + L" inputs and outputs but " +
                  (n == 0   ? Krv_String(L"no variables were passed")
                   : n == 1 ? Krv_String(L"only 1 variable was passed")
                            : L"only " + number(n) + L" variables were passed"));
    }
    if (own.isLocal()) continue;
    const VtVarCell& given = passed[position];
    if (own.isOutput() && given.isInput())
      return fail(L"the output " + own.name() + L" would be bound to " + given.name() +
                  L", an input of the caller");
    if (own.setNewValue(*this, given.value()) != Acad::eOk)
      return fail(L"the value of " + own.name() + L" could not be written into the sheet");
  }
  return replaceGenVars();
}

Acad::ErrorStatus VtCalcSS::calcChild(VtVarCells& vars) {
  {
    Krv_FunctionTimer t(gCalcChild);
    if (calculate() != Acad::eOk) return Acad::eInvalidInput;
  }
  Krv_FunctionTimer t(gSetToVars);
  int locals = 0;
  for (int i = 0; i < mVarCells.length(); ++i) {
    const VtVarCell& own = mVarCells[i];
    if (own.isLocal()) ++locals;
    if (!own.isOutput()) continue;
    const int position = i - locals;
    if (position < 0 || position >= vars.length())
      return fail(L"the output " + own.name() + L" has no passed variable to receive it");
    vars[position].setNewValue(own.value());
  }
  return Acad::eOk;
}

// ---- calculating ---------------------------------------------------------------------------

Acad::ErrorStatus VtCalcSS::registerFunctions() {
  return krv::standards::registerStandardsFunctions(document().engine()) ? Acad::eOk
                                                                         : Acad::eInvalidInput;
}

Acad::ErrorStatus VtCalcSS::calculate() {
  ChainEntry inChain(mFileName);
  {
    Krv_FunctionTimer t(gRegisterFuntions);
    registerFunctions();
  }
  {
    Krv_FunctionTimer t(gFindDuplicates);
    Krv_StringArray names;
    for (int i = 0; i < mVarCells.length(); ++i) names.append(mVarCells[i].name());
    // The index finds equal ASCII names in one pass; only sheets that have
    // some (or non-ASCII names) need the full comparison.
    invalidateIndex();
    const VarIndex& index = varIndex();
    const bool maybeDuplicates =
        !index.asciiNames || static_cast<int>(index.byName.size()) < mVarCells.length();
    Krv_StringArray duplicates;
    if (maybeDuplicates && hasDuplicates(names, duplicates, false)) {
      Krv_String text = L"There were duplicate variable names found in the standards file ";
      text += mFileName;
      text += L".\nThe duplicates will be ignored. Please correct this file.\n";
      text += L"Duplicate variable names:\n\n";
      text += arrToStr(duplicates, L"\n");
      ::MessageBox(GetSafeHwnd(), text.c_str(), L"Variable names must be unique",
                   MB_OK | MB_ICONEXCLAMATION);
      Krv_StringArray found;
      Krv_Array<int> positions;
      getDuplicates(names, found, positions, false);
      for (int i = positions.length() - 1; i >= 0; --i) removeVarCell(positions[i]);
    }
  }
  Krv_FunctionTimer t(gCalcCells);
  int start = -1;
  if (findSectionStart(kSectionKeywords[3], start) != Acad::eOk)
    return fail(noSection(kSectionKeywords[3]));
  // An empty cell is no equation, so only filled cells are visited, in
  // reading order. The walk is live: a cell that an earlier equation fills
  // (a declaration cell below the Calc keyword) is still reached.
  krv::sheet::FilledCellWalk walk(document().engine().grid(), 1, start, getMaxCols(), getMaxRows());
  for (int32_t col = 0, row = 0; walk.next(col, row);) calcCell(col, row);
  return Acad::eOk;
}

const VtCalcSS::VarIndex& VtCalcSS::varIndex() {
  if (mIndex.valid) return mIndex;
  VarIndex index;
  {
    Krv_FunctionTimer t(gCalcCellGetVarNames);
    for (int i = 0; i < mVarCells.length(); ++i) {
      const Krv_String& name = mVarCells[i].name();
      index.names.append(name);
      if (!isAscii(name)) index.asciiNames = false;
    }
  }
  {
    Krv_FunctionTimer t(gCalcCellGetVarCoords);
    for (int i = 0; i < mVarCells.length(); ++i) {
      Krv_FunctionTimer one(gCalcCellGetVarCoordName);
      const Krv_String& name = index.names[i];
      int first = i;
      if (index.asciiNames) {
        auto [it, inserted] = index.byName.emplace(krv::standards::asciiLower(name.str()), i);
        first = it->second;
      } else {
        mVarCells.findVarCell(name, first);
      }
      const VtVarCell& cell = mVarCells[first];
      index.references.append(getAlfabet(cell.column()) + Krv_String(std::to_wstring(cell.row())));
    }
  }
  mIndex = std::move(index);
  mIndex.valid = true;
  mReplacer.prepare(mIndex.names, mIndex.references, false);
  return mIndex;
}

Acad::ErrorStatus VtCalcSS::findVar(const Krv_String& name, int& index) {
  const VarIndex& vars = varIndex();
  if (vars.asciiNames && isAscii(name)) {
    auto it = vars.byName.find(krv::standards::asciiLower(name.str()));
    if (it == vars.byName.end()) return Acad::eInvalidInput;
    index = it->second;
    return Acad::eOk;
  }
  return mVarCells.findVarCell(name, index);
}

Acad::ErrorStatus VtCalcSS::replaceVariables(Krv_String& expression) {
  varIndex();
  Krv_FunctionTimer t(gCalcCellReplaceVariables);
  mReplacer.apply(expression);
  return Acad::eOk;
}

bool VtCalcSS::replaceWholeWords(Krv_String& text, const Krv_StringArray& names,
                                 const Krv_StringArray& values, bool quote) {
  krv::standards::WholeWordReplacer replacer;
  replacer.prepare(names, values, quote);
  return replacer.apply(text);
}

Acad::ErrorStatus VtCalcSS::replaceGenVars() {
  if (mGenVarNames.isEmpty() || mGenVarValues.isEmpty()) return Acad::eOk;
  krv::standards::WholeWordReplacer replacer;
  replacer.prepare(mGenVarNames, mGenVarValues, true);
  // Each cell's text is replaced on its own, so the filled cells are taken
  // first (column by column) and then rewritten.
  std::vector<std::pair<int32_t, int32_t>> filled;
  document().engine().grid().forEachAllocated(
      1, 1, getMaxCols(), getMaxRows(),
      [&](int32_t col, int32_t row, const krv::sheet::Cell& cell) {
        if (cell.isFilled()) filled.emplace_back(col, row);
      });
  Krv_String text;
  for (const auto& [col, row] : filled) {
    if (!getCellString(col, row, text, Value) || text.isEmpty()) continue;
    if (replacer.apply(text)) setCellData(col, row, text);
  }
  return Acad::eOk;
}

// ---- one cell ----------------------------------------------------------------------------------

Krv_String VtCalcSS::equationMessageText(const Krv_String& target, const Krv_String& expression,
                                         int row) const {
  Krv_String text = L"The following equation failed:\n";
  if (!target.isEmpty()) text += target + L" = ";
  text += expression;
  text += L"\n";
  text += L"Spreadsheet : ";
  text += mFileName;
  text += L" (line: ";
  text += std::to_wstring(row);
  text += L")\n";
  text += L"Here's a tip for finding the cause :\n";
  text +=
      L"If this equation contains variable names, then the translator does not know the value of "
      L"the variable. "
      L"Make sure the variable exists either in input, output, local declarations or among the "
      L"gen_ variables.";
  return text;
}

Acad::ErrorStatus VtCalcSS::fail(const Krv_String& reason) {
  mFailure = reason;
  return Acad::eInvalidInput;
}

void VtCalcSS::showEquationMessage(const Krv_String& target, const Krv_String& expression,
                                   int row) const {
  if (!Krv_Settings::current().calcMessages()) return;
  AfxMessageBox(equationMessageText(target, expression, row).str(), MB_OK | MB_ICONEXCLAMATION);
}

void VtCalcSS::trace(const Krv_String& target, const Krv_String& expression, int column, int row,
                     const Krv_String& result, bool ok) const {
  const krv::standards::CalcTraceSink& sink = traceSink();
  if (!sink) return;
  krv::standards::CalcTraceEvent e;
  e.kind = krv::standards::CalcTraceEvent::Equation;
  e.depth = traceDepth();
  e.file = mFileName;
  e.column = column;
  e.row = row;
  e.target = target;
  e.expression = expression;
  e.result = result;
  e.ok = ok;
  sink(e);
}

Acad::ErrorStatus VtCalcSS::calcCell(int column, int row) {
  Krv_String text;
  if (!getCellString(column, row, text, Value) || text.isEmpty()) return Acad::eInvalidInput;

  Krv_String target, expression;
  bool plain = true;
  {
    Krv_FunctionTimer t(gCalcCellSplitSymbol);
    if (!splitStringAtSymbol(text, L'=', target, expression, true)) {
      expression = text;
      target.setEmpty();
      plain = false;
    }
  }
  int varIndex = -1;
  if (plain) {
    Krv_FunctionTimer t(gCalcCellFindVarCell);
    if (findVar(target, varIndex) != Acad::eOk) plain = false;
  }
  Krv_String function;
  bool isProgramFunction;
  {
    Krv_FunctionTimer t(gCalcCellFindFunctions);
    isProgramFunction = hasASubstr(expression, programFunctions(), function, true);
  }
  if (isProgramFunction) {
    Krv_FunctionTimer t(gCalcCellCalcNativeFunctions);
    if (callChild(expression, function) != Acad::eOk) {
      trace(Krv_String(), expression, column, row, L"child call failed: " + mFailure, false);
      showEquationMessage(target, expression, row);
      return Acad::eInvalidInput;
    }
    trace(Krv_String(), expression, column, row, L"child call done", true);
    return Acad::eOk;
  }
  if (!plain) {
    trace(target, expression, column, row,
          target.isEmpty() ? L"no equation" : L"variable not declared", false);
    showEquationMessage(target, expression, row);
    return Acad::eInvalidInput;
  }

  VtVarCell& cell = mVarCells[varIndex];
  {
    Krv_FunctionTimer t(gCalcCellCalcFunctionsPrepare);
    if (cell.valueType() == String)
      setEditFormat(column, row, column, row, 0x110000, 200);
    else
      setNumberFormat(column, row, 7, false);
    replaceVariables(expression);
  }
  if (!setCellFormula(column, row, expression, true)) {
    trace(target, expression, column, row, L"formula refused", false);
    showEquationMessage(target, expression, row);
    return Acad::eInvalidInput;
  }
  Krv_FunctionTimer t(gCalcCellCalcFunctions);
  Krv_String value;
  // A formula whose evaluation failed (a custom function refused its
  // arguments, an unknown name, a wrong type) has no value to read.
  const krv::sheet::CellDocument& engine = document().engine();
  const bool failed =
      engine.lastEvaluationFailed(column, row) || engine.value(column, row).isError();
  if (failed || !getCellString(column, row, value, Value)) {
    trace(target, expression, column, row,
          failed ? Krv_String(engine.valueText(column, row)) : L"unreadable", false);
    showEquationMessage(target, expression, row);
    return Acad::eInvalidInput;
  }
  const Acad::ErrorStatus es = cell.setNewValue(*this, value);
  trace(target, expression, column, row, value, es == Acad::eOk);
  return es;
}

// ---- child calls
// ----------------------------------------------------------------------------------

Krv_String VtCalcSS::findChildFile(const Krv_String& name) const {
  const Krv_String lib = Krv_Settings::libDir() + krv::standards::kStandardsFolder;
  const Krv_String candidates[] = {
      name,
      getPath(mFileName) + ensureNoStartBSlash(name),
      lib + name,
      lib + L"Childs\\" + name,
      lib + L"Data\\" + name,
      lib + L"Parents\\" + name,
  };
  for (const Krv_String& c : candidates)
    if (!c.isEmpty() && fileExists(c)) return c;
  return name;
}

Acad::ErrorStatus VtCalcSS::callChild(const Krv_String& expression, const Krv_String& function) {
  const int at = expression.find(function, true);
  if (at < 0) return fail(L"the equation does not call " + function);
  const int open = expression.findFirstFrom(L"(", at + function.length());
  if (open < 0) return fail(L"no \"(\" after " + function);
  const int close = expression.findFirstFrom(L")", open + 1);
  if (close < 0) return fail(L"no \")\" after " + function + L"(");
  Krv_StringArray items;
  splitStringAtSymbol(expression.substr(open + 1, close - open - 1), L',', items, true);
  if (items.length() < 2) return fail(function + L" needs a child sheet and at least one variable");

  Krv_String childName = items[0];
  if (childName.startsWith(L"\"")) childName = childName.substr(1);
  if (childName.endsWith(L"\"")) childName = childName.left(childName.length() - 1);
  const Krv_String child = findChildFile(childName);
  if (!fileExists(child))
    return fail(L"no child sheet " + childName +
                L" (looked beside this sheet and in the library's standards folders)");

  VtVarCells call;
  for (int i = 1; i < items.length(); ++i) {
    int index = -1;
    if (findVar(items[i], index) != Acad::eOk)
      return fail(L"the variable " + items[i] + L" is not declared in this sheet");
    VtVarCell passed = mVarCells[index];
    passed.mColumn = 0;
    passed.mRow = 0;
    call.append(passed);
  }

  const int functionIndex = programFunctions().find(function, true);
  if (functionIndex != 0) return fail(L"unknown program function " + function);
  if (equal(child, mFileName, false)) return fail(L"the sheet calls itself");
  // A sheet that is being evaluated further up the chain would call itself
  // without end.
  const std::wstring childKey = canonicalPath(child);
  const auto& chain = evaluationChain();
  if (std::find(chain.begin(), chain.end(), childKey) != chain.end())
    return fail(L"the child " + child +
                L" is already being evaluated further up: the sheets call one another in a circle");
  if (static_cast<int>(chain.size()) >= kMaxNesting)
    return fail(L"the child calls nest deeper than " + number(kMaxNesting) + L" sheets");

  VtDlgStandardsData record;
  record.mMode = VtDlgStandardsData::kChildEvaluation;
  record.mStandardsName = child;
  record.mVarCells = call;
  record.mGenVarNames = mGenVarNames;
  record.mGenVarValues = mGenVarValues;

  if (const krv::standards::CalcTraceSink& sink = traceSink()) {
    krv::standards::CalcTraceEvent e;
    e.kind = krv::standards::CalcTraceEvent::ChildStart;
    e.depth = traceDepth() + 1;
    e.file = child;
    e.expression = expression;
    sink(e);
  }
  const bool ok = StartDlgStandardsSS(record);
  if (const krv::standards::CalcTraceSink& sink = traceSink()) {
    krv::standards::CalcTraceEvent e;
    e.kind = krv::standards::CalcTraceEvent::ChildEnd;
    e.depth = traceDepth() + 1;
    e.file = child;
    e.ok = ok;
    if (!ok) e.result = krv::standards::lastCalcFailure();
    sink(e);
  }
  if (!ok) return fail(L"the child sheet failed: " + krv::standards::lastCalcFailure());

  for (int i = 0; i < record.mVarCells.length(); ++i) {
    const VtVarCell& returned = record.mVarCells[i];
    if (!returned.isOutput()) continue;
    int index = -1;
    if (findVar(returned.name(), index) != Acad::eOk) continue;
    VtVarCell& own = mVarCells[index];
    if (own.isInput())
      return fail(L"the child's output " + returned.name() +
                  L" would be written into an input of this sheet");
    if (own.setValueFromOther(*this, returned) != Acad::eOk)
      return fail(L"the child's result for " + returned.name() +
                  L" could not be written into the sheet");
  }
  return Acad::eOk;
}
