#pragma once
#include <optional>
#include <string>
#include <string_view>

// Date and time codes of the TEXT function's patterns.
namespace krv::sheet {

// Whether one section of a TEXT pattern holds date or time codes outside
// quotes and escapes: y, m, d, h, s (any letter case), AM/PM, A/P, and the
// elapsed codes [h], [m], [s].
bool isDateTimeSection(std::string_view section);

// Formats a date serial number with one section of date and time codes.
// Serial numbers count days in the 1900 date system: 1 is 1 January 1900,
// 60 is the 29 February 1900 that the system counts although it never was,
// 61 is 1 March 1900, 0 shows as day 0 of January 1900; the fraction is the
// time of day. Codes: y and yy (two-digit year), yyy and more (four
// digits); m, mm (month; minutes when right after an hour code or right
// before a seconds code), mmm (Jan), mmmm (January), mmmmm (J); d, dd, ddd
// (Mon), dddd (Monday); h, hh (hours of the day, 1 to 12 with AM/PM or
// A/P); s, ss, optionally followed by "." and up to three 0s for fractions
// of a second; [h], [hh], [m], [mm], [s], [ss] (elapsed hours, minutes,
// seconds in total). The time is rounded to the finest fraction of a second
// shown (whole seconds when none), carrying into the date. Literals are
// written as given: quoted texts, backslash escapes, and any other
// character; "_x" writes a blank and "*x" nothing; other bracketed codes
// (colours, locales) are skipped.
//
// nullopt for a negative serial number, one past 31 December 9999
// (2958465), or a pattern with an unclosed bracket.
std::optional<std::string> formatDateTimeSection(double serial, std::string_view section);

}  // namespace krv::sheet
