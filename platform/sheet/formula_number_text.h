#pragma once
#include <optional>
#include <string>
#include <string_view>

// Numbers as the formula language shows and reads them (the core's
// exact, round-tripping number texts are platform/core/c_number_text.h).
namespace krv::sheet {

// The General format: at most 15 significant digits, no trailing zeros,
// scientific notation ("1.5E+20", "1E-05") for very large or small
// magnitudes. 0.1+0.2 shows "0.3"; -0 shows "0".
std::string formatGeneral(double v);

// Reads a text as a number the way formulas coerce texts: blanks around,
// a sign, an optional currency "$", thousands separators in groups of
// three, a decimal point, an exponent and a trailing "%". Nothing else.
std::optional<double> parseNumberText(std::string_view text);

enum class RoundMode { HalfAway, Up, Down };
// Decimal rounding of the value as shown with 15 significant digits, to
// `digits` decimals (negative: tens, hundreds...). HalfAway rounds halves
// away from zero (2.15 -> 2.2, -2.5 -> -3), Up away from zero, Down toward
// zero.
double roundDecimal(double v, int digits, RoundMode mode);

// Snaps a result of arithmetic to 15 significant digits, as displayed.
double toDisplayPrecision(double v);

// FIXED: rounded half away from zero to `decimals` (may be negative),
// with or without thousands separators ("1,234.50" or "1234.50").
enum class ThousandsSeparators { With, Without };
std::string formatFixedText(double v, int decimals, ThousandsSeparators separators);

// TEXT: formats a number with a pattern of 0, #, ?, ".", ",", "%",
// E+00, quoted or backslash-escaped literals, and up to three sections
// "positive;negative;zero". A section with date and time codes formats the
// number as a date serial number (see formatDateTimeSection); a negative
// number can use one only through a negative section. Returns nullopt for
// a pattern it cannot use.
std::optional<std::string> formatNumberPattern(double v, std::string_view pattern);

}  // namespace krv::sheet
