#pragma once
#include <compare>
#include <string>
#include <string_view>

// Krv_String: the wide-character text of the product (UTF-32 in wchar_t on
// this platform). Narrow text given to it is UTF-8. Positions and lengths
// are int; a position that is not found is -1.
//
// The bool flag of the comparing members means "case sensitive": true
// compares exactly, false ignores letter case by Unicode simple case folding
// (independent of the process locale).
class Krv_String {
 public:
  Krv_String() = default;
  Krv_String(const wchar_t* text) : mText(text ? text : L"") {}
  Krv_String(std::wstring text) : mText(std::move(text)) {}
  Krv_String(std::wstring_view text) : mText(text) {}
  Krv_String(const char* utf8);
  Krv_String(const std::string& utf8);
  Krv_String(const char8_t* utf8) : Krv_String(reinterpret_cast<const char*>(utf8)) {}
  // The character c repeated count times.
  Krv_String(wchar_t c, int count) : mText(count > 0 ? static_cast<size_t>(count) : 0, c) {}
  // A number as text in fixed notation with '.' as decimal separator and
  // exactly `decimals` decimals (0 to 30; the last digit rounded from the
  // exact binary value). With dropTrailingZeros the zeros at the end of the
  // decimals go, and then the '.' when no decimal is left: (2.50, 2, true)
  // gives "2.5", (3.0, 2, true) gives "3". A result that is zero is never
  // written with a minus sign. Infinities and NaN give "inf", "-inf", "nan".
  Krv_String(double value, int decimals, bool dropTrailingZeros = false);
  Krv_String(int value, int decimals, bool dropTrailingZeros = false)
      : Krv_String(static_cast<double>(value), decimals, dropTrailingZeros) {}
  virtual ~Krv_String() = default;
  Krv_String(const Krv_String&) = default;
  Krv_String& operator=(const Krv_String&) = default;
  Krv_String(Krv_String&&) noexcept = default;
  Krv_String& operator=(Krv_String&&) noexcept = default;

  const wchar_t* c_str() const { return mText.c_str(); }
  const wchar_t* kwszPtr() const { return mText.c_str(); }
  const std::wstring& str() const { return mText; }
  std::wstring& str() { return mText; }
  std::string utf8() const;
  static Krv_String fromUtf8(std::string_view bytes);

  int length() const { return static_cast<int>(mText.size()); }
  bool isEmpty() const { return mText.empty(); }
  void setEmpty() { mText.clear(); }
  // The character at i, or 0 outside the text.
  wchar_t at(int i) const;
  wchar_t operator[](int i) const { return at(i); }

  Krv_String& operator+=(const Krv_String& o) {
    mText += o.mText;
    return *this;
  }
  Krv_String& operator+=(const wchar_t* o) {
    if (o) mText += o;
    return *this;
  }
  Krv_String& operator+=(wchar_t c) {
    mText += c;
    return *this;
  }
  friend Krv_String operator+(Krv_String a, const Krv_String& b) { return a += b; }
  friend Krv_String operator+(Krv_String a, const wchar_t* b) { return a += b; }
  friend Krv_String operator+(const wchar_t* a, const Krv_String& b) { return Krv_String(a) += b; }
  friend Krv_String operator+(Krv_String a, wchar_t b) { return a += b; }
  friend Krv_String operator+(wchar_t a, const Krv_String& b) { return Krv_String(a, 1) += b; }

  // Exact comparison (code point order).
  friend bool operator==(const Krv_String& a, const Krv_String& b) { return a.mText == b.mText; }
  friend bool operator==(const Krv_String& a, const wchar_t* b) { return a.mText == (b ? b : L""); }
  friend std::strong_ordering operator<=>(const Krv_String& a, const Krv_String& b) {
    return a.mText <=> b.mText;
  }

  bool equal(const Krv_String& other, bool caseSensitive = true) const;
  // Position of the first occurrence of sub (from position 0), -1 when
  // absent. An empty sub is found at 0.
  int find(const Krv_String& sub, bool caseSensitive = true) const;
  int find(wchar_t c, int from = 0) const;
  // Position of the last occurrence, -1 when absent.
  int findLast(const Krv_String& sub, bool caseSensitive = true) const;
  int findLast(wchar_t c) const;
  // Position of the first occurrence at or after `from` (negative from
  // counts as 0); -1 when absent or from is past the end.
  int findFirstFrom(const Krv_String& sub, int from, bool caseSensitive = true) const;
  bool contains(const Krv_String& sub, bool caseSensitive = true) const {
    return find(sub, caseSensitive) >= 0;
  }
  bool hasSubString(const Krv_String& sub, bool caseSensitive = true) const {
    return contains(sub, caseSensitive);
  }
  bool startsWith(const Krv_String& prefix, bool caseSensitive = true) const;
  bool endsWith(const Krv_String& suffix, bool caseSensitive = true) const;
  // Replaces every occurrence of `what` (left to right, not overlapping)
  // by `with`; returns the number replaced. An empty `what` replaces nothing.
  int replaceSubString(const Krv_String& what, const Krv_String& with, bool caseSensitive = true);

  // Parts: start and count are clipped to the text; count < 0 means "to the end".
  Krv_String substr(int start, int count = -1) const;
  Krv_String left(int count) const { return substr(0, count); }
  Krv_String right(int count) const;

  Krv_String& makeUpper();
  Krv_String& makeLower();
  Krv_String upper() const { return Krv_String(*this).makeUpper(); }
  Krv_String lower() const { return Krv_String(*this).makeLower(); }
  // Removes blanks (spaces and tabs) at both ends.
  Krv_String& trim();
  Krv_String trimmed() const { return Krv_String(*this).trim(); }

 private:
  std::wstring mText;
};
