#include "tools/launchers.h"

#include <exception>
#include <memory>

#include "designer/cdlg_designer.h"
#include "designer/designer_record.h"
#include "frame/exported_functions.h"
#include "frame/module_entry.h"
#include "frame/resource_guard.h"
#include "frame/ss_dlgs_mgr.h"
#include "platform/base/case_folding.h"
#include "platform/base/utf.h"
#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/macro_file.h"
#include "platform/core/vt_auto_standards_data_file.h"
#include "platform/sheet/sheet_file.h"
#include "platform/win/person.h"
#include "platform/win/user_interface.h"
#include "spread/cformula.h"
#include "spread/dlg_find_replace.h"
#include "spread/dlg_ss_as_tool.h"
#include "spread/dlg_ss_options.h"
#include "spread/dlg_ss_settings.h"
#include "spread/editor_language_record.h"
#include "spread/find_replace_record.h"
#include "spread/formula_window_record.h"
#include "spread/krv_spread.h"
#include "spread/list_output_record.h"
#include "spread/sheet_options_record.h"
#include "standards/cdlg_gen_vars.h"
#include "standards/cdlg_ss_standards.h"
#include "standards/standard_files.h"
#include "standards/standards_evaluation_record.h"
#include "standards/vt_calc_ss.h"
#include "standards/vt_dlg_standards_data.h"
#include "standards/vt_ss_mapping.h"
#include "tools/sample_folders.h"

namespace krv::tools {
namespace {

namespace fs = std::filesystem;
using krv::base::Result;
using krv::base::Status;

// The module's resources for one run: loaded when they are not, and
// unloaded again only when this run loaded them.
class ModuleForRun {
 public:
  ModuleForRun() {
    if (!krv::frame::moduleInstance())
      mLoaded = krv::frame::loadModule(krv::frame::moduleResourceFolder()) != nullptr;
  }
  ~ModuleForRun() {
    if (mLoaded) krv::frame::unloadModule();
  }
  ModuleForRun(const ModuleForRun&) = delete;
  ModuleForRun& operator=(const ModuleForRun&) = delete;

 private:
  bool mLoaded = false;
};

// The library folder for one run; the previous one comes back afterwards.
class LibraryForRun {
 public:
  explicit LibraryForRun(const fs::path& folder) : mPrevious(Krv_Settings::libDir()) {
    Krv_Settings::setLibDir(krv::core::fromOsPath(folder) + L"\\");
  }
  ~LibraryForRun() { Krv_Settings::setLibDir(mPrevious); }
  LibraryForRun(const LibraryForRun&) = delete;
  LibraryForRun& operator=(const LibraryForRun&) = delete;

 private:
  Krv_String mPrevious;
};

fs::path sampleLibrary() { return checkoutFolder("examples/library"); }

// The library of a run: the options', else the sample library.
fs::path libraryOf(const LaunchOptions& options) {
  return options.library.empty() ? sampleLibrary() : fs::absolute(options.library);
}

// The text of a path (paths are UTF-8 bytes on this system).
std::wstring wide(const fs::path& p) { return krv::base::utf8ToWide(p.string()); }

// A path of a record (UTF-8), taken from the record file's folder when
// relative.
fs::path inRecordFolder(const fs::path& record, const std::string& path) {
  const fs::path p(path);
  if (p.is_absolute()) return p.lexically_normal();
  return (fs::absolute(record).parent_path() / p).lexically_normal();
}

// A file a record names must exist; the error names the record and member.
Status requireFile(const fs::path& record, const fs::path& file, const std::string& member) {
  if (fs::is_regular_file(file)) return {};
  return Status::fileError(record, "there is no file " + file.string(), member);
}

// Writes through `write` unless the options forbid writing; then the run
// counts as not confirmed.
void writeBack(LaunchOutcome& out, const LaunchOptions& options,
               const std::function<Status()>& write) {
  if (options.mayWrite && !options.mayWrite()) {
    out.confirmed = false;
    return;
  }
  if (Status s = write(); !s)
    out.writeFailure = s;
  else
    out.recordWritten = true;
}

// Passes everything on to the user interface installed before it, and lets
// the launcher act on a modal dialog before and after the person uses it.
class ModalHook : public UserInterface {
 public:
  using Step = std::function<void(CDialog&)>;
  ModalHook(Step before, Step after)
      : mInner(UserInterface::current()), mBefore(std::move(before)), mAfter(std::move(after)) {}

  void runModal(CDialog& d) override {
    if (mBefore) mBefore(d);
    mInner.runModal(d);
    if (mAfter) mAfter(d);
  }
  void runModeless(CWnd& w, const std::function<bool()>& finished) override {
    mInner.runModeless(w, finished);
  }
  int messageBox(HWND owner, const std::wstring& text, const std::wstring& caption,
                 UINT type) override {
    return mInner.messageBox(owner, text, caption, type);
  }
  bool chooseFiles(const FileDialogRequest& r, std::vector<std::wstring>& chosen) override {
    return mInner.chooseFiles(r, chosen);
  }
  bool trackRectangle(const CRect& s, int h, CRect& r) override {
    return mInner.trackRectangle(s, h, r);
  }
  bool trackRubberBand(CPoint s, CRect& r) override { return mInner.trackRubberBand(s, r); }
  bool pickPoint(const std::wstring& p, PickedPoint& pt) override {
    return mInner.pickPoint(p, pt);
  }
  bool pickObject(const std::wstring& p, std::int64_t& h) override {
    return mInner.pickObject(p, h);
  }
  int choosePopupMenuItem(const std::vector<std::wstring>& c, CPoint p) override {
    return mInner.choosePopupMenuItem(c, p);
  }

 private:
  UserInterface& mInner;
  Step mBefore, mAfter;
};

// ---- the general variables dialog ----------------------------------------------

Result<LaunchOutcome> runGenVars(const fs::path& file, const LaunchOptions& options) {
  VtAutoStandardsData data;
  if (Status s = krv::core::readGeneralVariablesFile(file, data); !s) return s;
  ModuleForRun module;
  LibraryForRun library(libraryOf(options));
  LaunchOutcome out;
  out.confirmed = StartDlgGenVars(data);
  if (out.confirmed)
    writeBack(out, options, [&] { return krv::core::writeGeneralVariablesFile(file, data); });
  return out;
}

// ---- the formula window -------------------------------------------------------------

Result<LaunchOutcome> runFormula(const fs::path& file, const LaunchOptions& options) {
  using krv::spread::FormulaWindowRecord;
  FormulaWindowRecord record;
  if (Status s = krv::spread::readFormulaWindowFile(file, record); !s) return s;
  const fs::path sheet = inRecordFolder(file, record.sheet);
  if (Status s = requireFile(file, sheet, "sheet"); !s) return s;

  ModuleForRun module;
  LibraryForRun library(libraryOf(options));
  krv::frame::ResourceGuard resources;
  CFormula window;
  // The file field shows the sheet as the window's own Load and Save
  // buttons take it: from the current folder when the sheet lies below it.
  window.mFile = wide(sheet);
  std::error_code ec;
  if (const fs::path here = fs::current_path(ec); !ec) {
    const fs::path below = sheet.lexically_relative(here);
    if (!below.empty() && *below.begin() != "..") window.mFile = wide(below);
  }
  FormulaWindowRecord back = record;
  std::wstring fileText = window.mFile;
  // The record's settings are made as a person makes them, once the window
  // is open; what the window shows when it ends is read back.
  ModalHook hook(
      [&](CDialog& d) {
        if (&d != &window) return;
        if (record.referenceStyle != FormulaWindowRecord::kDefault)
          krv::win::Person::click(
              &d, CFormula::kStyleDefault + static_cast<int>(record.referenceStyle));
        if (record.autoCalc) krv::win::Person::click(&d, CFormula::kAutoCalcCheck);
      },
      [&](CDialog& d) {
        if (&d != &window) return;
        const int checked = d.GetCheckedRadioButton(CFormula::kStyleDefault, CFormula::kStyleR1C1);
        if (checked)
          back.referenceStyle =
              static_cast<FormulaWindowRecord::Style>(checked - CFormula::kStyleDefault);
        back.autoCalc = d.IsDlgButtonChecked(CFormula::kAutoCalcCheck) == BST_CHECKED;
        fileText = d.GetDlgItemText(CFormula::kFileEdit);
      });
  krv::win::ScopedUserInterface use(hook);
  LaunchOutcome out;
  out.confirmed = window.DoModal() == IDOK;
  if (out.confirmed) {
    // The sheet keeps its spelling in the record unless the person typed
    // another file.
    if (fileText != window.mFile) back.sheet = krv::base::toUtf8(fileText);
    writeBack(out, options, [&] { return krv::spread::writeFormulaWindowFile(file, back); });
  }
  return out;
}

// ---- the formula window's list output ------------------------------------------------------

Result<LaunchOutcome> runListOutput(const fs::path& file, const LaunchOptions& options) {
  krv::spread::ListOutputRecord record;
  if (Status s = krv::spread::readListOutputFile(file, record); !s) return s;
  fs::path templateFile;
  if (!record.templateFile.empty()) templateFile = inRecordFolder(file, record.templateFile);
  const ListOutputDescription list = krv::spread::listOutputDescription(
      record, templateFile.empty() ? Krv_String() : krv::core::fromOsPath(templateFile));

  LaunchOutcome out;
  if (std::wstring error; !ListOutputLayout::check(list, error)) {
    out.failure = krv::base::toUtf8(error);
    return out;
  }
  ModuleForRun module;
  LibraryForRun library(libraryOf(options));
  krv::frame::ResourceGuard resources;
  CFormula window;
  window.mMode = CFormula::kListOutput;
  window.mListOutput = &list;
  const fs::path output = record.output.empty() ? fs::path() : inRecordFolder(file, record.output);
  out.confirmed = window.DoModal() == IDOK;
  if (out.confirmed) {
    writeBack(out, options, [&]() -> Status {
      // The sheet's document outlives its window: it is saved as the
      // window showed it when it ended.
      if (!output.empty()) {
        if (Status s = krv::sheet::saveSheetFile(window.mSheet.document(), output); !s) return s;
        out.alsoWritten.push_back(output);
      }
      return krv::spread::writeListOutputFile(file, record);
    });
  }
  return out;
}

// ---- find and replace -----------------------------------------------------------------

Result<LaunchOutcome> runFindReplace(const fs::path& file, const LaunchOptions& options) {
  krv::spread::FindReplaceRecord record;
  if (Status s = krv::spread::readFindReplaceFile(file, record); !s) return s;
  const fs::path sheetFile = inRecordFolder(file, record.sheet);
  if (Status s = requireFile(file, sheetFile, "sheet"); !s) return s;

  ModuleForRun module;
  LibraryForRun library(libraryOf(options));
  krv::frame::ResourceGuard resources;
  // The sheet window the dialog belongs to, showing the sheet file.
  CWnd host;
  if (!host.Create(L"#32770", wide(sheetFile.filename()).c_str(),
                   WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, CRect(40, 40, 680, 440),
                   nullptr, 0))
    return Status::error("the sheet window could not be made");
  Krv_Spread sheet;
  CRect client;
  host.GetClientRect(&client);
  std::string loadError;
  if (!sheet.createInParent(&host, client, 100) ||
      !sheet.LoadFromFile(wide(sheetFile), &loadError)) {
    sheet.DestroyWindow();
    host.DestroyWindow();
    return Status::fileError(sheetFile, loadError.empty() ? "it cannot be shown" : loadError);
  }
  sheet.setBoolOption(krv::spread::kOptionChanged, false);
  CDlgFindReplace* dialog = sheet.openFindDialog();
  LaunchOutcome out;
  if (!dialog) {
    out.failure = "the find and replace dialog could not be made";
  } else {
    dialog->setFindText(Krv_String::fromUtf8(record.find));
    dialog->setReplaceText(Krv_String::fromUtf8(record.replace));
    // The texts as long as the dialog is open: those it was closed with are
    // written back.
    krv::spread::FindReplaceRecord back = record;
    const auto closed = [&] {
      if (CDlgFindReplace* open = sheet.findDialog(); open && open->GetSafeHwnd()) {
        back.find = open->findText().utf8();
        back.replace = open->replaceText().utf8();
        return false;
      }
      return true;
    };
    closed();
    UserInterface::current().runModeless(*dialog, closed);
    out.confirmed = closed();
    if (!out.confirmed) {
      // Nobody closed it: it is closed here, and nothing is kept.
      if (CDlgFindReplace* open = sheet.findDialog(); open && open->GetSafeHwnd())
        open->SendMessage(WM_COMMAND, IDCANCEL);
    } else {
      writeBack(out, options, [&]() -> Status {
        if (Status s = krv::spread::writeFindReplaceFile(file, back); !s) return s;
        if (!sheet.getBoolOption(krv::spread::kOptionChanged)) return {};
        std::string error;
        if (!sheet.SaveToFile(wide(sheetFile), &error))
          return Status::fileError(sheetFile, error.empty() ? "it cannot be saved" : error);
        out.alsoWritten.push_back(sheetFile);
        return {};
      });
    }
  }
  sheet.DestroyWindow();
  host.DestroyWindow();
  return out;
}

// ---- sheet options -------------------------------------------------------------------------

Result<LaunchOutcome> runSheetOptions(const fs::path& file, const LaunchOptions& options) {
  krv::spread::SheetOptionsRecord record;
  if (Status s = krv::spread::readSheetOptionsFile(file, record); !s) return s;
  const fs::path sheetFile = inRecordFolder(file, record.sheet);
  if (Status s = requireFile(file, sheetFile, "sheet"); !s) return s;

  ModuleForRun module;
  LibraryForRun library(libraryOf(options));
  krv::frame::ResourceGuard resources;
  // The sheet window whose options are edited, showing the sheet file.
  CWnd host;
  if (!host.Create(L"#32770", wide(sheetFile.filename()).c_str(),
                   WS_POPUP | WS_CAPTION | WS_SYSMENU | WS_VISIBLE, CRect(40, 40, 680, 440),
                   nullptr, 0))
    return Status::error("the sheet window could not be made");
  Krv_Spread sheet;
  CRect client;
  host.GetClientRect(&client);
  std::string loadError;
  if (!sheet.createInParent(&host, client, 100) ||
      !sheet.LoadFromFile(wide(sheetFile), &loadError)) {
    sheet.DestroyWindow();
    host.DestroyWindow();
    return Status::fileError(sheetFile, loadError.empty() ? "it cannot be shown" : loadError);
  }
  LaunchOutcome out;
  out.confirmed = editSheetOptions(sheet, &host);
  if (out.confirmed) {
    writeBack(out, options, [&]() -> Status {
      std::string error;
      if (!sheet.SaveToFile(wide(sheetFile), &error))
        return Status::fileError(sheetFile, error.empty() ? "it cannot be saved" : error);
      out.alsoWritten.push_back(sheetFile);
      return krv::spread::writeSheetOptionsFile(file, record);
    });
  }
  sheet.DestroyWindow();
  host.DestroyWindow();
  return out;
}

// ---- the spreadsheet editor's language ------------------------------------------------------

// The dialog runs on the record's language instead of the registry's, so
// that a run on a record file leaves the machine's choice alone.
Result<LaunchOutcome> runEditorLanguage(const fs::path& file, const LaunchOptions& options) {
  using krv::spread::EditorLanguageRecord;
  EditorLanguageRecord record;
  if (Status s = krv::spread::readEditorLanguageFile(file, record); !s) return s;
  ModuleForRun module;
  krv::frame::ResourceGuard resources;
  CDlgSSSettings dialog;
  dialog.mSelected = static_cast<int>(record.language);
  LaunchOutcome out;
  out.confirmed = dialog.DoModal() == IDOK;
  if (out.confirmed) {
    EditorLanguageRecord back = record;
    if (dialog.mSelected >= EditorLanguageRecord::kNL &&
        dialog.mSelected <= EditorLanguageRecord::kFR)
      back.language = static_cast<EditorLanguageRecord::Language>(dialog.mSelected);
    writeBack(out, options, [&] { return krv::spread::writeEditorLanguageFile(file, back); });
  }
  return out;
}

// ---- the spreadsheet editor ---------------------------------------------------------------

// The record is the sheet file itself: the person edits it and saves it in
// the window (or anywhere else with Save as...). The run is confirmed when
// the person closed the window; the launcher writes nothing itself, and
// reports the record as written when the person saved it, other files
// saved as also written.
Result<LaunchOutcome> runSheetEditor(const fs::path& file, const LaunchOptions&) {
  ModuleForRun module;
  krv::frame::ResourceGuard resources;
  CDlgSSAsTool editor;
  if (!editor.create()) return Status::error("the spreadsheet editor could not be made");
  if (Status s = editor.openFile(file); !s) {
    editor.DestroyWindow();
    return s;
  }
  editor.CenterWindow();
  editor.ShowWindow(SW_SHOW);
  const auto closed = [&editor] { return editor.GetSafeHwnd() == nullptr; };
  UserInterface::current().runModeless(editor, closed);
  LaunchOutcome out;
  out.confirmed = closed();
  // Nobody closed it: it goes without asking, and what it showed is dropped.
  if (!out.confirmed) editor.DestroyWindow();
  std::error_code ec;
  for (const fs::path& saved : editor.savedFiles()) {
    if (fs::equivalent(saved, file, ec))
      out.recordWritten = true;
    else
      out.alsoWritten.push_back(saved);
  }
  return out;
}

// ---- a standards evaluation -------------------------------------------------------------

const char* kindName(const VtVarCell& c) {
  return c.isInput() ? "Input" : c.isOutput() ? "Output" : "Local";
}
const char* typeName(VtValueType t) { return t == Int ? "Int" : t == Double ? "Double" : "String"; }

// A standard given as a path (it names a folder or a sheet file) rather
// than by its name in the library.
bool isStandardPath(const std::string& standard) {
  if (standard.find_first_of("/\\") != std::string::npos) return true;
  const std::string lower = krv::base::foldCaseUtf8(standard);
  return lower.size() > 4 && lower.compare(lower.size() - 4, 4, ".vts") == 0;
}

Result<LaunchOutcome> runStandards(const fs::path& file, const LaunchOptions& options) {
  using krv::standards::StandardsEvaluationRecord;
  StandardsEvaluationRecord record;
  if (Status s = krv::standards::readStandardsEvaluationFile(file, record); !s) return s;
  const fs::path libraryFolder =
      record.library.empty() ? libraryOf(options) : inRecordFolder(file, record.library);
  if (!fs::is_directory(libraryFolder))
    return Status::fileError(file, "there is no folder " + libraryFolder.string(), "library");
  LibraryForRun library(libraryFolder);

  const Krv_String standard = isStandardPath(record.standard)
                                  ? krv::core::fromOsPath(inRecordFolder(file, record.standard))
                                  : Krv_String::fromUtf8(record.standard);
  const Krv_String sheetPath = krv::standards::standardSheetPath(standard);
  if (!fileExists(sheetPath))
    return Status::fileError(file, "there is no standard " + krv::core::osPath(sheetPath).string(),
                             "standard");
  const fs::path macroFile = inRecordFolder(file, record.macro);
  Krv_DbMacro db;
  MacroData macroData;
  if (Status s = krv::core::readMacroFile(krv::core::fromOsPath(macroFile), db, macroData); !s)
    return s;
  const Krv_DbMacro original = db;
  const MacroData originalData = macroData;

  VtDlgStandardsData data;
  const Krv_String caller = !record.moduleGroup.empty()
                                ? Krv_String(L"Module.") + Krv_String::fromUtf8(record.moduleGroup)
                            : !record.caller.empty() ? Krv_String::fromUtf8(record.caller)
                            : db.macro()             ? db.macro()->name()
                                                     : Krv_String();
  if (data.initialize(&db, standard, caller, &macroData) != Acad::eOk)
    return Status::fileError(macroFile, "the macro file holds no macro");
  if (const Krv_Macro* m = db.macro()) {
    Krv_StringArray names;
    m->getGeneralVariables(names);
    for (int i = 0; i < names.length(); ++i) {
      double v = 0;
      m->generalVariableValue(names[i], v);
      data.mGenVarNames.append(names[i]);
      data.mGenVarValues.append(Krv_String(v, 6, true));
    }
  }
  for (const auto& g : record.generalVariables) {
    const Krv_String name = Krv_String::fromUtf8(g.name), value = Krv_String::fromUtf8(g.value);
    if (const int at = data.mGenVarNames.find(name, false); at >= 0) {
      data.mGenVarValues.setAt(at, value);
    } else {
      data.mGenVarNames.append(name);
      data.mGenVarValues.append(value);
    }
  }
  if (!data.hasModuleGroup()) {
    const auto check = krv::standards::checkMappingKey(standard, caller);
    if (check.outcome == krv::standards::MappingKeyCheck::kNoFile)
      return Status::fileError(
          file, "no mapping file " + krv::core::osPath(check.mappingFile).string(), "standard");
    if (check.outcome == krv::standards::MappingKeyCheck::kNoKey)
      return Status::fileError(file,
                               "the mapping file " + krv::core::osPath(check.mappingFile).string() +
                                   " has no key " + caller.utf8(),
                               "caller");
  }
  AcTransaction transaction;
  data.mTransaction = &transaction;

  ModuleForRun module;
  krv::frame::ResourceGuard resources;
  // A fresh pool, so that the dialog the evaluation ran in is its first.
  gSSDlgsMgr.destroyAll();
  LaunchOutcome out;
  const bool evaluated = StartDlgStandardsSS(data);
  if (!evaluated) out.failure = krv::standards::lastCalcFailure().utf8();

  // The dialog the evaluation ran in, shown with its sheet as the
  // evaluation left it, until the person ends it.
  bool ok = false;
  if (void* handle = gSSDlgsMgr.getDlg()) {
    auto* dialog =
        dynamic_cast<CDlgSSStandards*>(static_cast<krv::frame::PooledStandardsDialog*>(handle));
    if (dialog) {
      dialog->CenterWindow();
      dialog->ShowWindow(SW_SHOW);
      const auto ended = [dialog] { return dialog->hasEnded(); };
      UserInterface::current().runModeless(*dialog, ended);
      ok = dialog->hasEnded() && dialog->result() == IDOK;
      dialog->ShowWindow(SW_HIDE);
    }
    (void)gSSDlgsMgr.releaseDlg(handle);
  }
  gSSDlgsMgr.destroyAll();
  out.confirmed = evaluated && ok;
  if (!out.confirmed) return out;

  // Every variable cell with the macro's value before (read through the
  // mapping from the macro as it was) and its value after.
  Krv_DbMacro before = original;
  MacroData beforeData = originalData;
  VtDlgStandardsData beforeRecord = data;
  beforeRecord.mDbMacro = &before;
  beforeRecord.mMacroData = &beforeData;
  VtSSMapping mapping = data.mVarCells.mapping();
  StandardsEvaluationRecord back = record;
  back.variables.clear();
  for (int i = 0; i < data.mVarCells.length(); ++i) {
    const VtVarCell& c = data.mVarCells[i];
    Krv_String was;
    if (!c.isLocal()) {
      VtValueType type = c.valueType();
      if (mapping.getMacroVarValue(c.name(), type, was, beforeRecord) != Acad::eOk) was = L"?";
    }
    back.variables.push_back(
        {c.name().utf8(), kindName(c), typeName(c.valueType()), was.utf8(), c.value().utf8()});
  }
  writeBack(out, options, [&] { return krv::standards::writeStandardsEvaluationFile(file, back); });
  return out;
}

// ---- the dialog designer -------------------------------------------------------------

// The designer on a design of the library; the designer saves its own
// files, so the launcher writes nothing back.
Result<LaunchOutcome> runDesigner(const fs::path& file, const LaunchOptions& options) {
  krv::designer::DesignerRecord record;
  if (Status s = krv::designer::readDesignerRecordFile(file, record); !s) return s;
  ModuleForRun module;
  LibraryForRun library(libraryOf(options));
  const Krv_String design = record.design.empty()
                                ? Krv_String()
                                : getDesignerRootFolder() + Krv_String::fromUtf8(record.design);
  LaunchOutcome out;
  out.confirmed = StartDlgDesigner(design);
  return out;
}

// A launcher from its function taking options.
Launcher launcher(std::string name, std::string kind, std::string title, unsigned templateId,
                  std::string sample,
                  Result<LaunchOutcome> (*run)(const fs::path&, const LaunchOptions&)) {
  Launcher l;
  l.name = std::move(name);
  l.recordKind = std::move(kind);
  l.title = std::move(title);
  l.templateId = templateId;
  l.sampleRecord = std::move(sample);
  // An error that escapes the module stops the run, not the program.
  l.runWith = [run](const fs::path& file, const LaunchOptions& options) -> Result<LaunchOutcome> {
    try {
      return run(file, options);
    } catch (const std::exception& e) {
      LaunchOutcome out;
      out.failure = std::string("the run was stopped by an error: ") + e.what();
      return out;
    }
  };
  l.run = [runWith = l.runWith](const fs::path& file) { return runWith(file, LaunchOptions{}); };
  return l;
}

}  // namespace

const std::vector<Launcher>& launchers() {
  static const std::vector<Launcher> table = {
      launcher("StartDlgGenVars", krv::core::generalVariablesFileKind().format,
               "General variables...", CDlgGenVars::IDD, "StartDlgGenVars.json", runGenVars),
      launcher("StartDlgStandardsSS", krv::standards::standardsEvaluationFileKind().format,
               "Evaluate a standard...", krv::frame::PooledStandardsDialog::kTemplateId,
               "StartDlgStandardsSS.json", runStandards),
      launcher("CFormula", krv::spread::formulaWindowFileKind().format, "Formulas...",
               CFormula::IDD, "CFormula.json", runFormula),
      launcher("CDlgFindReplace", krv::spread::findReplaceFileKind().format, "Find and replace...",
               CDlgFindReplace::IDD, "CDlgFindReplace.json", runFindReplace),
      launcher("CFormulaListOutput", krv::spread::listOutputFileKind().format, "List output...",
               CFormula::IDD, "CFormulaListOutput.json", runListOutput),
      launcher("CDlgSSOptions", krv::spread::sheetOptionsFileKind().format, "Sheet options...",
               CDlgSSOptions::IDD, "CDlgSSOptions.json", runSheetOptions),
      launcher("CDlgSSSettings", krv::spread::editorLanguageFileKind().format,
               "Spreadsheet language...", CDlgSSSettings::IDD, "CDlgSSSettings.json",
               runEditorLanguage),
      launcher("CDlgSSAsTool", krv::sheet::kSheetFileFormatName, "Spreadsheet editor...",
               CDlgSSAsTool::IDD, "CDlgSSAsTool.vts", runSheetEditor),
      launcher("CDlgDesigner", krv::designer::designerRecordKind().format, "Dialog designer...",
               CDlgDesigner::IDD, "CDlgDesigner.json", runDesigner),
  };
  return table;
}

const Launcher* findLauncher(std::string_view name) {
  for (const Launcher& l : launchers())
    if (krv::base::foldCaseUtf8(l.name) == krv::base::foldCaseUtf8(name)) return &l;
  return nullptr;
}

}  // namespace krv::tools
