#pragma once
// The functions this module exports to the product's other modules: the
// launch functions of its dialogs, the functions that read or close the
// modeless windows they opened, and the sheets manager's notification.
//
// Each launch function lives beside the dialog it starts; this header only
// declares them, so that callers (and the module entry, which closes the
// modeless windows at unload) need one include. Modal launch functions
// switch resource lookup to this module, run their dialog on a copy of the
// caller's record and copy it back only when the user confirmed (OK), unless
// noted otherwise at the declaration. No exception leaves them.
//
// Records that belong to the core module or to a subsystem still to come
// are only declared here; the functions taking them are defined where the
// record and the dialog are.

#include "platform/acad/ac_array.h"
#include "platform/acad/ac_db.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"

#define KRV_SS_EXPORT __attribute__((visibility("default")))

// Records of the core module and of the module's subsystems.
class MacroData;
class EditConstrData;
class DlgEditLibData;
class Krv_ProfValuesTable;
class DlgMacroCutsData;
class DlgCSP2Data;
class MacroProfData;
class VtMACallBackData;
class DlgProfCutsData;
class DynArrayData;
class DlgProfFeaturesData;
class VtGridDlgData;
class VtLevelsDlgData;
class VtLookUpDlgData;
class VtSelectImageDlgData;
class VtCladdingDlgData;
class VtUiBillSettings;
class VtUiDefaultTagSettings;
class VtUiDefaultTagSettingsMgr;
class VtDimSettingsDlgData;
class VtDlgStandardsData;
class VtDlgCis2Data;
class VtBracingDlgData;
class VtAutoStandardsData;
class WsUiGlobalSettings;

// Enumerations of the core module; their definitions keep `int` as the
// underlying type so that these declarations match.
enum VtSheetAction : int;
enum VtMACallBackType : int;

// The callback through which the multi-object section dialog reads and
// writes the merged section properties of a group of objects.
using VtMACallBack = bool (*)(VtMACallBackType, const VtMACallBackData&, MacroProfData&);

// --- Macro dialog ----------------------------------------------------------
// Runs the macro dialog modally; the record is copied back whatever the user
// chose.
KRV_SS_EXPORT void StartDlgMacro(MacroData& data);
// Opens a modeless macro dialog on a copy of `data` in a slot of the modeless
// table (the highest-numbered empty slot, else a new one) and gives the slot
// number in `slot` (-1 when it fails). Unless `keepFocus`, the keyboard focus
// goes back to the host's main window. True when the window exists.
KRV_SS_EXPORT bool StartDlgMacroModeless(bool keepFocus, MacroData& data, int& slot);
// Copies the record of the dialog in `slot`; false for an empty or invalid
// slot.
KRV_SS_EXPORT bool GetDlgMacroData(int slot, MacroData& data);
// Closes the dialog in `slot`. While its macro is busy the close is retried
// every 50 ms by a thread timer and the result is true at once. False for an
// empty or invalid slot, or when the window cannot be destroyed.
KRV_SS_EXPORT bool EndDlgMacroModeless(int slot);
// Ends every modeless macro dialog, from the last slot to the first.
KRV_SS_EXPORT void DestroyAllMacroDlgs();

// --- Macro editor ------------------------------------------------------------
// Runs the macro editor modally; the record is copied in, not back. True on OK.
KRV_SS_EXPORT bool StartDlgEditConstrModal(EditConstrData& data);
// Opens the single modeless macro editor on a copy of `data`; does nothing
// when it is open already. Always true.
KRV_SS_EXPORT bool StartDlgEditConstraints(EditConstrData& data);
// Closes the modeless macro editor if it is open ("Erase window failed" on
// the command line when its window cannot be destroyed).
KRV_SS_EXPORT void EndDlgEditConstraints();

// --- Grids, spreadsheet files and standards -----------------------------------
// A grid of text rows under the given column headers. An empty `sizeName`
// stores the dialog size as "DLG_SS_STRINGARRAY"; on OK `rows` is replaced.
KRV_SS_EXPORT bool startGridDialog(const Krv_StringArray& headers, const Krv_StringArray& columns,
                                   Krv_Array<Krv_StringArray>& rows, bool readOnly,
                                   Krv_String sizeName, Krv_String title);
KRV_SS_EXPORT void ReadSSFile(const Krv_String& file, Krv_String& name, Krv_StringArray& header,
                              Krv_Array<Krv_StringArray>& rows);
KRV_SS_EXPORT void EvaluateSS();
KRV_SS_EXPORT bool StartDlgStandardsSS(VtDlgStandardsData& data);
KRV_SS_EXPORT bool StartDlgStandardsSStest();
KRV_SS_EXPORT bool StartDlgGenVars(VtAutoStandardsData& data);

// --- Section library ---------------------------------------------------------
KRV_SS_EXPORT bool StartDlgEditLibSections(DlgEditLibData& data, const Krv_String& sectionName);
// Does not switch resource lookup itself. On OK the table and `row` are
// given back.
KRV_SS_EXPORT bool StartDlgEditLibSimple(const Krv_String& sysName, Krv_ProfValuesTable& table,
                                         int& row);

// --- Macro selection, cuts, designer -------------------------------------------
// Every name enabled.
KRV_SS_EXPORT bool StartDlgSelectMacro(const Krv_String& title, const Krv_StringArray& names,
                                       const int& first, const int& second, Krv_String& chosen,
                                       bool& alternative, bool hint);
KRV_SS_EXPORT bool StartDlgSelectMacro(const Krv_String& title, const Krv_StringArray& names,
                                       const AcArray<bool>& enabled, const int& first,
                                       const int& second, Krv_String& chosen, bool& alternative,
                                       bool hint);
// `escaped` is set whatever the user chose; the record only on OK.
KRV_SS_EXPORT bool StartDlgMacroCuts(DlgMacroCutsData& data, bool& escaped);
KRV_SS_EXPORT bool StartDlgDesigner(const Krv_String& designPath);
KRV_SS_EXPORT bool GetImageDlgCtrlNames(const Krv_String& designPath, Krv_StringArray& names);

// --- Macro parts and smaller dialogs --------------------------------------------
KRV_SS_EXPORT bool StartDlgCSP2(DlgCSP2Data& data);
KRV_SS_EXPORT void StartDSTVPointsDlg();
KRV_SS_EXPORT void StartDlgMacroProfAdv(MacroData& data, const Krv_String& group,
                                        const Krv_String& module, bool readOnly);
// Returns at once for a null or empty list; `changed` is in and out.
KRV_SS_EXPORT void StartDlgMacroProfAdv(AcArray<AcDbObjectId>* objects, bool& changed,
                                        VtMACallBack callback);
KRV_SS_EXPORT bool StartEditProfCutsDlg(DlgProfCutsData& data);
KRV_SS_EXPORT bool StartArrayDlg(DynArrayData& data, const AcArray<AcDbObjectId>& objects,
                                 const Krv_String& title);
KRV_SS_EXPORT bool StartDlgProfFeatures(DlgProfFeaturesData& data);
KRV_SS_EXPORT bool StartDlgGrid(VtGridDlgData& data);
KRV_SS_EXPORT bool StartDlgLevels(VtLevelsDlgData& data);
KRV_SS_EXPORT bool StartDlgLookUp(VtLookUpDlgData& data);
KRV_SS_EXPORT bool StartDlgSelectImage(VtSelectImageDlgData& data);
KRV_SS_EXPORT bool StartDlgCladdingSettings(VtCladdingDlgData& data);
// `lockVisible` is handed to the dialog.
KRV_SS_EXPORT bool StartDlgBillSettings(VtUiBillSettings& settings, bool lockVisible);
KRV_SS_EXPORT bool StartDlgTagSettings(VtUiDefaultTagSettings& settings);
// The dialog works on the pointed-to manager itself; true on OK.
KRV_SS_EXPORT bool StartDlgTagMgrSettings(VtUiDefaultTagSettingsMgr* manager);
KRV_SS_EXPORT bool StartDlgDimSettings(VtDimSettingsDlgData& data);
KRV_SS_EXPORT bool StartDlgCis2Info(VtDlgCis2Data& data);
KRV_SS_EXPORT bool StartDlgBracing(VtBracingDlgData& data);

// --- Workshop drawings -----------------------------------------------------------
// Opens the sheets manager in its docking bar, or shows the existing bar.
KRV_SS_EXPORT bool StartModelessDlgSheetsMgr();
// Closes the sheets manager's bar; false without one or when its window
// cannot be destroyed.
KRV_SS_EXPORT bool EndModelessDlgSheetsMgr();
// True while the sheets manager's bar exists.
KRV_SS_EXPORT bool isSheetsMgrDlgActive();
// Shows the sheets manager's bar again (at once) if it exists.
KRV_SS_EXPORT void restoreSheetsMgrDlgVisibility();
// Passes the action to the hosted sheets manager if bar and dialog exist.
KRV_SS_EXPORT void actionNotifyToSheetsMgrDlg(VtSheetAction action);
KRV_SS_EXPORT bool StartDlgWsSettings(WsUiGlobalSettings& settings);
