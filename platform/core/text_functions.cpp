#include "platform/core/text_functions.h"

#include <algorithm>
#include <random>

#include "platform/base/case_folding.h"
#include "platform/base/utf.h"

namespace {

bool isDigit(wchar_t c) { return c >= L'0' && c <= L'9'; }

Krv_String maybeTrim(const Krv_String& s, bool trim) { return trim ? s.trimmed() : s; }

}  // namespace

bool equal(const Krv_String& a, const Krv_String& b, bool caseSensitive) {
  return a.equal(b, caseSensitive);
}
int find(const Krv_String& text, const Krv_String& sub, bool caseSensitive) {
  return text.find(sub, caseSensitive);
}
bool contains(const Krv_String& text, const Krv_String& sub, bool caseSensitive) {
  return text.contains(sub, caseSensitive);
}
bool startsWith(const Krv_String& text, const Krv_String& prefix, bool caseSensitive) {
  return text.startsWith(prefix, caseSensitive);
}
bool endsWith(const Krv_String& text, const Krv_String& suffix, bool caseSensitive) {
  return text.endsWith(suffix, caseSensitive);
}
bool hasSubString(const Krv_String& text, const Krv_String& sub, bool caseSensitive) {
  return text.hasSubString(sub, caseSensitive);
}
int findFirstFrom(const Krv_String& text, const Krv_String& sub, int from, bool caseSensitive) {
  return text.findFirstFrom(sub, from, caseSensitive);
}
int replaceSubString(Krv_String& text, const Krv_String& what, const Krv_String& with,
                     bool caseSensitive) {
  return text.replaceSubString(what, with, caseSensitive);
}
int find(const Krv_StringArray& list, const Krv_String& text, bool caseSensitive) {
  return list.find(text, caseSensitive);
}
bool contains(const Krv_StringArray& list, const Krv_String& text, bool caseSensitive) {
  return list.find(text, caseSensitive) >= 0;
}

bool hasASubstr(const Krv_String& text, const Krv_StringArray& list, Krv_String& found,
                bool caseSensitive) {
  int bestPos = -1;
  int bestLen = -1;
  for (const Krv_String& s : list) {
    if (s.isEmpty()) continue;
    const int p = text.find(s, caseSensitive);
    if (p < 0) continue;
    if (bestPos < 0 || p < bestPos || (p == bestPos && s.length() > bestLen)) {
      bestPos = p;
      bestLen = s.length();
      found = s;
    }
  }
  return bestPos >= 0;
}

bool hasASubstr(const Krv_String& text, const Krv_StringArray& list, bool caseSensitive) {
  Krv_String found;
  return hasASubstr(text, list, found, caseSensitive);
}

void stripSymbols(Krv_String& text, wchar_t symbol, bool atEnds, bool inside) {
  std::wstring& s = text.str();
  size_t b = 0, e = s.size();
  while (b < e && s[b] == symbol) ++b;
  while (e > b && s[e - 1] == symbol) --e;
  std::wstring middle = s.substr(b, e - b);
  if (inside) middle.erase(std::remove(middle.begin(), middle.end(), symbol), middle.end());
  if (atEnds)
    s = middle;
  else
    s = s.substr(0, b) + middle + s.substr(e);
}

bool splitString(const Krv_String& text, const Krv_String& separator, Krv_String& left,
                 Krv_String& right, bool trim) {
  const int p = separator.isEmpty() ? -1 : text.find(separator);
  if (p < 0) {
    left = maybeTrim(text, trim);
    right.setEmpty();
    return false;
  }
  left = maybeTrim(text.left(p), trim);
  right = maybeTrim(text.substr(p + separator.length()), trim);
  return true;
}

bool splitStringAtSymbol(const Krv_String& text, wchar_t symbol, Krv_String& left,
                         Krv_String& right, bool trim) {
  return splitString(text, Krv_String(symbol, 1), left, right, trim);
}

bool splitStringAtSymbol(const Krv_String& text, wchar_t symbol, Krv_StringArray& parts,
                         bool trim) {
  parts.removeAll();
  if (text.isEmpty()) return false;
  bool any = false;
  int start = 0;
  for (;;) {
    const int p = text.find(symbol, start);
    if (p < 0) break;
    any = true;
    parts.append(maybeTrim(text.substr(start, p - start), trim));
    start = p + 1;
  }
  parts.append(maybeTrim(text.substr(start), trim));
  return any;
}

Krv_String getSubstrAfter(const Krv_String& text, const Krv_String& separator, bool last) {
  if (separator.isEmpty()) return {};
  const int p = last ? text.findLast(separator) : text.find(separator);
  return p < 0 ? Krv_String() : text.substr(p + separator.length());
}

Krv_String getSubstrBefore(const Krv_String& text, const Krv_String& separator, bool last) {
  if (separator.isEmpty()) return {};
  const int p = last ? text.findLast(separator) : text.find(separator);
  return p < 0 ? Krv_String() : text.left(p);
}

Krv_StringArray strToArr(const Krv_String& text, const Krv_String& separator) {
  Krv_StringArray parts;
  strToArr(text, parts, separator);
  return parts;
}

int strToArr(const Krv_String& text, Krv_StringArray& parts, const Krv_String& separator) {
  parts.removeAll();
  if (text.isEmpty()) return 0;
  if (separator.isEmpty()) {
    parts.append(text);
    return 1;
  }
  int start = 0;
  for (;;) {
    const int p = text.findFirstFrom(separator, start);
    if (p < 0) break;
    parts.append(text.substr(start, p - start));
    start = p + separator.length();
  }
  parts.append(text.substr(start));
  return parts.length();
}

Krv_String arrToStr(const Krv_StringArray& list, const Krv_String& separator) {
  Krv_String out;
  for (int i = 0; i < list.length(); ++i) {
    if (i) out += separator;
    out += list[i];
  }
  return out;
}

void arrToArrArr(const Krv_StringArray& lines, Krv_StringTable& rows, wchar_t separator) {
  rows.removeAll();
  for (const Krv_String& line : lines) {
    Krv_StringArray row;
    splitStringAtSymbol(line, separator, row, false);
    rows.append(row);
  }
}

void removeLineComment(Krv_String& line) {
  const int p = line.find(L"//");
  if (p >= 0) line = line.left(p);
}

void removeComments(Krv_String& line) {
  for (;;) {
    const int open = line.find(L"/*");
    if (open < 0) return;
    const int close = line.findFirstFrom(L"*/", open + 2);
    line = close < 0 ? line.left(open) : line.left(open) + line.substr(close + 2);
  }
}

bool getDuplicates(const Krv_StringArray& list, Krv_StringArray& duplicates,
                   Krv_Array<int>& positions, bool caseSensitive) {
  duplicates.removeAll();
  positions.removeAll();
  for (int i = 1; i < list.length(); ++i) {
    const int first = list.find(list[i], caseSensitive);
    if (first < i) {
      duplicates.append(list[i]);
      positions.append(i);
    }
  }
  return positions.length() > 0;
}

bool hasDuplicates(const Krv_StringArray& list, Krv_StringArray& duplicates, bool caseSensitive) {
  duplicates.removeAll();
  for (int i = 1; i < list.length(); ++i) {
    const int first = list.find(list[i], caseSensitive);
    if (first < i && !duplicates.contains(list[first], caseSensitive))
      duplicates.append(list[first]);
  }
  return duplicates.length() > 0;
}

Krv_String findNonExistingString(const Krv_String& base, const Krv_StringArray& list, int kind,
                                 bool caseSensitive) {
  if (!list.contains(base, caseSensitive)) return base;
  Krv_String stem = base;
  long long n = 1;
  if (kind == 1) {
    stripNumbersAtEnd(stem);
    if (stem.length() < base.length()) {
      const Krv_String digits = base.substr(stem.length());
      // A run of digits too long for a number keeps it as part of the stem.
      if (digits.length() <= 15)
        n = std::stoll(digits.str()) + 1;
      else
        stem = base;
    }
  }
  for (;; ++n) {
    Krv_String candidate = stem + Krv_String(std::to_wstring(n));
    if (!list.contains(candidate, caseSensitive)) return candidate;
  }
}

Krv_String findFirstNumbers(const Krv_String& text) {
  for (int i = 0; i < text.length(); ++i)
    if (isDigit(text[i])) return text.left(i);
  return text;
}

bool stripNumbersAtEnd(Krv_String& text) {
  int e = text.length();
  while (e > 0 && isDigit(text[e - 1])) --e;
  if (e == text.length()) return false;
  text = text.left(e);
  return true;
}

bool hasInvalidFileNameChars(const Krv_String& name) {
  static const std::wstring kInvalid = L"\\/:*?\"<>|";
  for (wchar_t c : name.str())
    if (c < 0x20 || c == 0x7F || kInvalid.find(c) != std::wstring::npos) return true;
  return false;
}

Krv_String getAlfabet(int number, bool lowerCase) {
  std::wstring out;
  const wchar_t a = lowerCase ? L'a' : L'A';
  while (number > 0) {
    --number;
    out.insert(out.begin(), static_cast<wchar_t>(a + number % 26));
    number /= 26;
  }
  return Krv_String(out);
}

Krv_String generateRandomString(int length, bool alphanumeric) {
  static const std::wstring kAlnum =
      L"ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
  static std::mt19937 engine{std::random_device{}()};
  if (length < 1) return {};
  const size_t range = alphanumeric ? kAlnum.size() : 26;
  std::uniform_int_distribution<size_t> pick(0, range - 1);
  std::wstring out;
  out.reserve(static_cast<size_t>(length));
  for (int i = 0; i < length; ++i) out += kAlnum[pick(engine)];
  return Krv_String(out);
}

int compareNatural(const Krv_String& a, const Krv_String& b) {
  const std::wstring& x = a.str();
  const std::wstring& y = b.str();
  size_t i = 0, j = 0;
  while (i < x.size() && j < y.size()) {
    if (isDigit(x[i]) && isDigit(y[j])) {
      size_t ie = i, je = j;
      while (ie < x.size() && isDigit(x[ie])) ++ie;
      while (je < y.size() && isDigit(y[je])) ++je;
      // Compare values without leading zeros: longer is larger, then digits.
      size_t is = i, js = j;
      while (is + 1 < ie && x[is] == L'0') ++is;
      while (js + 1 < je && y[js] == L'0') ++js;
      if (ie - is != je - js) return ie - is < je - js ? -1 : 1;
      const int c = x.compare(is, ie - is, y, js, je - js);
      if (c) return c < 0 ? -1 : 1;
      i = ie, j = je;
      continue;
    }
    const wchar_t cx = krv::base::foldCase(x[i]), cy = krv::base::foldCase(y[j]);
    if (cx != cy) return cx < cy ? -1 : 1;
    ++i, ++j;
  }
  if (i < x.size() || j < y.size()) return i < x.size() ? 1 : -1;
  const int c = x.compare(y);
  return c < 0 ? -1 : (c > 0 ? 1 : 0);
}

void sortArray(Krv_StringArray& list) {
  std::stable_sort(list.begin(), list.end(), [](const Krv_String& a, const Krv_String& b) {
    return compareNatural(a, b) < 0;
  });
}
