#include "platform/base/case_folding.h"

#include <algorithm>
#include <cstdint>
#include <iterator>

#include "platform/base/utf.h"

namespace krv::base {
namespace {

// Characters first..last, every `stride`-th one, map to c + delta.
struct CaseRun {
  char32_t first;
  char32_t last;
  std::int32_t delta;
  std::uint8_t stride;
};

#include "platform/base/case_tables.inc"

template <std::size_t N>
char32_t mapped(const CaseRun (&runs)[N], char32_t c) {
  // The last run that starts at or before c; runs do not overlap.
  const CaseRun* end = std::end(runs);
  const CaseRun* it = std::upper_bound(std::begin(runs), end, c,
                                       [](char32_t x, const CaseRun& r) { return x < r.first; });
  if (it == std::begin(runs)) return c;
  --it;
  if (c > it->last || (c - it->first) % it->stride) return c;
  return static_cast<char32_t>(static_cast<std::int32_t>(c) + it->delta);
}

char32_t asciiFold(char32_t c) { return c >= U'A' && c <= U'Z' ? c + 32 : c; }

template <char32_t (*F)(char32_t)>
std::wstring eachWide(std::wstring_view text) {
  std::wstring out(text);
  for (auto& c : out) c = static_cast<wchar_t>(F(static_cast<char32_t>(c)));
  return out;
}

template <char32_t (*F)(char32_t)>
std::string eachUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  for (std::size_t i = 0; i < text.size();) {
    const Utf8Step step = decodeUtf8At(text, i);
    appendUtf8(out, F(step.c));
    i += step.length;
  }
  return out;
}

}  // namespace

char32_t foldCase(char32_t c) { return c < 0x80 ? asciiFold(c) : mapped(kFoldRuns, c); }
char32_t toLower(char32_t c) { return c < 0x80 ? asciiFold(c) : mapped(kLowerRuns, c); }
char32_t toUpper(char32_t c) {
  if (c < 0x80) return c >= U'a' && c <= U'z' ? c - 32 : c;
  return mapped(kUpperRuns, c);
}

std::wstring foldCase(std::wstring_view text) { return eachWide<foldCase>(text); }
std::wstring toUpper(std::wstring_view text) { return eachWide<toUpper>(text); }
std::wstring toLower(std::wstring_view text) { return eachWide<toLower>(text); }

std::string foldCaseUtf8(std::string_view text) { return eachUtf8<foldCase>(text); }
std::string toUpperUtf8(std::string_view text) { return eachUtf8<toUpper>(text); }
std::string toLowerUtf8(std::string_view text) { return eachUtf8<toLower>(text); }

namespace {
template <class View>
int compareFolded(View a, View b) {
  const std::size_t n = std::min(a.size(), b.size());
  for (std::size_t k = 0; k < n; ++k) {
    const char32_t x = foldCase(static_cast<char32_t>(a[k]));
    const char32_t y = foldCase(static_cast<char32_t>(b[k]));
    if (x != y) return x < y ? -1 : 1;
  }
  return a.size() == b.size() ? 0 : (a.size() < b.size() ? -1 : 1);
}
}  // namespace

int compareNoCase(std::u32string_view a, std::u32string_view b) { return compareFolded(a, b); }
int compareNoCase(std::wstring_view a, std::wstring_view b) { return compareFolded(a, b); }

int compareNoCaseUtf8(std::string_view a, std::string_view b) {
  std::size_t i = 0, j = 0;
  while (i < a.size() && j < b.size()) {
    const auto x = static_cast<unsigned char>(a[i]), y = static_cast<unsigned char>(b[j]);
    char32_t fx, fy;
    if (x < 0x80 && y < 0x80) {  // ASCII needs no decoding
      fx = asciiFold(x), fy = asciiFold(y);
      ++i, ++j;
    } else {
      const Utf8Step sx = decodeUtf8At(a, i), sy = decodeUtf8At(b, j);
      fx = foldCase(sx.c), fy = foldCase(sy.c);
      i += sx.length, j += sy.length;
    }
    if (fx != fy) return fx < fy ? -1 : 1;
  }
  if (i < a.size()) return 1;
  return j < b.size() ? -1 : 0;
}

}  // namespace krv::base
