#pragma once
#include <vector>

#include "platform/acad/ac_array.h"
#include "platform/acad/ac_db.h"
#include "platform/acad/acad_status.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

class Krv_DbMacro;

// The merged section properties of a profile group of a tab: the values
// that all profiles of the group share (empty where they differ).
class MacroProfData {
 public:
  virtual ~MacroProfData() = default;
  Krv_String mMemberName;
  Krv_String mSection;
  Krv_String mMaterial;
  int mOffsetType = 0;
  double mRotation = 0.0;
  bool operator==(const MacroProfData&) const = default;
};

// The bolts of a bolt tab: composition, diameter and hole offset, as the
// texts the macro dialog shows.
class MacroBoltData {
 public:
  virtual ~MacroBoltData() = default;
  Krv_String mComposition;
  Krv_String mDiameter;
  Krv_String mHoleOffset;
  bool operator==(const MacroBoltData&) const = default;
};

// One variable shown on a tab: its name, the text the page shows for it,
// its value text, its value kind (1 and 2 edit fields, 3 a list, 4 a list
// with free text, 5 a check box) and whether it is read only.
struct MacroTabVariable {
  Krv_String name;
  Krv_String displayText;
  Krv_String value;
  int valueKind = 1;
  bool readOnly = false;
  bool operator==(const MacroTabVariable&) const = default;
};

// MacroTabData: the dialog data of one tab of the macro dialog. A tab
// belongs to a module group (its name is the group name, or the module's
// name for a module without group). Kinds: 0 general, 1 bolts, 2 profiles,
// 3 general without design.
//
// Besides its variables a tab holds the bolt counts of its patterns, the
// flexible/fixed state of variables that have such a button group, the
// merged properties of its profile groups, and for bolt tabs the bolt
// data. Names are compared ignoring case.
class MacroTabData {
 public:
  MacroTabData() = default;
  MacroTabData(const Krv_String& name, int kind) : mName(name), mTitle(name), mKind(kind) {}
  virtual ~MacroTabData() = default;
  MacroTabData(const MacroTabData&) = default;
  MacroTabData& operator=(const MacroTabData&) = default;
  bool operator==(const MacroTabData&) const = default;

  Krv_String mName;
  Krv_String mTitle;
  int mKind = 0;
  // The dialog design shown on the page (a name below the designs folder).
  Krv_String mDesignName;
  Krv_Array<MacroTabVariable> mVariables;

  // ---- bolts -------------------------------------------------------------------
  // The tab's bolt data; nullptr when the tab has none.
  MacroBoltData* getBoltData() { return mHasBoltData ? &mBoltData : nullptr; }
  const MacroBoltData* getBoltData() const { return mHasBoltData ? &mBoltData : nullptr; }
  void setBoltData(const MacroBoltData& data) { mBoltData = data, mHasBoltData = true; }

  // Adds (or replaces) the bolt counts of a pattern.
  void setPatternBolts(const Krv_String& pattern, int nrBolts1, int nrBolts2);
  // Reads (read true) or writes the number of bolts of the named pattern in
  // direction 1 or 2. Reading gives the whole number as text; writing takes
  // a text that is a whole number of at least 1 (surrounding blanks
  // allowed). eInvalidInput for an unknown pattern, another direction or a
  // text that is no such number.
  Acad::ErrorStatus getSetNrBolts(const Krv_String& pattern, Krv_String& value, bool read,
                                  int direction);
  bool getPatternBolts(const Krv_String& pattern, int& nrBolts1, int& nrBolts2) const;
  Krv_StringArray patternNames() const;

  // ---- flexible / fixed buttons ---------------------------------------------------------
  // Gives a variable a flexible/fixed button group in the given state.
  void addFlexFixVariable(const Krv_String& variable, bool fixed);
  // The state of the variable's button group: flexible is true when the
  // flexible button is pressed, fixed when the fixed one is (exactly one of
  // them). eInvalidInput (flags unchanged) when the variable has no group.
  Acad::ErrorStatus getFlexFixBtnStatus(const Krv_String& variable, bool& flexible,
                                        bool& fixed) const;
  // A click on the fixed button (fixedButton true) or the flexible one.
  Acad::ErrorStatus flexFixBtnClicked(const Krv_String& variable, bool fixedButton);
  Krv_StringArray flexFixVariables() const;

  // ---- profile groups ----------------------------------------------------------------------
  // Adds (or replaces) a profile group with its merged properties.
  void addProfileGroup(const Krv_String& group, const MacroProfData& props);
  Acad::ErrorStatus getMergedPropsOfGroup(const Krv_String& group, MacroProfData& props) const;
  // eInvalidInput for a group that the tab lacks.
  Acad::ErrorStatus setMergedPropsOfGroup(const Krv_String& group, const MacroProfData& props);
  Krv_StringArray profileGroupNames() const;

 private:
  struct PatternBolts {
    Krv_String name;
    int nrBolts1 = 1;
    int nrBolts2 = 1;
    bool operator==(const PatternBolts&) const = default;
  };
  struct FlexFix {
    Krv_String variable;
    bool fixed = false;
    bool operator==(const FlexFix&) const = default;
  };
  struct ProfGroup {
    Krv_String name;
    MacroProfData props;
    bool operator==(const ProfGroup&) const = default;
  };

  bool mHasBoltData = false;
  MacroBoltData mBoltData;
  std::vector<PatternBolts> mPatterns;
  std::vector<FlexFix> mFlexFix;
  std::vector<ProfGroup> mProfGroups;
};

// MacroData: the record of the macro dialog: the macros being edited, one
// MacroTabData per tab, the filter lists, and the busy flag that is set
// while the core module works on the macro (a dialog is then not closed).
class MacroData {
 public:
  MacroData() = default;
  virtual ~MacroData() = default;
  MacroData(const MacroData&) = default;
  MacroData& operator=(const MacroData&) = default;
  bool operator==(const MacroData&) const = default;

  Krv_String mCaption;
  // The edited macros: their names and object identifiers.
  Krv_StringArray mMacroNames;
  AcArray<AcDbObjectId> mObjectIds;
  // The macro groups and the selected one (-1: none).
  Krv_StringArray mGroupNames;
  int mGroupIndex = -1;
  // The tab to show first (empty: the first) and whether a profile tab
  // opens its advanced profile settings at once.
  Krv_String mFirstTab;
  bool mShowProfAdv = false;
  // The two filter lists: items and selected index.
  Krv_StringArray mFilter1Items, mFilter2Items;
  int mFilter1Index = -1, mFilter2Index = -1;
  Krv_Array<MacroTabData> mTabs;

  bool isBusy() const { return mBusy; }
  void setBusy(bool busy) { mBusy = busy; }

  // The index of the tab of that name (ignoring case); false when none.
  bool findTab(const Krv_String& name, int& index) const;
  // The tab at index; nullptr outside the list.
  MacroTabData* getTab(int index);
  const MacroTabData* getTab(int index) const;
  // Appends a tab and returns its index.
  int addTab(const MacroTabData& tab) { return mTabs.append(tab); }

  // Builds one tab per module group of the macro (in the order of the
  // groups' first modules): kind 1 when the group has a bolt module (with
  // its patterns' bolt counts and empty bolt data), else 2 when it has a
  // profile module (one profile group per placement), else 0. The other
  // members are left as they are. eInvalidInput without a model.
  Acad::ErrorStatus buildTabsFromMacro(const Krv_DbMacro& macro);

 private:
  bool mBusy = false;
};
