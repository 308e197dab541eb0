#pragma once
// The limits of a cell's type applied to what a person enters: the rules of
// the cell's editor while a person types or pastes into it, and the check of
// a finished entry before it is written. Programmatic writes
// (ControlDocument::setData) do not pass through here.
//
// * Edit and combo box cells with a maximum length (CellAttributes::
//   maxLength > 0) take at most that many characters: typed or pasted text
//   is cut to what still fits, and nothing is taken when the text is full.
// * Number cells take only a number being written: an optional leading sign
//   ("-" only when the minimum is below 0), digits with thousands
//   separators, and one decimal point. A keystroke is refused when the
//   number it gives already lies beyond a bound that more digits cannot
//   bring it back within (above a positive maximum, below a negative
//   minimum). A finished entry must be empty or a number within
//   [minValue, maxValue].
// * Other cells take any text; check box, button and picture cells, and
//   locked cells, take no typed text at all.
#include <optional>
#include <string>
#include <string_view>

#include "platform/base/status.h"
#include "platform/sheet/control_document.h"

namespace krv::sheet {

// Whether a person may type into a cell with these attributes.
bool takesTypedText(const CellAttributes& a);

// The editor's text after `insert` replaced characters selStart..selEnd of
// `text` (bounds clamped to the text), with the caret after what was taken.
struct TypedText {
  std::wstring text;
  int caret = 0;
};
// What the editor of a cell with attributes `a` makes of typing or pasting
// `insert`; nullopt when nothing of it is taken (the text stays as it was).
// Line breaks and tabs end what is taken (an entry is one line).
std::optional<TypedText> typeIntoCellText(const CellAttributes& a, const std::wstring& text,
                                          int selStart, int selEnd, std::wstring_view insert);

// Whether a finished entry fits the cell; the error says why not.
krv::base::Status checkEntry(const CellAttributes& a, const std::wstring& entry);

// A field pasted into a cell (not being edited), as the cell takes it: an
// edit or combo box field cut to the maximum length; an error saying why
// for a number cell field that is not an entry the cell takes. Formulas
// ("=..." fields) are taken as they are.
krv::base::Result<std::wstring> pastedField(const CellAttributes& a, const std::wstring& field);

}  // namespace krv::sheet
