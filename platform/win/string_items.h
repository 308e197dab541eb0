#pragma once
// krv::win::StringItems: the item list of a combo box or list box: texts with
// item data, sorted insertion, and the framework's case-insensitive
// searches that start after an index and wrap around.
#include <string>
#include <vector>

#include "platform/base/case_folding.h"
#include "platform/base/utf.h"
#include "platform/win/win_messages.h"

namespace krv::win {

// Case-insensitive comparison of window texts (the system's one case
// folding, platform/base/case_folding.h).
bool equalsNoCase(const std::wstring& a, const std::wstring& b);
bool startsWithNoCase(const std::wstring& text, const std::wstring& prefix);
using base::compareNoCase;

class StringItems {
 public:
  struct Item {
    std::wstring text;
    DWORD_PTR data = 0;
    bool selected = false;
  };

  int count() const { return static_cast<int>(mItems.size()); }
  bool valid(int index) const { return index >= 0 && index < count(); }
  // Appends, or inserts at the sorted place when `sorted`; gives the index.
  int add(const std::wstring& text, bool sorted);
  // Inserts at `index` (-1 appends); -1 when the index is out of range.
  int insert(int index, const std::wstring& text);
  // Removes the item; the number of items left, or -1 for a bad index.
  int remove(int index);
  void clear() { mItems.clear(); }
  // First item after `start` (from the beginning when start is -1 or out of
  // range), wrapping around, whose text begins with (or equals) `text`,
  // ignoring case; -1 when none.
  int findPrefix(int start, const std::wstring& text) const;
  int findExact(int start, const std::wstring& text) const;

  Item& operator[](int index) { return mItems[static_cast<std::size_t>(index)]; }
  const Item& operator[](int index) const { return mItems[static_cast<std::size_t>(index)]; }

 private:
  template <class Pred>
  int findFrom(int start, Pred pred) const;
  std::vector<Item> mItems;
};

}  // namespace krv::win
