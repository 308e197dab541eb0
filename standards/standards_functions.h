#pragma once
#include <cstdint>

#include "platform/core/krv_string.h"
#include "platform/sheet/custom_function.h"

// The custom spreadsheet functions of standards sheets. Each is a callback
// of the spreadsheet control: the result record, the argument records and
// their count; true on success, false to make the formula fail (the result
// is then left empty). Every call first empties the result and fails with
// fewer arguments than the function's minimum. Text arguments lose one
// leading and one trailing double quote. The functions keep no state of
// their own (data files may be kept parsed, see data_files.h), so nested
// calculations may call them in turn.
namespace krv::standards {

using sheet::FunctionValue;

// ROUNDTO(value, step): ObjectExportRoundTo of two numbers.
bool roundTo(FunctionValue& result, FunctionValue* args, std::int16_t count);
// GETCELL(file, key1 .. key6): the value of a data file's row whose first
// cell equals the key (ignoring case). The key joins the key arguments with
// ";": a number written with 6 decimals, a text as it is; the first
// argument that is neither ends the key. Fails when the file cannot be
// found or read, has no rows, the key is absent, or its row has a single
// cell. An empty value gives the empty result.
bool getCell(FunctionValue& result, FunctionValue* args, std::int16_t count);
// GETPROFCELL: as GETCELL, with every first cell of the file replaced by
// its full system section name where the global section tables know it.
bool getProfCell(FunctionValue& result, FunctionValue* args, std::int16_t count);
// SECTIONSIZE(section, index): the section's value at value column
// index - 1 (index truncated), read as a number; fails when the section
// has no such value.
bool sectionSize(FunctionValue& result, FunctionValue* args, std::int16_t count);
// GETSYSNAME(section): the section's full system name; an unknown section
// gives the argument unchanged.
bool getSysName(FunctionValue& result, FunctionValue* args, std::int16_t count);
// STDWIDTHWITHTOLERANCE(file, step, thickness, value, down, up),
// STDTHICKNESSWITHTOLERANCE(file, step, value, down, up),
// STDSIZEWITHTOLERANCE(file, step, value, down, up): the value snapped to a
// standard size of the file (widths for the thickness, thicknesses, or
// widths) within the tolerances, else rounded to the step within them.
// Tolerances summing to 0 or less show the tolerance message first.
bool stdWidthWithTolerance(FunctionValue& result, FunctionValue* args, std::int16_t count);
bool stdThicknessWithTolerance(FunctionValue& result, FunctionValue* args, std::int16_t count);
bool stdSizeWithTolerance(FunctionValue& result, FunctionValue* args, std::int16_t count);
// GETARRAYITEM(list, index): item index (from 1, truncated) of the
// ";"-separated list; a position outside the list gives the empty result.
bool getArrayItem(FunctionValue& result, FunctionValue* args, std::int16_t count);
// TONUMBER(text): the text read by _wtof rules; a non-text argument fails.
bool toNumber(FunctionValue& result, FunctionValue* args, std::int16_t count);
// ISNULL(any): 1 for an empty argument, an empty text or the number 0;
// 0 for other texts and numbers; fails for anything else.
bool isNull(FunctionValue& result, FunctionValue* args, std::int16_t count);
// ISPOSITIVE(any): 1 for a number above 0 or a text whose _wtof value is
// above 0; 0 for an empty argument and other texts and numbers; fails for
// anything else.
bool isPositive(FunctionValue& result, FunctionValue* args, std::int16_t count);

// The text of the tolerance message, and the message itself: a message box
// with an exclamation icon and an OK button, shown only while the current
// drawing's calculation messages setting is on.
Krv_String toleranceMessageText(double down, double up);
void showToleranceMessage(double down, double up);

}  // namespace krv::standards
