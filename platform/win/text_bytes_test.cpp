#include "platform/win/text_bytes.h"

#include <gtest/gtest.h>

namespace {

std::string utf16(const std::u16string& text, bool littleEndian, bool mark = true) {
  std::string out = mark ? (littleEndian ? "\xFF\xFE" : "\xFE\xFF") : "";
  for (char16_t c : text) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    out += littleEndian ? lo : hi;
    out += littleEndian ? hi : lo;
  }
  return out;
}

TEST(FileTextAsUtf8, ConvertsUtf16AndDropsAUtf8Mark) {
  const std::string expected = "{\"n\": \"\u2022\u00BF\u0192 \U0001F600\"}";
  const std::u16string text = u"{\"n\": \"\u2022\u00BF\u0192 \U0001F600\"}";
  std::string utf8, error;
  for (bool little : {true, false}) {
    ASSERT_TRUE(krv::fileTextAsUtf8(utf16(text, little), utf8, error)) << error;
    EXPECT_EQ(utf8, expected) << (little ? "little endian" : "big endian");
  }
  ASSERT_TRUE(krv::fileTextAsUtf8("\xEF\xBB\xBF" + expected, utf8, error));
  EXPECT_EQ(utf8, expected);
  ASSERT_TRUE(krv::fileTextAsUtf8(expected, utf8, error));
  EXPECT_EQ(utf8, expected);
  ASSERT_TRUE(krv::fileTextAsUtf8("", utf8, error));
  EXPECT_EQ(utf8, "");
}

TEST(FileTextAsUtf8, RefusesBrokenUtf16AndNamesUtf16WithoutAMark) {
  std::string utf8, error;
  EXPECT_FALSE(krv::fileTextAsUtf8(utf16(u"{}", true) + "x", utf8, error));
  EXPECT_NE(error.find("half a character"), std::string::npos) << error;
  EXPECT_FALSE(krv::fileTextAsUtf8(utf16(u"a\xD800"
                                         u"b",
                                         false),
                                   utf8, error));
  EXPECT_NE(error.find("unpaired surrogate"), std::string::npos) << error;
  EXPECT_FALSE(krv::fileTextAsUtf8(utf16(u"a\xDC00", true), utf8, error))
      << "a low surrogate alone is no character either";
  EXPECT_FALSE(krv::fileTextAsUtf8(utf16(u"{\"a\": 1}", true, false), utf8, error));
  EXPECT_NE(error.find("UTF-16 without a byte order mark"), std::string::npos) << error;
}

TEST(DisplayText, EscapesControlsAndInvalidBytesAndKeepsValidText) {
  EXPECT_EQ(krv::displayText(std::string("Plate \u2022 \u00BF \u0192 caf\u00E9")),
            "Plate \u2022 \u00BF \u0192 caf\u00E9");
  EXPECT_EQ(krv::displayText(std::string("a\tb\nc\x1B[2J\x7F")), "a\\x09b\\x0Ac\\x1B[2J\\x7F");
  EXPECT_EQ(krv::displayText(std::string("\xFF\xC3(\x80")), "\\xFF\\xC3(\\x80")
      << "bytes that are not UTF-8";
  EXPECT_EQ(krv::displayText(std::string("\xC2\x9B"
                                         "1m")),
            "\\x9B1m")
      << "a C1 control written as UTF-8";
  EXPECT_EQ(krv::displayText(std::string("x\u202Ey")), "x\\u{202E}y") << "a direction override";
  EXPECT_EQ(krv::displayText(std::wstring(L"w\x01\u2022")), "w\\x01\u2022");
  EXPECT_EQ(krv::displayText(std::string(1, '\0')), "\\x00");
}

TEST(DisplayText, CutsAtTheLimitInCharactersNotBytes) {
  const std::string bullets = [] {
    std::string s;
    for (int i = 0; i < 100; ++i) s += "\u2022";
    return s;
  }();
  const std::string cut = krv::displayText(bullets, 80);
  EXPECT_EQ(cut.substr(0, cut.size() - std::string("…").size()), bullets.substr(0, 80 * 3));
  EXPECT_EQ(cut.substr(cut.size() - std::string("…").size()), "…");
  EXPECT_EQ(krv::displayText(std::string(80, 'k'), 80), std::string(80, 'k'))
      << "exactly the limit stays whole";
  EXPECT_EQ(krv::displayText(std::string(81, 'k'), 80), std::string(80, 'k') + "…");
  EXPECT_EQ(krv::displayText(std::string(5, '\x01'), 10), "\\x01\\x01…")
      << "escapes count as what they show";
  EXPECT_EQ(krv::displayText(std::string(300, 'k'), 0), std::string(300, 'k'))
      << "0 means no limit";
}

TEST(Utf8SequenceAt, AcceptsOnlyWellFormedSequences) {
  char32_t c = 0;
  EXPECT_EQ(krv::utf8SequenceAt("\xF0\x9F\x98\x80", 0, c), 4u);
  EXPECT_EQ(c, U'\U0001F600');
  EXPECT_EQ(krv::utf8SequenceAt("\xC0\x80", 0, c), 0u) << "overlong";
  EXPECT_EQ(krv::utf8SequenceAt("\xED\xA0\x80", 0, c), 0u) << "a surrogate";
  EXPECT_EQ(krv::utf8SequenceAt("\xF4\x90\x80\x80", 0, c), 0u) << "above U+10FFFF";
  EXPECT_EQ(krv::utf8SequenceAt("\xE2\x80", 0, c), 0u) << "cut";
  EXPECT_EQ(krv::utf8SequenceAt("a", 1, c), 0u) << "past the end";
}

}  // namespace
