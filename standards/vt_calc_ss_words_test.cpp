#include "standards/vt_calc_ss_words.h"

#include <gtest/gtest.h>

namespace krv::standards {
namespace {

// Every way the replacer takes must replace "len" only where it stands as a
// word of its own: never inside "blen" or "lens".
TEST(WholeWordReplacer, KeepsLongerWordsWholeOnEveryPath) {
  struct Case {
    const char* path;
    Krv_StringArray names, values;
    const wchar_t *text, *expected;
  };
  const Case cases[] = {
      {"word names over an ASCII text", {L"len"}, {L"3"}, L"blen+len+lens", L"blen+3+lens"},
      {"a text with a non-ASCII character", {L"len"}, {L"3"}, L"blen+len+\u00e9", L"blen+3+\u00e9"},
      {"a non-ASCII character next to the name",
       {L"len"},
       {L"3"},
       L"\u00e9blen+\u00e9len",
       L"\u00e9blen+\u00e93"},
      {"a name with a non-word character",
       {L"len", L"a.b"},
       {L"3", L"4"},
       L"blen+len+xa.b+a.b",
       L"blen+3+xa.b+4"},
      {"a value that contains a later name",
       {L"len", L"w"},
       {L"w", L"3"},
       L"blen+len+lenw+wlen",
       L"blen+3+lenw+wlen"},
  };
  for (const Case& c : cases) {
    WholeWordReplacer replacer;
    replacer.prepare(c.names, c.values, false);
    Krv_String text = c.text;
    EXPECT_TRUE(replacer.apply(text)) << c.path;
    EXPECT_EQ(text.str(), std::wstring(c.expected)) << c.path;
  }
}

}  // namespace
}  // namespace krv::standards
