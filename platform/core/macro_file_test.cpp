#include "platform/core/macro_file.h"

#include <gtest/gtest.h>

#include "platform/core/macro_test_macro.h"
#include "platform/core/temp_folder_for_tests.h"
#include "platform/core/text_file.h"

namespace {

TEST(MacroFile, WritesAndReadsBackEverything) {
  TempFolder dir;
  Krv_Macro m = krv::test::endPlateMacro();
  m.setName(L"Eind•plaat ¿ƒ");  // special characters survive
  m.findModuleWrite(L"Bolts1")->findPattern(Krv_String(L"Rows"))->reverseStart2 = true;
  Krv_DbMacro db(m);
  MacroData data = krv::test::endPlateData(db);
  data.mCaption = L"End plate";
  data.getTab(0)->mVariables.append({L"Len", L"Length", L"3000", 2, true});

  std::string error;
  ASSERT_TRUE(krv::writeMacroFile(dir.text("m.json"), db, data, error)) << error;
  Krv_DbMacro readDb;
  MacroData readData;
  ASSERT_TRUE(krv::readMacroFile(dir.text("m.json"), readDb, readData, error)) << error;
  // Writing what was read gives the same text: nothing was lost.
  EXPECT_EQ(krv::macroToText(readDb, readData), krv::macroToText(db, data));
  EXPECT_EQ(readDb.macro()->name(), m.name());
  EXPECT_EQ(readData.mTabs, data.mTabs);
  EXPECT_EQ(readData.mMacroNames, (Krv_StringArray{m.name()}));
}

TEST(MacroFile, Utf16FilesWithAByteOrderMarkAreRead) {
  TempFolder dir;
  Krv_Macro m = krv::test::endPlateMacro();
  m.setName(L"Eind\u2022plaat \U0001F600");  // a character beyond the basic plane too
  Krv_DbMacro db(m);
  MacroData data = krv::test::endPlateData(db);
  const std::wstring text = Krv_String(krv::macroToText(db, data)).str();
  for (bool little : {true, false}) {
    std::string bytes = little ? "\xFF\xFE" : "\xFE\xFF";
    auto unit = [&](unsigned u) {
      bytes += static_cast<char>(little ? u & 0xFF : u >> 8);
      bytes += static_cast<char>(little ? u >> 8 : u & 0xFF);
    };
    for (wchar_t c : text) {
      if (c >= 0x10000) {
        unit(0xD800 + ((c - 0x10000) >> 10));
        unit(0xDC00 + ((c - 0x10000) & 0x3FF));
      } else {
        unit(static_cast<unsigned>(c));
      }
    }
    dir.writeBytes("m16.json", bytes);
    Krv_DbMacro readDb;
    MacroData readData;
    std::string error;
    ASSERT_TRUE(krv::readMacroFile(dir.text("m16.json"), readDb, readData, error)) << error;
    EXPECT_EQ(readDb.macro()->name(), m.name()) << (little ? "little endian" : "big endian");
  }
}

TEST(MacroFile, AReadOnlyFileIsNotReplaced) {
  TempFolder dir;
  Krv_DbMacro db(krv::test::endPlateMacro());
  MacroData data = krv::test::endPlateData(db);
  std::string error;
  ASSERT_TRUE(krv::writeMacroFile(dir.text("m.json"), db, data, error)) << error;
  const std::string before = dir.readBytes("m.json");
  std::filesystem::permissions(dir.path() / "m.json", std::filesystem::perms(0444));
  db.macroWrite()->setName(L"Changed");
  EXPECT_FALSE(krv::writeMacroFile(dir.text("m.json"), db, data, error))
      << "refused also when the tests run as the superuser";
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  EXPECT_EQ(dir.readBytes("m.json"), before);
}

TEST(MacroFile, AFileWithoutDialogGetsTabsPerGroup) {
  Krv_DbMacro db;
  MacroData data;
  std::string error;
  ASSERT_TRUE(krv::parseMacroText(R"({"format":"korvane macro","version":1,"macro":{"name":"M",
      "modules":[{"name":"A","group":"G","type":232,"patterns":[{"name":"P","nrBolts1":3}]},
                 {"name":"B","group":"G"}]}})",
                                  db, data, error))
      << error;
  ASSERT_EQ(data.mTabs.length(), 1);
  EXPECT_EQ(data.mTabs[0].mName, L"G");
  EXPECT_EQ(data.mTabs[0].mKind, 1);
  EXPECT_EQ(db.macro()->findModule(L"A")->patterns()[0].typeCode, kKrvPatternTwoDirType);
}

TEST(MacroFile, MalformedFilesAreRefusedWithTheirPlace) {
  const std::string head = R"({"format":"korvane macro","version":1,"macro":)";
  struct Case {
    std::string text;
    std::string expected;
  } cases[] = {
      {"{", "malformed JSON"},
      {R"({"format":"other","version":1,"macro":{}})", "not a macro file"},
      {R"({"format":"korvane macro","version":2,"macro":{}})", "newer"},
      {R"({"format":"korvane macro","macro":{}})", "version"},
      {R"({"format":"korvane macro","version":1})", "\"macro\" is missing"},
      {head + R"({"modules":[{"name":"A"},{"name":"a"}]}})", "macro.modules[1]"},
      {head + R"({"modules":[{"group":"G"}]}})", "\"name\" is missing"},
      {head + R"({"modules":[{"name":"A","cuts":[{"name":"C","offsets":{"Depth":1}}]}]}})", "unknown offset"},
      {head + R"({"modules":[{"name":"A","variables":[{"name":"L","value":"ten"}]}]}})",
       "macro.modules[0].variables[0].value"},
      {head + R"({"modules":[{"name":"A","patterns":[{"name":"P","nrBolts1":0}]}]}})", "nrBolts1"},
      {head + R"({"modules":{}}})", "an array is expected"},
      {std::string(100, '[') + std::string(100, ']'), "nested deeper"},
  };
  for (const auto& c : cases) {
    Krv_DbMacro db(krv::test::endPlateMacro());
    MacroData data;
    data.mCaption = L"kept";
    std::string error;
    EXPECT_FALSE(krv::parseMacroText(c.text, db, data, error)) << c.text;
    EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    EXPECT_EQ(db.macro()->name(), L"EndPlateBeam");
    EXPECT_EQ(data.mCaption, L"kept");
  }
}

TEST(MacroFile, AFailedWriteLeavesTheOldFileWhole) {
  TempFolder dir;
  Krv_DbMacro db(krv::test::endPlateMacro());
  MacroData data = krv::test::endPlateData(db);
  std::string error;
  ASSERT_TRUE(krv::writeMacroFile(dir.text("m.json"), db, data, error));
  const std::string before = dir.readBytes("m.json");
  db.macroWrite()->setName(L"Changed");
  auto previous = krv::setRenameFunction([](const auto&, const auto&) { return false; });
  EXPECT_FALSE(krv::writeMacroFile(dir.text("m.json"), db, data, error));
  krv::setRenameFunction(previous);
  EXPECT_EQ(dir.readBytes("m.json"), before);
  EXPECT_FALSE(krv::readMacroFile(dir.text("missing.json"), db, data, error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
}

}  // namespace
