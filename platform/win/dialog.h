#pragma once
// CDialog: a dialog built from a template of the current resource module.
//
// DoModal creates the dialog as a popup owned by its parent (or the main
// window), disables the owner, sends WM_INITDIALOG (OnInitDialog), shows it
// and lets the installed UserInterface run it until EndDialog; then it
// destroys the window, enables the owner again and gives the result (-1
// when the template is missing or malformed, or the window cannot be
// made). Create makes a modeless dialog that lives until DestroyWindow;
// EndDialog only hides a modeless dialog.
//
// Keys are handled as the framework's dialog manager does: Escape sends
// IDCANCEL; Enter sends the focused push button's identifier, else the
// default button's (DM_GETDEFID: SetDefID, a BS_DEFPUSHBUTTON, else IDOK),
// and nothing when that button is disabled; Tab and Shift+Tab move the
// focus between WS_TABSTOP controls. The focused control is asked first
// (WM_GETDLGCODE): one that answers DLGC_WANTALLKEYS gets Escape, Enter and
// Tab itself, one that answers DLGC_WANTTAB gets Tab. WM_CLOSE sends IDCANCEL. IDOK and
// IDCANCEL call OnOK and OnCancel.
#include <memory>
#include <string>

#include "platform/win/wnd.h"

class CDataExchange;

class CDialog : public CWnd {
 public:
  CDialog() = default;
  explicit CDialog(UINT templateId, CWnd* parent = nullptr)
      : m_nIDHelp(templateId), m_pParentWnd(parent) {}

  virtual INT_PTR DoModal();
  // Creates the modeless dialog from template `templateId`.
  virtual BOOL Create(UINT templateId, CWnd* parent = nullptr);
  void EndDialog(int result);

  virtual BOOL OnInitDialog();
  virtual void OnOK();
  virtual void OnCancel();
  virtual void DoDataExchange(CDataExchange* dx);
  // Runs DoDataExchange; false when a value failed validation.
  BOOL UpdateData(BOOL saveAndValidate = TRUE);

  void SetDefID(UINT id);
  DWORD GetDefID() const;
  void GotoDlgCtrl(CWnd* control);
  void NextDlgCtrl();
  void PrevDlgCtrl();

  BOOL PreTranslateMessage(MSG* msg) override;
  LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) override;

  UINT templateId() const { return m_nIDHelp; }
  // The font made from the template's font (face and point size), given to
  // the dialog and all its controls; nullptr when the template names none.
  CFont* templateFont() const { return mTemplateFont.get(); }
  bool isModal() const { return mModal; }
  // True while a modal dialog runs and has not been ended.
  bool isRunningModal() const { return mModal && !mEnded; }
  bool hasEnded() const { return mEnded; }
  INT_PTR result() const { return mResult; }

  UINT m_nIDHelp = 0;
  CWnd* m_pParentWnd = nullptr;

 protected:
  // Builds the window and its controls from the template; false with
  // krv::win::lastResourceError() set when it cannot.
  BOOL createFromTemplate(UINT templateId, CWnd* owner, bool modal);

  DECLARE_MESSAGE_MAP()

 private:
  bool mModal = false;
  bool mEnded = false;
  INT_PTR mResult = -1;
  UINT mDefId = 0;
  struct FontDeleter {
    void operator()(CFont* font) const;
  };
  std::unique_ptr<CFont, FontDeleter> mTemplateFont;
};

// The framework's record for DoDataExchange.
class CDataExchange {
 public:
  CDataExchange(CWnd* dialog, BOOL saveAndValidate)
      : m_pDlgWnd(dialog), m_bSaveAndValidate(saveAndValidate) {}
  // Reports a failed value: focus goes to the control, UpdateData fails.
  [[noreturn]] void Fail();
  CWnd* PrepareCtrl(int id);
  CWnd* m_pDlgWnd;
  BOOL m_bSaveAndValidate;
  int m_lastId = 0;
};

void DDX_Text(CDataExchange* dx, int id, std::wstring& value);
void DDX_Text(CDataExchange* dx, int id, int& value);
void DDX_Text(CDataExchange* dx, int id, double& value);
void DDX_Check(CDataExchange* dx, int id, int& value);
void DDX_Radio(CDataExchange* dx, int firstId, int& value);
void DDX_CBIndex(CDataExchange* dx, int id, int& index);
void DDX_CBString(CDataExchange* dx, int id, std::wstring& value);
void DDX_Control(CDataExchange* dx, int id, CWnd& control);

// The application's main window (owner of dialogs without a parent).
CWnd* AfxGetMainWnd();
void AfxSetMainWnd(CWnd* window);
