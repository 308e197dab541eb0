// The mapping between the variables of a standards sheet and a macro, and its file.
#include "standards/vt_ss_mapping.h"

#include "platform/core/file_paths.h"
#include "platform/core/krv_db_macro.h"
#include "platform/core/krv_settings.h"
#include "platform/core/macro_access.h"
#include "platform/core/macro_data.h"
#include "platform/core/text_file.h"
#include "platform/core/text_functions.h"
#include "standards/vt_dlg_standards_data.h"

using namespace krv::standards;

namespace krv::standards {
namespace {

const wchar_t* const kMappingHeader = L"Mapping version 1.0";

// The lines of a mapping file without its header line.
bool readMappingLines(const Krv_String& path, Krv_StringArray& lines) {
  Krv_StringArray read(1024, 512);
  if (!ObjectExportReadFile(path, read)) return false;
  if (!read.isEmpty() && hasSubString(read[0], L"Mapping", false) &&
      hasSubString(read[0], L"version", false))
    read.removeAt(0);
  lines = read;
  return true;
}

// The key of each line: the text before its first "=", empty without one.
Krv_StringArray lineKeys(const Krv_StringArray& lines) {
  Krv_StringArray keys;
  for (const auto& line : lines) {
    Krv_String key, rest;
    keys.append(splitString(line, L"=", key, rest, false) ? key : Krv_String());
  }
  return keys;
}

}  // namespace
}  // namespace krv::standards

Krv_String VtSSMapping::mappingFilePath(const Krv_String& standardName) {
  // The mapping file lies beside the sheet that an evaluation loads: a name
  // that is a file of its own is that sheet (as the engine loads it), any
  // other name is read below the library's standards folder.
  const bool isSheetFile =
      !standardName.isEmpty() && fileExists(standardName) && !folderExists(standardName);
  Krv_String path =
      isSheetFile ? standardName
                  : Krv_Settings::libDir() + L"Connection Standards\\" + standardName + L".vts";
  changeExtension(path, L"map");
  return path;
}

// ---- setting up -------------------------------------------------------------------

Acad::ErrorStatus VtSSMapping::initFromMacro(VtDlgStandardsData& data) {
  if (!data.mDbMacro || data.hasModuleGroup()) return Acad::eInvalidInput;
  mMode = kMacroMode;
  return getMappingFromFile(data.mStandardsName, data.mCallerName);
}

Acad::ErrorStatus VtSSMapping::initFromModuleGroup(Krv_String group) {
  if (group.isEmpty()) return Acad::eInvalidInput;
  mMode = kModuleGroupMode;
  return Acad::eOk;
}

// ---- values --------------------------------------------------------------------------

Acad::ErrorStatus VtSSMapping::getMacroVarValue(const Krv_String& ssVariable,
                                                const VtValueType& type, Krv_String& value,
                                                VtDlgStandardsData& data) {
  if (!data.mDbMacro) return Acad::eInvalidInput;
  Krv_Macro* macro = data.mDbMacro->macroWrite();
  if (mMode == kModuleGroupMode) {
    Krv_StringArray names;
    getModNamesOfGroup(macro, data.mModuleGroup, names);
    for (const auto& name : names) {
      Krv_Module* module = macro ? macro->findModuleWrite(name) : nullptr;
      if (module && getSetNamedVarValue(ssVariable, type, macro, module, data.mMacroData, value,
                                        true, data.mTransaction) == Acad::eOk)
        return Acad::eOk;
    }
    return Acad::eInvalidInput;
  }
  int index = -1;
  if (findSSVar(ssVariable, type, index) != Acad::eOk) return Acad::eInvalidInput;
  return mObjects[index].getMacroVarValue(data.mDbMacro, data.mMacroData, value, data.mTransaction);
}

Acad::ErrorStatus VtSSMapping::setMacroVarValue(const Krv_String& ssVariable,
                                                const VtValueType& type, Krv_String& value,
                                                VtDlgStandardsData& data) {
  if (!data.mDbMacro) return Acad::eInvalidInput;
  Krv_Macro* macro = data.mDbMacro->macroWrite();
  if (mMode == kModuleGroupMode) {
    Krv_StringArray names;
    getModNamesOfGroup(macro, data.mModuleGroup, names);
    bool taken = false;
    for (const auto& name : names) {
      Krv_Module* module = macro ? macro->findModuleWrite(name) : nullptr;
      if (module && getSetNamedVarValue(ssVariable, type, macro, module, data.mMacroData, value,
                                        false, data.mTransaction) == Acad::eOk)
        taken = true;
    }
    return taken ? Acad::eOk : Acad::eInvalidInput;
  }
  int index = -1;
  if (findSSVar(ssVariable, type, index) != Acad::eOk) return Acad::eInvalidInput;
  return mObjects[index].setMacroVarValue(data.mDbMacro, data.mMacroData, value, data.mTransaction);
}

Acad::ErrorStatus VtSSMapping::findSSVar(const Krv_String& ssVariable, const VtValueType& type,
                                         int& index) const {
  for (int i = 0; i < mObjects.length(); ++i) {
    VtValueType objectType;
    if (mapKindValueType(mObjects[i].kind(), objectType) && objectType == type &&
        mObjects[i].ssVariable().equal(ssVariable, false)) {
      index = i;
      return Acad::eOk;
    }
  }
  return Acad::eInvalidInput;
}

// ---- the mapping file ----------------------------------------------------------------------

Acad::ErrorStatus VtSSMapping::getMappingFromFile(Krv_String standardName, const Krv_String& key) {
  Krv_StringArray lines;
  if (!readMappingLines(mappingFilePath(standardName), lines)) return Acad::eInvalidInput;
  if (lines.isEmpty()) return Acad::eOk;
  const int index = find(lineKeys(lines), key, true);
  if (index < 0) return Acad::eInvalidInput;
  return initMappingFromLine(lines[index]);
}

Acad::ErrorStatus VtSSMapping::setMappingToFile(Krv_String standardName, Krv_String& key) {
  Krv_StringArray mappingStrs, ssVariables;
  for (const auto& object : mObjects) {
    Krv_String mappingStr, ssVariable;
    if (object.setMappingToStrs(mappingStr, ssVariable) != Acad::eOk) continue;
    mappingStrs.append(mappingStr);
    ssVariables.append(ssVariable);
  }
  Krv_StringArray duplicates;
  Krv_Array<int> positions;
  if (getDuplicates(ssVariables, duplicates, positions, false)) {
    for (int i = positions.length() - 1; i >= 0; --i) {
      mappingStrs.removeAt(positions[i]);
      ssVariables.removeAt(positions[i]);
    }
  }
  for (int i = ssVariables.length() - 1; i >= 0; --i) {
    if (hasInvalidFileNameChars(ssVariables[i])) {
      mappingStrs.removeAt(i);
      ssVariables.removeAt(i);
    }
  }

  const Krv_String path = mappingFilePath(standardName);
  Krv_StringArray lines;
  if (!readMappingLines(path, lines)) lines.removeAll();
  const int index = find(lineKeys(lines), key, true);
  if (index >= 0) {
    VtSSMapping stored;
    if (stored.initMappingFromLine(lines[index]) == Acad::eOk && isEqual(stored)) return Acad::eOk;
    lines.removeAt(index);
  }
  Krv_String line = key + L"=";
  for (int i = 0; i < ssVariables.length(); ++i) {
    if (i > 0) line += kMapListSeparator;
    line += ssVariables[i] + kMapEntrySeparator + mappingStrs[i];
  }
  lines.append(line);
  lines.insertAt(0, kMappingHeader);
  return ObjectExportWriteFile(path, lines) ? Acad::eOk : Acad::eInvalidInput;
}

Acad::ErrorStatus VtSSMapping::initMappingFromLine(const Krv_String& line) {
  mObjects.removeAll();
  Krv_String key, rest;
  if (!splitString(line, L"=", key, rest, false)) return Acad::eInvalidInput;
  Krv_StringArray entries;
  splitStringAtSymbol(rest, kMapListSeparator, entries, true);
  VtObjectMap object;
  for (const auto& entry : entries) {
    Krv_String ssVariable, mappingStr;
    if (!splitStringAtSymbol(entry, kMapEntrySeparator, ssVariable, mappingStr, false)) continue;
    if (object.getMappingFromStrs(ssVariable, mappingStr) == Acad::eOk) mObjects.append(object);
  }
  return Acad::eOk;
}

bool VtSSMapping::hasSameMapping(const Krv_String& standardName, Krv_String& key) const {
  Krv_StringArray lines;
  if (!readMappingLines(mappingFilePath(standardName), lines)) return false;
  for (const auto& line : lines) {
    VtSSMapping stored;
    if (stored.initMappingFromLine(line) != Acad::eOk || !isEqual(stored)) continue;
    Krv_String lineKey, rest;
    splitString(line, L"=", lineKey, rest, false);
    key = lineKey;
    return true;
  }
  return false;
}

// ---- comparison ---------------------------------------------------------------------------------

bool VtSSMapping::isEqual(const VtSSMapping& other) const {
  for (const auto& object : mObjects) {
    VtValueType type;
    int index = -1;
    if (!mapKindValueType(object.kind(), type) ||
        other.findSSVar(object.ssVariable(), type, index) != Acad::eOk ||
        object.isCompatible(other.mObjects[index]) != Acad::eOk)
      return false;
  }
  return true;
}

Acad::ErrorStatus VtSSMapping::findCompatible(const VtObjectMap& object, int& index) const {
  for (int i = 0; i < mObjects.length(); ++i) {
    if (mObjects[i].isCompatible(object) == Acad::eOk) {
      index = i;
      return Acad::eOk;
    }
  }
  return Acad::eInvalidInput;
}

Acad::ErrorStatus VtSSMapping::isCompatible(const VtSSMapping& other, int& count) const {
  count = 0;
  for (const auto& object : mObjects) {
    int index = -1;
    if (other.findCompatible(object, index) != Acad::eOk) ++count;
  }
  return Acad::eOk;
}

// ---- all mappable objects
// ------------------------------------------------------------------------

void VtSSMapping::addObject(const Krv_String& group, const Krv_String& name, int kind, int category,
                            const Krv_String& label) {
  VtObjectMap object;
  object.setGroup(group);
  object.setObjectName(name);
  object.setKind(kind);
  object.setCategory(category);
  object.setLabel(label);
  mObjects.append(object);
}

Acad::ErrorStatus VtSSMapping::initAllVarsFromMacro(Krv_DbMacro* dbMacro,
                                                    AcTransaction* transaction) {
  if (!dbMacro || !dbMacro->macro()) return Acad::eInvalidInput;
  const Krv_Macro* macro = dbMacro->macro();
  Krv_StringArray names;
  macro->getModuleNames(names);
  for (const auto& name : names) {
    const Krv_Module* module = macro->findModule(name);
    if (!module) continue;
    Krv_String group = module->groupOrName();
    addAllVariables(module, group);
    addAllCuts(module, group);
    addAllPatterns(module, group, transaction);
    addAllProfPlacements(module, group, transaction);
  }
  addAllBaseProfs(dbMacro, transaction);
  addAllGenVars(macro);
  return Acad::eOk;
}

void VtSSMapping::addAllVariables(const Krv_Module* module, Krv_String& group) {
  Krv_StringArray names;
  AcArray<bool> visible, settable;
  if (getDialogVariables(module, names, visible, settable) != Acad::eOk) return;
  for (int i = 0; i < names.length(); ++i) {
    const bool isVisible = i < visible.length() && visible[i];
    const bool isSettable = i < settable.length() && settable[i];
    const int category = isVisible ? (isSettable ? 0 : 1) : (isSettable ? 2 : 3);
    addObject(group, names[i], kMapDistance, category);
  }
}

void VtSSMapping::addAllCuts(const Krv_Module* module, Krv_String& group) {
  Krv_StringArray names;
  AcArray<int> cutTypes;
  if (getCutConstraints(module, names, cutTypes) != Acad::eOk) return;
  for (int i = 0; i < names.length() && i < cutTypes.length(); ++i) {
    AcArray<int> offsetTypes;
    if (getCutOffsets(cutTypes[i], offsetTypes) != Acad::eOk) continue;
    for (int offsetType : offsetTypes)
      if (offsetType >= 0 && offsetType < kCutOffsetTypeCount)
        addObject(group, names[i], offsetType + kMapCutOffset, 0);
  }
}

void VtSSMapping::addAllPatterns(const Krv_Module* module, Krv_String& group,
                                 AcTransaction* transaction) {
  if (!module || module->type() != kKrvBoltModuleType) return;
  addObject(group, Krv_String(), kMapBoltsDiameter, 0);
  addObject(group, Krv_String(), kMapBoltsHoleOffset, 0);
  AcArray<AcDbObjectId> ids;
  if (getPatternIds(module, ids) != Acad::eOk) return;
  for (const auto& id : ids) {
    const Krv_BoltPattern* pattern = nullptr;
    if (getPattern(module, id, pattern, transaction) != Acad::eOk) continue;
    addObject(group, pattern->name, kMapPatternNrBolts1, 0);
    addObject(group, pattern->name, kMapPatternReverseStart1, 0);
    if (pattern->typeCode == kKrvPatternTwoDirType) {
      addObject(group, pattern->name, kMapPatternNrBolts2, 0);
      addObject(group, pattern->name, kMapPatternReverseStart2, 0);
    }
  }
}

void VtSSMapping::addAllProfPlacements(const Krv_Module* module, Krv_String& group,
                                       AcTransaction*) {
  if (!module || module->type() != kKrvProfModuleType) return;
  for (const auto& placement : module->placements())
    if (!placement.name.isEmpty()) addObject(group, placement.name, kMapOwnedMemberName, 0);
}

void VtSSMapping::addAllBaseProfs(const Krv_DbMacro* dbMacro, AcTransaction* transaction) {
  AcArray<AcDbObjectId> ids;
  if (dbMacro->mapBaseProfIds(ids) != Acad::eOk) return;
  for (int i = 0; i < ids.length(); ++i) {
    const Krv_String prof = L"Prof" + Krv_String(i, 0);
    addObject(Krv_String(), prof, kMapPrPlName, 3);
    addObject(Krv_String(), prof, kMapPrPlMaterial, 3);
    const Krv_Profile* profile = nullptr;
    Krv_String section;
    Krv_StringArray columns;
    if (getBaseProf(dbMacro, i, profile, transaction) != Acad::eOk ||
        getSectionName(profile, section) != Acad::eOk ||
        getSectionColumnNames(section, columns) != Acad::eOk)
      continue;
    for (int j = 0; j < columns.length(); ++j)
      addObject(Krv_String(), prof + L";" + Krv_String(j, 0), kMapMemberSectionSize, 3, columns[j]);
  }
}

void VtSSMapping::addAllGenVars(const Krv_Macro* macro) {
  Krv_StringArray names;
  macro->getGeneralVariables(names);
  for (const auto& name : names) addObject(Krv_String(), name, kMapGenVar, 0);
}

Acad::ErrorStatus VtSSMapping::getValidVars(const bool&, const VtValueType& type,
                                            AcArray<int>& indices) const {
  indices.removeAll();
  for (int i = 0; i < mObjects.length(); ++i) {
    VtValueType objectType;
    if (mapKindValueType(mObjects[i].kind(), objectType) && sameNumericClass(objectType, type))
      indices.append(i);
  }
  return Acad::eOk;
}

Acad::ErrorStatus VtSSMapping::sortValidVars(AcArray<int>& indices,
                                             const AcArray<int>& order) const {
  const AcArray<int> input = indices;
  indices.removeAll();
  const int n = order.length();
  if (n <= 0) return Acad::eInvalidInput;
  std::vector<AcArray<int>> groups(static_cast<size_t>(n));
  for (int index : input) {
    const int category = mObjects.isValid(index) ? mObjects[index].category() : -1;
    int position = order.find(category);
    if (position < 0) position = n - 1;
    groups[static_cast<size_t>(position)].append(index);
  }
  for (const auto& group : groups) {
    indices.append(-1);
    indices.append(group);
  }
  return Acad::eOk;
}
