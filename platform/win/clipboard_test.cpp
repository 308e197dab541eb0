#include "platform/win/clipboard.h"

#include <gtest/gtest.h>

#include <cstring>

namespace {

class ClipboardTest : public ::testing::Test {
 protected:
  void SetUp() override { krv::win::resetClipboard(); }
  void TearDown() override { krv::win::resetClipboard(); }
};

TEST_F(ClipboardTest, RegisteredFormatsAreStablePerNameIgnoringCase) {
  const UINT a = RegisterClipboardFormatW(L"Vantorel dragging format");
  EXPECT_GE(a, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormatW(L"VANTOREL DRAGGING FORMAT"), a);
  const UINT b = RegisterClipboardFormatW(L"Other");
  EXPECT_NE(b, a);
  EXPECT_GE(b, 0xC000u);
  EXPECT_EQ(RegisterClipboardFormatW(L""), 0u);
  EXPECT_EQ(RegisterClipboardFormatW(nullptr), 0u);
  wchar_t name[9];
  EXPECT_EQ(GetClipboardFormatNameW(a, name, 9), 8);
  EXPECT_STREQ(name, L"Vantorel");
  EXPECT_EQ(GetClipboardFormatNameW(CF_UNICODETEXT, name, 9), 0);
}

TEST_F(ClipboardTest, DataNeedsAnOpenClipboardAndReplacedBlocksAreFreed) {
  int ownerA = 0, ownerB = 0;
  HWND a = reinterpret_cast<HWND>(&ownerA), b = reinterpret_cast<HWND>(&ownerB);
  HGLOBAL first = krv::win::globalFromText(L"first");
  EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, first), nullptr);  // not open
  ASSERT_TRUE(OpenClipboard(a));
  EXPECT_FALSE(OpenClipboard(b));  // another window holds it
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, first), first);
  const UINT own = RegisterClipboardFormatW(L"Private");
  EXPECT_TRUE(SetClipboardData(own, GlobalAlloc(GMEM_MOVEABLE, 0)));
  HGLOBAL second = krv::win::globalFromText(L"second \u2022");
  EXPECT_EQ(SetClipboardData(CF_UNICODETEXT, second), second);
  EXPECT_EQ(GlobalSize(first), 0u);  // freed when replaced
  EXPECT_EQ(GlobalFree(first), first);
  EXPECT_EQ(SetClipboardData(CF_TEXT, reinterpret_cast<HANDLE>(0x1234)), nullptr);
  EXPECT_EQ(CountClipboardFormats(), 2);
  EXPECT_EQ(EnumClipboardFormats(0), CF_UNICODETEXT);
  EXPECT_EQ(EnumClipboardFormats(CF_UNICODETEXT), own);
  EXPECT_EQ(EnumClipboardFormats(own), 0u);
  EXPECT_TRUE(CloseClipboard());

  EXPECT_TRUE(IsClipboardFormatAvailable(own));
  EXPECT_EQ(GetClipboardData(CF_UNICODETEXT), nullptr);  // closed
  EXPECT_EQ(krv::win::getClipboardText(), L"second \u2022");
  ASSERT_TRUE(OpenClipboard(b));
  void* empty = GlobalLock(GetClipboardData(own));
  EXPECT_NE(empty, nullptr);
  GlobalUnlock(GetClipboardData(own));
  EXPECT_TRUE(EmptyClipboard());
  EXPECT_EQ(GlobalSize(second), 0u);
  EXPECT_FALSE(IsClipboardFormatAvailable(CF_UNICODETEXT));
  CloseClipboard();
  EXPECT_FALSE(CloseClipboard());

  EXPECT_TRUE(krv::win::setClipboardText(L"again"));
  EXPECT_EQ(krv::win::getClipboardText(), L"again");
  EXPECT_EQ(GlobalAlloc(GMEM_MOVEABLE, SIZE_T{1} << 40), nullptr);
}

}  // namespace
