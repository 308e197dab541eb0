#pragma once
#include "platform/acad/ac_array.h"
#include "platform/acad/ac_db.h"
#include "platform/acad/acad_status.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"
#include "standards/vt_object_map.h"
#include "standards/vt_value_type.h"

class Krv_DbMacro;
class Krv_Macro;
class Krv_Module;
class VtDlgStandardsData;

// VtSSMapping: ties the variable names of a standards sheet to values of a
// macro, in one of two modes:
//   1 module-group mode: every name is resolved by the direct-name access
//     (getSetNamedVarValue) against the modules of the record's group;
//   2 macro mode: a list of mapped objects, read from the standard's
//     mapping file under the caller's key.
// 0 means not set up.
//
// The mapping file lies beside the standard's sheet under the sheet's base
// name: "<library>\Connection Standards\<standard>.map" for a standard
// given by name, "<folder>\<name>.map" for one given by the path of its
// sheet file. It has the header line "Mapping version 1.0" and then one
// line per key:
//   key=var1ƒgroup•Kind name¿var2ƒ•GenVar gen_x
// A first line containing "Mapping" and "version" is taken for a header
// whatever its version; a file without one is read from its first line.
class VtSSMapping {
 public:
  VtSSMapping() = default;
  virtual ~VtSSMapping() = default;
  VtSSMapping(const VtSSMapping&) = default;
  VtSSMapping& operator=(const VtSSMapping&) = default;

  // How variables reach the macro: kNotSetUp until initFromModuleGroup or
  // initFromMacro.
  static constexpr int kNotSetUp = 0, kModuleGroupMode = 1, kMacroMode = 2;
  int mode() const { return mMode; }
  const Krv_Array<VtObjectMap>& mappedObjects() const { return mObjects; }
  Krv_Array<VtObjectMap>& mappedObjectsWrite() { return mObjects; }

  // The mapping file of a standard (a name, or the path of a sheet file).
  static Krv_String mappingFilePath(const Krv_String& standardName);

  // ---- setting up ----------------------------------------------------------------
  // Macro mode from the record's mapping file and caller name. Fails when
  // the record holds no macro or names a module group; otherwise the mode
  // becomes kMacroMode (also when reading the file fails) and the result is that of
  // getMappingFromFile.
  Acad::ErrorStatus initFromMacro(VtDlgStandardsData& data);
  // Module-group mode; fails for an empty group. The object list stays.
  Acad::ErrorStatus initFromModuleGroup(Krv_String group);

  // ---- values ------------------------------------------------------------------------
  // Reads (writes) the value of a sheet variable of the given type from
  // (into) the record's macro. Module-group mode reads from the first module
  // of the group that delivers and writes into every module of the group
  // (eOk when at least one took the value); the other modes go through the
  // object found by findSSVar.
  Acad::ErrorStatus getMacroVarValue(const Krv_String& ssVariable, const VtValueType& type,
                                     Krv_String& value, VtDlgStandardsData& data);
  Acad::ErrorStatus setMacroVarValue(const Krv_String& ssVariable, const VtValueType& type,
                                     Krv_String& value, VtDlgStandardsData& data);
  // The first object whose kind has exactly this value type and whose sheet
  // variable is the name (ignoring case).
  Acad::ErrorStatus findSSVar(const Krv_String& ssVariable, const VtValueType& type,
                              int& index) const;

  // ---- the mapping file ------------------------------------------------------------------
  // Replaces the objects by the line of the key (keys compared exactly). An
  // empty file succeeds and changes nothing; a missing file or key fails.
  Acad::ErrorStatus getMappingFromFile(Krv_String standardName, const Krv_String& key);
  // Stores the objects under the key. Objects without kind word, entries of
  // duplicate sheet variables (the first is kept) and sheet variables with
  // characters invalid in file names are left out. When the file already
  // holds an equal mapping under the key nothing is written; otherwise the
  // key's line is removed and the new one appended at the end, and the
  // file is rewritten atomically with the header. eInvalidInput when the
  // write fails (the old file stays whole then).
  Acad::ErrorStatus setMappingToFile(Krv_String standardName, Krv_String& key);
  // Replaces the objects by the entries of one line ("key=entry¿entry");
  // entries without "ƒ" or with an unreadable mapping string are skipped.
  // eInvalidInput only for a line without "=".
  Acad::ErrorStatus initMappingFromLine(const Krv_String& line);
  // Whether the file holds a mapping equal to this one; the first such
  // line gives its key.
  bool hasSameMapping(const Krv_String& standardName, Krv_String& key) const;

  // ---- comparison ---------------------------------------------------------------------------
  // Every own object has a kind with a value type, and the other mapping has
  // an object of the same sheet variable and value type that is compatible
  // with it. Objects only the other has are not looked at.
  bool isEqual(const VtSSMapping& other) const;
  // The first own object compatible with the given one.
  Acad::ErrorStatus findCompatible(const VtObjectMap& object, int& index) const;
  // count: the own objects without a compatible object in the other
  // mapping. Always eOk.
  Acad::ErrorStatus isCompatible(const VtSSMapping& other, int& count) const;

  // ---- all mappable objects of a macro --------------------------------------------------------
  // Appends every object of the macro that a sheet variable can be coupled
  // to: per module (groups as the modules' group names, or module names)
  // its dialog variables, cut offsets, bolt data and patterns (bolt
  // modules) and profile placements (profile modules); then the base
  // profiles with their section columns and the general variables.
  Acad::ErrorStatus initAllVarsFromMacro(Krv_DbMacro* dbMacro, AcTransaction* transaction);
  // The indices of the objects whose value type is of the same numeric
  // class as the given one, in object order.
  Acad::ErrorStatus getValidVars(const bool& unused, const VtValueType& type,
                                 AcArray<int>& indices) const;
  // Groups the indices by their objects' categories in the order of the
  // list `order` (categories the list lacks go into the last group); each
  // group is preceded by -1. eInvalidInput (and an empty list) for an
  // empty order list.
  Acad::ErrorStatus sortValidVars(AcArray<int>& indices, const AcArray<int>& order) const;

 private:
  void addAllVariables(const Krv_Module* module, Krv_String& group);
  void addAllCuts(const Krv_Module* module, Krv_String& group);
  void addAllPatterns(const Krv_Module* module, Krv_String& group, AcTransaction* transaction);
  void addAllProfPlacements(const Krv_Module* module, Krv_String& group,
                            AcTransaction* transaction);
  void addAllBaseProfs(const Krv_DbMacro* dbMacro, AcTransaction* transaction);
  void addAllGenVars(const Krv_Macro* macro);
  void addObject(const Krv_String& group, const Krv_String& name, int kind, int category,
                 const Krv_String& label = Krv_String());

  int mMode = kNotSetUp;
  Krv_Array<VtObjectMap> mObjects;
};
