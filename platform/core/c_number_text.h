#pragma once
#include <string>

class Krv_String;

// Numbers to text and text to numbers in the C library's conventions, for
// files and the core's strings. Nothing here depends on the process locale:
// the decimal separator is always '.'. (The formula language's number
// texts are platform/sheet/formula_number_text.h.)
namespace krv::core {

// Fixed notation with `decimals` decimals (clamped to 0..30), rounded from
// the exact binary value, no thousands separators; with TrailingZeros::Drop
// the zeros at the end of the decimals (and a point left alone) go. See
// Krv_String(double, int, bool).
enum class TrailingZeros { Keep, Drop };
std::wstring formatFixedDecimals(double value, int decimals, TrailingZeros zeros);

// The shortest text that reads back as exactly the same double ("0.1",
// "1e+300", "-0"); used by file formats that must round-trip numbers.
std::string shortestDouble(double value);
// Reads a whole text written by shortestDouble (or any decimal or hex
// floating text); false when the text is not entirely a number.
bool parseDouble(const std::string& text, double& value);

}  // namespace krv::core

// The C library's wide-text conversions, in the "C" locale whatever the
// process locale is: leading white space is skipped, then the longest
// leading number is read ("12.5mm" gives 12.5, " -3" gives -3); a text
// without a leading number gives 0. _wtoi and _wtol clamp a value beyond
// their type's range to its limits. A null pointer gives 0.
double _wtof(const wchar_t* text);
int _wtoi(const wchar_t* text);
long _wtol(const wchar_t* text);
double _wtof(const Krv_String& text);
int _wtoi(const Krv_String& text);
long _wtol(const Krv_String& text);

// True when the whole text is a decimal number: an optional sign, digits
// with at most one '.', at least one digit, and an optional exponent
// ("e" or "E", optional sign, digits). No blanks, no thousands separators,
// no hex, no inf or nan: "12", "-0.5", ".5", "5.", "1e-3" are numbers;
// "", "-", "1,5", " 1", "1e" are not.
bool isNumber(const Krv_String& text);

// The multiple of step nearest to value; a value halfway between two
// multiples goes away from zero. The arithmetic is done on the shortest
// decimal forms of value and step, so that decimal steps behave as written:
// ObjectExportRoundTo(2.15, 0.1) is 2.2 and (2.25, 0.1) is 2.3. A step of 0
// returns value; the sign of step is ignored.
double ObjectExportRoundTo(double value, double step);

// Rounds value up to a multiple of step, unless it lies at most `tolerance`
// above a multiple, in which case that multiple is the result: with step 5
// and tolerance 0.5, 10.4 gives 10, 10.6 gives 15, and 10 gives 10. "Up"
// means towards plus infinity (-7 with step 5 gives -5). A step of 0
// returns value; a negative tolerance counts as 0.
double ObjectExportRoundUp(double value, double step, double tolerance);
