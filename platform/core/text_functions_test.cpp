#include "platform/core/text_functions.h"

#include <gtest/gtest.h>

#include <set>

#include "platform/core/object_export_sort.h"

TEST(KrvString, CaseInsensitiveComparisonUsesUnicodeFoldingNotJustAscii) {
  EXPECT_TRUE(Krv_String(L"Straße Ÿ").equal(L"STRAßE ÿ", false));
  EXPECT_FALSE(Krv_String(L"Straße").equal(L"STRAßE", true));
  EXPECT_TRUE(equal(L"ΣΊΣΥΦΟΣ", L"σίσυφος", false));  // final sigma folds with sigma
  EXPECT_TRUE(equal(L"\u212A", L"k", false));         // Kelvin sign
  EXPECT_TRUE(equal(L"Привет", L"пРИВЕТ", false));
  EXPECT_FALSE(equal(L"abc", L"abcd", false));
  EXPECT_FALSE(equal(L"I", L"\u0131", false));  // dotless i stays apart
}

TEST(KrvString, FindFamilyHonoursFlagAndPositions) {
  const Krv_String t = L"Beam.Name beam.NAME";
  EXPECT_EQ(t.find(L"beam", true), 10);
  EXPECT_EQ(t.find(L"beam", false), 0);
  EXPECT_EQ(t.findLast(L"name", false), 15);
  EXPECT_EQ(t.findFirstFrom(L"NAME", 6, false), 15);
  EXPECT_EQ(t.findFirstFrom(L"NAME", 6, true), 15);
  EXPECT_EQ(t.findFirstFrom(L"Name", 6, true), -1);
  EXPECT_EQ(t.findFirstFrom(L"x", 100, false), -1);
  EXPECT_EQ(t.findFirstFrom(L"Beam", -5, true), 0);
  EXPECT_TRUE(startsWith(L"double value", L"DOUBLE", false));
  EXPECT_FALSE(startsWith(L"double value", L"DOUBLE", true));
  EXPECT_TRUE(endsWith(L"Plate.Material", L".material", false));
  EXPECT_FALSE(endsWith(L"al", L".material", false));
  EXPECT_TRUE(hasSubString(L"Mapping Version 1.0", L"version", false));
  EXPECT_FALSE(contains(L"abc", L"B", true));
}

TEST(KrvString, ReplaceSubStringReplacesEveryOccurrenceOnce) {
  Krv_String t = L"aXa xA aaa";
  EXPECT_EQ(replaceSubString(t, L"xa", L"-", false), 2);
  EXPECT_EQ(t, L"a- - aaa");
  Krv_String u = L"aaa";
  EXPECT_EQ(u.replaceSubString(L"a", L"aa"), 3);  // no re-scan of inserted text
  EXPECT_EQ(u, L"aaaaaa");
  EXPECT_EQ(u.replaceSubString(L"", L"z"), 0);
}

TEST(KrvString, Utf8BothWaysKeepsSpecialCharacters) {
  const Krv_String s(u8"a\u2022b\u00BFc\u0192 \U0001F600");
  EXPECT_EQ(s.str(), L"a\u2022b\u00BFc\u0192 \U0001F600");
  EXPECT_EQ(Krv_String::fromUtf8(s.utf8()), s);
  // Malformed bytes become U+FFFD, never a crash or a lost neighbour: one
  // for each maximal ill-formed subpart (a cut sequence is one).
  EXPECT_EQ(Krv_String::fromUtf8("a\xC3(\xE2\x82"), Krv_String(L"a\uFFFD(\uFFFD"));
  EXPECT_EQ(Krv_String::fromUtf8("\xC0\xAF"), Krv_String(L"\uFFFD\uFFFD"));  // overlong '/'
}

TEST(TextFunctions, StripSymbolsAtEndsAndInside) {
  Krv_String t = L"  Double  x  ";
  stripSymbols(t, L' ', true, false);
  EXPECT_EQ(t, L"Double  x");
  t = L"  a b  ";
  stripSymbols(t, L' ', false, true);
  EXPECT_EQ(t, L"  ab  ");
  t = L"  a b  ";
  stripSymbols(t, L' ', true, true);
  EXPECT_EQ(t, L"ab");
  t = L"    ";
  stripSymbols(t, L' ', true, false);
  EXPECT_EQ(t, L"");
}

TEST(TextFunctions, SplitAtFirstSymbolWithAndWithoutTrim) {
  Krv_String l, r;
  EXPECT_TRUE(splitStringAtSymbol(L" x = y + 1 = 2", L'=', l, r, true));
  EXPECT_EQ(l, L"x");
  EXPECT_EQ(r, L"y + 1 = 2");
  EXPECT_TRUE(splitString(L"Group\u2022rest\u2022more", L"\u2022", l, r, false));
  EXPECT_EQ(l, L"Group");
  EXPECT_EQ(r, L"rest\u2022more");
  EXPECT_FALSE(splitString(L" no sep ", L"=", l, r, false));
  EXPECT_EQ(l, L" no sep ");
  EXPECT_EQ(r, L"");
  EXPECT_TRUE(splitString(L"=", L"=", l, r, true));
  EXPECT_EQ(l, L"");
  EXPECT_EQ(r, L"");
}

TEST(TextFunctions, SplitAtEverySymbolKeepsEmptyParts) {
  Krv_StringArray parts;
  EXPECT_TRUE(splitStringAtSymbol(L"a \u00BF\u00BF b\u00BF", L'\u00BF', parts, true));
  ASSERT_EQ(parts.length(), 4);
  EXPECT_EQ(parts[0], L"a");
  EXPECT_EQ(parts[1], L"");
  EXPECT_EQ(parts[2], L"b");
  EXPECT_EQ(parts[3], L"");
  EXPECT_FALSE(splitStringAtSymbol(L"one", L';', parts, false));
  EXPECT_EQ(parts.length(), 1);
  EXPECT_FALSE(splitStringAtSymbol(L"", L';', parts, false));
  EXPECT_EQ(parts.length(), 0);
}

TEST(TextFunctions, SubstrAfterAndBeforeFirstOrLast) {
  EXPECT_EQ(getSubstrAfter(L"Int  my var", L" "), L" my var");
  EXPECT_EQ(getSubstrAfter(L"Module.Plate.Name", L".", false), L"Plate.Name");
  EXPECT_EQ(getSubstrAfter(L"Module.Plate.Name", L".", true), L"Name");
  EXPECT_EQ(getSubstrBefore(L"Prof1.Name.Material", L".", true), L"Prof1.Name");
  EXPECT_EQ(getSubstrBefore(L"HEA-HEA200", L"-"), L"HEA");
  EXPECT_EQ(getSubstrAfter(L"nodot", L"."), L"");
  EXPECT_EQ(getSubstrBefore(L"nodot", L".", true), L"");
}

TEST(TextFunctions, ArrayTextRoundTripsAndTables) {
  const Krv_StringArray list{L"a", L"", L"c d"};
  EXPECT_EQ(arrToStr(list), L"a;;c d");
  EXPECT_EQ(strToArr(arrToStr(list)), list);
  EXPECT_EQ(strToArr(L"").length(), 0);
  EXPECT_EQ(strToArr(L"x||y", L"||"), (Krv_StringArray{L"x", L"y"}));

  Krv_StringTable rows;
  arrToArrArr(Krv_StringArray{L"10\t1", L"12", L"\t"}, rows);
  ASSERT_EQ(rows.length(), 3);
  EXPECT_EQ(rows[0], (Krv_StringArray{L"10", L"1"}));
  EXPECT_EQ(rows[1], (Krv_StringArray{L"12"}));
  EXPECT_EQ(rows[2], (Krv_StringArray{L"", L""}));
}

TEST(TextFunctions, CommentsAreCut) {
  Krv_String l = L"12\t5 // thickness";
  removeLineComment(l);
  EXPECT_EQ(l, L"12\t5 ");
  l = L"a/* one */b/*two*/c/* open";
  removeComments(l);
  EXPECT_EQ(l, L"abc");
  l = L"/**/";
  removeComments(l);
  EXPECT_EQ(l, L"");
}

TEST(TextFunctions, HasASubstrPrefersEarliestThenLongest) {
  Krv_String found;
  const Krv_StringArray fns{L"SUM", L"GETCELL", L"SUMIF"};
  EXPECT_TRUE(hasASubstr(L"x = sumif(a) + getcell(1)", fns, found, false));
  EXPECT_EQ(found, L"SUMIF");
  EXPECT_FALSE(hasASubstr(L"x = sumif(a)", fns, found, true));
  EXPECT_FALSE(hasASubstr(L"abc", Krv_StringArray{L""}, found, false));
}

TEST(TextFunctions, DuplicatesKeepFirstOccurrence) {
  const Krv_StringArray names{L"a", L"B", L"A", L"c", L"b", L"a"};
  Krv_StringArray dups;
  Krv_Array<int> pos;
  EXPECT_TRUE(getDuplicates(names, dups, pos, false));
  EXPECT_EQ(pos, (Krv_Array<int>{2, 4, 5}));
  EXPECT_EQ(dups, (Krv_StringArray{L"A", L"b", L"a"}));
  EXPECT_TRUE(getDuplicates(names, dups, pos, true));
  EXPECT_EQ(pos, (Krv_Array<int>{5}));
  EXPECT_TRUE(hasDuplicates(names, dups, false));
  EXPECT_EQ(dups, (Krv_StringArray{L"a", L"B"}));
  EXPECT_FALSE(hasDuplicates(Krv_StringArray{L"x", L"y"}, dups, false));
  EXPECT_TRUE(dups.isEmpty());
}

TEST(TextFunctions, NonExistingNames) {
  const Krv_StringArray used{L"Groep", L"groep1", L"Plate3", L"Plate4"};
  EXPECT_EQ(findNonExistingString(L"New", used), L"New");
  EXPECT_EQ(findNonExistingString(L"GROEP", used), L"GROEP2");
  EXPECT_EQ(findNonExistingString(L"GROEP", used, 0, true), L"GROEP");
  EXPECT_EQ(findNonExistingString(L"Plate3", used, 1), L"Plate5");
  EXPECT_EQ(findNonExistingString(L"Plate3", used, 0), L"Plate31");
}

TEST(TextFunctions, NumbersInNames) {
  EXPECT_EQ(findFirstNumbers(L"HEA 200"), L"HEA ");
  EXPECT_EQ(findFirstNumbers(L"Plate"), L"Plate");
  EXPECT_EQ(findFirstNumbers(L"12x"), L"");
  Krv_String s = L"Bolt12";
  EXPECT_TRUE(stripNumbersAtEnd(s));
  EXPECT_EQ(s, L"Bolt");
  EXPECT_FALSE(stripNumbersAtEnd(s));
  EXPECT_TRUE(isNumber(L"12"));
  EXPECT_TRUE(isNumber(L"-0.5"));
  EXPECT_TRUE(isNumber(L".5"));
  EXPECT_TRUE(isNumber(L"1e-3"));
  for (const wchar_t* no :
       {L"", L"-", L".", L"1,5", L" 1", L"1 ", L"1e", L"0x10", L"inf", L"1.2.3"})
    EXPECT_FALSE(isNumber(no)) << no;
}

TEST(TextFunctions, InvalidFileNameCharacters) {
  EXPECT_FALSE(hasInvalidFileNameChars(L"Endplate 2 (copy).txt"));
  EXPECT_FALSE(hasInvalidFileNameChars(L"Plaat\u2022\u00BF\u0192"));
  for (const wchar_t* bad :
       {L"a\\b", L"a/b", L"c:", L"*", L"why?", L"\"q\"", L"<", L">", L"a|b", L"tab\t", L"\x7f"})
    EXPECT_TRUE(hasInvalidFileNameChars(bad)) << bad;
}

TEST(TextFunctions, ColumnLetters) {
  EXPECT_EQ(getAlfabet(1), L"A");
  EXPECT_EQ(getAlfabet(26), L"Z");
  EXPECT_EQ(getAlfabet(27), L"AA");
  EXPECT_EQ(getAlfabet(52), L"AZ");
  EXPECT_EQ(getAlfabet(702), L"ZZ");
  EXPECT_EQ(getAlfabet(703), L"AAA");
  EXPECT_EQ(getAlfabet(3, true), L"c");
  EXPECT_EQ(getAlfabet(0), L"");
}

TEST(TextFunctions, RandomStrings) {
  std::set<std::wstring> seen;
  for (int i = 0; i < 50; ++i) {
    const Krv_String s = generateRandomString(24, true);
    ASSERT_EQ(s.length(), 24);
    for (wchar_t c : s.str()) EXPECT_TRUE(std::iswalnum(static_cast<wint_t>(c)) && c < 128);
    seen.insert(s.str());
  }
  EXPECT_EQ(seen.size(), 50u);
  const Krv_String caps = generateRandomString(40, false);
  for (wchar_t c : caps.str()) EXPECT_TRUE(c >= L'A' && c <= L'Z');
  EXPECT_TRUE(generateRandomString(0, true).isEmpty());
}

TEST(Sorting, NaturalOrderAndStableSorts) {
  Krv_StringArray names{L"L100x10", L"b", L"L50x5", L"a10", L"A2", L"a2"};
  sortArray(names);
  EXPECT_EQ(names, (Krv_StringArray{L"A2", L"a2", L"a10", L"b", L"L50x5", L"L100x10"}));
  EXPECT_EQ(ObjectExportAddToSorted(names, Krv_String(L"L60x6")), 5);

  struct Ctrl {
    double x;
    int id;
  };
  Krv_Array<Ctrl> row;
  for (auto c : {Ctrl{0.5, 1}, Ctrl{0.1, 2}, Ctrl{0.5, 3}, Ctrl{0.1, 4}}) row.append(c);
  ObjectExportSort(row, [](const Ctrl& c) { return c.x; });
  EXPECT_EQ(row[0].id, 2);
  EXPECT_EQ(row[1].id, 4);
  EXPECT_EQ(row[2].id, 1);
  EXPECT_EQ(row[3].id, 3);

  Krv_Array<double> w{5.0, 1.0, 3.0};
  ObjectExportSort(w);
  EXPECT_EQ(w, (Krv_Array<double>{1.0, 3.0, 5.0}));
  EXPECT_EQ(ObjectExportAddToSorted(w, 3.0), 2);
}

TEST(Sorting, DigitRunsCompareByValueWhateverTheirLeadingZeros) {
  struct Case {
    const wchar_t *a, *b;
    int expected;  // sign of compareNatural(a, b)
  };
  const Case cases[] = {
      {L"M007", L"M8", -1},       // 7 < 8 although "007" is the longer run
      {L"M8", L"M10", -1},        // 8 < 10 although '8' > '1'
      {L"M007", L"M10", -1},      // 7 < 10, both runs two or more digits long
      {L"M010", L"M9", 1},        // 10 > 9 although '0' < '9'
      {L"M0", L"M00", -1},        // equal values: the texts decide, and never equal
      {L"M007x2", L"M7x10", -1},  // equal runs go on to the next run
  };
  for (const Case& c : cases) {
    const int got = compareNatural(c.a, c.b);
    EXPECT_EQ((got > 0) - (got < 0), c.expected)
        << Krv_String(c.a).utf8() << " vs " << Krv_String(c.b).utf8();
  }
  Krv_StringArray bolts{L"M10", L"M8", L"M007"};
  ObjectExportSort(bolts);
  EXPECT_EQ(bolts, (Krv_StringArray{L"M007", L"M8", L"M10"}));
}

TEST(KrvString, IgnoresCaseAsTheFormulaEngineDoes) {
  // The same pairs the formula engine's tests use: one folding for both.
  EXPECT_TRUE(Krv_String(L"\u03A3\u039F\u03A6\u039F\u03A3")
                  .equal(L"\u03C3\u03BF\u03C6\u03BF\u03C2", false));
  EXPECT_TRUE(Krv_String(L"\u212Aelvin").equal(L"KELVIN", false));
  EXPECT_TRUE(Krv_String(L"STRA\u1E9EE").equal(L"stra\u00DFe", false));
  EXPECT_TRUE(Krv_String(L"\u0531\u0532").equal(L"\u0561\u0562", false));
  EXPECT_FALSE(Krv_String(L"\u0130").equal(L"i", false));
  EXPECT_EQ(Krv_String(L"x\uFF41b").find(L"\uFF21B", false), 1);
  Krv_String upper(L"stra\u00DFe \u03C2");
  upper.makeUpper();
  EXPECT_EQ(upper, Krv_String(L"STRA\u00DFE \u03A3"));
}
