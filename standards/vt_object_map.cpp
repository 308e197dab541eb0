// One mapped object: a sheet variable tied to a value of the macro.
#include "standards/vt_object_map.h"

#include "platform/core/c_number_text.h"
#include "platform/core/krv_db_macro.h"
#include "platform/core/macro_access.h"
#include "platform/core/macro_data.h"
#include "platform/core/text_functions.h"
#include "standards/vt_var_cell.h"

namespace krv::standards {
namespace {

struct KindInfo {
  const wchar_t* word;
  VtValueType type;
};

// Index kind - 1. The order is also the order in which a kind word is
// recognised at the start of a text.
const KindInfo kKinds[kMapKindCount] = {
    {L"Distance", Double},          {L"GenVar", Double},           {L"CutOffset", Double},
    {L"CutPolyOffset", Double},     {L"CutLengthOffset", Double},  {L"CutCenterOffset", Double},
    {L"CutInsideOffset", Double},   {L"CutOutsideOffset", Double}, {L"CutChamferOffset1", Double},
    {L"CutChamferOffset2", Double}, {L"CutRadius", Double},        {L"PrPlName", String},
    {L"PrPlMaterial", String},      {L"OwnedMemberName", String},  {L"MemberSectionSize", Double},
    {L"PatternNrBolts1", String},   {L"PatternNrBolts2", String},  {L"PatternReverseStart1", Int},
    {L"PatternReverseStart2", Int}, {L"BoltsDiameter", Double},    {L"BoltsHoleOffset", Double},
};

bool isCutKind(int kind) { return kind >= kMapCutOffset && kind <= kMapCutRadius; }

// The tab of a module: named by its group, or by its own name without one.
MacroTabData* moduleTab(const Krv_Module* module, MacroData* macroData) {
  if (!module || !macroData) return nullptr;
  int index = -1;
  if (!macroData->findTab(module->groupOrName(), index)) return nullptr;
  return macroData->getTab(index);
}

// A constraint variable; a write first turns a fixed variable flexible, so
// that the value the standard gives is taken.
Acad::ErrorStatus constraintAccess(Krv_Module* module, MacroTabData* tab, const Krv_String& name,
                                   Krv_String& value, bool read) {
  if (!read && tab) {
    bool flexible = false, fixed = true;
    if (tab->getFlexFixBtnStatus(name, flexible, fixed) == Acad::eOk && (!flexible || fixed))
      tab->flexFixBtnClicked(name, false);
  }
  return getSetConstrVarValue(module, name, value, read);
}

Acad::ErrorStatus cutAccess(Krv_Module* module, const Krv_String& cutName, int offsetType,
                            Krv_String& value, bool read) {
  Krv_CutConstraint* cut = nullptr;
  if (getCutConstraint(module, cutName, cut) != Acad::eOk) return Acad::eInvalidInput;
  double number = _wtof(value);
  if (getSetCutValue(cut, offsetType, number, read) != Acad::eOk) return Acad::eInvalidInput;
  if (read) value = Krv_String(number, 7, false);
  return Acad::eOk;
}

// The engine's reverse-start value is "1" for a reversed start; the core
// reports whether the start is kept.
Acad::ErrorStatus reverseStartAccess(Krv_Module* module, Krv_BoltPattern* pattern, int direction,
                                     Krv_String& value, bool read, AcTransaction* transaction) {
  bool flag = value.equal(L"1", false);
  if (getSetBoltPatternReverses(module, pattern, direction, read, flag, transaction) != Acad::eOk)
    return Acad::eInvalidInput;
  if (read) value = flag ? L"0" : L"1";
  return Acad::eOk;
}

Acad::ErrorStatus memberNameAccess(MacroTabData* tab, const Krv_String& group, Krv_String& value,
                                   bool read) {
  if (!tab) return Acad::eInvalidInput;
  MacroProfData props;
  if (tab->getMergedPropsOfGroup(group, props) != Acad::eOk) return Acad::eInvalidInput;
  if (read) {
    value = props.mMemberName;
  } else {
    props.mMemberName = value;
    tab->setMergedPropsOfGroup(group, props);
  }
  return Acad::eOk;
}

Acad::ErrorStatus boltDataAccess(MacroTabData* tab, bool diameter, Krv_String& value, bool read) {
  MacroBoltData* bolts = tab ? tab->getBoltData() : nullptr;
  if (!bolts) return Acad::eInvalidInput;
  Krv_String& text = diameter ? bolts->mDiameter : bolts->mHoleOffset;
  if (read)
    value = text;
  else
    text = value;
  return Acad::eOk;
}

// The base profile number of "Prof<n>"; false when the rest is no number.
bool baseProfNumber(const Krv_String& text, int& number) {
  if (!text.startsWith(L"Prof", false)) return false;
  const Krv_String rest = text.substr(4);
  if (!isNumber(rest)) return false;
  number = _wtoi(rest);
  return true;
}

Acad::ErrorStatus baseProfSection(Krv_DbMacro* dbMacro, const Krv_String& profText,
                                  Krv_String& section, AcTransaction* transaction) {
  int number = -1;
  if (!baseProfNumber(profText, number)) return Acad::eInvalidInput;
  const Krv_Profile* profile = nullptr;
  if (getBaseProf(dbMacro, number, profile, transaction) != Acad::eOk) return Acad::eInvalidInput;
  if (getSectionName(profile, section) != Acad::eOk) return Acad::eInvalidInput;
  return Acad::eOk;
}

}  // namespace

Krv_String mapKindWord(int kind) {
  if (kind < 1 || kind > kMapKindCount) return Krv_String();
  return kKinds[kind - 1].word;
}

bool mapKindValueType(int kind, VtValueType& type) {
  if (kind < 1 || kind > kMapKindCount) return false;
  type = kKinds[kind - 1].type;
  return true;
}

}  // namespace krv::standards

using namespace krv::standards;

Acad::ErrorStatus VtObjectMap::getMappingFromStrs(const Krv_String& ssVariable,
                                                  const Krv_String& mappingStr) {
  Krv_String group, rest;
  if (!splitString(mappingStr, Krv_String(kMapGroupSeparator, 1), group, rest, false))
    return Acad::eInvalidInput;
  Krv_String stripped = rest;
  stripSymbols(stripped, L' ', true, false);
  int kind = kMapNone;
  for (int k = 1; k <= kMapKindCount && kind == kMapNone; ++k)
    if (stripped.startsWith(kKinds[k - 1].word, false)) kind = k;
  if (kind == kMapNone) return Acad::eInvalidInput;
  mGroup = group;
  mKind = kind;
  mObjectName = stripped.find(L' ') >= 0 ? getSubstrAfter(stripped, L" ", false) : Krv_String();
  mSSVariable = ssVariable;
  return Acad::eOk;
}

Acad::ErrorStatus VtObjectMap::setMappingToStrs(Krv_String& mappingStr,
                                                Krv_String& ssVariable) const {
  const Krv_String word = mapKindWord(mKind);
  if (word.isEmpty()) return Acad::eInvalidInput;
  mappingStr = mGroup + kMapGroupSeparator + word + L" " + mObjectName;
  ssVariable = mSSVariable;
  return Acad::eOk;
}

Acad::ErrorStatus VtObjectMap::isCompatible(const VtObjectMap& other) const {
  return mGroup.equal(other.mGroup, false) && mObjectName.equal(other.mObjectName, false) &&
                 mKind == other.mKind
             ? Acad::eOk
             : Acad::eInvalidInput;
}

Acad::ErrorStatus VtObjectMap::mapFromArrays(const Krv_StringArray& ssVariables,
                                             const Krv_StringArray& mappingStrs,
                                             const VtVarCell& cell) {
  const int index = find(ssVariables, cell.name(), false);
  if (index < 0 || !mappingStrs.isValid(index)) return Acad::eInvalidInput;
  return getMappingFromStrs(ssVariables[index], mappingStrs[index]);
}

Acad::ErrorStatus VtObjectMap::getMacroVarValue(Krv_DbMacro* dbMacro, MacroData* macroData,
                                                Krv_String& value, AcTransaction* transaction) {
  return getSetMacroVarValue(dbMacro, macroData, value, true, transaction);
}

Acad::ErrorStatus VtObjectMap::setMacroVarValue(Krv_DbMacro* dbMacro, MacroData* macroData,
                                                Krv_String& value, AcTransaction* transaction) {
  return getSetMacroVarValue(dbMacro, macroData, value, false, transaction);
}

Acad::ErrorStatus VtObjectMap::getSetMacroVarValue(Krv_DbMacro* dbMacro, MacroData* macroData,
                                                   Krv_String& value, bool read,
                                                   AcTransaction* transaction) {
  if (!dbMacro) return Acad::eInvalidInput;
  Krv_Macro* macro = dbMacro->macroWrite();
  Krv_StringArray moduleNames;
  if (getModNamesOfGroup(macro, mGroup, moduleNames) != Acad::eOk) return Acad::eInvalidInput;
  for (int i = 0; i < moduleNames.length(); ++i)
    getSetModuleVarValue(macro, macroData, moduleNames[i], i, value, read, transaction);

  switch (mKind) {
    case kMapGenVar: {
      if (read) {
        double number = 0;
        if (macro->generalVariableValue(mObjectName, number) != Acad::eOk)
          return Acad::eInvalidInput;
        value = Krv_String(number, 8, false);
        return Acad::eOk;
      }
      return macro->setGeneralVariable(mObjectName, _wtof(value)) == Acad::eOk
                 ? Acad::eOk
                 : Acad::eInvalidInput;
    }
    case kMapPrPlName:
    case kMapPrPlMaterial: {
      // Read only: the section name, or the material, of the base profile.
      if (!read) return Acad::eInvalidInput;
      Krv_String section;
      if (baseProfSection(dbMacro, mObjectName, section, transaction) != Acad::eOk)
        return Acad::eInvalidInput;
      if (mKind == kMapPrPlName) {
        value = section;
        return Acad::eOk;
      }
      int number = -1;
      const Krv_Profile* profile = nullptr;
      baseProfNumber(mObjectName, number);
      getBaseProf(dbMacro, number, profile, transaction);
      return getMaterial(profile, value) == Acad::eOk ? Acad::eOk : Acad::eInvalidInput;
    }
    case kMapMemberSectionSize: {
      if (!read) return Acad::eInvalidInput;
      Krv_String profPart, columnPart;
      splitString(mObjectName, L";", profPart, columnPart, false);
      Krv_String section;
      if (baseProfSection(dbMacro, profPart, section, transaction) != Acad::eOk)
        return Acad::eInvalidInput;
      return getSectionValue(section, _wtoi(columnPart), value);
    }
    default:
      return Acad::eOk;
  }
}

Acad::ErrorStatus VtObjectMap::getSetModuleVarValue(Krv_Macro* macro, MacroData* macroData,
                                                    Krv_String& moduleName, int position,
                                                    Krv_String& value, bool read,
                                                    AcTransaction* transaction) {
  if (!macro || !macroData) return Acad::eInvalidInput;
  if (mKind == kMapNone || mKind == kMapGenVar || mKind == kMapPrPlName ||
      mKind == kMapPrPlMaterial || mKind == kMapMemberSectionSize || mKind > kMapKindCount ||
      mKind < 0)
    return Acad::eInvalidInput;
  Krv_Module* module = nullptr;
  if (openModule(macro, moduleName, position, module) != Acad::eOk) return Acad::eInvalidInput;
  const bool reverseKind = mKind == kMapPatternReverseStart1 || mKind == kMapPatternReverseStart2;
  if (reverseKind && module->type() != kKrvBoltModuleType) return Acad::eInvalidInput;
  MacroTabData* tab = moduleTab(module, macroData);
  if (!tab) return Acad::eInvalidInput;

  if (mKind == kMapDistance) {
    if (constraintAccess(module, tab, mObjectName, value, read) != Acad::eOk)
      return Acad::eInvalidInput;
  } else if (isCutKind(mKind)) {
    if (cutAccess(module, mObjectName, mKind - kMapCutOffset, value, read) != Acad::eOk)
      return Acad::eInvalidInput;
  } else if (mKind == kMapBoltsDiameter || mKind == kMapBoltsHoleOffset) {
    if (boltDataAccess(tab, mKind == kMapBoltsDiameter, value, read) != Acad::eOk)
      return Acad::eInvalidInput;
  } else if (reverseKind) {
    Krv_BoltPattern* pattern = nullptr;
    if (findPattern(module, mObjectName, pattern) != Acad::eOk) return Acad::eInvalidInput;
    if (reverseStartAccess(module, pattern, mKind == kMapPatternReverseStart1 ? 1 : 2, value, read,
                           transaction) != Acad::eOk)
      return Acad::eInvalidInput;
  } else if (mKind == kMapPatternNrBolts1 || mKind == kMapPatternNrBolts2) {
    if (tab->getSetNrBolts(mObjectName, value, read, mKind == kMapPatternNrBolts1 ? 1 : 2) !=
        Acad::eOk)
      return Acad::eInvalidInput;
  } else if (mKind == kMapOwnedMemberName) {
    memberNameAccess(tab, mObjectName, value, read);
  }
  return Acad::eOk;
}

Krv_String VtObjectMap::displayText() const {
  Krv_String text = mGroup;
  if (!mObjectName.isEmpty()) {
    if (!mGroup.isEmpty()) text += L".";
    text += mObjectName;
  }
  if (mKind != kMapDistance && mKind != kMapMemberSectionSize) {
    if (!mObjectName.isEmpty()) text += L".";
    text += mapKindWord(mKind);
  }
  return text + mLabel;
}

Acad::ErrorStatus getSetNamedVarValue(const Krv_String& ssVariable, const VtValueType& type,
                                      Krv_Macro* macro, Krv_Module* module, MacroData* macroData,
                                      Krv_String& value, bool read, AcTransaction* transaction) {
  if (!module || !macroData) return Acad::eInvalidInput;
  MacroTabData* tab = moduleTab(module, macroData);
  if (!tab) return Acad::eInvalidInput;
  const bool numeric = isNumericType(type);
  const auto ends = [&](const wchar_t* suffix) { return ssVariable.endsWith(suffix, false); };
  const Krv_String before = getSubstrBefore(ssVariable, L".", true);

  // General variable: "gen." + name addresses "gen_" + name.
  if (numeric && ssVariable.startsWith(L"gen.", false)) {
    if (!macro) return Acad::eInvalidInput;
    const Krv_String name = L"gen_" + ssVariable.substr(4);
    Krv_StringArray names;
    macro->getGeneralVariables(names);
    if (!contains(names, name, false)) return Acad::eInvalidInput;
    if (read) {
      double number = 0;
      macro->generalVariableValue(name, number);
      value = Krv_String(number, 4, false);
    } else {
      macro->setGeneralVariable(name, _wtof(value));
    }
    return Acad::eOk;
  }
  // Section name or material of a profile placement.
  if (!numeric && read && (ends(L".Name") || ends(L".Material"))) {
    Krv_Profile* placement = nullptr;
    if (getNamedPrpl(module, before, placement) == Acad::eOk)
      return ends(L".Name") ? getSectionName(placement, value) : getMaterial(placement, value);
  }
  if (numeric) {
    static const wchar_t* const kCutSuffixes[kCutOffsetTypeCount] = {
        L".Cut",        L".CutPoly",  L".CutLength", L".CutCenter", L".CutInside",
        L".CutOutside", L".Chamfer1", L".Chamfer2",  L".CutRadius"};
    for (int offsetType = 0; offsetType < kCutOffsetTypeCount; ++offsetType)
      if (ends(kCutSuffixes[offsetType])) return cutAccess(module, before, offsetType, value, read);
    if (ends(L".Diameter") || ends(L".HoleOffset"))
      return boltDataAccess(tab, ends(L".Diameter"), value, read);
  }
  if (ends(L".NrBolts1") || ends(L".NrBolts2"))
    return tab->getSetNrBolts(before, value, read, ends(L".NrBolts1") ? 1 : 2);
  if (numeric && (ends(L".ReverseStart1") || ends(L".ReverseStart2"))) {
    if (module->type() != kKrvBoltModuleType) return Acad::eInvalidInput;
    Krv_BoltPattern* pattern = nullptr;
    if (findPattern(module, before, pattern) != Acad::eOk) return Acad::eInvalidInput;
    return reverseStartAccess(module, pattern, ends(L".ReverseStart1") ? 1 : 2, value, read,
                              transaction);
  }
  if (!numeric) {
    if (ends(L".MemberName")) return memberNameAccess(tab, before, value, read);
    return Acad::eInvalidInput;
  }
  return constraintAccess(module, tab, ssVariable, value, read);
}
