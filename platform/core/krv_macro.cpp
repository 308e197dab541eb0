#include "platform/core/krv_macro.h"

Krv_Module* Krv_Macro::addModule(const Krv_Module& module) {
  if (module.name().isEmpty() || findModule(module.name())) return nullptr;
  mModules.push_back(module);
  return &mModules.back();
}

const Krv_Module* Krv_Macro::findModule(const Krv_String& name) const {
  for (const auto& m : mModules)
    if (m.name().equal(name, false)) return &m;
  return nullptr;
}

Krv_Module* Krv_Macro::findModuleWrite(const Krv_String& name) {
  return const_cast<Krv_Module*>(static_cast<const Krv_Macro*>(this)->findModule(name));
}

bool Krv_Macro::getModuleNames(Krv_StringArray& names) const {
  names.removeAll();
  for (const auto& m : mModules) names.append(m.name());
  return !names.isEmpty();
}

const Krv_Macro::GenVar* Krv_Macro::findGenVar(const Krv_String& name) const {
  for (const auto& v : mGenVars)
    if (v.name.equal(name, false)) return &v;
  return nullptr;
}

void Krv_Macro::addGeneralVariable(const Krv_String& name, double value) {
  if (auto* v = const_cast<GenVar*>(findGenVar(name))) {
    v->value = value;
    return;
  }
  mGenVars.push_back({name, value});
}

void Krv_Macro::getGeneralVariables(Krv_StringArray& names) const {
  names.removeAll();
  for (const auto& v : mGenVars) names.append(v.name);
}

Acad::ErrorStatus Krv_Macro::generalVariableValue(const Krv_String& name, double& value) const {
  const GenVar* v = findGenVar(name);
  if (!v) return Acad::eInvalidInput;
  value = v->value;
  return Acad::eOk;
}

Acad::ErrorStatus Krv_Macro::setGeneralVariable(const Krv_String& name, double value) {
  auto* v = const_cast<GenVar*>(findGenVar(name));
  if (!v) return Acad::eInvalidInput;
  v->value = value;
  return Acad::eOk;
}

int Krv_Macro::addBaseProfile(const Krv_Profile& profile) {
  Krv_Profile p = profile;
  if (p.id.isNull()) p.id = krvNewObjectId();
  mBaseProfiles.push_back(p);
  return static_cast<int>(mBaseProfiles.size()) - 1;
}
