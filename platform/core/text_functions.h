#pragma once
#include <string>

#include "platform/core/c_number_text.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

// The product's text functions. A bool named caseSensitive compares exactly
// when true and ignores letter case (Unicode simple case folding) when
// false. "Blanks" are spaces and tabs.

// Comparisons; see the members of Krv_String of the same names.
bool equal(const Krv_String& a, const Krv_String& b, bool caseSensitive = true);
int find(const Krv_String& text, const Krv_String& sub, bool caseSensitive = true);
bool contains(const Krv_String& text, const Krv_String& sub, bool caseSensitive = true);
bool startsWith(const Krv_String& text, const Krv_String& prefix, bool caseSensitive = true);
bool endsWith(const Krv_String& text, const Krv_String& suffix, bool caseSensitive = true);
bool hasSubString(const Krv_String& text, const Krv_String& sub, bool caseSensitive = true);
int findFirstFrom(const Krv_String& text, const Krv_String& sub, int from,
                  bool caseSensitive = true);
int replaceSubString(Krv_String& text, const Krv_String& what, const Krv_String& with,
                     bool caseSensitive = true);
// The index of the first list entry equal to text, -1 when none.
int find(const Krv_StringArray& list, const Krv_String& text, bool caseSensitive = true);
bool contains(const Krv_StringArray& list, const Krv_String& text, bool caseSensitive = true);

// Does text contain any of the list's strings? `found` receives the one
// that occurs first in text; of several starting at the same place, the
// longest ("SUMIF" before "SUM"). Empty list entries are ignored.
bool hasASubstr(const Krv_String& text, const Krv_StringArray& list, Krv_String& found,
                bool caseSensitive = true);
bool hasASubstr(const Krv_String& text, const Krv_StringArray& list, bool caseSensitive = true);

// Removes `symbol` from text: with atEnds every leading and trailing run of
// it, with inside every occurrence between the first and last other
// character. (text, ' ', true, false) trims blanks at both ends only.
void stripSymbols(Krv_String& text, wchar_t symbol, bool atEnds, bool inside);

// Splits text at the first occurrence of separator into left and right
// (the separator itself belongs to neither). With trim, blanks around each
// part are removed. When the separator does not occur the result is false,
// left is the whole text (trimmed with trim) and right is empty. An empty
// separator never occurs.
bool splitString(const Krv_String& text, const Krv_String& separator, Krv_String& left,
                 Krv_String& right, bool trim);
// The same for a single character.
bool splitStringAtSymbol(const Krv_String& text, wchar_t symbol, Krv_String& left,
                         Krv_String& right, bool trim);
// Splits text at every symbol into parts ("a;;b" gives "a", "", "b"); with
// trim, blanks around each part are removed. An empty text gives no parts.
// True when the symbol occurs at least once.
bool splitStringAtSymbol(const Krv_String& text, wchar_t symbol, Krv_StringArray& parts, bool trim);

// The text after (before) the separator: its first occurrence when last is
// false, its last when true. Empty when the separator does not occur.
Krv_String getSubstrAfter(const Krv_String& text, const Krv_String& separator, bool last = false);
Krv_String getSubstrBefore(const Krv_String& text, const Krv_String& separator, bool last = false);

// Splits at every separator (default ";"), without trimming; an empty text
// gives an empty list. arrToStr joins with the separator; the two are
// inverse for entries that do not contain the separator.
Krv_StringArray strToArr(const Krv_String& text, const Krv_String& separator = L";");
int strToArr(const Krv_String& text, Krv_StringArray& parts, const Krv_String& separator = L";");
Krv_String arrToStr(const Krv_StringArray& list, const Krv_String& separator = L";");
// Splits each line at the separator (default tab) into one row.
void arrToArrArr(const Krv_StringArray& lines, Krv_StringTable& rows, wchar_t separator = L'\t');

// Cuts the line at the first "//".
void removeLineComment(Krv_String& line);
// Removes every "/*" ... "*/" within the line; an unclosed "/*" removes
// the rest of the line.
void removeComments(Krv_String& line);

// Duplicate names of a list. getDuplicates gives every position whose name
// already occurred at a lower position (ascending), and the names at those
// positions; so removing those positions keeps the first of equal names.
// hasDuplicates gives each name that occurs more than once, once, as it is
// spelt at its first occurrence. Both return whether there are any.
bool getDuplicates(const Krv_StringArray& list, Krv_StringArray& duplicates,
                   Krv_Array<int>& positions, bool caseSensitive = true);
bool hasDuplicates(const Krv_StringArray& list, Krv_StringArray& duplicates,
                   bool caseSensitive = true);

// A name made from base that is not in list (compared ignoring case unless
// caseSensitive). Kind 0: base itself when free, else base followed by 1,
// 2, 3, ... ("Groep", "Groep1", "Groep2"). Kind 1 (derived names that count
// on): base itself when free, else the base's number at the end counted up
// ("Plate3" gives "Plate4", then "Plate5"; without a number at the end as
// kind 0). An empty base is treated as kind 0 on "".
Krv_String findNonExistingString(const Krv_String& base, const Krv_StringArray& list, int kind = 0,
                                 bool caseSensitive = false);

// The part of text before its first digit; the whole text when it has none
// ("HEA 200" gives "HEA ").
Krv_String findFirstNumbers(const Krv_String& text);
// Removes the digits at the end of text ("Plate12" becomes "Plate"); true
// when any were removed.
bool stripNumbersAtEnd(Krv_String& text);

// True when the name has a character that file names may not hold:
// \ / : * ? " < > | or a control character (below U+0020, or U+007F).
bool hasInvalidFileNameChars(const Krv_String& name);

// Column letters of a 1-based column number: 1 A, 26 Z, 27 AA, 702 ZZ,
// 703 AAA. With lowerCase the letters are small (field labels a, b, c).
// A number below 1 gives an empty text.
Krv_String getAlfabet(int number, bool lowerCase = false);

// A random text of `length` characters: with alphanumeric true letters
// (both cases) and digits, with false capital letters only. An empty text
// for a length below 1.
Krv_String generateRandomString(int length, bool alphanumeric);

// Natural order of names: runs of digits compare by value, other
// characters ignoring case; names equal in that order compare exactly.
// So "L50x5" < "L100x10" and "a2" < "A10". Negative, zero, positive.
int compareNatural(const Krv_String& a, const Krv_String& b);

// Sorts the list in natural order (stable).
void sortArray(Krv_StringArray& list);
