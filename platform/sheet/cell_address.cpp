#include "platform/sheet/cell_address.h"

#include <cctype>

namespace krv::sheet {

std::string columnLetters(int32_t column) {
  if (column < 1 || column > kMaxColumnLimit) return {};
  std::string s;
  while (column > 0) {
    int32_t rem = (column - 1) % 26;
    s.insert(s.begin(), static_cast<char>('A' + rem));
    column = (column - 1) / 26;
  }
  return s;
}

int32_t columnFromLetters(std::string_view letters) {
  if (letters.empty() || letters.size() > 3) return 0;
  int32_t c = 0;
  for (char ch : letters) {
    if (!std::isalpha(static_cast<unsigned char>(ch))) return 0;
    c = c * 26 + (std::toupper(static_cast<unsigned char>(ch)) - 'A' + 1);
  }
  return c <= kMaxColumnLimit ? c : 0;
}

std::optional<CellAddress> parseA1(std::string_view t) {
  CellAddress a;
  size_t i = 0;
  if (i < t.size() && t[i] == '$') {
    a.colAbs = true;
    ++i;
  }
  size_t ls = i;
  while (i < t.size() && std::isalpha(static_cast<unsigned char>(t[i]))) ++i;
  a.col = columnFromLetters(t.substr(ls, i - ls));
  if (a.col == 0) return std::nullopt;
  if (i < t.size() && t[i] == '$') {
    a.rowAbs = true;
    ++i;
  }
  size_t ds = i;
  int64_t row = 0;
  while (i < t.size() && std::isdigit(static_cast<unsigned char>(t[i]))) {
    row = row * 10 + (t[i] - '0');
    if (row > kMaxRowLimit) return std::nullopt;
    ++i;
  }
  if (i == ds || i != t.size() || row < 1) return std::nullopt;
  a.row = static_cast<int32_t>(row);
  return a;
}

std::string formatA1(const CellAddress& a) {
  std::string s;
  if (a.colAbs) s.push_back('$');
  s += columnLetters(a.col);
  if (a.rowAbs) s.push_back('$');
  s += std::to_string(a.row);
  return s;
}

std::string formatR1C1(const CellAddress& a, int32_t hostCol, int32_t hostRow) {
  std::string s = "R";
  if (a.rowAbs)
    s += std::to_string(a.row);
  else if (a.row != hostRow)
    s.append("[").append(std::to_string(a.row - hostRow)).append("]");
  s += "C";
  if (a.colAbs)
    s += std::to_string(a.col);
  else if (a.col != hostCol)
    s.append("[").append(std::to_string(a.col - hostCol)).append("]");
  return s;
}

int32_t LineShift::map(int32_t i) const {
  switch (kind) {
    case Kind::Insert:
      return i >= first ? i + count : i;
    case Kind::Delete:
      if (i < first) return i;
      return i < first + count ? 0 : i - count;
    case Kind::Swap:
      return i == first ? other : (i == other ? first : i);
  }
  return i;
}

bool LineShift::mapBlock(int32_t& lo, int32_t& hi) const {
  switch (kind) {
    case Kind::Insert:
      lo = map(lo);
      hi = map(hi);
      return true;
    case Kind::Delete: {
      int32_t last = first + count - 1;
      int32_t newLo = lo < first ? lo : (lo <= last ? first : lo - count);
      int32_t newHi = hi < first ? hi : (hi <= last ? first - 1 : hi - count);
      if (newLo > newHi) return false;
      lo = newLo;
      hi = newHi;
      return true;
    }
    case Kind::Swap:
      if (lo == hi) lo = hi = map(lo);
      return true;
  }
  return true;
}

}  // namespace krv::sheet
