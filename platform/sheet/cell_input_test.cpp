#include "platform/sheet/cell_input.h"

#include <gtest/gtest.h>

namespace krv::sheet {
namespace {

CellAttributes editCell(int maxLength) {
  CellAttributes a;
  a.type = kCellTypeEdit;
  a.maxLength = maxLength;
  return a;
}

CellAttributes numberCell(double min = -99999999999999.0, double max = 99999999999999.0) {
  CellAttributes a;
  a.type = kCellTypeNumber;
  a.minValue = min;
  a.maxValue = max;
  return a;
}

// The text after typing `insert` at the end of `text`, or "(refused)".
std::wstring typedAtEnd(const CellAttributes& a, const std::wstring& text,
                        const std::wstring& insert) {
  const int end = static_cast<int>(text.size());
  auto t = typeIntoCellText(a, text, end, end, insert);
  return t ? t->text : L"(refused)";
}

TEST(CellInput, EditCellTakesOnlyWhatStillFitsItsMaximumLength) {
  const CellAttributes a = editCell(5);
  EXPECT_EQ(typedAtEnd(a, L"", L"abcdefg"), L"abcde") << "a paste is cut to the room left";
  EXPECT_EQ(typedAtEnd(a, L"abcde", L"f"), L"(refused)") << "a full cell takes no more";
  auto t = typeIntoCellText(a, L"abcde", 1, 3, L"xyz");
  ASSERT_TRUE(t.has_value());
  EXPECT_EQ(t->text, L"axyde") << "the replaced selection gives back its room: two characters";
  EXPECT_EQ(t->caret, 3);
  EXPECT_EQ(typedAtEnd(editCell(0), std::wstring(300, L'x'), L"y").size(), 301u) << "0 is no limit";
}

TEST(CellInput, AnEntryIsOneLine) {
  EXPECT_EQ(typedAtEnd(editCell(0), L"", L"ab\r\ncd"), L"ab");
  EXPECT_EQ(typedAtEnd(editCell(0), L"", L"\tx"), L"(refused)");
}

TEST(CellInput, NumberCellTakesOnlyANumberBeingWritten) {
  const CellAttributes a = numberCell();
  EXPECT_EQ(typedAtEnd(a, L"", L"-"), L"-");
  EXPECT_EQ(typedAtEnd(a, L"1,234", L".5"), L"1,234.5");
  EXPECT_EQ(typedAtEnd(a, L"12", L"a"), L"(refused)");
  EXPECT_EQ(typedAtEnd(a, L"1.2", L"."), L"(refused)") << "one decimal point";
  EXPECT_EQ(typedAtEnd(a, L"12", L"-"), L"(refused)") << "a sign only comes first";
  EXPECT_EQ(typedAtEnd(numberCell(0, 100), L"", L"-"), L"(refused)")
      << "no minus sign when nothing below 0 fits";
}

TEST(CellInput, NumberKeystrokeBeyondABoundItCannotComeBackFromIsRefused) {
  const CellAttributes a = numberCell();
  EXPECT_EQ(typedAtEnd(a, L"9999999999999", L"9"), L"99999999999999");
  EXPECT_EQ(typedAtEnd(a, L"99999999999999", L"0"), L"(refused)") << "10^15 lies above the maximum";
  EXPECT_EQ(typedAtEnd(a, L"-99999999999999", L"9"), L"(refused)");
  EXPECT_EQ(typedAtEnd(a, L"99999999999999", L".5"), L"(refused)");
  EXPECT_EQ(typedAtEnd(numberCell(10, 100), L"", L"5"), L"5") << "5 may still become 50";
}

TEST(CellInput, FinishedNumberEntryMustBeANumberWithinTheBounds) {
  const CellAttributes a = numberCell(10, 100);
  EXPECT_TRUE(checkEntry(a, L"50").ok());
  EXPECT_TRUE(checkEntry(a, L"").ok()) << "an empty entry empties the cell";
  ASSERT_FALSE(checkEntry(a, L"5").ok());
  EXPECT_NE(checkEntry(a, L"5").message().find("10 to 100"), std::string::npos)
      << checkEntry(a, L"5").message();
  EXPECT_FALSE(checkEntry(a, L"1,00").ok()) << "thousands separators come in groups of three";
  EXPECT_TRUE(checkEntry(editCell(3), L"longer than three").ok())
      << "texts are bounded while typed";
}

TEST(CellInput, PastedFieldsAreFittedToTheirCellOrRefused) {
  EXPECT_EQ(pastedField(editCell(3), L"abcdef").valueOr(L"refused"), L"abc");
  EXPECT_EQ(pastedField(numberCell(), L"1,500").valueOr(L"refused"), L"1,500");
  const auto refused = pastedField(numberCell(), L"1E+15");
  EXPECT_FALSE(refused.ok());
  EXPECT_NE(refused.status().message().find("1E+15"), std::string::npos) << refused.status().text();
  EXPECT_EQ(pastedField(numberCell(), L"=A1*2").valueOr(L"refused"), L"=A1*2")
      << "a formula is pasted as it is";
}

TEST(CellInput, CheckBoxesButtonsPicturesAndLockedCellsTakeNoTyping) {
  CellAttributes a;
  EXPECT_TRUE(takesTypedText(a));
  for (int type : {kCellTypeCheckBox, kCellTypeButton, kCellTypePicture}) {
    a.type = type;
    EXPECT_FALSE(takesTypedText(a)) << "type " << type;
    EXPECT_FALSE(typeIntoCellText(a, L"", 0, 0, L"1").has_value());
  }
  CellAttributes locked = editCell(10);
  locked.locked = true;
  EXPECT_FALSE(takesTypedText(locked));
}

}  // namespace
}  // namespace krv::sheet
