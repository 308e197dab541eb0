#include "platform/core/krv_string.h"

#include <algorithm>

#include "platform/base/case_folding.h"
#include "platform/base/utf.h"
#include "platform/core/c_number_text.h"

namespace {

bool sameChar(wchar_t a, wchar_t b, bool caseSensitive) {
  return a == b || (!caseSensitive && krv::base::foldCase(a) == krv::base::foldCase(b));
}

bool matchesAt(const std::wstring& text, size_t pos, const std::wstring& sub, bool caseSensitive) {
  if (pos + sub.size() > text.size()) return false;
  for (size_t k = 0; k < sub.size(); ++k)
    if (!sameChar(text[pos + k], sub[k], caseSensitive)) return false;
  return true;
}

bool isBlank(wchar_t c) { return c == L' ' || c == L'\t'; }

}  // namespace

Krv_String::Krv_String(const char* utf8) : mText(krv::base::utf8ToWide(utf8 ? utf8 : "")) {}
Krv_String::Krv_String(const std::string& utf8) : mText(krv::base::utf8ToWide(utf8)) {}
Krv_String::Krv_String(double value, int decimals, bool dropTrailingZeros)
    : mText(krv::core::formatFixedDecimals(
          value, decimals,
          dropTrailingZeros ? krv::core::TrailingZeros::Drop : krv::core::TrailingZeros::Keep)) {}

std::string Krv_String::utf8() const { return krv::base::toUtf8(mText); }
Krv_String Krv_String::fromUtf8(std::string_view bytes) {
  return Krv_String(krv::base::utf8ToWide(bytes));
}

wchar_t Krv_String::at(int i) const {
  return (i >= 0 && i < length()) ? mText[static_cast<size_t>(i)] : L'\0';
}

bool Krv_String::equal(const Krv_String& other, bool caseSensitive) const {
  return mText.size() == other.mText.size() && matchesAt(mText, 0, other.mText, caseSensitive);
}

int Krv_String::find(const Krv_String& sub, bool caseSensitive) const {
  return findFirstFrom(sub, 0, caseSensitive);
}

int Krv_String::find(wchar_t c, int from) const {
  if (from < 0) from = 0;
  const auto p = mText.find(c, static_cast<size_t>(from));
  return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int Krv_String::findLast(const Krv_String& sub, bool caseSensitive) const {
  if (sub.mText.size() > mText.size()) return -1;
  for (size_t p = mText.size() - sub.mText.size() + 1; p-- > 0;)
    if (matchesAt(mText, p, sub.mText, caseSensitive)) return static_cast<int>(p);
  return -1;
}

int Krv_String::findLast(wchar_t c) const {
  const auto p = mText.rfind(c);
  return p == std::wstring::npos ? -1 : static_cast<int>(p);
}

int Krv_String::findFirstFrom(const Krv_String& sub, int from, bool caseSensitive) const {
  if (from < 0) from = 0;
  if (from > length()) return -1;
  if (caseSensitive) {
    const auto p = mText.find(sub.mText, static_cast<size_t>(from));
    return p == std::wstring::npos ? -1 : static_cast<int>(p);
  }
  for (size_t p = static_cast<size_t>(from); p + sub.mText.size() <= mText.size(); ++p)
    if (matchesAt(mText, p, sub.mText, false)) return static_cast<int>(p);
  return -1;
}

bool Krv_String::startsWith(const Krv_String& prefix, bool caseSensitive) const {
  return matchesAt(mText, 0, prefix.mText, caseSensitive);
}

bool Krv_String::endsWith(const Krv_String& suffix, bool caseSensitive) const {
  return suffix.mText.size() <= mText.size() &&
         matchesAt(mText, mText.size() - suffix.mText.size(), suffix.mText, caseSensitive);
}

int Krv_String::replaceSubString(const Krv_String& what, const Krv_String& with,
                                 bool caseSensitive) {
  if (what.isEmpty()) return 0;
  std::wstring out;
  int count = 0;
  size_t i = 0;
  while (i < mText.size()) {
    if (matchesAt(mText, i, what.mText, caseSensitive)) {
      out += with.mText;
      i += what.mText.size();
      ++count;
    } else {
      out += mText[i++];
    }
  }
  if (count) mText = std::move(out);
  return count;
}

Krv_String Krv_String::substr(int start, int count) const {
  if (start < 0) start = 0;
  if (start >= length()) return {};
  const size_t n = count < 0 ? std::wstring::npos : static_cast<size_t>(count);
  return Krv_String(mText.substr(static_cast<size_t>(start), n));
}

Krv_String Krv_String::right(int count) const {
  if (count <= 0) return {};
  return count >= length() ? *this : substr(length() - count);
}

Krv_String& Krv_String::makeUpper() {
  mText = krv::base::toUpper(mText);
  return *this;
}

Krv_String& Krv_String::makeLower() {
  mText = krv::base::toLower(mText);
  return *this;
}

Krv_String& Krv_String::trim() {
  size_t b = 0, e = mText.size();
  while (b < e && isBlank(mText[b])) ++b;
  while (e > b && isBlank(mText[e - 1])) --e;
  mText = mText.substr(b, e - b);
  return *this;
}
