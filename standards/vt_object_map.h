#pragma once
#include "platform/acad/ac_db.h"
#include "platform/acad/acad_status.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"
#include "standards/vt_value_type.h"

class Krv_DbMacro;
class Krv_Macro;
class Krv_Module;
class MacroData;
class VtVarCell;

// The kinds of mapped objects (0: none). Each has a word that stands in the
// mapping string and a value type:
//   1 Distance (Double)            constraint variable of each module of the group
//   2 GenVar (Double)              general variable of the macro
//   3..11 Cut...Offset, CutRadius  cut offset of type kind - 3 (Double)
//   12 PrPlName, 13 PrPlMaterial   a base profile, read only (String)
//   14 OwnedMemberName (String)    member name of a profile group of the tab
//   15 MemberSectionSize (Double)  a column value of a base profile's section
//   16, 17 PatternNrBolts1/2       bolt count of a pattern (String)
//   18, 19 PatternReverseStart1/2  reverse-start flag of a pattern (Int)
//   20 BoltsDiameter, 21 BoltsHoleOffset  bolt data of the tab (Double)
enum VtMapKind : int {
  kMapNone = 0,
  kMapDistance = 1,
  kMapGenVar = 2,
  kMapCutOffset = 3,
  kMapCutRadius = 11,
  kMapPrPlName = 12,
  kMapPrPlMaterial = 13,
  kMapOwnedMemberName = 14,
  kMapMemberSectionSize = 15,
  kMapPatternNrBolts1 = 16,
  kMapPatternNrBolts2 = 17,
  kMapPatternReverseStart1 = 18,
  kMapPatternReverseStart2 = 19,
  kMapBoltsDiameter = 20,
  kMapBoltsHoleOffset = 21,
};

namespace krv::standards {

inline constexpr int kMapKindCount = 21;

// The word of a kind; empty for 0 and values beyond 21.
Krv_String mapKindWord(int kind);
// The value type of a kind; false for a kind without word.
bool mapKindValueType(int kind, VtValueType& type);

// The separators of mapping texts: between group and kind word, between a
// sheet variable and its mapping string, between the entries of a line.
inline constexpr wchar_t kMapGroupSeparator = L'\u2022';
inline constexpr wchar_t kMapEntrySeparator = L'\u0192';
inline constexpr wchar_t kMapListSeparator = L'\u00BF';

}  // namespace krv::standards

// VtObjectMap: one value of a macro, addressed by a group name, a kind and
// an object name, and the sheet variable coupled to it. Its stored form,
// the mapping string, is group + "•" + kind word + " " + object name.
//
// Categories, from the module's dialog variable flags: 0 visible and
// settable, 1 visible and not settable, 2 invisible and settable,
// 3 neither (the default).
class VtObjectMap {
 public:
  VtObjectMap() = default;
  virtual ~VtObjectMap() = default;
  VtObjectMap(const VtObjectMap&) = default;
  VtObjectMap& operator=(const VtObjectMap&) = default;

  const Krv_String& group() const { return mGroup; }
  const Krv_String& objectName() const { return mObjectName; }
  const Krv_String& ssVariable() const { return mSSVariable; }
  int kind() const { return mKind; }
  int category() const { return mCategory; }
  const Krv_String& label() const { return mLabel; }
  void setGroup(const Krv_String& group) { mGroup = group; }
  void setObjectName(const Krv_String& name) { mObjectName = name; }
  void setSSVariable(const Krv_String& name) { mSSVariable = name; }
  void setKind(int kind) { mKind = kind; }
  void setCategory(int category) { mCategory = category; }
  void setLabel(const Krv_String& label) { mLabel = label; }

  // Fills group, kind, object name and sheet variable from a sheet variable
  // name and a mapping string. The kind word is the first of the 21 words
  // that the stripped rest after "•" starts with (ignoring case); the
  // object name is what follows the first blank. eInvalidInput without "•"
  // or without a known word (object unchanged then). Category and label
  // stay as they were.
  Acad::ErrorStatus getMappingFromStrs(const Krv_String& ssVariable, const Krv_String& mappingStr);
  // The mapping string and the sheet variable; eInvalidInput for a kind
  // without word.
  Acad::ErrorStatus setMappingToStrs(Krv_String& mappingStr, Krv_String& ssVariable) const;
  // eOk when group, object name and kind are equal (names ignoring case).
  Acad::ErrorStatus isCompatible(const VtObjectMap& other) const;
  // Parses the entry of the cell's name: its index in ssVariables (ignoring
  // case) picks the mapping string. eInvalidInput when the name is missing
  // or the index lies beyond mappingStrs.
  Acad::ErrorStatus mapFromArrays(const Krv_StringArray& ssVariables,
                                  const Krv_StringArray& mappingStrs, const VtVarCell& cell);

  // Reads or writes the addressed value as text (see getSetMacroVarValue).
  Acad::ErrorStatus getMacroVarValue(Krv_DbMacro* dbMacro, MacroData* macroData, Krv_String& value,
                                     AcTransaction* transaction);
  Acad::ErrorStatus setMacroVarValue(Krv_DbMacro* dbMacro, MacroData* macroData, Krv_String& value,
                                     AcTransaction* transaction);

  // The text that lists the object: the group; the object name (after a
  // "." when there is a group); for kinds other than 1 and 15 the kind word
  // (after a "." when there is an object name); then the label.
  Krv_String displayText() const;

 private:
  // Module kinds go to every module of the group (reading: the last module
  // that delivers wins; writing: each receives the value) and succeed once
  // the group's modules could be listed. General variables, base profiles
  // and section values are read or written on the macro itself.
  Acad::ErrorStatus getSetMacroVarValue(Krv_DbMacro* dbMacro, MacroData* macroData,
                                        Krv_String& value, bool read, AcTransaction* transaction);
  // One module of the group, at its position in the group's list.
  Acad::ErrorStatus getSetModuleVarValue(Krv_Macro* macro, MacroData* macroData,
                                         Krv_String& moduleName, int position, Krv_String& value,
                                         bool read, AcTransaction* transaction);

  Krv_String mGroup;
  Krv_String mObjectName;
  Krv_String mSSVariable;
  int mKind = kMapNone;
  int mCategory = 3;
  Krv_String mLabel;
};

// The direct-name access: the sheet variable name itself addresses a value
// of one module ("gen." + name for a general variable "gen_" + name;
// "<placement>.Name" and ".Material"; "<cut>.Cut", ".CutPoly",
// ".CutLength", ".CutCenter", ".CutInside", ".CutOutside", ".Chamfer1",
// ".Chamfer2", ".CutRadius"; ".Diameter" and ".HoleOffset" of the tab's
// bolts; "<pattern>.NrBolts1/2" and ".ReverseStart1/2"; "<group>.MemberName";
// any other numeric name is a constraint variable). Used when a standard
// runs for a module group.
Acad::ErrorStatus getSetNamedVarValue(const Krv_String& ssVariable, const VtValueType& type,
                                      Krv_Macro* macro, Krv_Module* module, MacroData* macroData,
                                      Krv_String& value, bool read, AcTransaction* transaction);
