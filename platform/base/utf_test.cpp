#include "platform/base/utf.h"

#include <gtest/gtest.h>

namespace {

using namespace krv::base;

constexpr wchar_t kBad = 0xFFFD;

TEST(Utf8Decoding, WellFormedTextRoundTrips) {
  const std::string text = "a\u00E9\u20AC\U0001F600\u07FF\uFFFF\U0010FFFF";
  EXPECT_TRUE(isValidUtf8(text));
  EXPECT_EQ(utf8ToWide(text), L"a\u00E9\u20AC\U0001F600\u07FF\uFFFF\U0010FFFF");
  EXPECT_EQ(toUtf8(utf8ToWide(text)), text);
  EXPECT_EQ(toUtf8(utf8ToUtf32(text)), text);
  EXPECT_EQ(utf8Length(text), 7u);
  EXPECT_TRUE(isValidUtf8(""));
  EXPECT_EQ(utf8ToWide(""), L"");
}

// Each maximal ill-formed subpart is one U+FFFD, and decoding goes on after
// it: the policy every decoder of the system follows.
TEST(Utf8Decoding, EachMaximalIllFormedSubpartIsOneReplacement) {
  struct Case {
    const char* what;
    std::string bytes;
    std::wstring wide;
  } cases[] = {
      {"stray continuation bytes",
       "a\x80\xBF"
       "b",
       {L'a', kBad, kBad, L'b'}},
      {"bytes that start nothing", "\xC0\xC1\xF5\xFF", {kBad, kBad, kBad, kBad}},
      {"overlong two bytes", "\xC0\xAF", {kBad, kBad}},
      {"overlong three bytes", "\xE0\x80\xAF", {kBad, kBad, kBad}},
      {"overlong four bytes", "\xF0\x8F\xBF\xBF", {kBad, kBad, kBad, kBad}},
      {"a surrogate", "\xED\xA0\x80x", {kBad, kBad, kBad, L'x'}},
      {"above U+10FFFF", "\xF4\x90\x80\x80", {kBad, kBad, kBad, kBad}},
      {"three-byte sequence cut at the end", "x\xE2\x82", {L'x', kBad}},
      {"four-byte sequence cut by a letter", "\xF0\x9F\x98z", {kBad, L'z'}},
      {"two cut sequences in a row", "\xE2\x82\xE2\x82\xAC", {kBad, L'\u20AC'}},
      {"lead byte at the very end", "ok\xC3", {L'o', L'k', kBad}},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(utf8ToWide(c.bytes), c.wide) << c.what;
    EXPECT_FALSE(isValidUtf8(c.bytes)) << c.what;
    EXPECT_EQ(utf8Length(c.bytes), c.wide.size()) << c.what;
    EXPECT_TRUE(isValidUtf8(toUtf8(utf8ToWide(c.bytes)))) << c.what;
  }
}

TEST(Utf8Decoding, SequenceAtTakesOnlyWellFormedSequences) {
  char32_t c = 0;
  EXPECT_EQ(utf8SequenceAt("\xF0\x9F\x98\x80", 0, c), 4u);
  EXPECT_EQ(c, U'\U0001F600');
  EXPECT_EQ(utf8SequenceAt("x\xC3\xA9", 1, c), 2u);
  EXPECT_EQ(c, U'\u00E9');
  EXPECT_EQ(utf8SequenceAt("\xC0\x80", 0, c), 0u) << "overlong";
  EXPECT_EQ(utf8SequenceAt("\xED\xA0\x80", 0, c), 0u) << "a surrogate";
  EXPECT_EQ(utf8SequenceAt("\xF4\x90\x80\x80", 0, c), 0u) << "above U+10FFFF";
  EXPECT_EQ(utf8SequenceAt("\xE2\x80", 0, c), 0u) << "cut";
  EXPECT_EQ(utf8SequenceAt("a", 1, c), 0u) << "past the end";
  const Utf8Step cut = decodeUtf8At("\xF0\x9F\x98", 0);
  EXPECT_FALSE(cut.valid);
  EXPECT_EQ(cut.length, 3u);
  EXPECT_EQ(cut.c, U'\uFFFD');
}

TEST(Utf8Encoding, NonScalarValuesBecomeReplacements) {
  EXPECT_EQ(toUtf8(std::wstring{L'a', static_cast<wchar_t>(0xD800), L'b'}),
            "a\uFFFD"
            "b");
  EXPECT_EQ(toUtf8(std::u32string{0xDFFF, 0x110000, U'\U0010FFFF'}), "\uFFFD\uFFFD\U0010FFFF");
  std::string out;
  appendUtf8(out, 0x7F);
  appendUtf8(out, 0x80);
  appendUtf8(out, 0x800);
  appendUtf8(out, 0x10000);
  EXPECT_EQ(out, "\x7F\xC2\x80\xE0\xA0\x80\xF0\x90\x80\x80") << "the edges of each length";
}

TEST(Utf16, PairsJoinAndUnpairedSurrogatesBecomeReplacements) {
  EXPECT_EQ(utf16ToWide(u"a\U0001F600b"), L"a\U0001F600b");
  const std::u16string lone = {u'a', 0xD800, u'b', 0xDC00};
  EXPECT_EQ(utf16ToWide(lone), (std::wstring{L'a', kBad, L'b', kBad}));
  EXPECT_EQ(findUnpairedSurrogate(lone), 1u);
  EXPECT_EQ(findUnpairedSurrogate(std::u16string{u'x', 0xDC00}), 1u) << "a low one alone";
  EXPECT_EQ(findUnpairedSurrogate(std::u16string{0xD83D}), 0u) << "a high one at the end";
  EXPECT_EQ(findUnpairedSurrogate(u"\U0001F600x"), std::nullopt);
  EXPECT_EQ(wideToUtf16(L"a\U0001F600"), u"a\U0001F600");
  EXPECT_EQ(wideToUtf16(std::wstring{static_cast<wchar_t>(0xDC00)}), u"\uFFFD");
}

TEST(Utf16, UnitsInEitherOrderAndAnOddByteIsLeftOut) {
  EXPECT_EQ(utf16Units(std::string("a\0\xAC\x20", 4), ByteOrder::LittleEndian), u"a\u20AC");
  EXPECT_EQ(utf16Units(std::string("\0a\x20\xAC", 4), ByteOrder::BigEndian), u"a\u20AC");
  EXPECT_EQ(utf16Units(std::string("\0a\x20", 3), ByteOrder::BigEndian), u"a");
}

}  // namespace
