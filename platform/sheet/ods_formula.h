#pragma once
// Formulas of OpenDocument spreadsheets ("of:=SUM([.A1:.B2];2)") in the
// A1 form this engine reads ("=SUM(A1:B2,2)"): the namespace prefix goes,
// bracketed references lose their brackets and the dot before a cell
// ("[$Sheet1.A1]" becomes "$Sheet1!A1", quoted sheet names stay quoted),
// ";" between arguments becomes ",", and in inline arrays ";" and "|"
// (column and row separators) become "," and ";". Texts in quotes are
// copied as they are. Function names stay as written, also those the
// engine does not know, except the namespaces that some programs put
// before the names of functions of other programs ("COM.MICROSOFT.",
// "ORG.OPENOFFICE.", "ORG.LIBREOFFICE."), which are dropped.
#include <optional>
#include <string>
#include <string_view>

namespace krv::sheet {

// nullopt for text with an unclosed quote or bracket.
std::optional<std::string> odsFormulaToA1(std::string_view formula);

}  // namespace krv::sheet

namespace krv::sheet {

// The formula with every function name in upper case (a name followed by
// "("), texts in quotes and quoted sheet names left as they are. Function
// names are compared ignoring case; some programs write the names they do
// not know in lower case.
std::string upperFunctionNames(std::string_view formula);

}  // namespace krv::sheet
