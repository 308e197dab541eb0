#include "designer/cdlg_designer.h"

#include <filesystem>
#include <system_error>

#include "frame/modal_frame.h"
#include "platform/core/dial_string.h"
#include "platform/core/dlg_size.h"
#include "platform/win/button.h"
#include "platform/win/dc.h"
#include "platform/win/gdi.h"
#include "platform/win/message_box.h"
#include "platform/win/resource_modules.h"
#include "platform/win/user_interface.h"

namespace {

constexpr wchar_t kSizeName[] = L"DLG_DLGDESIGNER";
// The tool buttons and their icons.
struct IconButton {
  int id;
  UINT icon;
};
constexpr IconButton kIconButtons[] = {{CDlgDesigner::kOpen, 232},  {CDlgDesigner::kSave, 233},
                                       {CDlgDesigner::kAdd, 212},   {CDlgDesigner::kRemove, 206},
                                       {CDlgDesigner::kWidth, 235}, {CDlgDesigner::kHeight, 236},
                                       {CDlgDesigner::kCopy, 223},  {CDlgDesigner::kPicture, 231}};

std::filesystem::path fsPath(const Krv_String& text) {
  std::wstring s = text.c_str();
  for (wchar_t& c : s)
    if (c == L'\\') c = L'/';
  return std::filesystem::path(s);
}

}  // namespace

CDlgDesigner::CDlgDesigner() : CDialog(IDD) {}

Krv_String CDlgDesigner::title() const {
  Krv_String text = dialString(843);
  if (!mData.mName.isEmpty()) text += Krv_String(L" - <") + mData.mName + L">";
  return text;
}

void CDlgDesigner::updateTitle() { SetWindowText(title().c_str()); }

Krv_String CDlgDesigner::designFolder() const {
  const Krv_String root = getDesignerRootFolder();
  if (mData.mName.isEmpty()) return root;
  const std::wstring name = mData.mName.c_str();
  const std::size_t cut = name.find_last_of(L"\\/");
  return cut == std::wstring::npos ? root : root + Krv_String(name.substr(0, cut + 1));
}

BOOL CDlgDesigner::OnInitDialog() {
  CDialog::OnInitDialog();
  mData.initialize(this, kFirstResId, kLastResId, kTypeCombo, kContentsGroup, kContents, kExtGroup,
                   kExt, true);
  // The tool buttons show their icons (the caption stays as the button's
  // name); a button whose icon is missing keeps showing its caption.
  for (const IconButton& b : kIconButtons) {
    auto* button = dynamic_cast<CButton*>(GetDlgItem(b.id));
    HICON icon = krv::win::ResourceModules::loadIcon(b.icon);
    if (!button || !icon) continue;
    button->ModifyStyle(0, BS_ICON);
    button->SetIcon(icon);
  }
  SetDlgItemText(kTypeGroup, dialString(836).c_str());
  SetDlgItemText(IDOK, dialString(285).c_str());
  updateTitle();

  CRect window;
  GetWindowRect(&window);
  mMinSize = CSize(window.Width(), window.Height());
  CRect client;
  GetClientRect(&client);
  mStartClient = CSize(client.Width(), client.Height());
  for (CWnd* child : children()) {
    CRect r;
    child->GetWindowRect(&r);
    ScreenToClient(&r);
    mStartRects[child->GetDlgCtrlID()] = r;
  }
  ChangeDlgSize(this, kSizeName);

  std::error_code ec;
  if (!mDesignPath.isEmpty() && std::filesystem::is_regular_file(fsPath(mDesignPath), ec))
    showDesign(mDesignPath);
  return TRUE;
}

void CDlgDesigner::tellFailure(const Krv_String& what, const krv::base::Status& why) {
  const Krv_String text = what + L"\n" + Krv_String::fromUtf8(why.text());
  ::MessageBox(GetSafeHwnd(), text.c_str(), dialString(843).c_str(), MB_OK | MB_ICONEXCLAMATION);
}

bool CDlgDesigner::writeDesign(const Krv_String& path) {
  if (krv::base::Status written = mData.writeDesign(path); !written) {
    tellFailure(L"The design was not saved.", written);
    return false;
  }
  mModified = false;
  updateTitle();
  return true;
}

void CDlgDesigner::showDesign(const Krv_String& path) {
  // A design that cannot be read is refused whole: the one shown stays.
  Krv_DlgDesignerData probe;
  if (krv::base::Status read = probe.readDesign(path, false); !read) {
    tellFailure(L"The design was not opened.", read);
    return;
  }
  mData.removeAllDrawnCtrls();
  mData.readFromFile(path, true);
  mData.redrawAllControls();
  mData.updatePropsOfCurSel();
  Invalidate();
  mModified = false;
  updateTitle();
}

bool CDlgDesigner::askSave() {
  if (!mModified) return true;
  const Krv_String text = dialString(838) + L"\n<" + mData.mName + L">";
  const int answer = ::MessageBox(GetSafeHwnd(), text.c_str(), dialString(837).c_str(),
                                  MB_YESNOCANCEL | MB_ICONQUESTION);
  if (answer == IDCANCEL) return false;
  if (answer == IDNO) return true;
  // A new design has no name yet: Yes asks for one. A save that fails or is
  // cancelled stops the operation, so the changes are not dropped.
  if (mData.mName.isEmpty()) return saveDesignAs();
  return writeDesign(getDesignerRootFolder() + mData.mName + L".txt");
}

bool CDlgDesigner::openDesign() {
  if (!askSave()) return false;
  FileDialogRequest request;
  request.open = true;
  request.defaultExt = L"txt";
  request.filter = (dialString(840) + L" (*.txt)|*.txt||").c_str();
  request.title = dialString(841).c_str();
  request.initialFolder = designFolder().c_str();
  request.owner = GetSafeHwnd();
  std::vector<std::wstring> chosen;
  if (!UserInterface::current().chooseFiles(request, chosen) || chosen.empty()) return false;
  showDesign(Krv_String(chosen.front()));
  return true;
}

bool CDlgDesigner::saveDesignAs() {
  FileDialogRequest request;
  request.open = false;
  request.defaultExt = L"txt";
  request.filter = (dialString(840) + L" (*.txt)|*.txt||").c_str();
  request.title = dialString(842).c_str();
  request.initialFolder = designFolder().c_str();
  request.owner = GetSafeHwnd();
  std::vector<std::wstring> chosen;
  if (!UserInterface::current().chooseFiles(request, chosen) || chosen.empty()) return false;
  return writeDesign(Krv_String(chosen.front()));
}

bool CDlgDesigner::loadPicture() {
  FileDialogRequest request;
  request.open = true;
  request.defaultExt = L"bmp";
  request.filter = (dialString(839) + L" (*.bmp)|*.bmp||").c_str();
  request.title = dialString(841).c_str();
  request.initialFolder = getDesignerRootFolder().c_str();
  request.owner = GetSafeHwnd();
  std::vector<std::wstring> chosen;
  if (!UserInterface::current().chooseFiles(request, chosen) || chosen.empty()) return false;
  if (mData.mName.isEmpty() && !saveDesignAs()) return false;
  if (mData.mName.isEmpty()) return false;  // the save was refused and said why
  const Krv_String target = getDesignerRootFolder() + mData.mName + L".bmp";
  std::error_code ec;
  const std::filesystem::path from = fsPath(Krv_String(chosen.front()));
  const std::filesystem::path to = fsPath(target);
  if (!(std::filesystem::exists(to, ec) && std::filesystem::equivalent(from, to, ec)))
    std::filesystem::copy_file(from, to, std::filesystem::copy_options::overwrite_existing, ec);
  if (ec) {
    tellFailure(L"The picture was not taken into the design.",
                krv::base::Status::fileError(to, ec.message()));
    return false;
  }
  mData.attachBitmap(target);
  Invalidate();
  mModified = true;
  return true;
}

BOOL CDlgDesigner::OnCommand(WPARAM wParam, LPARAM lParam) {
  const int id = LOWORD(wParam);
  const int code = HIWORD(wParam);
  if (code == BN_CLICKED) {
    switch (id) {
      case kOpen:
        openDesign();
        return TRUE;
      case kSave:
        saveDesignAs();
        return TRUE;
      case kAdd:
        mData.addNewControl(ctVarEdit);
        mModified = true;
        return TRUE;
      case kRemove:
        mData.removeCurControls();
        mData.updatePropsOfCurSel();
        Invalidate();
        mModified = true;
        return TRUE;
      case kWidth:
        mData.changeCtrlSize(true);
        return TRUE;
      case kHeight:
        mData.changeCtrlSize(false);
        return TRUE;
      case kCopy:
        mData.copyCurCtrls();
        return TRUE;
      case kAlignBottom:
        mData.outlineCurCtrls();
        return TRUE;
      case kSideBySide:
        mData.stickRightCurCtrls();
        return TRUE;
      case kPicture:
        loadPicture();
        return TRUE;
      default:
        break;
    }
  }
  if (id == kTypeCombo && code == CBN_SELCHANGE) {
    mData.propsOfCurSelUpdated();
    mData.updatePropsOfCurSel();
    return TRUE;
  }
  if ((id == kContents || id == kExt) && code == EN_CHANGE) {
    mData.propsOfCurSelUpdated();
    return TRUE;
  }
  return CDialog::OnCommand(wParam, lParam);
}

BOOL CDlgDesigner::PreTranslateMessage(MSG* msg) {
  if (msg && msg->message == WM_KEYDOWN && msg->wParam == VK_ESCAPE) return TRUE;
  return CDialog::PreTranslateMessage(msg);
}

void CDlgDesigner::OnOK() {
  if (askSave()) CDialog::OnOK();
}

// Escape and the hidden Cancel button never close the window.
void CDlgDesigner::OnCancel() {}

void CDlgDesigner::OnClose() {
  if (askSave()) EndDialog(IDCANCEL);
}

void CDlgDesigner::OnDestroy() {
  WriteDlgSize(this, kSizeName);
  mData.removeAllDrawnCtrls();
  CDialog::OnDestroy();
}

void CDlgDesigner::OnSize(UINT type, int cx, int cy) {
  CDialog::OnSize(type, cx, cy);
  layout(cx, cy);
}

void CDlgDesigner::layout(int cx, int cy) {
  if (mStartRects.empty() || cx <= 0 || cy <= 0) return;
  const int dx = cx - mStartClient.cx;
  const int dy = cy - mStartClient.cy;
  const auto start = [this](int id) {
    const auto it = mStartRects.find(id);
    return it == mStartRects.end() ? CRect() : it->second;
  };
  const auto place = [this](int id, CRect r) {
    if (CWnd* w = GetDlgItem(id)) w->MoveWindow(&r, TRUE);
  };
  const auto down = [dy](CRect r) {
    r.OffsetRect(0, dy);
    return r;
  };
  for (const IconButton& b : kIconButtons) place(b.id, down(start(b.id)));
  place(kAlignBottom, down(start(kAlignBottom)));
  place(kSideBySide, down(start(kSideBySide)));
  for (int id : {IDOK, IDCANCEL}) {
    CRect r = down(start(id));
    r.OffsetRect(dx, 0);
    place(id, r);
  }
  const CRect type = down(start(kTypeGroup));
  CRect ext = down(start(kExtGroup));
  ext.OffsetRect(dx, 0);
  CRect contents = down(start(kContentsGroup));
  contents.left = type.right + (start(kContentsGroup).left - start(kTypeGroup).right);
  contents.right = ext.left - (start(kExtGroup).left - start(kContentsGroup).right);
  place(kTypeGroup, type);
  place(kContentsGroup, contents);
  place(kExtGroup, ext);
  // Each field spans its group box with the insets it had at start-up.
  const std::pair<int, int> fields[] = {
      {kTypeCombo, kTypeGroup}, {kContents, kContentsGroup}, {kExt, kExtGroup}};
  for (const auto& [field, group] : fields) {
    const CRect g0 = start(group);
    CRect r = down(start(field));
    CRect g;
    GetDlgItem(group)->GetWindowRect(&g);
    ScreenToClient(&g);
    r.left = g.left + (start(field).left - g0.left);
    r.right = g.right - (g0.right - start(field).right);
    place(field, r);
  }
}

// The background is painted with the handles, in one pass, so that a paint
// without an erase (a repaint of the handles) shows the picture too.
void CDlgDesigner::OnPaint() {
  CPaintDC dc(this);
  mData.OnEraseBkgnd(&dc);
  mData.OnPaint(&dc);
}

// Painted by OnPaint.
BOOL CDlgDesigner::OnEraseBkgnd(CDC*) { return TRUE; }

BOOL CDlgDesigner::OnSetCursor(CWnd* wnd, UINT hitTest, UINT message) {
  if (wnd == this && mData.OnSetCursor(mMouse)) return TRUE;
  return CDialog::OnSetCursor(wnd, hitTest, message);
}

HBRUSH CDlgDesigner::OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor) {
  // Bits 0 and 2 of a static's style: centred, right-aligned or an image.
  if (ctlColor == CTLCOLOR_STATIC && wnd && dc && (wnd->GetStyle() & 0x5) == 0) {
    dc->SetBkMode(TRANSPARENT);
    return static_cast<CBrush*>(GetStockObject(NULL_BRUSH));
  }
  return CDialog::OnCtlColor(dc, wnd, ctlColor);
}

void CDlgDesigner::OnMouseMove(UINT flags, CPoint point) {
  mMouse = point;
  CDialog::OnMouseMove(flags, point);
}

void CDlgDesigner::OnLButtonDown(UINT flags, CPoint point) {
  mMouse = point;
  mData.OnLButtonDown(flags, point);
  mData.updatePropsOfCurSel();
  mModified = true;
}

bool StartDlgDesigner(const Krv_String& designPath) {
  Krv_String path = designPath;  // the window never changes it
  return krv::frame::runModalFrame<CDlgDesigner>(path, &CDlgDesigner::mDesignPath,
                                                 krv::frame::CopyBack::Never);
}
