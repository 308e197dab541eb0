// The custom spreadsheet functions of standards sheets.
#include "standards/standards_functions.h"

#include <algorithm>

#include "platform/core/c_number_text.h"
#include "platform/core/krv_settings.h"
#include "platform/core/object_export_sort.h"
#include "platform/core/section_table_manager.h"
#include "platform/core/text_functions.h"
#include "platform/win/message_box.h"
#include "standards/custom_args.h"
#include "standards/data_files.h"
#include "standards/std_value.h"

namespace krv::standards {

namespace {

// GETCELL and GETPROFCELL.
bool lookUp(FunctionValue& result, FunctionValue* args, std::int16_t count, bool sectionKeys) {
  if (!beginCall(result, args, count, 2)) return false;
  Krv_String fileName, path;
  if (!argText(args[0], fileName) || !findDataFile(fileName, path)) return false;
  const auto table = readLookupTable(path);
  if (!table || table->rows.isEmpty()) return false;

  Krv_StringArray keyParts;
  for (int i = 1; i < std::min<int>(count, 7); ++i) {
    double number;
    Krv_String text;
    if (argNumber(args[i], number))
      keyParts.append(Krv_String(number, 6, false));
    else if (argText(args[i], text))
      keyParts.append(text);
    else
      break;
  }
  const Krv_String key = arrToStr(keyParts, L";");

  int row = -1;
  if (!sectionKeys) {
    row = table->findKey(key);
  } else {
    const Krv_SectionTableManager& sections = Krv_SectionTableManager::global();
    for (int i = 0; i < table->rows.length() && row < 0; ++i) {
      const Krv_StringArray& cells = table->rows[i];
      Krv_String first = cells.isEmpty() ? Krv_String() : cells[0];
      Krv_String sysName;
      if (sections.getSystemName(first, sysName)) first = sysName;
      if (first.equal(key, false)) row = i;
    }
  }
  if (row < 0) return false;
  const Krv_StringArray& cells = table->rows[row];
  if (cells.length() < 2) return false;
  return setTextResult(result, cells[1]);
}

enum class SizeKind { Width, Thickness, Size };

// The three tolerance functions. Arguments: file, step, [thickness,]
// value, down tolerance, up tolerance.
bool withTolerance(FunctionValue& result, FunctionValue* args, std::int16_t count, SizeKind kind) {
  const int needed = kind == SizeKind::Width ? 6 : 5;
  if (!beginCall(result, args, count, needed)) return false;
  Krv_String fileName;
  if (!argText(args[0], fileName)) return false;
  double numbers[5] = {};
  for (int i = 1; i < needed; ++i)
    if (!argNumber(args[i], numbers[i - 1])) return false;
  const double step = numbers[0];
  const double thickness = kind == SizeKind::Width ? numbers[1] : 0.0;
  const double* rest = kind == SizeKind::Width ? numbers + 2 : numbers + 1;
  const double value = rest[0], down = rest[1], up = rest[2];

  if (down + up <= 0) showToleranceMessage(down, up);

  Krv_Array<double> widths, thicknesses;
  readStdSizes(fileName, widths, thicknesses);  // a missing file leaves no candidates
  Krv_Array<double> candidates;
  switch (kind) {
    case SizeKind::Size:
      candidates = widths;
      break;
    case SizeKind::Thickness:
      candidates = thicknesses;
      break;
    case SizeKind::Width:
      for (int i = 0; i < widths.length(); ++i)
        if (thicknesses[i] == 0 || thicknesses[i] == thickness) candidates.append(widths[i]);
      ObjectExportSort(candidates);
      break;
  }
  double found;
  if (findStdValue(candidates, down, up, value, found)) return setNumberResult(result, found);
  return setNumberResult(result, roundWithinTolerance(value, step, up, down));
}

}  // namespace

bool roundTo(FunctionValue& result, FunctionValue* args, std::int16_t count) {
  if (!beginCall(result, args, count, 2)) return false;
  double value, step;
  if (!argNumber(args[0], value) || !argNumber(args[1], step)) return false;
  return setNumberResult(result, ObjectExportRoundTo(value, step));
}

bool getCell(FunctionValue& result, FunctionValue* args, std::int16_t count) {
  return lookUp(result, args, count, false);
}

bool getProfCell(FunctionValue& result, FunctionValue* args, std::int16_t count) {
  return lookUp(result, args, count, true);
}

bool sectionSize(FunctionValue& result, FunctionValue* args, std::int16_t count) {
  if (!beginCall(result, args, count, 2)) return false;
  Krv_String section, value;
  double index;
  if (!argText(args[0], section) || !argNumber(args[1], index)) return false;
  if (getSectionValue(section, truncatedIndex(index) - 1, value) != Acad::eOk) return false;
  return setNumberResult(result, _wtof(value));
}

bool getSysName(FunctionValue& result, FunctionValue* args, std::int16_t count) {
  if (!beginCall(result, args, count, 1)) return false;
  Krv_String section;
  if (!argText(args[0], section)) return false;
  Krv_String sysName;
  if (!Krv_SectionTableManager::global().getSystemName(section, sysName)) sysName = section;
  return setTextResult(result, sysName);
}

bool stdWidthWithTolerance(FunctionValue& result, FunctionValue* args, std::int16_t count) {
  return withTolerance(result, args, count, SizeKind::Width);
}

bool stdThicknessWithTolerance(FunctionValue& result, FunctionValue* args, std::int16_t count) {
  return withTolerance(result, args, count, SizeKind::Thickness);
}

bool stdSizeWithTolerance(FunctionValue& result, FunctionValue* args, std::int16_t count) {
  return withTolerance(result, args, count, SizeKind::Size);
}

bool getArrayItem(FunctionValue& result, FunctionValue* args, std::int16_t count) {
  if (!beginCall(result, args, count, 2)) return false;
  Krv_String list;
  double index;
  if (!argText(args[0], list) || !argNumber(args[1], index)) return false;
  const Krv_StringArray items = strToArr(list, L";");
  const int position = truncatedIndex(index) - 1;
  if (position < 0 || position >= items.length()) return true;  // the empty result
  return setTextResult(result, items[position]);
}

bool toNumber(FunctionValue& result, FunctionValue* args, std::int16_t count) {
  if (!beginCall(result, args, count, 1)) return false;
  Krv_String text;
  if (!argText(args[0], text)) return false;
  return setNumberResult(result, _wtof(text));
}

bool isNull(FunctionValue& result, FunctionValue* args, std::int16_t count) {
  if (!beginCall(result, args, count, 1)) return false;
  const FunctionValue& arg = args[0];
  if (arg.status == FunctionValue::Status::Empty) return setNumberResult(result, 1);
  double number;
  Krv_String text;
  if (argNumber(arg, number)) return setNumberResult(result, number == 0 ? 1 : 0);
  if (argText(arg, text)) return setNumberResult(result, text.isEmpty() ? 1 : 0);
  return false;
}

bool isPositive(FunctionValue& result, FunctionValue* args, std::int16_t count) {
  if (!beginCall(result, args, count, 1)) return false;
  const FunctionValue& arg = args[0];
  if (arg.status == FunctionValue::Status::Empty) return setNumberResult(result, 0);
  double number;
  Krv_String text;
  if (argNumber(arg, number)) return setNumberResult(result, number > 0 ? 1 : 0);
  if (argText(arg, text))
    return setNumberResult(result, !text.isEmpty() && _wtof(text) > 0 ? 1 : 0);
  return false;
}

Krv_String toleranceMessageText(double down, double up) {
  return Krv_String(L"Invalid tolerances provided.\n DownTolerance is :") +
         Krv_String(down, 2, false) + L"UpTolerance is :" + Krv_String(up, 2, false) +
         L"\nAdding both tolerances should result in a positive value.";
}

void showToleranceMessage(double down, double up) {
  if (!Krv_Settings::current().calcMessages()) return;
  AfxMessageBox(toleranceMessageText(down, up).str(), MB_OK | MB_ICONEXCLAMATION);
}

}  // namespace krv::standards
