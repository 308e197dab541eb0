// The limits of a cell's type applied to what a person types or pastes.
#include "platform/sheet/cell_input.h"

#include <algorithm>

#include "platform/base/utf.h"
#include "platform/sheet/formula_number_text.h"

namespace krv::sheet {

namespace {

bool isLimitedText(const CellAttributes& a) {
  return (a.type == kCellTypeEdit || a.type == kCellTypeComboBox) && a.maxLength > 0;
}

// The value of a number being written in a number cell ("-", "12,3", "4."
// included); nullopt while it holds no digit yet or is not such a number.
struct PartialNumber {
  bool valid = false;
  std::optional<double> value;
};

PartialNumber partialNumber(const std::wstring& text) {
  std::string plain;
  bool point = false;
  for (size_t i = 0; i < text.size(); ++i) {
    const wchar_t ch = text[i];
    if ((ch == L'-' || ch == L'+') && i == 0) {
      plain.push_back(static_cast<char>(ch));
    } else if (ch >= L'0' && ch <= L'9') {
      plain.push_back(static_cast<char>(ch));
    } else if (ch == L',' && !point) {
      // Thousands separators: checked when the entry is finished.
    } else if (ch == L'.' && !point) {
      point = true;
      plain.push_back('.');
    } else {
      return {};
    }
  }
  const bool digits =
      std::any_of(plain.begin(), plain.end(), [](char c) { return c >= '0' && c <= '9'; });
  return {true, digits ? parseNumberText(plain) : std::nullopt};
}

std::string boundText(double v) { return formatGeneral(v); }

}  // namespace

bool takesTypedText(const CellAttributes& a) {
  if (a.locked) return false;
  return a.type != kCellTypeCheckBox && a.type != kCellTypeButton && a.type != kCellTypePicture;
}

std::optional<TypedText> typeIntoCellText(const CellAttributes& a, const std::wstring& text,
                                          int selStart, int selEnd, std::wstring_view insert) {
  if (!takesTypedText(a)) return std::nullopt;
  insert = insert.substr(0, std::min(insert.size(), insert.find_first_of(L"\r\n\t")));
  if (insert.empty()) return std::nullopt;
  const int length = static_cast<int>(text.size());
  int start = std::clamp(std::min(selStart, selEnd), 0, length);
  int end = std::clamp(std::max(selStart, selEnd), 0, length);
  if (isLimitedText(a)) {
    const int room = a.maxLength - (length - (end - start));
    if (room <= 0) return std::nullopt;
    insert = insert.substr(0, std::min(insert.size(), static_cast<size_t>(room)));
  }
  TypedText out;
  out.text = text.substr(0, static_cast<size_t>(start));
  out.text.append(insert);
  out.caret = static_cast<int>(out.text.size());
  out.text.append(text, static_cast<size_t>(end));
  if (a.type == kCellTypeNumber) {
    const PartialNumber n = partialNumber(out.text);
    if (!n.valid) return std::nullopt;
    if (out.text[0] == L'-' && a.minValue >= 0) return std::nullopt;
    // More digits only move a number further from zero: one already beyond
    // the bound on its side can never come back within it.
    if (n.value &&
        ((*n.value > 0 && *n.value > a.maxValue) || (*n.value < 0 && *n.value < a.minValue))) {
      return std::nullopt;
    }
  }
  return out;
}

krv::base::Status checkEntry(const CellAttributes& a, const std::wstring& entry) {
  using krv::base::Status;
  if (a.type != kCellTypeNumber) return {};
  const std::string utf8 = base::toUtf8(entry);
  if (utf8.find_first_not_of(" \t") == std::string::npos) return {};
  const std::optional<double> v = parseNumberText(utf8);
  if (!v) return Status::error("\"" + utf8 + "\" is not a number");
  if (*v < a.minValue || *v > a.maxValue) {
    return Status::error(utf8 + " lies outside the cell's range " + boundText(a.minValue) + " to " +
                         boundText(a.maxValue));
  }
  return {};
}

krv::base::Result<std::wstring> pastedField(const CellAttributes& a, const std::wstring& field) {
  if (field.size() > 1 && field[0] == L'=') return field;
  if (krv::base::Status fits = checkEntry(a, field); !fits) return fits;
  if (isLimitedText(a) && field.size() > static_cast<size_t>(a.maxLength)) {
    return field.substr(0, static_cast<size_t>(a.maxLength));
  }
  return field;
}

}  // namespace krv::sheet
