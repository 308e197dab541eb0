#pragma once
#include <vector>

#include "platform/acad/ac_db.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

// Type codes of modules and bolt patterns, as the module's type query and
// a pattern's type give them.
inline constexpr int kKrvGeneralModuleType = 231;
inline constexpr int kKrvBoltModuleType = 232;
inline constexpr int kKrvProfModuleType = 233;
inline constexpr int kKrvPatternOneDirType = 281;
inline constexpr int kKrvPatternTwoDirType = 282;

// The offsets that a cut can carry. A cut type offers some of them (see
// getCutOffsets in macro_access.h).
enum VtCutOffsetType : int {
  kCutOffset = 0,
  kCutPolyOffset = 1,
  kCutLengthOffset = 2,
  kCutCenterOffset = 3,
  kCutInsideOffset = 4,
  kCutOutsideOffset = 5,
  kCutChamferOffset1 = 6,
  kCutChamferOffset2 = 7,
  kCutRadius = 8,
};
inline constexpr int kCutOffsetTypeCount = 9;

// The variable name of an offset type as the cuts dialog and the macro file
// spell it ("Offset", "PolyOffset", ... "Offset1", "Offset2", "Radius");
// empty for a type outside 0..8.
Krv_String cutOffsetName(int offsetType);
// The offset type of such a name (ignoring case); -1 when unknown.
int cutOffsetType(const Krv_String& name);

// A constraint (distance) variable of a module, with the flags that say
// whether the macro dialog shows it and lets the user set it.
struct Krv_ConstrVar {
  Krv_String name;
  double value = 0.0;
  bool visible = true;
  bool settable = true;
};

// A cut constraint: its name, its cut type (1 profile against plate,
// 2 profile against profile, 3 profile in profile, 4 profile against
// profile in three segments, 5 chamfer, 6 fillet) and one value per offset
// type that the cut type offers.
struct Krv_CutConstraint {
  Krv_String name;
  int cutType = 1;
  double offsets[kCutOffsetTypeCount] = {0, 0, 0, 0, 0, 0, 0, 0, 0};
};

// A bolt pattern of a bolt module. Patterns of type 282 have bolts in two
// directions, other types in the first direction only. A reverse-start flag
// tells that the bolts of that direction are counted from the far side.
struct Krv_BoltPattern {
  AcDbObjectId id;
  Krv_String name;
  int typeCode = kKrvPatternTwoDirType;
  int nrBolts1 = 1;
  int nrBolts2 = 1;
  bool reverseStart1 = false;
  bool reverseStart2 = false;
};

// A profile: a profile placement of a module, or a base profile of a macro.
struct Krv_Profile {
  AcDbObjectId id;
  Krv_String name;
  Krv_String section;
  Krv_String material;
};

// A new object identifier, unique in this process.
AcDbObjectId krvNewObjectId();

// Krv_Module: one module of a connection macro. It has a name, the name of
// its group (empty when it stands alone), a type code, constraint
// variables, cut constraints, bolt patterns and profile placements. Names
// of variables, cuts, patterns and placements are compared ignoring case.
class Krv_Module {
 public:
  Krv_Module() = default;
  Krv_Module(const Krv_String& name, const Krv_String& group, int typeCode = kKrvGeneralModuleType)
      : mName(name), mGroupName(group), mType(typeCode) {}
  virtual ~Krv_Module() = default;
  Krv_Module(const Krv_Module&) = default;
  Krv_Module& operator=(const Krv_Module&) = default;

  // The type query: 232 a bolt module, 233 a profile module, other codes
  // other modules.
  virtual int type() const { return mType; }
  void setType(int typeCode) { mType = typeCode; }
  bool isBoltModule() const { return type() == kKrvBoltModuleType; }
  bool isProfModule() const { return type() == kKrvProfModuleType; }

  const Krv_String& name() const { return mName; }
  const Krv_String& groupName() const { return mGroupName; }
  void setName(const Krv_String& name) { mName = name; }
  void setGroupName(const Krv_String& group) { mGroupName = group; }
  // The group name, or the module's own name when it has no group: the
  // name of its tab and of the group under which it is addressed.
  const Krv_String& groupOrName() const { return mGroupName.isEmpty() ? mName : mGroupName; }

  // Each add fails (false, nothing added) when the name is empty or already
  // used by an object of the same sort in this module. A pattern or a
  // placement without identifier gets a new one.
  bool addConstrVar(const Krv_ConstrVar& var);
  bool addCut(const Krv_CutConstraint& cut);
  bool addPattern(const Krv_BoltPattern& pattern);
  bool addPlacement(const Krv_Profile& placement);

  Krv_ConstrVar* findConstrVar(const Krv_String& name);
  const Krv_ConstrVar* findConstrVar(const Krv_String& name) const;
  Krv_CutConstraint* findCut(const Krv_String& name);
  Krv_BoltPattern* findPattern(const Krv_String& name);
  Krv_BoltPattern* findPattern(const AcDbObjectId& id);
  const Krv_BoltPattern* findPattern(const AcDbObjectId& id) const;
  Krv_Profile* findPlacement(const Krv_String& name);

  const std::vector<Krv_ConstrVar>& constrVars() const { return mVars; }
  const std::vector<Krv_CutConstraint>& cuts() const { return mCuts; }
  const std::vector<Krv_BoltPattern>& patterns() const { return mPatterns; }
  const std::vector<Krv_Profile>& placements() const { return mPlacements; }

 private:
  Krv_String mName;
  Krv_String mGroupName;
  int mType = kKrvGeneralModuleType;
  std::vector<Krv_ConstrVar> mVars;
  std::vector<Krv_CutConstraint> mCuts;
  std::vector<Krv_BoltPattern> mPatterns;
  std::vector<Krv_Profile> mPlacements;
};
