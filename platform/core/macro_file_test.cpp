// GCC 12 at -O2 reports the internals of std::regex (its std::function
// members) as maybe used uninitialized; the warning is about the library.
#if defined(__GNUC__) && !defined(__clang__)
#pragma GCC diagnostic ignored "-Wmaybe-uninitialized"
#endif
#include "platform/core/macro_file.h"

#include <gtest/gtest.h>

#include <fstream>
#include <regex>

#include "platform/base/file_io.h"
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
  ASSERT_TRUE(krv::base::reportTo(krv::core::writeMacroFile(dir.text("m.json"), db, data), error))
      << error;
  Krv_DbMacro readDb;
  MacroData readData;
  ASSERT_TRUE(
      krv::base::reportTo(krv::core::readMacroFile(dir.text("m.json"), readDb, readData), error))
      << error;
  // Writing what was read gives the same text: nothing was lost.
  EXPECT_EQ(krv::core::macroToText(readDb, readData), krv::core::macroToText(db, data));
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
  const std::wstring text = Krv_String(krv::core::macroToText(db, data)).str();
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
    ASSERT_TRUE(krv::base::reportTo(
        krv::core::readMacroFile(dir.text("m16.json"), readDb, readData), error))
        << error;
    EXPECT_EQ(readDb.macro()->name(), m.name()) << (little ? "little endian" : "big endian");
  }
}

TEST(MacroFile, AReadOnlyFileIsNotReplaced) {
  TempFolder dir;
  Krv_DbMacro db(krv::test::endPlateMacro());
  MacroData data = krv::test::endPlateData(db);
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(krv::core::writeMacroFile(dir.text("m.json"), db, data), error))
      << error;
  const std::string before = dir.readBytes("m.json");
  std::filesystem::permissions(dir.path() / "m.json", std::filesystem::perms(0444));
  db.macroWrite()->setName(L"Changed");
  EXPECT_FALSE(krv::base::reportTo(krv::core::writeMacroFile(dir.text("m.json"), db, data), error))
      << "refused also when the tests run as the superuser";
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  EXPECT_EQ(dir.readBytes("m.json"), before);
}

TEST(MacroFile, AFileWithoutDialogGetsTabsPerGroup) {
  Krv_DbMacro db;
  MacroData data;
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(
      krv::core::parseMacroText(R"({"format":"korvane macro","version":1,"macro":{"name":"M",
      "modules":[{"name":"A","group":"G","type":232,"patterns":[{"name":"P","nrBolts1":3}]},
                 {"name":"B","group":"G"}]}})",
                                db, data),
      error))
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
      {head + R"({"modules":[{"name":"A","cuts":[{"name":"C","offsets":{"Depth":1}}]}]}})",
       "unknown offset"},
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
    EXPECT_FALSE(krv::base::reportTo(krv::core::parseMacroText(c.text, db, data), error)) << c.text;
    EXPECT_NE(error.find(c.expected), std::string::npos) << error;
    EXPECT_EQ(db.macro()->name(), L"EndPlateBeam");
    EXPECT_EQ(data.mCaption, L"kept");
  }
}

TEST(MacroFile, ErrorsNameTheFileAndThePlace) {
  TempFolder dir;
  std::ofstream(krv::core::osPath(dir.text("macro.json")), std::ios::binary)
      << R"({"format":"korvane macro","version":1,"macro":{"modules":[{"name":"A",)"
         R"("variables":[{"name":"L","value":"ten"}]}]}})";
  Krv_DbMacro db;
  MacroData data;
  const krv::base::Status read = krv::core::readMacroFile(dir.text("macro.json"), db, data);
  EXPECT_EQ(read.text(), dir.text("macro.json").utf8() +
                             ": macro.modules[0].variables[0].value: a number is expected");
  EXPECT_EQ(read.place(), "macro.modules[0].variables[0].value");
}

TEST(MacroFile, SixteenMegabytesAreReadAndOneByteMoreIsRefused) {
  constexpr size_t kSizeLimit = 16u * 1024u * 1024u;  // the documented limit of a macro file
  const std::string macro = R"({"format":"korvane macro","version":1,"macro":{"name":"Padded"}})";
  // Blanks after the document keep it valid JSON of any size.
  std::string text = macro + std::string(kSizeLimit - macro.size(), ' ');
  Krv_DbMacro db;
  MacroData data;
  std::string error;
  EXPECT_TRUE(krv::base::reportTo(krv::core::parseMacroText(text, db, data), error)) << error;
  ASSERT_NE(db.macro(), nullptr);
  EXPECT_EQ(db.macro()->name(), L"Padded");

  text += ' ';
  Krv_DbMacro refused(krv::test::endPlateMacro());
  EXPECT_FALSE(krv::base::reportTo(krv::core::parseMacroText(text, refused, data), error));
  EXPECT_NE(error.find("larger than 16 MB"), std::string::npos) << error;
  EXPECT_EQ(refused.macro()->name(), L"EndPlateBeam") << "a refused file changes nothing";
}

TEST(MacroFile, WritingWithoutAModelFailsAndCreatesNoFile) {
  TempFolder folder;
  const Krv_String path = folder.text("empty.json");
  std::string error;
  EXPECT_FALSE(
      krv::base::reportTo(krv::core::writeMacroFile(path, Krv_DbMacro(), MacroData()), error));
  EXPECT_NE(error.find("no model"), std::string::npos) << error;
  EXPECT_FALSE(std::filesystem::exists(krv::core::osPath(path)));
}

TEST(MacroFile, AFailedWriteLeavesTheOldFileWhole) {
  TempFolder dir;
  Krv_DbMacro db(krv::test::endPlateMacro());
  MacroData data = krv::test::endPlateData(db);
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(krv::core::writeMacroFile(dir.text("m.json"), db, data), error));
  const std::string before = dir.readBytes("m.json");
  db.macroWrite()->setName(L"Changed");
  auto previous = krv::base::setRenameStep([](const auto&, const auto&) { return false; });
  EXPECT_FALSE(krv::base::reportTo(krv::core::writeMacroFile(dir.text("m.json"), db, data), error));
  krv::base::setRenameStep(previous);
  EXPECT_EQ(dir.readBytes("m.json"), before);
  EXPECT_FALSE(
      krv::base::reportTo(krv::core::readMacroFile(dir.text("missing.json"), db, data), error));
  EXPECT_NE(error.find("cannot read"), std::string::npos);
}

// ---- writing back into the text a macro was read from

const std::string kSampleMacro = KRV_SOURCE_DIR "/examples/library/Macros/EndPlateBeam.json";

// A hand-written macro: no dialog, defaults left out, numbers as a person
// writes them.
const std::string kHandWritten = R"({
  "format": "korvane macro",
  "version": 1,
  "macro": {
    "name": "M",
    "generalVariables": [{"name": "gen_gap", "value": 300}],
    "modules": [
      {
        "name": "A", "group": "G", "type": 233,
        "variables": [
          {"name": "Len", "value": 4500},
          {"name": "Gap", "value": 1e1}
        ]
      }
    ]
  }
}
)";

// The same text in other layouts a person may use.
std::string reindented(const std::string& text, const std::string& unit) {
  std::string out;
  for (size_t i = 0; i < text.size();) {
    out += text[i];
    if (text[i++] != '\n') continue;
    for (; text.compare(i, 2, "  ") == 0; i += 2) out += unit;
  }
  return out;
}
std::string withCrLf(const std::string& text) {
  return std::regex_replace(text, std::regex("\n"), "\r\n");
}

struct Layout {
  const char* name;
  std::string (*apply)(const std::string&);
};
const Layout kLayouts[] = {
    {"two spaces", [](const std::string& t) { return t; }},
    {"four spaces", [](const std::string& t) { return reindented(t, "    "); }},
    {"tabs and CR LF", [](const std::string& t) { return withCrLf(reindented(t, "\t")); }},
    {"byte order mark", [](const std::string& t) { return "\xEF\xBB\xBF" + t; }},
};

struct Read {
  Krv_DbMacro db;
  MacroData data;
  std::string source;
};

Read readText(const std::string& text) {
  Read r;
  std::string error;
  EXPECT_TRUE(krv::base::reportTo(krv::core::parseMacroText(text, r.db, r.data), error)) << error;
  r.source = text;
  return r;
}

TEST(MacroFileWriteBack, NothingChangedGivesTheSameBytes) {
  TempFolder dir;
  Read sample;
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(
      krv::core::readMacroFile(Krv_String(kSampleMacro), sample.db, sample.data, &sample.source),
      error))
      << error;
  ASSERT_TRUE(krv::base::reportTo(
      krv::core::writeMacroFile(dir.text("m.json"), sample.db, sample.data, sample.source), error))
      << error;
  EXPECT_EQ(dir.readBytes("m.json"), sample.source);
  for (const Layout& layout : kLayouts) {
    const std::string text = layout.apply(kHandWritten);
    Read r = readText(text);
    EXPECT_EQ(krv::core::macroToText(r.db, r.data, r.source), text) << layout.name;
  }
  const std::string compact =
      R"({"format":"korvane macro","version":1,"macro":{"name":"M","modules":[{"name":"A","variables":[{"name":"L","value":5}]}]}})";
  Read r = readText(compact);
  EXPECT_EQ(krv::core::macroToText(r.db, r.data, r.source), compact);
}

TEST(MacroFileWriteBack, AChangedValueChangesOnlyThatValue) {
  for (const Layout& layout : kLayouts) {
    const std::string text = layout.apply(kHandWritten);
    Read r = readText(text);
    r.db.macroWrite()->findModuleWrite(L"A")->findConstrVar(L"Len")->value = 4620.5;
    const std::string expected = std::regex_replace(text, std::regex("4500"), "4620.5");
    EXPECT_EQ(krv::core::macroToText(r.db, r.data, r.source), expected)
        << layout.name << ": 300 and 1e1 keep their spelling, no defaults and no dialog appear";
  }
}

TEST(MacroFileWriteBack, AWholeNumberIsWrittenWithoutFraction) {
  Read r = readText(kHandWritten);
  r.db.macroWrite()->setGeneralVariable(L"gen_gap", 250.0);
  EXPECT_EQ(krv::core::macroToText(r.db, r.data, r.source),
            std::regex_replace(kHandWritten, std::regex("300"), "250"));
}

TEST(MacroFileWriteBack, ANewVariableFollowsItsNeighbourInItsLayout) {
  const std::string expected =
      std::regex_replace(kHandWritten, std::regex(R"(("value": 1e1\}))"),
                         "$1,\n          {\"name\": \"Weld\", \"value\": 6, \"visible\": false}");
  for (const Layout& layout : kLayouts) {
    Read r = readText(layout.apply(kHandWritten));
    r.db.macroWrite()->findModuleWrite(L"A")->addConstrVar({L"Weld", 6.0, false, true});
    EXPECT_EQ(krv::core::macroToText(r.db, r.data, r.source), layout.apply(expected))
        << layout.name << ": the default \"settable\": true is left out";
  }
}

TEST(MacroFileWriteBack, ADefaultSpelledOutKeepsItsPlaceWhenItChanges) {
  Read sample;
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(
      krv::core::readMacroFile(Krv_String(kSampleMacro), sample.db, sample.data, &sample.source),
      error));
  sample.db.macroWrite()->findModuleWrite(L"Beam1")->findConstrVar(L"WeldSize")->settable = false;
  sample.db.macroWrite()->findModuleWrite(L"Beam1")->findCut(L"EndCut")->offsets[kCutOffset] = 0;
  const std::string expected = std::regex_replace(
      std::regex_replace(sample.source, std::regex(R"("visible": false, "settable": true)"),
                         R"("visible": false, "settable": false)"),
      std::regex(R"("Offset": 10, "PolyOffset")"), R"("Offset": 0, "PolyOffset")");
  EXPECT_EQ(krv::core::macroToText(sample.db, sample.data, sample.source), expected);
}

TEST(MacroFileWriteBack, ARemovedElementTakesItsLineAlong) {
  Read sample;
  std::string error;
  ASSERT_TRUE(krv::base::reportTo(
      krv::core::readMacroFile(Krv_String(kSampleMacro), sample.db, sample.data, &sample.source),
      error));
  auto& profiles = sample.db.macroWrite()->baseProfilesWrite();
  profiles.erase(profiles.begin());
  const std::string expected = std::regex_replace(
      sample.source,
      std::regex(R"(\n *\{"name": "Column", "section": "HEA 200", "material": "S355"\},)"), "");
  EXPECT_EQ(krv::core::macroToText(sample.db, sample.data, sample.source), expected);
}

TEST(MacroFileWriteBack, ADialogLeftOutIsAddedOnlyWhenItHoldsSomethingNew) {
  Read r = readText(kHandWritten);
  r.db.macroWrite()->findModuleWrite(L"A")->findConstrVar(L"Len")->value = 10;
  r.data.buildTabsFromMacro(r.db);  // tabs that follow the macro are made again on reading
  EXPECT_EQ(krv::core::macroToText(r.db, r.data, r.source).find("dialog"), std::string::npos);

  r.data.mTabs[0].mTitle = L"Beam";
  const std::string text = krv::core::macroToText(r.db, r.data, r.source);
  EXPECT_EQ(readText(text).data.mTabs, r.data.mTabs);
  EXPECT_NE(text.find("\"title\": \"Beam\""), std::string::npos) << text;
  EXPECT_EQ(text.find("\"design\""), std::string::npos)
      << text << "the new tab leaves its defaults out";
}

TEST(MacroFileWriteBack, AFreshFileLeavesDefaultsOut) {
  Krv_Macro m(L"M");
  Krv_Module a(L"A", L"G");
  a.addConstrVar({L"Len", 300.0, true, true});
  m.addModule(a);
  Krv_DbMacro db(m);
  MacroData data;
  data.buildTabsFromMacro(db);
  data.mCaption = L"M";
  EXPECT_EQ(krv::core::macroToText(db, data), R"({
  "format": "korvane macro",
  "version": 1,
  "macro": {
    "name": "M",
    "modules": [
      {
        "name": "A",
        "group": "G",
        "variables": [
          {"name": "Len", "value": 300}
        ]
      }
    ]
  }
}
)");
}

TEST(MacroFileWriteBack, ASourceThatIsNoLongerAMacroFileIsWrittenAnew) {
  Read r = readText(kHandWritten);
  EXPECT_EQ(krv::core::macroToText(r.db, r.data, "[1, 2"), krv::core::macroToText(r.db, r.data));
}

}  // namespace
