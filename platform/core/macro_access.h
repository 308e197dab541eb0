#pragma once
// The core module's access to single values of a macro, as the standards
// engine and the macro dialogs use it. Each operation returns eOk or
// eInvalidInput; on failure its outputs are left as they were. Names are
// compared ignoring letter case. Numbers cross as text where a value text
// is asked for.
#include "platform/acad/ac_array.h"
#include "platform/acad/ac_db.h"
#include "platform/acad/acad_status.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_db_macro.h"
#include "platform/core/krv_macro.h"
#include "platform/core/krv_module.h"
#include "platform/core/krv_string.h"
#include "platform/core/section_table_manager.h"

// The names of the modules of a group, in the macro's order: the modules
// whose group name is `group`, and a module without group whose own name
// is `group`. An empty group names no module: the list is empty and the
// result eOk (values of the macro itself are addressed with an empty
// group). Fails without a macro or when no module belongs to a named group.
Acad::ErrorStatus getModNamesOfGroup(const Krv_Macro* macro, const Krv_String& group,
                                     Krv_StringArray& names);

// Opens a module for writing by its name and its position in its group
// (as getModNamesOfGroup lists them). The position must be that of the
// named module; a negative position accepts any.
Acad::ErrorStatus openModule(Krv_Macro* macro, const Krv_String& name, int position,
                             Krv_Module*& module);

// Reads (read true) or writes a constraint variable of the module. Reading
// gives the value with 8 decimals; writing takes the number at the start
// of the text (_wtof).
Acad::ErrorStatus getSetConstrVarValue(Krv_Module* module, const Krv_String& name,
                                       Krv_String& value, bool read);

// The variables that the macro dialog can show for the module: its
// constraint variables with their visible and settable flags.
Acad::ErrorStatus getDialogVariables(const Krv_Module* module, Krv_StringArray& names,
                                     AcArray<bool>& visible, AcArray<bool>& settable);

// ---- cuts ---------------------------------------------------------------------------
Acad::ErrorStatus getCutConstraint(Krv_Module* module, const Krv_String& name,
                                   Krv_CutConstraint*& cut);
// All cuts of the module: names and cut types, in order.
Acad::ErrorStatus getCutConstraints(const Krv_Module* module, Krv_StringArray& names,
                                    AcArray<int>& cutTypes);
// The offset types that a cut type offers, ascending:
//   1 profile against plate       0 Offset, 1 PolyOffset, 2 LengthOffset
//   2 profile against profile     0 Offset, 1 PolyOffset
//   3 profile in profile          0 Offset, 3 CenterOffset
//   4 against profile, 3 segments 0 Offset, 4 InsideOffset, 5 OutsideOffset
//   5 chamfer                     6 Offset1, 7 Offset2
//   6 fillet                      8 Radius
// Fails for any other cut type.
Acad::ErrorStatus getCutOffsets(int cutType, AcArray<int>& offsetTypes);
// Reads or writes one offset of the cut; fails for an offset type that the
// cut's type does not offer.
Acad::ErrorStatus getSetCutValue(Krv_CutConstraint* cut, int offsetType, double& value, bool read);

// ---- bolt patterns ------------------------------------------------------------------------
// The named pattern of a bolt module (type 232); fails for other modules.
Acad::ErrorStatus findPattern(Krv_Module* boltModule, const Krv_String& name,
                              Krv_BoltPattern*& pattern);
Acad::ErrorStatus getPatternIds(const Krv_Module* module, AcArray<AcDbObjectId>& ids);
Acad::ErrorStatus getPattern(const Krv_Module* module, const AcDbObjectId& id,
                             const Krv_BoltPattern*& pattern, AcTransaction* transaction);
// Reads or writes the start side of a pattern's direction (1 or 2; 2 only
// for patterns of type 282). Writing with flag true makes the bolts start
// from the far side (reverse start). Reading gives the flag true when the
// bolts start from the near side, that is when the direction is NOT
// reversed; so a value written and read back through the standards engine
// (which inverts the read flag) comes back as written.
Acad::ErrorStatus getSetBoltPatternReverses(Krv_Module* boltModule, Krv_BoltPattern* pattern,
                                            int direction, bool read, bool& flag,
                                            AcTransaction* transaction);

// ---- profiles -------------------------------------------------------------------------------
// The named profile placement of a module.
Acad::ErrorStatus getNamedPrpl(Krv_Module* module, const Krv_String& name, Krv_Profile*& placement);
// The section name and the material of a placement or base profile; fail
// for a null profile or an empty text.
Acad::ErrorStatus getSectionName(const Krv_Profile* profile, Krv_String& section);
Acad::ErrorStatus getMaterial(const Krv_Profile* profile, Krv_String& material);
// The base profile of the macro with that number (from 0).
Acad::ErrorStatus getBaseProf(const Krv_DbMacro* macro, int number, const Krv_Profile*& profile,
                              AcTransaction* transaction);
// getSectionValue and getSectionColumnNames (section values by column
// index from 0, and the column names) are those of section_table_manager.h.
