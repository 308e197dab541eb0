#include "platform/base/file_text.h"

#include <gtest/gtest.h>

#include "platform/base/byte_order_mark.h"
#include "platform/base/display_text.h"

namespace {

using namespace krv::base;

std::string utf16(const std::u16string& text, bool littleEndian, bool mark = true) {
  std::string out = mark ? (littleEndian ? "\xFF\xFE" : "\xFE\xFF") : "";
  for (char16_t c : text) {
    const char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
    out += littleEndian ? lo : hi;
    out += littleEndian ? hi : lo;
  }
  return out;
}

TEST(ByteOrderMark, DetectsAndStripsEachMark) {
  ByteOrderMark found;
  EXPECT_EQ(stripByteOrderMark("\xEF\xBB\xBFx", &found), "x");
  EXPECT_EQ(found, ByteOrderMark::Utf8);
  EXPECT_EQ(stripByteOrderMark("\xFF\xFEx", &found), "x");
  EXPECT_EQ(found, ByteOrderMark::Utf16LittleEndian);
  EXPECT_EQ(stripByteOrderMark("\xFE\xFFx", &found), "x");
  EXPECT_EQ(found, ByteOrderMark::Utf16BigEndian);
  EXPECT_EQ(stripByteOrderMark("\xEF\xBBx", &found), "\xEF\xBBx") << "a cut mark is no mark";
  EXPECT_EQ(found, ByteOrderMark::None);
  EXPECT_EQ(stripByteOrderMark(""), "");
}

TEST(FileTextAsUtf8, ConvertsUtf16AndDropsAUtf8Mark) {
  const std::string expected = "{\"n\": \"\u2022\u00BF\u0192 \U0001F600\"}";
  const std::u16string text = u"{\"n\": \"\u2022\u00BF\u0192 \U0001F600\"}";
  for (bool little : {true, false}) {
    const Result<std::string> utf8 = fileTextAsUtf8(utf16(text, little));
    ASSERT_TRUE(utf8.ok()) << utf8.status().text();
    EXPECT_EQ(*utf8, expected) << (little ? "little endian" : "big endian");
  }
  EXPECT_EQ(fileTextAsUtf8("\xEF\xBB\xBF" + expected).valueOr("?"), expected);
  EXPECT_EQ(fileTextAsUtf8(expected).valueOr("?"), expected);
  EXPECT_EQ(fileTextAsUtf8("").valueOr("?"), "");
  EXPECT_EQ(fileTextAsUtf8("\xFF\xFE").valueOr("?"), "") << "a mark alone is an empty text";
}

TEST(FileTextAsUtf8, RefusesBrokenUtf16AndNamesUtf16WithoutAMark) {
  auto error = [](const std::string& bytes) { return fileTextAsUtf8(bytes).status().message(); };
  EXPECT_NE(error(utf16(u"{}", true) + "x").find("ends in half a character"), std::string::npos);
  EXPECT_EQ(error(utf16(u"a\xD800"
                        u"b",
                        false)),
            "the file is UTF-16 big endian and has an unpaired surrogate at byte 4");
  EXPECT_FALSE(fileTextAsUtf8(utf16(u"a\xDC00", true)).ok())
      << "a low surrogate alone is no character either";
  EXPECT_NE(error(utf16(u"{\"a\": 1}", true, false)).find("UTF-16 without a byte order mark"),
            std::string::npos);
}

TEST(DisplayText, EscapesControlsAndInvalidBytesAndKeepsValidText) {
  EXPECT_EQ(displayText(std::string("Plate \u2022 \u00BF \u0192 caf\u00E9")),
            "Plate \u2022 \u00BF \u0192 caf\u00E9");
  EXPECT_EQ(displayText(std::string("a\tb\nc\x1B[2J\x7F")), "a\\x09b\\x0Ac\\x1B[2J\\x7F");
  EXPECT_EQ(displayText(std::string("\xFF\xC3(\x80")), "\\xFF\\xC3(\\x80")
      << "bytes that are not UTF-8";
  EXPECT_EQ(displayText(std::string("\xC2\x9B"
                                    "1m")),
            "\\x9B1m")
      << "a C1 control written as UTF-8";
  EXPECT_EQ(displayText(std::string("x\u202Ey")), "x\\u{202E}y") << "a direction override";
  EXPECT_EQ(displayText(std::wstring(L"w\x01\u2022")), "w\\x01\u2022");
  EXPECT_EQ(displayText(std::string(1, '\0')), "\\x00");
}

TEST(DisplayText, CutsAtTheLimitInCharactersNotBytes) {
  std::string bullets;
  for (int i = 0; i < 100; ++i) bullets += "\u2022";
  const std::string ellipsis = "…";
  const std::string cut = displayText(bullets, 80);
  EXPECT_EQ(cut.substr(0, cut.size() - ellipsis.size()), bullets.substr(0, 80 * 3));
  EXPECT_EQ(cut.substr(cut.size() - ellipsis.size()), ellipsis);
  EXPECT_EQ(displayText(std::string(80, 'k'), 80), std::string(80, 'k'))
      << "exactly the limit stays whole";
  EXPECT_EQ(displayText(std::string(81, 'k'), 80), std::string(80, 'k') + ellipsis);
  EXPECT_EQ(displayText(std::string(5, '\x01'), 10), "\\x01\\x01…")
      << "escapes count as what they show";
  EXPECT_EQ(displayText(std::string(300, 'k'), 0), std::string(300, 'k')) << "0 means no limit";
}

}  // namespace
