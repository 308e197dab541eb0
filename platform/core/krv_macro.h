#pragma once
#include <vector>

#include "platform/acad/acad_status.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_module.h"
#include "platform/core/krv_string.h"

// Krv_Macro: the model of a connection macro. It holds modules (in the
// order they were added; each with a name unique in the macro), general
// variables (named numbers, in order of addition) and base profiles
// (numbered from 0 in order of addition). Module and variable names are
// compared ignoring case.
class Krv_Macro {
 public:
  Krv_Macro() = default;
  explicit Krv_Macro(const Krv_String& name) : mName(name) {}
  virtual ~Krv_Macro() = default;
  Krv_Macro(const Krv_Macro&) = default;
  Krv_Macro& operator=(const Krv_Macro&) = default;

  const Krv_String& name() const { return mName; }
  void setName(const Krv_String& name) { mName = name; }

  // ---- modules ----------------------------------------------------------------
  // Adds a copy of the module and returns it; nullptr when its name is
  // empty or already used.
  Krv_Module* addModule(const Krv_Module& module);
  const Krv_Module* findModule(const Krv_String& name) const;
  Krv_Module* findModuleWrite(const Krv_String& name);
  // The module names in order; false (and an empty list) without modules.
  bool getModuleNames(Krv_StringArray& names) const;
  const std::vector<Krv_Module>& modules() const { return mModules; }

  // ---- general variables ---------------------------------------------------------
  // Adds a variable or, when it exists, sets its value.
  void addGeneralVariable(const Krv_String& name, double value);
  // The names in order.
  void getGeneralVariables(Krv_StringArray& names) const;
  // eInvalidInput for a name that the macro lacks (value unchanged).
  Acad::ErrorStatus generalVariableValue(const Krv_String& name, double& value) const;
  Acad::ErrorStatus setGeneralVariable(const Krv_String& name, double value);

  // ---- base profiles -------------------------------------------------------------------
  // Adds a base profile (a new identifier when it has none) and returns its
  // number.
  int addBaseProfile(const Krv_Profile& profile);
  const std::vector<Krv_Profile>& baseProfiles() const { return mBaseProfiles; }
  std::vector<Krv_Profile>& baseProfilesWrite() { return mBaseProfiles; }

 private:
  struct GenVar {
    Krv_String name;
    double value = 0.0;
  };
  const GenVar* findGenVar(const Krv_String& name) const;

  Krv_String mName;
  std::vector<Krv_Module> mModules;
  std::vector<GenVar> mGenVars;
  std::vector<Krv_Profile> mBaseProfiles;
};
