#include "platform/win/dialog.h"

#include <cmath>
#include <cwchar>

#include "platform/base/utf.h"
#include "platform/win/button.h"
#include "platform/win/combo_box.h"
#include "platform/win/edit.h"
#include "platform/win/event_loop.h"
#include "platform/win/gdi.h"
#include "platform/win/resource_modules.h"
#include "platform/win/user_interface.h"

namespace {
CWnd*& mainWindow() {
  static CWnd* w = nullptr;
  return w;
}
struct DataExchangeFailure {};
}  // namespace

CWnd* AfxGetMainWnd() { return IsWindow(mainWindow()) ? mainWindow() : nullptr; }
void AfxSetMainWnd(CWnd* window) { mainWindow() = window; }

BEGIN_MESSAGE_MAP(CDialog, CWnd)
ON_COMMAND(IDOK, &CDialog::OnOK)
ON_COMMAND(IDCANCEL, &CDialog::OnCancel)
END_MESSAGE_MAP()

void CDialog::FontDeleter::operator()(CFont* font) const { delete font; }

BOOL CDialog::createFromTemplate(UINT templateId, CWnd* owner, bool modal) {
  m_nIDHelp = templateId;
  krv::win::ResourceModule* module =
      krv::win::ResourceModules::holding(templateId, krv::win::ResourceKind::DialogTemplate);
  if (!module) {
    const krv::win::ResourceModule* current = krv::win::ResourceModules::current();
    krv::win::setLastResourceError(
        krv::base::Status::error("no dialog template " + std::to_string(templateId) + " in " +
                                 (current ? "module " + krv::base::toUtf8(current->name())
                                          : std::string("the current module")) +
                                 " or the resource chain"));
    return FALSE;
  }
  auto t = module->dialogTemplate(templateId);
  if (!t) {
    krv::win::setLastResourceError(t.status());
    return FALSE;
  }
  DWORD style = t->style;
  const bool child = style & WS_CHILD;
  if (!child) style |= WS_POPUP;
  if (modal) style &= ~WS_CHILD;
  const bool showAtEnd = modal || (style & WS_VISIBLE);
  // The template gives the client size; the frame comes around it.
  CRect client = krv::win::dialogUnitsToPixels(t->rect);
  CRect rect = client;
  {
    // Frame sizes follow from the styles alone.
    DWORD s = style & ~WS_VISIBLE;
    int b = (s & WS_THICKFRAME)                                                                ? 4
            : ((s & WS_DLGFRAME) || (t->exStyle & WS_EX_DLGMODALFRAME) || (s & DS_MODALFRAME)) ? 3
            : (s & WS_BORDER)                                                                  ? 1
                                                                                               : 0;
    if (t->exStyle & WS_EX_CLIENTEDGE) b += 2;
    int caption = ((s & WS_CAPTION) == WS_CAPTION) ? 20 : 0;
    rect = CRect(client.left, client.top, client.right + 2 * b, client.bottom + 2 * b + caption);
  }
  DWORD exStyle = t->exStyle | ((style & DS_MODALFRAME) ? WS_EX_DLGMODALFRAME : 0);
  if (!CreateEx(exStyle, L"#32770", t->caption.c_str(), style & ~WS_VISIBLE, rect,
                child ? owner : owner, 0)) {
    krv::win::setLastResourceError(
        krv::base::Status::error("the dialog window could not be created"));
    return FALSE;
  }
  if (!child && (modal || (style & DS_CENTER))) CenterWindow();
  CFont* font = nullptr;
  if (!t->fontFace.empty()) {
    std::unique_ptr<CFont, FontDeleter> made(new CFont);
    if (made->CreatePointFont(t->fontSize * 10, t->fontFace.c_str())) {
      mTemplateFont = std::move(made);
      font = mTemplateFont.get();
      SetFont(font, FALSE);
    }
  }
  for (const auto& c : t->controls) {
    auto control = krv::win::makeWindowObject(c.className);
    control->setSystemOwned(true);
    CWnd* raw = control.release();
    if (!raw->CreateEx(c.exStyle, c.className.c_str(), c.text.c_str(), c.style,
                       krv::win::dialogUnitsToPixels(c.rect), this, static_cast<UINT>(c.id))) {
      delete raw;
      DestroyWindow();
      krv::win::setLastResourceError(
          krv::base::Status::error("a control of the dialog could not be created"));
      return FALSE;
    }
    if (font) raw->SetFont(font, FALSE);
  }
  CWnd* first = GetNextDlgTabItem(nullptr);
  if (SendMessage(WM_INITDIALOG, reinterpret_cast<WPARAM>(first), 0) && m_hWnd) {
    if (CWnd* f = GetNextDlgTabItem(nullptr)) GotoDlgCtrl(f);
  }
  if (m_hWnd && showAtEnd && !mEnded) ShowWindow(SW_SHOW);
  return m_hWnd != nullptr;
}

INT_PTR CDialog::DoModal() {
  CWnd* owner = m_pParentWnd ? m_pParentWnd : AfxGetMainWnd();
  if (owner && !IsWindow(owner)) owner = nullptr;
  if (owner) owner = owner->GetTopLevelParent();
  mModal = true;
  mEnded = false;
  mResult = -1;
  const bool ownerWasEnabled = owner && owner->IsWindowEnabled();
  if (ownerWasEnabled) owner->EnableWindow(FALSE);
  // The owner is enabled again and the dialog destroyed on every way out,
  // also when a handler throws while the dialog runs.
  struct ModalExit {
    CDialog* dialog;
    CWnd* owner;
    bool reenable;
    ~ModalExit() {
      if (reenable && IsWindow(owner)) owner->EnableWindow(TRUE);
      if (dialog->m_hWnd) dialog->DestroyWindow();
      dialog->mModal = false;
    }
  } exit{this, owner, ownerWasEnabled};
  if (createFromTemplate(m_nIDHelp, owner, true)) {
    if (!mEnded) UserInterface::current().runModal(*this);
    if (!mEnded) EndDialog(IDCANCEL);
  }
  return mResult;
}

BOOL CDialog::Create(UINT templateId, CWnd* parent) {
  if (m_hWnd) return FALSE;
  m_pParentWnd = parent;
  mModal = false;
  mEnded = false;
  CWnd* owner = parent ? parent : AfxGetMainWnd();
  return createFromTemplate(templateId, owner, false);
}

void CDialog::EndDialog(int result) {
  mResult = result;
  mEnded = true;
  if (m_hWnd) ShowWindow(SW_HIDE);
}

BOOL CDialog::OnInitDialog() {
  UpdateData(FALSE);
  return TRUE;
}

void CDialog::OnOK() {
  if (!UpdateData(TRUE)) return;
  EndDialog(IDOK);
}

void CDialog::OnCancel() { EndDialog(IDCANCEL); }

void CDialog::DoDataExchange(CDataExchange*) {}

BOOL CDialog::UpdateData(BOOL saveAndValidate) {
  CDataExchange dx(this, saveAndValidate);
  try {
    DoDataExchange(&dx);
  } catch (const DataExchangeFailure&) {
    return FALSE;
  }
  return TRUE;
}

void CDialog::SetDefID(UINT id) { SendMessage(DM_SETDEFID, id); }

DWORD CDialog::GetDefID() const {
  return static_cast<DWORD>(const_cast<CDialog*>(this)->SendMessage(DM_GETDEFID));
}

void CDialog::GotoDlgCtrl(CWnd* control) {
  if (!control || !IsWindow(control)) return;
  control->SetFocus();
  if (auto* edit = dynamic_cast<CEdit*>(control)) edit->SetSel(0, -1);
}

void CDialog::NextDlgCtrl() {
  CWnd* focus = GetFocus();
  CWnd* scope = focus && IsChild(focus) ? focus->treeParent() : this;
  GotoDlgCtrl(scope->GetNextDlgTabItem(focus, FALSE));
}

void CDialog::PrevDlgCtrl() {
  CWnd* focus = GetFocus();
  CWnd* scope = focus && IsChild(focus) ? focus->treeParent() : this;
  GotoDlgCtrl(scope->GetNextDlgTabItem(focus, TRUE));
}

LRESULT CDialog::DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_INITDIALOG:
      return OnInitDialog();
    case WM_CLOSE:
      SendMessage(WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                  reinterpret_cast<LPARAM>(GetDlgItem(IDCANCEL)));
      return 0;
    case DM_SETDEFID: {
      for (CWnd* c : children()) {
        auto* b = dynamic_cast<CButton*>(c);
        if (!b) continue;
        UINT type = b->buttonType();
        if (type == BS_DEFPUSHBUTTON && static_cast<UINT>(c->GetDlgCtrlID()) != wParam)
          b->SetButtonStyle((b->GetButtonStyle() & ~BS_TYPEMASK) | BS_PUSHBUTTON);
        else if (type == BS_PUSHBUTTON && static_cast<UINT>(c->GetDlgCtrlID()) == wParam)
          b->SetButtonStyle((b->GetButtonStyle() & ~BS_TYPEMASK) | BS_DEFPUSHBUTTON);
      }
      mDefId = static_cast<UINT>(wParam);
      return TRUE;
    }
    case DM_GETDEFID: {
      UINT id = mDefId;
      if (!id)
        for (CWnd* c : children())
          if (auto* b = dynamic_cast<CButton*>(c); b && b->isDefaultButton()) {
            id = static_cast<UINT>(c->GetDlgCtrlID());
            break;
          }
      if (!id) id = IDOK;
      return static_cast<LRESULT>(MAKELPARAM(static_cast<int>(id), static_cast<int>(DC_HASDEFID)));
    }
    default:
      return CWnd::DefWindowProc(message, wParam, lParam);
  }
}

BOOL CDialog::PreTranslateMessage(MSG* msg) {
  if (!msg || msg->message != WM_KEYDOWN || !m_hWnd) return FALSE;
  CWnd* focus = GetFocus();
  if (focus && focus != this && !IsChild(focus)) return FALSE;
  const UINT key = static_cast<UINT>(msg->wParam);
  // A control that wants the key (an open entry of a spreadsheet wants
  // Enter and Escape, say) gets it before the dialog manager does.
  if (focus && focus != this && (key == VK_ESCAPE || key == VK_RETURN || key == VK_TAB)) {
    const LRESULT code = focus->SendMessage(WM_GETDLGCODE, key, reinterpret_cast<LPARAM>(msg));
    if ((code & DLGC_WANTALLKEYS) || (key == VK_TAB && (code & DLGC_WANTTAB))) return FALSE;
  }
  auto pressButton = [&](int id) {
    CWnd* button = GetDlgItem(id);
    if (button && !button->IsWindowEnabled()) return;  // a disabled button does nothing
    SendMessage(WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(button));
  };
  switch (key) {
    case VK_ESCAPE:
      pressButton(IDCANCEL);
      return TRUE;
    case VK_RETURN: {
      if (auto* edit = dynamic_cast<CEdit*>(focus);
          edit && edit->isMultiLine() && (edit->GetStyle() & ES_WANTRETURN))
        return FALSE;
      int id = 0;
      if (auto* b = dynamic_cast<CButton*>(focus);
          b && (b->buttonType() == BS_PUSHBUTTON || b->buttonType() == BS_DEFPUSHBUTTON) &&
          b->treeParent() == this)
        id = b->GetDlgCtrlID();
      if (!id) id = LOWORD(static_cast<std::uintptr_t>(GetDefID()));
      pressButton(id);
      return TRUE;
    }
    case VK_TAB:
      if (GetKeyState(VK_SHIFT) < 0)
        PrevDlgCtrl();
      else
        NextDlgCtrl();
      return TRUE;
    default:
      return FALSE;
  }
}

// --- Data exchange ----------------------------------------------------------------

void CDataExchange::Fail() {
  if (CWnd* c = m_pDlgWnd ? m_pDlgWnd->GetDlgItem(m_lastId) : nullptr) c->SetFocus();
  throw DataExchangeFailure{};
}

CWnd* CDataExchange::PrepareCtrl(int id) {
  m_lastId = id;
  return m_pDlgWnd ? m_pDlgWnd->GetDlgItem(id) : nullptr;
}

void DDX_Text(CDataExchange* dx, int id, std::wstring& value) {
  CWnd* c = dx->PrepareCtrl(id);
  if (!c) return;
  if (dx->m_bSaveAndValidate)
    value = c->GetWindowText();
  else
    c->SetWindowText(value);
}

void DDX_Text(CDataExchange* dx, int id, int& value) {
  CWnd* c = dx->PrepareCtrl(id);
  if (!c) return;
  if (!dx->m_bSaveAndValidate) {
    c->SetWindowText(std::to_wstring(value));
    return;
  }
  BOOL ok = FALSE;
  UINT v = dx->m_pDlgWnd->GetDlgItemInt(id, &ok, TRUE);
  if (!ok) {
    UserInterface::current().messageBox(dx->m_pDlgWnd, L"Please enter an integer.", L"",
                                        MB_OK | MB_ICONEXCLAMATION);
    dx->Fail();
  }
  value = static_cast<int>(v);
}

void DDX_Text(CDataExchange* dx, int id, double& value) {
  CWnd* c = dx->PrepareCtrl(id);
  if (!c) return;
  if (!dx->m_bSaveAndValidate) {
    wchar_t buffer[64];
    std::swprintf(buffer, 64, L"%.15g", value);
    c->SetWindowText(buffer);
    return;
  }
  std::wstring text = c->GetWindowText();
  wchar_t* end = nullptr;
  double v = std::wcstod(text.c_str(), &end);
  while (end && *end == L' ') ++end;
  // Beyond the range of a double (or "inf", "nan") is no number either.
  if (text.empty() || !end || *end != L'\0' || !std::isfinite(v)) {
    UserInterface::current().messageBox(dx->m_pDlgWnd, L"Please enter a number.", L"",
                                        MB_OK | MB_ICONEXCLAMATION);
    dx->Fail();
  }
  value = v;
}

void DDX_Check(CDataExchange* dx, int id, int& value) {
  CWnd* c = dx->PrepareCtrl(id);
  if (!c) return;
  if (dx->m_bSaveAndValidate)
    value = static_cast<int>(c->SendMessage(BM_GETCHECK));
  else
    c->SendMessage(BM_SETCHECK, static_cast<WPARAM>(value));
}

void DDX_Radio(CDataExchange* dx, int firstId, int& value) {
  CWnd* first = dx->PrepareCtrl(firstId);
  if (!first) return;
  CWnd* parent = first->treeParent();
  auto group = parent->groupOf(first);
  if (dx->m_bSaveAndValidate) value = -1;
  int index = 0;
  for (CWnd* c : group) {
    auto* b = dynamic_cast<CButton*>(c);
    if (!b || (b->buttonType() != BS_RADIOBUTTON && b->buttonType() != BS_AUTORADIOBUTTON))
      continue;
    if (dx->m_bSaveAndValidate) {
      if (b->GetCheck() == BST_CHECKED) value = index;
    } else {
      b->SetCheck(index == value ? BST_CHECKED : BST_UNCHECKED);
    }
    ++index;
  }
}

void DDX_CBIndex(CDataExchange* dx, int id, int& index) {
  auto* c = dynamic_cast<CComboBox*>(dx->PrepareCtrl(id));
  if (!c) return;
  if (dx->m_bSaveAndValidate)
    index = c->GetCurSel();
  else
    c->SetCurSel(index);
}

void DDX_CBString(CDataExchange* dx, int id, std::wstring& value) {
  auto* c = dynamic_cast<CComboBox*>(dx->PrepareCtrl(id));
  if (!c) return;
  if (dx->m_bSaveAndValidate) {
    value = c->GetWindowText();
  } else if (c->hasEdit()) {
    c->SetWindowText(value);
  } else {
    c->SelectString(-1, value.c_str());
  }
}

void DDX_Control(CDataExchange* dx, int id, CWnd& control) {
  if (control.m_hWnd) return;
  if (!control.SubclassDlgItem(static_cast<UINT>(id), dx->m_pDlgWnd)) {
    dx->m_lastId = id;
    throw DataExchangeFailure{};
  }
}
