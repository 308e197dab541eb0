#include "platform/core/macro_file.h"

#include <cmath>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "platform/base/byte_order_mark.h"
#include "platform/base/display_text.h"
#include "platform/base/file_io.h"
#include "platform/base/file_text.h"
#include "platform/core/file_paths.h"
#include "platform/core/json_text.h"
#include "platform/core/text_file.h"

namespace krv {
namespace {

using json = nlohmann::json;
// Written documents keep their members in the order they are made.
using ojson = nlohmann::ordered_json;
constexpr std::uintmax_t kMaxMacroFileBytes = 16u * 1024u * 1024u;
constexpr int kMaxDepth = 32;
const char* const kFormat = "korvane macro";

// A refusal of the file, with the place where it happened.
struct FileError : std::runtime_error {
  using std::runtime_error::runtime_error;
};

[[noreturn]] void fail(const std::string& where, const std::string& what) { throw FileError(where + ": " + what); }

// Nesting depth of arrays and objects, outside strings.
int nestingDepth(const std::string& text) {
  int depth = 0, deepest = 0;
  bool inString = false, escaped = false;
  for (char c : text) {
    if (inString) {
      if (escaped) escaped = false;
      else if (c == '\\') escaped = true;
      else if (c == '"') inString = false;
      continue;
    }
    if (c == '"') inString = true;
    else if (c == '[' || c == '{') deepest = std::max(deepest, ++depth);
    else if (c == ']' || c == '}') --depth;
  }
  return deepest;
}

const json* member(const json& object, const char* name) {
  auto it = object.find(name);
  return it == object.end() ? nullptr : &*it;
}

const json& requireObject(const json& j, const std::string& where) {
  if (!j.is_object()) fail(where, "an object is expected");
  return j;
}

Krv_String getText(const json& object, const char* name, const std::string& where, bool required = false) {
  const json* m = member(object, name);
  if (!m) {
    if (required) fail(where, std::string("the member \"") + name + "\" is missing");
    return Krv_String();
  }
  if (!m->is_string()) fail(where + "." + name, "a text is expected");
  Krv_String text = Krv_String::fromUtf8(m->get<std::string>());
  if (required && text.isEmpty()) fail(where + "." + name, "must not be empty");
  return text;
}

double getNumber(const json& object, const char* name, const std::string& where, double fallback) {
  const json* m = member(object, name);
  if (!m) return fallback;
  if (!m->is_number()) fail(where + "." + name, "a number is expected");
  const double v = m->get<double>();
  if (!std::isfinite(v)) fail(where + "." + name, "a finite number is expected");
  return v;
}

int getInt(const json& object, const char* name, const std::string& where, int fallback, int min, int max) {
  const json* m = member(object, name);
  if (!m) return fallback;
  if (!m->is_number_integer()) fail(where + "." + name, "a whole number is expected");
  const long long v = m->get<long long>();
  if (v < min || v > max)
    fail(where + "." + name, "must lie between " + std::to_string(min) + " and " + std::to_string(max));
  return static_cast<int>(v);
}

bool getBool(const json& object, const char* name, const std::string& where, bool fallback) {
  const json* m = member(object, name);
  if (!m) return fallback;
  if (!m->is_boolean()) fail(where + "." + name, "true or false is expected");
  return m->get<bool>();
}

// Calls fn(element, where) for each element of an optional array member.
template <typename Fn>
void forEach(const json& object, const char* name, const std::string& where, Fn fn) {
  const json* m = member(object, name);
  if (!m) return;
  if (!m->is_array()) fail(where + "." + name, "an array is expected");
  for (size_t i = 0; i < m->size(); ++i) {
    const std::string at = where + "." + name + "[" + std::to_string(i) + "]";
    fn(requireObject((*m)[i], at), at);
  }
}

Krv_Profile readProfile(const json& j, const std::string& where) {
  Krv_Profile p;
  p.name = getText(j, "name", where, true);
  p.section = getText(j, "section", where);
  p.material = getText(j, "material", where);
  return p;
}

Krv_Module readModule(const json& j, const std::string& where) {
  Krv_Module module(getText(j, "name", where, true), getText(j, "group", where),
                    getInt(j, "type", where, kKrvGeneralModuleType, 0, 1000000));
  forEach(j, "variables", where, [&](const json& v, const std::string& at) {
    Krv_ConstrVar var;
    var.name = getText(v, "name", at, true);
    var.value = getNumber(v, "value", at, 0.0);
    var.visible = getBool(v, "visible", at, true);
    var.settable = getBool(v, "settable", at, true);
    if (!module.addConstrVar(var)) fail(at, "a variable of this name exists already");
  });
  forEach(j, "cuts", where, [&](const json& c, const std::string& at) {
    Krv_CutConstraint cut;
    cut.name = getText(c, "name", at, true);
    cut.cutType = getInt(c, "cutType", at, 1, 1, 6);
    if (const json* offsets = member(c, "offsets")) {
      if (!offsets->is_object()) fail(at + ".offsets", "an object is expected");
      for (auto it = offsets->begin(); it != offsets->end(); ++it) {
        const int type = cutOffsetType(Krv_String::fromUtf8(it.key()));
        if (type < 0) fail(at + ".offsets", "unknown offset \"" + it.key() + "\"");
        if (!it->is_number() || !std::isfinite(it->get<double>()))
          fail(at + ".offsets." + it.key(), "a finite number is expected");
        cut.offsets[type] = it->get<double>();
      }
    }
    if (!module.addCut(cut)) fail(at, "a cut of this name exists already");
  });
  forEach(j, "patterns", where, [&](const json& p, const std::string& at) {
    Krv_BoltPattern pattern;
    pattern.name = getText(p, "name", at, true);
    pattern.typeCode = getInt(p, "type", at, kKrvPatternTwoDirType, 0, 1000000);
    pattern.nrBolts1 = getInt(p, "nrBolts1", at, 1, 1, 100000);
    pattern.nrBolts2 = getInt(p, "nrBolts2", at, 1, 1, 100000);
    pattern.reverseStart1 = getBool(p, "reverseStart1", at, false);
    pattern.reverseStart2 = getBool(p, "reverseStart2", at, false);
    if (!module.addPattern(pattern)) fail(at, "a pattern of this name exists already");
  });
  forEach(j, "placements", where, [&](const json& p, const std::string& at) {
    if (!module.addPlacement(readProfile(p, at))) fail(at, "a placement of this name exists already");
  });
  return module;
}

Krv_Macro readMacro(const json& j, const std::string& where) {
  requireObject(j, where);
  Krv_Macro macro(getText(j, "name", where));
  forEach(j, "generalVariables", where, [&](const json& v, const std::string& at) {
    const Krv_String name = getText(v, "name", at, true);
    Krv_StringArray names;
    macro.getGeneralVariables(names);
    if (names.contains(name, false)) fail(at, "a general variable of this name exists already");
    macro.addGeneralVariable(name, getNumber(v, "value", at, 0.0));
  });
  forEach(j, "baseProfiles", where,
          [&](const json& p, const std::string& at) { macro.addBaseProfile(readProfile(p, at)); });
  forEach(j, "modules", where, [&](const json& m, const std::string& at) {
    if (!macro.addModule(readModule(m, at))) fail(at, "a module of this name exists already");
  });
  return macro;
}

MacroTabData readTab(const json& j, const std::string& where) {
  MacroTabData tab(getText(j, "name", where, true), getInt(j, "kind", where, 0, 0, 1000));
  if (member(j, "title")) tab.mTitle = getText(j, "title", where);
  tab.mDesignName = getText(j, "design", where);
  forEach(j, "variables", where, [&](const json& v, const std::string& at) {
    MacroTabVariable var;
    var.name = getText(v, "name", at, true);
    var.displayText = getText(v, "display", at);
    var.value = getText(v, "value", at);
    var.valueKind = getInt(v, "valueKind", at, 1, 1, 5);
    var.readOnly = getBool(v, "readOnly", at, false);
    tab.mVariables.append(var);
  });
  if (const json* bolts = member(j, "bolts")) {
    const std::string at = where + ".bolts";
    requireObject(*bolts, at);
    MacroBoltData data;
    data.mComposition = getText(*bolts, "composition", at);
    data.mDiameter = getText(*bolts, "diameter", at);
    data.mHoleOffset = getText(*bolts, "holeOffset", at);
    tab.setBoltData(data);
  }
  forEach(j, "patterns", where, [&](const json& p, const std::string& at) {
    tab.setPatternBolts(getText(p, "name", at, true), getInt(p, "nrBolts1", at, 1, 1, 100000),
                        getInt(p, "nrBolts2", at, 1, 1, 100000));
  });
  forEach(j, "flexFix", where, [&](const json& f, const std::string& at) {
    tab.addFlexFixVariable(getText(f, "variable", at, true), getBool(f, "fixed", at, false));
  });
  forEach(j, "profileGroups", where, [&](const json& g, const std::string& at) {
    MacroProfData props;
    props.mMemberName = getText(g, "memberName", at);
    props.mSection = getText(g, "section", at);
    props.mMaterial = getText(g, "material", at);
    props.mOffsetType = getInt(g, "offsetType", at, 0, 0, 1000);
    props.mRotation = getNumber(g, "rotation", at, 0.0);
    tab.addProfileGroup(getText(g, "name", at, true), props);
  });
  return tab;
}

std::string u8(const Krv_String& s) { return s.utf8(); }

ojson profileJson(const Krv_Profile& p) {
  return ojson{{"name", u8(p.name)}, {"section", u8(p.section)}, {"material", u8(p.material)}};
}

ojson macroJson(const Krv_Macro& macro) {
  ojson j = ojson::object();
  j["name"] = u8(macro.name());
  Krv_StringArray names;
  macro.getGeneralVariables(names);
  ojson gen = ojson::array();
  for (const auto& n : names) {
    double v = 0;
    macro.generalVariableValue(n, v);
    gen.push_back({{"name", u8(n)}, {"value", v}});
  }
  j["generalVariables"] = gen;
  ojson base = ojson::array();
  for (const auto& p : macro.baseProfiles()) base.push_back(profileJson(p));
  j["baseProfiles"] = base;
  ojson modules = ojson::array();
  for (const auto& m : macro.modules()) {
    ojson mj{{"name", u8(m.name())}, {"group", u8(m.groupName())}, {"type", m.type()}};
    ojson vars = ojson::array();
    for (const auto& v : m.constrVars())
      vars.push_back({{"name", u8(v.name)}, {"value", v.value}, {"visible", v.visible}, {"settable", v.settable}});
    mj["variables"] = vars;
    ojson cuts = ojson::array();
    for (const auto& c : m.cuts()) {
      ojson offsets = ojson::object();
      for (int t = 0; t < kCutOffsetTypeCount; ++t)
        if (c.offsets[t] != 0.0) offsets[u8(cutOffsetName(t))] = c.offsets[t];
      cuts.push_back({{"name", u8(c.name)}, {"cutType", c.cutType}, {"offsets", offsets}});
    }
    mj["cuts"] = cuts;
    ojson patterns = ojson::array();
    for (const auto& p : m.patterns())
      patterns.push_back({{"name", u8(p.name)},
                          {"type", p.typeCode},
                          {"nrBolts1", p.nrBolts1},
                          {"nrBolts2", p.nrBolts2},
                          {"reverseStart1", p.reverseStart1},
                          {"reverseStart2", p.reverseStart2}});
    mj["patterns"] = patterns;
    ojson placements = ojson::array();
    for (const auto& p : m.placements()) placements.push_back(profileJson(p));
    mj["placements"] = placements;
    modules.push_back(mj);
  }
  j["modules"] = modules;
  return j;
}

ojson tabJson(const MacroTabData& tab) {
  ojson j{{"name", u8(tab.mName)},
          {"title", u8(tab.mTitle)},
          {"kind", tab.mKind},
          {"design", u8(tab.mDesignName)}};
  ojson vars = ojson::array();
  for (const auto& v : tab.mVariables)
    vars.push_back({{"name", u8(v.name)},
                    {"display", u8(v.displayText)},
                    {"value", u8(v.value)},
                    {"valueKind", v.valueKind},
                    {"readOnly", v.readOnly}});
  j["variables"] = vars;
  if (const MacroBoltData* b = tab.getBoltData())
    j["bolts"] = {{"composition", u8(b->mComposition)}, {"diameter", u8(b->mDiameter)}, {"holeOffset", u8(b->mHoleOffset)}};
  ojson patterns = ojson::array();
  for (const auto& name : tab.patternNames()) {
    int n1 = 1, n2 = 1;
    tab.getPatternBolts(name, n1, n2);
    patterns.push_back({{"name", u8(name)}, {"nrBolts1", n1}, {"nrBolts2", n2}});
  }
  j["patterns"] = patterns;
  ojson flexFix = ojson::array();
  for (const auto& name : tab.flexFixVariables()) {
    bool flexible = false, fixed = false;
    tab.getFlexFixBtnStatus(name, flexible, fixed);
    flexFix.push_back({{"variable", u8(name)}, {"fixed", fixed}});
  }
  j["flexFix"] = flexFix;
  ojson groups = ojson::array();
  for (const auto& name : tab.profileGroupNames()) {
    MacroProfData p;
    tab.getMergedPropsOfGroup(name, p);
    groups.push_back({{"name", u8(name)},
                      {"memberName", u8(p.mMemberName)},
                      {"section", u8(p.mSection)},
                      {"material", u8(p.mMaterial)},
                      {"offsetType", p.mOffsetType},
                      {"rotation", p.mRotation}});
  }
  j["profileGroups"] = groups;
  return j;
}

ojson dialogJson(const MacroData& data) {
  ojson tabs = ojson::array();
  for (const auto& t : data.mTabs) tabs.push_back(tabJson(t));
  return {{"caption", u8(data.mCaption)}, {"tabs", tabs}};
}

// The whole document with every member spelled out.
ojson documentJson(const Krv_DbMacro& dbMacro, const MacroData& data) {
  ojson root{{"format", kFormat}, {"version", kMacroFileVersion}};
  root["macro"] = dbMacro.macro() ? macroJson(*dbMacro.macro()) : ojson::object();
  root["dialog"] = dialogJson(data);
  return root;
}

// The dialog a file without one reads as: the tabs made from the macro.
ojson dialogMadeFromMacro(const Krv_DbMacro& dbMacro) {
  MacroData made;
  if (dbMacro.macro()) {
    made.buildTabsFromMacro(dbMacro);
    made.mCaption = dbMacro.macro()->name();
  }
  return dialogJson(made);
}

// What the reader takes for members a file leaves out.
const JsonDefaults& macroDefaults() {
  static const JsonDefaults defaults = [] {
    const ojson profile{{"section", ""}, {"material", ""}};
    const ojson module{
        {"group", ""},
        {"type", kKrvGeneralModuleType},
        {"variables", ojson::array({{{"value", 0}, {"visible", true}, {"settable", true}}})},
        {"cuts", ojson::array({{{"cutType", 1}, {"offsets", {{"*", 0}}}}})},
        {"patterns", ojson::array({{{"type", kKrvPatternTwoDirType},
                                    {"nrBolts1", 1},
                                    {"nrBolts2", 1},
                                    {"reverseStart1", false},
                                    {"reverseStart2", false}}})},
        {"placements", ojson::array({profile})}};
    const ojson tab{
        {"title", {{"$sibling", "name"}}},
        {"kind", 0},
        {"design", ""},
        {"variables",
         ojson::array({{{"display", ""}, {"value", ""}, {"valueKind", 1}, {"readOnly", false}}})},
        {"bolts", {{"composition", ""}, {"diameter", ""}, {"holeOffset", ""}}},
        {"patterns", ojson::array({{{"nrBolts1", 1}, {"nrBolts2", 1}}})},
        {"flexFix", ojson::array({{{"fixed", false}}})},
        {"profileGroups", ojson::array({{{"memberName", ""},
                                         {"section", ""},
                                         {"material", ""},
                                         {"offsetType", 0},
                                         {"rotation", 0}}})}};
    JsonDefaults d;
    d.tmpl = {{"macro",
               {{"name", ""},
                {"generalVariables", ojson::array({{{"value", 0}}})},
                {"baseProfiles", ojson::array({profile})},
                {"modules", ojson::array({module})}}},
              {"dialog", {{"caption", ""}, {"tabs", ojson::array({tab})}}}};
    d.alwaysWritten = {"name", "value"};
    return d;
  }();
  return defaults;
}

// Whether the text reads back as exactly the document `expected`.
bool readsBackAs(const std::string& text, const ojson& expected) {
  Krv_DbMacro dbMacro;
  MacroData data;
  std::string error;
  return parseMacroText(text, dbMacro, data, error) && documentJson(dbMacro, data) == expected;
}

// The source text changed only where the document differs from it; empty
// when the source cannot be patched.
std::string patchedSource(const std::string& source, const ojson& document,
                          const Krv_DbMacro& dbMacro) {
  try {
    ojson wanted = document;
    const ojson original = ojson::parse(source);
    if (original.is_object() && !original.contains("dialog") &&
        wanted["dialog"] == dialogMadeFromMacro(dbMacro))
      wanted.erase("dialog");
    std::string text = patchJsonText(source, wanted, macroDefaults());
    if (readsBackAs(text, document)) return text;
  } catch (const std::exception&) {
  }
  return std::string();
}

}  // namespace

bool parseMacroText(const std::string& text, Krv_DbMacro& dbMacro, MacroData& data, std::string& error) {
  if (text.size() > kMaxMacroFileBytes) {
    error = "the macro file is larger than 16 MB";
    return false;
  }
  if (nestingDepth(text) > kMaxDepth) {
    error = "the macro file is nested deeper than " + std::to_string(kMaxDepth) + " levels";
    return false;
  }
  try {
    const json root = json::parse(text);
    requireObject(root, "file");
    const json* format = member(root, "format");
    if (!format || !format->is_string() || format->get<std::string>() != kFormat)
      fail("format", std::string("not a macro file (\"format\" must be \"") + kFormat + "\")");
    const int version = getInt(root, "version", "file", -1, 0, 1000000);
    if (version < 1) fail("version", "the member \"version\" is missing");
    if (version > kMacroFileVersion)
      fail("version", "version " + std::to_string(version) + " is newer than this program reads (" +
                          std::to_string(kMacroFileVersion) + ")");
    const json* macroJ = member(root, "macro");
    if (!macroJ) fail("file", "the member \"macro\" is missing");
    Krv_DbMacro newMacro(readMacro(*macroJ, "macro"));
    MacroData newData;
    if (const json* dialog = member(root, "dialog")) {
      requireObject(*dialog, "dialog");
      newData.mCaption = getText(*dialog, "caption", "dialog");
      forEach(*dialog, "tabs", "dialog", [&](const json& t, const std::string& at) {
        int existing = -1;
        MacroTabData tab = readTab(t, at);
        if (newData.findTab(tab.mName, existing)) fail(at, "a tab of this name exists already");
        newData.addTab(tab);
      });
    } else {
      newData.buildTabsFromMacro(newMacro);
      newData.mCaption = newMacro.macro()->name();
    }
    newData.mMacroNames.append(newMacro.macro()->name());
    newData.mObjectIds.append(newMacro.objectId());
    dbMacro = newMacro;
    data = newData;
    return true;
  } catch (const FileError& e) {
    // Messages may quote names and bytes of the file.
    error = base::displayText(std::string_view(e.what()), 300);
  } catch (const json::exception& e) {
    error = "malformed JSON: " + base::displayText(std::string_view(e.what()), 300);
  }
  return false;
}

std::string macroToText(const Krv_DbMacro& dbMacro, const MacroData& data,
                        const std::string& source) {
  const ojson document = documentJson(dbMacro, data);
  if (!source.empty()) {
    std::string patched = patchedSource(source, document, dbMacro);
    if (!patched.empty()) return patched;
  }
  ojson lean = document;
  if (lean["dialog"] == dialogMadeFromMacro(dbMacro)) lean.erase("dialog");
  std::string text = writeJsonText(withoutDefaults(lean, macroDefaults()));
  // Should leaving the defaults out ever lose something, every member is
  // written.
  return readsBackAs(text, document) ? text : writeJsonText(document);
}

bool readMacroFile(const Krv_String& path, Krv_DbMacro& macro, MacroData& data, std::string& error,
                   std::string* source) {
  base::Result<std::string> read = base::readFile(osPath(path), kMaxMacroFileBytes);
  if (!base::reportTo(read.status(), error)) return false;
  std::string bytes = std::move(*read);
  base::Result<std::string> text = base::fileTextAsUtf8(bytes);
  if (!base::reportTo(text.status(), error) || !parseMacroText(*text, macro, data, error)) {
    error = path.utf8() + ": " + error;
    return false;
  }
  // The text written back is patched into: the file's own bytes, unless the
  // file was UTF-16 (then its UTF-8 text, since files are written as UTF-8).
  const base::ByteOrderMark mark = base::detectByteOrderMark(bytes);
  const bool utf16 =
      mark == base::ByteOrderMark::Utf16LittleEndian || mark == base::ByteOrderMark::Utf16BigEndian;
  if (source) *source = utf16 ? std::move(*text) : std::move(bytes);
  return true;
}

bool writeMacroFile(const Krv_String& path, const Krv_DbMacro& macro, const MacroData& data,
                    std::string& error, const std::string& source) {
  if (!macro.macro()) {
    error = "the macro has no model to write";
    return false;
  }
  const base::Status written = base::writeFileAtomic(osPath(path), macroToText(macro, data, source));
  if (!written) {
    error = "cannot write " + path.utf8() + ": " + written.message();
    return false;
  }
  return true;
}

}  // namespace krv
