#include "platform/core/macro_data.h"

#include "platform/core/c_number_text.h"
#include "platform/core/krv_db_macro.h"

namespace {

template <typename T, typename Key>
T* findIn(std::vector<T>& list, Key key, const Krv_String& name) {
  for (auto& item : list)
    if ((item.*key).equal(name, false)) return &item;
  return nullptr;
}

}  // namespace

// ---- bolts ---------------------------------------------------------------------

void MacroTabData::setPatternBolts(const Krv_String& pattern, int nrBolts1, int nrBolts2) {
  if (auto* p = findIn(mPatterns, &PatternBolts::name, pattern)) {
    p->nrBolts1 = nrBolts1;
    p->nrBolts2 = nrBolts2;
    return;
  }
  mPatterns.push_back({pattern, nrBolts1, nrBolts2});
}

Acad::ErrorStatus MacroTabData::getSetNrBolts(const Krv_String& pattern, Krv_String& value,
                                              bool read, int direction) {
  PatternBolts* p = findIn(mPatterns, &PatternBolts::name, pattern);
  if (!p || (direction != 1 && direction != 2)) return Acad::eInvalidInput;
  int& count = direction == 1 ? p->nrBolts1 : p->nrBolts2;
  if (read) {
    value = Krv_String(count, 0);
    return Acad::eOk;
  }
  const Krv_String text = value.trimmed();
  if (!isNumber(text)) return Acad::eInvalidInput;
  const double number = _wtof(text);
  if (number < 1 || number != static_cast<double>(static_cast<long long>(number)) ||
      number > 100000)
    return Acad::eInvalidInput;
  count = static_cast<int>(number);
  return Acad::eOk;
}

bool MacroTabData::getPatternBolts(const Krv_String& pattern, int& nrBolts1, int& nrBolts2) const {
  auto* p = findIn(const_cast<std::vector<PatternBolts>&>(mPatterns), &PatternBolts::name, pattern);
  if (!p) return false;
  nrBolts1 = p->nrBolts1;
  nrBolts2 = p->nrBolts2;
  return true;
}

Krv_StringArray MacroTabData::patternNames() const {
  Krv_StringArray names;
  for (const auto& p : mPatterns) names.append(p.name);
  return names;
}

// ---- flexible / fixed ------------------------------------------------------------

void MacroTabData::addFlexFixVariable(const Krv_String& variable, bool fixed) {
  if (auto* f = findIn(mFlexFix, &FlexFix::variable, variable)) {
    f->fixed = fixed;
    return;
  }
  mFlexFix.push_back({variable, fixed});
}

Acad::ErrorStatus MacroTabData::getFlexFixBtnStatus(const Krv_String& variable, bool& flexible,
                                                    bool& fixed) const {
  auto* f = findIn(const_cast<std::vector<FlexFix>&>(mFlexFix), &FlexFix::variable, variable);
  if (!f) return Acad::eInvalidInput;
  fixed = f->fixed;
  flexible = !f->fixed;
  return Acad::eOk;
}

Acad::ErrorStatus MacroTabData::flexFixBtnClicked(const Krv_String& variable, bool fixedButton) {
  FlexFix* f = findIn(mFlexFix, &FlexFix::variable, variable);
  if (!f) return Acad::eInvalidInput;
  f->fixed = fixedButton;
  return Acad::eOk;
}

Krv_StringArray MacroTabData::flexFixVariables() const {
  Krv_StringArray names;
  for (const auto& f : mFlexFix) names.append(f.variable);
  return names;
}

// ---- profile groups --------------------------------------------------------------

void MacroTabData::addProfileGroup(const Krv_String& group, const MacroProfData& props) {
  if (auto* g = findIn(mProfGroups, &ProfGroup::name, group)) {
    g->props = props;
    return;
  }
  mProfGroups.push_back({group, props});
}

Acad::ErrorStatus MacroTabData::getMergedPropsOfGroup(const Krv_String& group,
                                                      MacroProfData& props) const {
  auto* g = findIn(const_cast<std::vector<ProfGroup>&>(mProfGroups), &ProfGroup::name, group);
  if (!g) return Acad::eInvalidInput;
  props = g->props;
  return Acad::eOk;
}

Acad::ErrorStatus MacroTabData::setMergedPropsOfGroup(const Krv_String& group,
                                                      const MacroProfData& props) {
  ProfGroup* g = findIn(mProfGroups, &ProfGroup::name, group);
  if (!g) return Acad::eInvalidInput;
  g->props = props;
  return Acad::eOk;
}

Krv_StringArray MacroTabData::profileGroupNames() const {
  Krv_StringArray names;
  for (const auto& g : mProfGroups) names.append(g.name);
  return names;
}

// ---- MacroData ---------------------------------------------------------------------

bool MacroData::findTab(const Krv_String& name, int& index) const {
  for (int i = 0; i < mTabs.length(); ++i) {
    if (mTabs[i].mName.equal(name, false)) {
      index = i;
      return true;
    }
  }
  return false;
}

MacroTabData* MacroData::getTab(int index) {
  return mTabs.isValid(index) ? &mTabs[index] : nullptr;
}

const MacroTabData* MacroData::getTab(int index) const {
  return mTabs.isValid(index) ? &mTabs[index] : nullptr;
}

Acad::ErrorStatus MacroData::buildTabsFromMacro(const Krv_DbMacro& dbMacro) {
  const Krv_Macro* macro = dbMacro.macro();
  if (!macro) return Acad::eInvalidInput;
  mTabs.removeAll();
  for (const Krv_Module& module : macro->modules()) {
    const Krv_String& group = module.groupOrName();
    int index = -1;
    if (!findTab(group, index)) index = addTab(MacroTabData(group, 0));
    MacroTabData& tab = mTabs[index];
    if (module.isBoltModule()) {
      tab.mKind = 1;
      if (!tab.getBoltData()) tab.setBoltData(MacroBoltData());
      for (const auto& p : module.patterns()) tab.setPatternBolts(p.name, p.nrBolts1, p.nrBolts2);
    } else if (module.isProfModule()) {
      if (tab.mKind == 0) tab.mKind = 2;
      for (const auto& pl : module.placements()) {
        MacroProfData props;
        props.mMemberName = pl.name;
        props.mSection = pl.section;
        props.mMaterial = pl.material;
        tab.addProfileGroup(pl.name, props);
      }
    }
  }
  return Acad::eOk;
}
