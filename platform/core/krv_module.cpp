// Modules and bolt patterns of a macro, and the names of the cut offsets.
#include "platform/core/krv_module.h"

#include <atomic>

namespace {

const wchar_t* const kOffsetNames[kCutOffsetTypeCount] = {
    L"Offset",        L"PolyOffset", L"LengthOffset", L"CenterOffset", L"InsideOffset",
    L"OutsideOffset", L"Offset1",    L"Offset2",      L"Radius"};

template <typename T>
T* findByName(std::vector<T>& list, const Krv_String& name) {
  for (auto& item : list)
    if (item.name.equal(name, false)) return &item;
  return nullptr;
}

template <typename T>
bool addNamed(std::vector<T>& list, const T& item) {
  if (item.name.isEmpty() || findByName(list, item.name)) return false;
  list.push_back(item);
  return true;
}

}  // namespace

Krv_String cutOffsetName(int offsetType) {
  if (offsetType < 0 || offsetType >= kCutOffsetTypeCount) return Krv_String();
  return kOffsetNames[offsetType];
}

int cutOffsetType(const Krv_String& name) {
  for (int i = 0; i < kCutOffsetTypeCount; ++i)
    if (name.equal(kOffsetNames[i], false)) return i;
  return -1;
}

AcDbObjectId krvNewObjectId() {
  static std::atomic<std::int64_t> next{0x2000};
  return AcDbObjectId(next++);
}

bool Krv_Module::addConstrVar(const Krv_ConstrVar& var) { return addNamed(mVars, var); }

bool Krv_Module::addCut(const Krv_CutConstraint& cut) { return addNamed(mCuts, cut); }

bool Krv_Module::addPattern(const Krv_BoltPattern& pattern) {
  Krv_BoltPattern p = pattern;
  if (p.id.isNull()) p.id = krvNewObjectId();
  return addNamed(mPatterns, p);
}

bool Krv_Module::addPlacement(const Krv_Profile& placement) {
  Krv_Profile p = placement;
  if (p.id.isNull()) p.id = krvNewObjectId();
  return addNamed(mPlacements, p);
}

Krv_ConstrVar* Krv_Module::findConstrVar(const Krv_String& name) { return findByName(mVars, name); }

const Krv_ConstrVar* Krv_Module::findConstrVar(const Krv_String& name) const {
  return const_cast<Krv_Module*>(this)->findConstrVar(name);
}

Krv_CutConstraint* Krv_Module::findCut(const Krv_String& name) { return findByName(mCuts, name); }

Krv_BoltPattern* Krv_Module::findPattern(const Krv_String& name) {
  return findByName(mPatterns, name);
}

Krv_BoltPattern* Krv_Module::findPattern(const AcDbObjectId& id) {
  for (auto& p : mPatterns)
    if (p.id == id) return &p;
  return nullptr;
}

const Krv_BoltPattern* Krv_Module::findPattern(const AcDbObjectId& id) const {
  return const_cast<Krv_Module*>(this)->findPattern(id);
}

Krv_Profile* Krv_Module::findPlacement(const Krv_String& name) {
  return findByName(mPlacements, name);
}
