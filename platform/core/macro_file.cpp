#include "platform/core/macro_file.h"

#include <algorithm>
#include <array>
#include <nlohmann/json.hpp>
#include <stdexcept>

#include "platform/base/byte_order_mark.h"
#include "platform/base/display_text.h"
#include "platform/base/file_io.h"
#include "platform/base/file_text.h"
#include "platform/base/json_document.h"
#include "platform/base/json_io.h"
#include "platform/core/file_paths.h"
#include "platform/core/json_text.h"
#include "platform/core/text_file.h"

namespace krv::core {
namespace {

using base::Integer;
using base::JsonIo;
using base::Record;
using base::Status;
// Written documents keep their members in the order they are made.
using ojson = nlohmann::ordered_json;
constexpr std::uintmax_t kMaxMacroFileBytes = 16u * 1024u * 1024u;

const base::DocumentKind& macroFileKind() {
  static const base::DocumentKind kind = [] {
    base::DocumentKind k;
    k.format = "korvane macro";
    k.version = kMacroFileVersion;
    k.what = "macro file";
    k.limits.maxBytes = kMaxMacroFileBytes;
    k.limits.maxDepth = 32;
    return k;
  }();
  return kind;
}

// A text of the file; with `nonEmpty` "" is refused.
struct KrvText {
  bool nonEmpty = false;
  Status read(const ojson& j, Krv_String& value) const {
    if (!j.is_string()) return Status::error("a text is expected");
    value = Krv_String::fromUtf8(j.get_ref<const std::string&>());
    if (nonEmpty && value.isEmpty()) return Status::error("must not be empty");
    return {};
  }
  ojson write(const Krv_String& value) const { return value.utf8(); }
};

const KrvText kName{true};
const Integer<int> kBoltCount{1, 100000};
const Integer<int> kTypeCode{0, 1000000};

// The offsets of a cut by their names ("Offset": 10); those that are 0 are
// left out.
using CutOffsets = std::array<double, kCutOffsetTypeCount>;
struct CutOffsetsText {
  Status read(const ojson& j, CutOffsets& offsets) const {
    if (!j.is_object()) return Status::error("an object is expected");
    for (auto it = j.begin(); it != j.end(); ++it) {
      const int type = cutOffsetType(Krv_String::fromUtf8(it.key()));
      if (type < 0) return Status::error("unknown offset \"" + base::quotable(it.key(), 60) + "\"");
      if (Status s = base::Number{}.read(it.value(), offsets[type]); !s) return s.within(it.key());
    }
    return {};
  }
  // A map whose absent members read as 0.
  ojson describeDefault() const { return {{"*", 0}}; }
  ojson write(const CutOffsets& offsets) const {
    ojson j = ojson::object();
    for (int t = 0; t < kCutOffsetTypeCount; ++t)
      if (offsets[t] != 0.0) j[cutOffsetName(t).utf8()] = offsets[t];
    return j;
  }
};

// ---- the macro ------------------------------------------------------------------

void mapProfile(JsonIo& io, Krv_Profile& p) {
  io.field("name", p.name, kName);
  io.optional("section", p.section, Krv_String(), KrvText{});
  io.optional("material", p.material, Krv_String(), KrvText{});
}

void mapConstrVar(JsonIo& io, Krv_ConstrVar& v) {
  io.field("name", v.name, kName);
  io.optional("value", v.value, 0.0);
  io.optional("visible", v.visible, true);
  io.optional("settable", v.settable, true);
}

void mapCut(JsonIo& io, Krv_CutConstraint& c) {
  CutOffsets offsets{};
  std::copy(std::begin(c.offsets), std::end(c.offsets), offsets.begin());
  io.field("name", c.name, kName);
  io.optional("cutType", c.cutType, 1, Integer<int>{1, 6});
  io.optional("offsets", offsets, CutOffsets{}, CutOffsetsText{});
  std::copy(offsets.begin(), offsets.end(), std::begin(c.offsets));
}

void mapPattern(JsonIo& io, Krv_BoltPattern& p) {
  io.field("name", p.name, kName);
  io.optional("type", p.typeCode, kKrvPatternTwoDirType, kTypeCode);
  io.optional("nrBolts1", p.nrBolts1, 1, kBoltCount);
  io.optional("nrBolts2", p.nrBolts2, 1, kBoltCount);
  io.optional("reverseStart1", p.reverseStart1, false);
  io.optional("reverseStart2", p.reverseStart2, false);
}

// Adds each element read with `add`; one it refuses is a duplicate name.
template <class T, class Add>
void addEach(JsonIo& io, const char* list, std::vector<T>& items, const char* what, Add add) {
  for (std::size_t i = 0; i < items.size() && io.ok(); ++i)
    if (!add(items[i]))
      io.fail(JsonIo::at(list, i), std::string("a ") + what + " of this name exists already");
}

void mapModule(JsonIo& io, Krv_Module& m) {
  Krv_String name = m.name(), group = m.groupName();
  int type = m.type();
  std::vector<Krv_ConstrVar> vars = m.constrVars();
  std::vector<Krv_CutConstraint> cuts = m.cuts();
  std::vector<Krv_BoltPattern> patterns = m.patterns();
  std::vector<Krv_Profile> placements = m.placements();
  io.field("name", name, kName);
  io.optional("group", group, Krv_String(), KrvText{});
  io.optional("type", type, kKrvGeneralModuleType, kTypeCode);
  io.list("variables", vars, Record<Krv_ConstrVar>{mapConstrVar});
  io.list("cuts", cuts, Record<Krv_CutConstraint>{mapCut});
  io.list("patterns", patterns, Record<Krv_BoltPattern>{mapPattern});
  io.list("placements", placements, Record<Krv_Profile>{mapProfile});
  if (!io.reading() || !io.ok()) return;
  m = Krv_Module(name, group, type);
  addEach(io, "variables", vars, "variable", [&](auto& v) { return m.addConstrVar(v); });
  addEach(io, "cuts", cuts, "cut", [&](auto& c) { return m.addCut(c); });
  addEach(io, "patterns", patterns, "pattern", [&](auto& p) { return m.addPattern(p); });
  addEach(io, "placements", placements, "placement", [&](auto& p) { return m.addPlacement(p); });
}

struct GeneralVariable {
  Krv_String name;
  double value = 0.0;
};

void mapGeneralVariable(JsonIo& io, GeneralVariable& v) {
  io.field("name", v.name, kName);
  io.optional("value", v.value, 0.0);
}

void mapMacro(JsonIo& io, Krv_Macro& macro) {
  Krv_String name = macro.name();
  std::vector<GeneralVariable> general;
  std::vector<Krv_Profile> baseProfiles = macro.baseProfiles();
  std::vector<Krv_Module> modules = macro.modules();
  if (io.writing()) {
    Krv_StringArray names;
    macro.getGeneralVariables(names);
    for (const auto& n : names) {
      GeneralVariable v{n};
      macro.generalVariableValue(n, v.value);
      general.push_back(v);
    }
  }
  io.optional("name", name, Krv_String(), KrvText{});
  io.list("generalVariables", general, Record<GeneralVariable>{mapGeneralVariable});
  io.list("baseProfiles", baseProfiles, Record<Krv_Profile>{mapProfile});
  io.list("modules", modules, Record<Krv_Module>{mapModule});
  if (!io.reading() || !io.ok()) return;
  macro = Krv_Macro(name);
  addEach(io, "generalVariables", general, "general variable", [&](const GeneralVariable& v) {
    Krv_StringArray names;
    macro.getGeneralVariables(names);
    if (names.contains(v.name, false)) return false;
    macro.addGeneralVariable(v.name, v.value);
    return true;
  });
  for (const Krv_Profile& p : baseProfiles) macro.addBaseProfile(p);
  addEach(io, "modules", modules, "module", [&](auto& m) { return macro.addModule(m) != nullptr; });
}

// ---- the dialog -------------------------------------------------------------------

void mapTabVariable(JsonIo& io, MacroTabVariable& v) {
  io.field("name", v.name, kName);
  io.optional("display", v.displayText, Krv_String(), KrvText{});
  io.optional("value", v.value, Krv_String(), KrvText{});
  io.optional("valueKind", v.valueKind, 1, Integer<int>{1, 5});
  io.optional("readOnly", v.readOnly, false);
}

void mapBolts(JsonIo& io, MacroBoltData& b) {
  io.optional("composition", b.mComposition, Krv_String(), KrvText{});
  io.optional("diameter", b.mDiameter, Krv_String(), KrvText{});
  io.optional("holeOffset", b.mHoleOffset, Krv_String(), KrvText{});
}

struct TabPattern {
  Krv_String name;
  int nrBolts1 = 1, nrBolts2 = 1;
};
void mapTabPattern(JsonIo& io, TabPattern& p) {
  io.field("name", p.name, kName);
  io.optional("nrBolts1", p.nrBolts1, 1, kBoltCount);
  io.optional("nrBolts2", p.nrBolts2, 1, kBoltCount);
}

struct FlexFix {
  Krv_String variable;
  bool fixed = false;
};
void mapFlexFix(JsonIo& io, FlexFix& f) {
  io.field("variable", f.variable, kName);
  io.optional("fixed", f.fixed, false);
}

struct ProfileGroup {
  Krv_String name;
  MacroProfData props;
};
void mapProfileGroup(JsonIo& io, ProfileGroup& g) {
  io.field("name", g.name, kName);
  io.optional("memberName", g.props.mMemberName, Krv_String(), KrvText{});
  io.optional("section", g.props.mSection, Krv_String(), KrvText{});
  io.optional("material", g.props.mMaterial, Krv_String(), KrvText{});
  io.optional("offsetType", g.props.mOffsetType, 0, Integer<int>{0, 1000});
  io.optional("rotation", g.props.mRotation, 0.0);
}

// The parts of a tab kept in lists of names, as records.
void tabLists(const MacroTabData& tab, std::vector<TabPattern>& patterns,
              std::vector<FlexFix>& flexFix, std::vector<ProfileGroup>& groups) {
  for (const auto& name : tab.patternNames()) {
    TabPattern p{name};
    tab.getPatternBolts(name, p.nrBolts1, p.nrBolts2);
    patterns.push_back(p);
  }
  for (const auto& name : tab.flexFixVariables()) {
    FlexFix f{name};
    bool flexible = false;
    tab.getFlexFixBtnStatus(name, flexible, f.fixed);
    flexFix.push_back(f);
  }
  for (const auto& name : tab.profileGroupNames()) {
    ProfileGroup g;
    g.name = name;
    tab.getMergedPropsOfGroup(name, g.props);
    groups.push_back(g);
  }
}

void mapTab(JsonIo& io, MacroTabData& tab) {
  Krv_String name = tab.mName, title = tab.mTitle, design = tab.mDesignName;
  int kind = tab.mKind;
  std::vector<MacroTabVariable> variables(tab.mVariables.begin(), tab.mVariables.end());
  std::vector<TabPattern> patterns;
  std::vector<FlexFix> flexFix;
  std::vector<ProfileGroup> groups;
  if (io.writing()) tabLists(tab, patterns, flexFix, groups);
  io.field("name", name, kName);
  io.optionalLike("title", title, "name", name, KrvText{});  // a tab without a title shows its name
  io.optional("kind", kind, 0, Integer<int>{0, 1000});
  io.optional("design", design, Krv_String(), KrvText{});
  io.list("variables", variables, Record<MacroTabVariable>{mapTabVariable});
  MacroBoltData bolts;
  if (io.writing() && tab.getBoltData()) bolts = *tab.getBoltData();
  if (io.describing() || (io.writing() && tab.getBoltData()) || (io.reading() && io.has("bolts")))
    io.field("bolts", bolts, Record<MacroBoltData>{mapBolts});
  io.list("patterns", patterns, Record<TabPattern>{mapTabPattern});
  io.list("flexFix", flexFix, Record<FlexFix>{mapFlexFix});
  io.list("profileGroups", groups, Record<ProfileGroup>{mapProfileGroup});
  if (!io.reading() || !io.ok()) return;
  tab = MacroTabData(name, kind);
  tab.mTitle = title;
  tab.mDesignName = design;
  for (const auto& v : variables) tab.mVariables.append(v);
  if (io.has("bolts")) tab.setBoltData(bolts);
  for (const auto& p : patterns) tab.setPatternBolts(p.name, p.nrBolts1, p.nrBolts2);
  for (const auto& f : flexFix) tab.addFlexFixVariable(f.variable, f.fixed);
  for (const auto& g : groups) tab.addProfileGroup(g.name, g.props);
}

void mapDialog(JsonIo& io, MacroData& data) {
  std::vector<MacroTabData> tabs(data.mTabs.begin(), data.mTabs.end());
  io.optional("caption", data.mCaption, Krv_String(), KrvText{});
  io.list("tabs", tabs, Record<MacroTabData>{mapTab});
  if (!io.reading() || !io.ok()) return;
  addEach(io, "tabs", tabs, "tab", [&](const MacroTabData& tab) {
    int existing = -1;
    if (data.findTab(tab.mName, existing)) return false;
    data.addTab(tab);
    return true;
  });
}

ojson dialogJson(const MacroData& data) {
  ojson j;
  JsonIo io = JsonIo::writer(j, JsonIo::Defaults::Write);
  mapDialog(io, const_cast<MacroData&>(data));  // writing leaves it alone
  return j;
}

// The whole document with every member spelled out.
ojson documentJson(const Krv_DbMacro& dbMacro, const MacroData& data) {
  ojson root{{"format", macroFileKind().format}, {"version", kMacroFileVersion}};
  ojson& macro = root["macro"] = ojson::object();
  if (dbMacro.macro()) {
    JsonIo io = JsonIo::writer(macro, JsonIo::Defaults::Write);
    mapMacro(io, const_cast<Krv_Macro&>(*dbMacro.macro()));
  }
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

// What the reader takes for members a file leaves out, as the map functions
// say it.
const JsonDefaults& macroDefaults() {
  static const JsonDefaults defaults = [] {
    JsonDefaults d;
    d.tmpl = {{"macro", Record<Krv_Macro>{mapMacro}.describe()},
              {"dialog", Record<MacroData>{mapDialog}.describe()}};
    d.alwaysWritten = {"name", "value"};
    return d;
  }();
  return defaults;
}

// Whether the text reads back as exactly the document `expected`.
bool readsBackAs(const std::string& text, const ojson& expected) {
  Krv_DbMacro dbMacro;
  MacroData data;
  return parseMacroText(text, dbMacro, data).ok() && documentJson(dbMacro, data) == expected;
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

base::Status parseMacroText(const std::string& text, Krv_DbMacro& dbMacro, MacroData& data) {
  const base::Result<ojson> root = base::readDocument(text, macroFileKind());
  if (!root) return root.status();
  JsonIo io = JsonIo::reader(*root);
  Krv_Macro macro;
  io.field("macro", macro, Record<Krv_Macro>{mapMacro});
  if (!io.ok()) return io.status();
  Krv_DbMacro newMacro(macro);
  MacroData newData;
  if (io.has("dialog")) {
    io.field("dialog", newData, Record<MacroData>{mapDialog});
    if (!io.ok()) return io.status();
  } else {
    newData.buildTabsFromMacro(newMacro);
    newData.mCaption = newMacro.macro()->name();
  }
  newData.mMacroNames.append(newMacro.macro()->name());
  newData.mObjectIds.append(newMacro.objectId());
  dbMacro = newMacro;
  data = newData;
  return {};
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

base::Status readMacroFile(const Krv_String& path, Krv_DbMacro& macro, MacroData& data,
                           std::string* source) {
  base::Result<std::string> read = base::readFile(osPath(path), kMaxMacroFileBytes);
  if (!read) return read.status();
  std::string bytes = std::move(*read);
  base::Result<std::string> decoded = base::fileTextAsUtf8(bytes);
  if (!decoded) return Status::fileError(path.utf8(), decoded.status().message());
  std::string text = std::move(*decoded);
  if (Status parsed = parseMacroText(text, macro, data); !parsed) return parsed.inFile(path.utf8());
  // The text written back is patched into: the file's own bytes, unless the
  // file was UTF-16 (then its UTF-8 text, since files are written as UTF-8).
  const base::ByteOrderMark mark = base::detectByteOrderMark(bytes);
  const bool utf16 =
      mark == base::ByteOrderMark::Utf16LittleEndian || mark == base::ByteOrderMark::Utf16BigEndian;
  if (source) *source = utf16 ? std::move(text) : std::move(bytes);
  return {};
}

base::Status writeMacroFile(const Krv_String& path, const Krv_DbMacro& macro, const MacroData& data,
                            const std::string& source) {
  if (!macro.macro()) return Status::error("the macro has no model to write");
  const Status written = base::writeFileAtomic(osPath(path), macroToText(macro, data, source));
  if (!written) return Status::error("cannot write " + path.utf8() + ": " + written.message());
  return {};
}

}  // namespace krv::core
