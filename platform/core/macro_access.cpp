#include "platform/core/macro_access.h"

#include <cmath>

#include "platform/core/c_number_text.h"

Acad::ErrorStatus getModNamesOfGroup(const Krv_Macro* macro, const Krv_String& group,
                                     Krv_StringArray& names) {
  if (!macro) return Acad::eInvalidInput;
  Krv_StringArray found;
  if (group.isEmpty()) {
    names = found;
    return Acad::eOk;
  }
  for (const auto& m : macro->modules())
    if (m.groupOrName().equal(group, false)) found.append(m.name());
  if (found.isEmpty()) return Acad::eInvalidInput;
  names = found;
  return Acad::eOk;
}

Acad::ErrorStatus openModule(Krv_Macro* macro, const Krv_String& name, int position,
                             Krv_Module*& module) {
  if (!macro) return Acad::eInvalidInput;
  Krv_Module* found = macro->findModuleWrite(name);
  if (!found) return Acad::eInvalidInput;
  if (position >= 0) {
    Krv_StringArray names;
    if (getModNamesOfGroup(macro, found->groupOrName(), names) != Acad::eOk)
      return Acad::eInvalidInput;
    if (!names.isValid(position) || !names[position].equal(name, false)) return Acad::eInvalidInput;
  }
  module = found;
  return Acad::eOk;
}

Acad::ErrorStatus getSetConstrVarValue(Krv_Module* module, const Krv_String& name,
                                       Krv_String& value, bool read) {
  if (!module) return Acad::eInvalidInput;
  Krv_ConstrVar* var = module->findConstrVar(name);
  if (!var) return Acad::eInvalidInput;
  if (read)
    value = Krv_String(var->value, 8, false);
  else
    var->value = _wtof(value);
  return Acad::eOk;
}

Acad::ErrorStatus getDialogVariables(const Krv_Module* module, Krv_StringArray& names,
                                     AcArray<bool>& visible, AcArray<bool>& settable) {
  if (!module) return Acad::eInvalidInput;
  names.removeAll();
  visible.removeAll();
  settable.removeAll();
  for (const auto& v : module->constrVars()) {
    names.append(v.name);
    visible.append(v.visible);
    settable.append(v.settable);
  }
  return Acad::eOk;
}

Acad::ErrorStatus getCutConstraint(Krv_Module* module, const Krv_String& name,
                                   Krv_CutConstraint*& cut) {
  if (!module) return Acad::eInvalidInput;
  Krv_CutConstraint* found = module->findCut(name);
  if (!found) return Acad::eInvalidInput;
  cut = found;
  return Acad::eOk;
}

Acad::ErrorStatus getCutConstraints(const Krv_Module* module, Krv_StringArray& names,
                                    AcArray<int>& cutTypes) {
  if (!module) return Acad::eInvalidInput;
  names.removeAll();
  cutTypes.removeAll();
  for (const auto& c : module->cuts()) {
    names.append(c.name);
    cutTypes.append(c.cutType);
  }
  return Acad::eOk;
}

Acad::ErrorStatus getCutOffsets(int cutType, AcArray<int>& offsetTypes) {
  AcArray<int> types;
  switch (cutType) {
    case 1:
      types = {kCutOffset, kCutPolyOffset, kCutLengthOffset};
      break;
    case 2:
      types = {kCutOffset, kCutPolyOffset};
      break;
    case 3:
      types = {kCutOffset, kCutCenterOffset};
      break;
    case 4:
      types = {kCutOffset, kCutInsideOffset, kCutOutsideOffset};
      break;
    case 5:
      types = {kCutChamferOffset1, kCutChamferOffset2};
      break;
    case 6:
      types = {kCutRadius};
      break;
    default:
      return Acad::eInvalidInput;
  }
  offsetTypes = types;
  return Acad::eOk;
}

Acad::ErrorStatus getSetCutValue(Krv_CutConstraint* cut, int offsetType, double& value, bool read) {
  if (!cut) return Acad::eInvalidInput;
  AcArray<int> offered;
  if (getCutOffsets(cut->cutType, offered) != Acad::eOk || !offered.contains(offsetType))
    return Acad::eInvalidInput;
  if (read) {
    value = cut->offsets[offsetType];
  } else {
    if (!std::isfinite(value)) return Acad::eInvalidInput;
    cut->offsets[offsetType] = value;
  }
  return Acad::eOk;
}

Acad::ErrorStatus findPattern(Krv_Module* boltModule, const Krv_String& name,
                              Krv_BoltPattern*& pattern) {
  if (!boltModule || !boltModule->isBoltModule()) return Acad::eInvalidInput;
  Krv_BoltPattern* found = boltModule->findPattern(name);
  if (!found) return Acad::eInvalidInput;
  pattern = found;
  return Acad::eOk;
}

Acad::ErrorStatus getPatternIds(const Krv_Module* module, AcArray<AcDbObjectId>& ids) {
  if (!module) return Acad::eInvalidInput;
  ids.removeAll();
  for (const auto& p : module->patterns()) ids.append(p.id);
  return Acad::eOk;
}

Acad::ErrorStatus getPattern(const Krv_Module* module, const AcDbObjectId& id,
                             const Krv_BoltPattern*& pattern, AcTransaction* transaction) {
  if (!module || id.isNull() || (transaction && !transaction->isOpen())) return Acad::eInvalidInput;
  const Krv_BoltPattern* found = module->findPattern(id);
  if (!found) return Acad::eInvalidInput;
  pattern = found;
  return Acad::eOk;
}

Acad::ErrorStatus getSetBoltPatternReverses(Krv_Module* boltModule, Krv_BoltPattern* pattern,
                                            int direction, bool read, bool& flag,
                                            AcTransaction* transaction) {
  if (!boltModule || !boltModule->isBoltModule() || !pattern) return Acad::eInvalidInput;
  if (transaction && !transaction->isOpen()) return Acad::eInvalidInput;
  if (direction != 1 && !(direction == 2 && pattern->typeCode == kKrvPatternTwoDirType))
    return Acad::eInvalidInput;
  bool& reversed = direction == 1 ? pattern->reverseStart1 : pattern->reverseStart2;
  if (read)
    flag = !reversed;
  else
    reversed = flag;
  return Acad::eOk;
}

Acad::ErrorStatus getNamedPrpl(Krv_Module* module, const Krv_String& name,
                               Krv_Profile*& placement) {
  if (!module) return Acad::eInvalidInput;
  Krv_Profile* found = module->findPlacement(name);
  if (!found) return Acad::eInvalidInput;
  placement = found;
  return Acad::eOk;
}

Acad::ErrorStatus getSectionName(const Krv_Profile* profile, Krv_String& section) {
  if (!profile || profile->section.isEmpty()) return Acad::eInvalidInput;
  section = profile->section;
  return Acad::eOk;
}

Acad::ErrorStatus getMaterial(const Krv_Profile* profile, Krv_String& material) {
  if (!profile || profile->material.isEmpty()) return Acad::eInvalidInput;
  material = profile->material;
  return Acad::eOk;
}

Acad::ErrorStatus getBaseProf(const Krv_DbMacro* macro, int number, const Krv_Profile*& profile,
                              AcTransaction* transaction) {
  if (!macro || !macro->macro() || (transaction && !transaction->isOpen()))
    return Acad::eInvalidInput;
  const auto& profiles = macro->macro()->baseProfiles();
  if (number < 0 || number >= static_cast<int>(profiles.size())) return Acad::eInvalidInput;
  profile = &profiles[static_cast<size_t>(number)];
  return Acad::eOk;
}
