#include "platform/win/string_items.h"

#include "platform/base/case_folding.h"

namespace krv::win {

bool equalsNoCase(const std::wstring& a, const std::wstring& b) {
  return a.size() == b.size() && base::compareNoCase(a, b) == 0;
}

bool startsWithNoCase(const std::wstring& text, const std::wstring& prefix) {
  return text.size() >= prefix.size() &&
         base::compareNoCase(std::wstring_view(text).substr(0, prefix.size()), prefix) == 0;
}

int StringItems::add(const std::wstring& text, bool sorted) {
  std::size_t pos = mItems.size();
  if (sorted) {
    pos = 0;
    while (pos < mItems.size() && base::compareNoCase(mItems[pos].text, text) <= 0) ++pos;
  }
  mItems.insert(mItems.begin() + static_cast<std::ptrdiff_t>(pos), Item{text, 0, false});
  return static_cast<int>(pos);
}

int StringItems::insert(int index, const std::wstring& text) {
  if (index == -1) index = count();
  if (index < 0 || index > count()) return -1;
  mItems.insert(mItems.begin() + index, Item{text, 0, false});
  return index;
}

int StringItems::remove(int index) {
  if (!valid(index)) return -1;
  mItems.erase(mItems.begin() + index);
  return count();
}

template <class Pred>
int StringItems::findFrom(int start, Pred pred) const {
  const int n = count();
  if (n == 0) return -1;
  int first = valid(start) ? start + 1 : 0;
  for (int k = 0; k < n; ++k) {
    int i = (first + k) % n;
    if (pred(mItems[static_cast<std::size_t>(i)].text)) return i;
  }
  return -1;
}

int StringItems::findPrefix(int start, const std::wstring& text) const {
  return findFrom(start, [&](const std::wstring& t) { return startsWithNoCase(t, text); });
}

int StringItems::findExact(int start, const std::wstring& text) const {
  return findFrom(start, [&](const std::wstring& t) { return equalsNoCase(t, text); });
}

}  // namespace krv::win
