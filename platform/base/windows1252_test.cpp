#include "platform/base/windows1252.h"

#include <gtest/gtest.h>

namespace {

using namespace krv::base;

TEST(Windows1252, EveryByteReadsAndWritesBack) {
  std::string all;
  for (int b = 0; b < 256; ++b) all += static_cast<char>(b);
  const std::wstring wide = cp1252ToWide(all);
  ASSERT_EQ(wide.size(), 256u);
  EXPECT_EQ(wideToCp1252(wide), all);
  EXPECT_EQ(wide[0x80], L'\u20AC');
  EXPECT_EQ(wide[0x9F], L'\u0178');
  EXPECT_EQ(wide[0xE9], L'\u00E9');
  for (unsigned char undefined : {0x81, 0x8D, 0x8F, 0x90, 0x9D})
    EXPECT_EQ(cp1252Char(undefined), undefined) << "undefined bytes are their C1 controls";
}

TEST(Windows1252, CharactersOutsideTheCodePageBecomeQuestionMarks) {
  EXPECT_EQ(wideToCp1252(L"\u20AC\u2122\u0100\U0001F600x"), "\x80\x99??x");
  EXPECT_EQ(cp1252Byte(U'\u0100'), -1);
  EXPECT_EQ(cp1252Byte(U'\u2022'), 0x95);
  EXPECT_EQ(cp1252Byte(U'\u0085'), -1) << "a C1 control the code page puts elsewhere";
}

}  // namespace
