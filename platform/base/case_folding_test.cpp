#include "platform/base/case_folding.h"

#include <gtest/gtest.h>

#include <clocale>

namespace {

using namespace krv::base;

TEST(CaseFolding, LettersOfEachScriptFoldTogether) {
  struct Case {
    const char* what;
    std::u32string forms;  // all fold to the first
  } cases[] = {
      {"ASCII", U"aA"},
      {"Latin-1", U"\u00E9\u00C9"},
      {"y with diaeresis", U"\u00FF\u0178"},
      {"Latin Extended-A pairs", U"\u0101\u0100"},
      {"sharp s", U"\u00DF\u1E9E"},
      {"sigma", U"\u03C3\u03A3\u03C2"},
      {"Greek with tonos", U"\u03AC\u0386"},
      {"Kelvin sign", U"k\u212A"},
      {"Angstrom sign", U"\u00E5\u212B\u00C5"},
      {"long s", U"s\u017F"},
      {"micro sign", U"\u03BC\u00B5\u039C"},
      {"Cyrillic", U"\u0436\u0416"},
      {"Cyrillic io", U"\u0451\u0401"},
      {"Armenian", U"\u0561\u0531"},
      {"Georgian", U"\u2D00\u10A0"},
      {"Cherokee folds to capitals", U"\u13A0\uAB70"},
      {"fullwidth letters", U"\uFF41\uFF21"},
      {"Deseret", U"\U00010428\U00010400"},
  };
  for (const Case& c : cases)
    for (char32_t form : c.forms)
      EXPECT_EQ(foldCase(form), c.forms[0]) << c.what << " U+" << std::hex << unsigned(form);
}

TEST(CaseFolding, WhatMustStayApart) {
  EXPECT_EQ(foldCase(U'\u0130'), U'\u0130') << "dotted capital I folds only in Turkic rules";
  EXPECT_EQ(foldCase(U'\u0131'), U'\u0131') << "dotless small i";
  EXPECT_EQ(foldCase(U'1'), U'1');
  EXPECT_EQ(foldCase(U'\u00D7'), U'\u00D7') << "the multiplication sign among Latin-1 capitals";
  EXPECT_EQ(foldCase(U'\u00F7'), U'\u00F7');
  EXPECT_EQ(foldCase(U'\u0101' + 1), U'\u0103') << "the stride of a run of pairs";
  EXPECT_EQ(foldCase(U'\U0010FFFF'), U'\U0010FFFF');
  EXPECT_EQ(foldCase(U'\uFFFD'), U'\uFFFD');
}

// Over every code point: folding is stable, and upper or lower case never
// changes what a character folds to (but for the dotless i, whose capital
// is the plain I).
TEST(CaseFolding, FoldingIsStableAndAgreesWithUpperAndLower) {
  for (char32_t c = 0; c <= 0x10FFFF; ++c) {
    if (c >= 0xD800 && c <= 0xDFFF) continue;
    const char32_t f = foldCase(c);
    ASSERT_EQ(foldCase(f), f) << std::hex << unsigned(c);
    ASSERT_EQ(foldCase(toLower(c)), f) << std::hex << unsigned(c);
    if (c != 0x131) {
      ASSERT_EQ(foldCase(toUpper(c)), f) << std::hex << unsigned(c);
    }
  }
}

TEST(CaseMapping, UpperAndLowerAreOneCharacterMappings) {
  EXPECT_EQ(toUpper(U'\u00DF'), U'\u00DF') << "sharp s has no one-character capital";
  EXPECT_EQ(toLower(U'\u1E9E'), U'\u00DF');
  EXPECT_EQ(toUpper(U'\u03C2'), U'\u03A3');
  EXPECT_EQ(toLower(U'\u03A3'), U'\u03C3') << "lower case is never final sigma";
  EXPECT_EQ(toLower(U'\u212A'), U'k');
  EXPECT_EQ(toUpper(U'\u00FF'), U'\u0178');
  EXPECT_EQ(toUpper(U'\u0149'), U'\u0149') << "n preceded by apostrophe";
  EXPECT_EQ(toUpper(U'\u01C6'), U'\u01C4');
  EXPECT_EQ(toLower(U'\u01C5'), U'\u01C6') << "a title-case digraph";
  EXPECT_EQ(toLower(U'\u0130'), U'\u0130') << "its lower case is two characters";
  EXPECT_EQ(toUpper(U'\uAB70'), U'\u13A0');
  EXPECT_EQ(toLower(U'\u13A0'), U'\uAB70');
  EXPECT_EQ(toUpper(std::wstring_view(L"stra\u00DFe \u0436")), L"STRA\u00DFE \u0416");
  EXPECT_EQ(toLower(std::wstring_view(L"\u0394\u0399\u039A")), L"\u03B4\u03B9\u03BA");
}

TEST(CaseFolding, Utf8TextAndComparisons) {
  EXPECT_EQ(toUpperUtf8("gr\u00FC\u00DFe \u00E9t\u00E9"), "GR\u00DC\u00DFE \u00C9T\u00C9");
  EXPECT_EQ(toLowerUtf8("\u0421\u0422\u0410\u041B\u042C"), "\u0441\u0442\u0430\u043B\u044C");
  EXPECT_EQ(foldCaseUtf8("\u1E9E\u212A\xFF"), "\u00DFk\uFFFD") << "a bad byte stays replaced";
  EXPECT_EQ(compareNoCaseUtf8("Stra\u1E9Ee", "STRA\u00DFE"), 0);
  EXPECT_EQ(compareNoCaseUtf8("\u03A3\u039F\u03A6\u039F\u03A3", "\u03C3\u03BF\u03C6\u03BF\u03C2"),
            0);
  EXPECT_LT(compareNoCaseUtf8("apple", "Banana"), 0);
  EXPECT_LT(compareNoCaseUtf8("_", "a"), 0) << "letters compare as lower case";
  EXPECT_LT(compareNoCaseUtf8("abc", "ABCD"), 0);
  EXPECT_GT(compareNoCaseUtf8("\u00E9", "E"), 0);
  EXPECT_EQ(compareNoCase(U"\u212Aelvin", U"kELVIN"), 0);
  EXPECT_NE(compareNoCase(U"\u0130", U"i"), 0);
}

TEST(CaseFolding, TheProcessLocaleDoesNotMatter) {
  const std::string before = std::setlocale(LC_ALL, nullptr);
  for (const char* name : {"C", "C.UTF-8", "tr_TR.UTF-8"}) {
    if (!std::setlocale(LC_ALL, name)) continue;
    EXPECT_EQ(foldCase(U'I'), U'i') << name;
    EXPECT_EQ(toUpper(U'i'), U'I') << name;
    EXPECT_EQ(foldCase(U'\u0416'), U'\u0436') << name;
  }
  std::setlocale(LC_ALL, before.c_str());
}

}  // namespace
