// Krv_DlgDesignerData at run time: the designed controls as live windows of
// a hosting dialog, their values, tab order and flex button states.
#include <cmath>
#include <cwchar>

#include "designer/control_rect.h"
#include "designer/control_tracker.h"
#include "designer/krv_dlg_designer_data.h"
#include "platform/core/c_number_text.h"
#include "platform/core/dial_string.h"
#include "platform/core/dlg_utils.h"
#include "platform/win/button.h"
#include "platform/win/combo_box.h"
#include "platform/win/edit.h"
#include "platform/win/event_loop.h"
#include "platform/win/resource_modules.h"
#include "platform/win/wnd.h"

namespace {

constexpr int kMixedValuesText = 695;
constexpr int kMinDroppedHeight = 200;
constexpr UINT kFlexIconId = 239;

// A number at the start of the text, as the host reads values; 0 when none.
double leadingNumber(const Krv_String& text) {
  const wchar_t* begin = text.c_str();
  wchar_t* end = nullptr;
  const double value = std::wcstod(begin, &end);
  return end == begin || !std::isfinite(value) ? 0.0 : value;
}

// A pixel edge of a factor, rounded to a whole pixel and kept in int range.
int pixelEdge(double pixels) {
  const double rounded = ObjectExportRoundTo(pixels, 1);
  if (!std::isfinite(rounded)) return 0;
  return static_cast<int>(std::fmax(-1e6, std::fmin(1e6, rounded)));
}

}  // namespace

double& Krv_DlgDesignerData::designerTextScale() {
  static double scale = 1.0;
  return scale;
}

bool Krv_DlgDesignerData::drawControl(const Krv_DesignerControl& control) {
  if (!mInitialized || !mHDlg || !IsWindow(mHDlg)) return false;
  if (mDesignMode && !mTracker) return false;
  CRect rect(pixelEdge(factorToPixels(true, control.mTopLeftX)),
             pixelEdge(factorToPixels(false, control.mTopLeftY)),
             pixelEdge(factorToPixels(true, control.mBottomRightX)),
             pixelEdge(factorToPixels(false, control.mBottomRightY)));
  const Krv_ControlKind kind = control.kind();
  if (!mDesignMode && kind == ckComboBox && rect.Height() < kMinDroppedHeight)
    rect.bottom = rect.top + kMinDroppedHeight;
  if (!mDesignMode && Krv_DesignerControl::isTypeBoltCount(control.mType)) {
    const int h = rect.Height();
    const double d = 18.0 * designerTextScale() - 18.0;
    const double c = std::ceil(d > 0 ? h + d / 1.6 : h);
    if (c < 36 && c > h) rect.bottom = rect.top + static_cast<int>(c);
  }

  const wchar_t* cls = Krv_DesignerControl::className(kind);
  DWORD style = WS_CHILD | WS_VISIBLE | Krv_DesignerControl::addedStyle(control.mType);
  if (control.mReadOnly || (mDesignMode && kind != ckStatic)) style |= WS_DISABLED;
  const DWORD exStyle = Krv_DesignerControl::addedExStyle(control.mType);
  CWnd* created = nullptr;
  std::unique_ptr<CWnd> runTimeWindow;
  std::unique_ptr<CControlRect> drawn;
  if (mDesignMode) {
    drawn = std::make_unique<CControlRect>();
    if (!drawn->create(exStyle, cls, control.mContents.c_str(), style, rect, mHDlg,
                       static_cast<UINT>(control.mResId)))
      return false;
    created = drawn->window();
  } else {
    runTimeWindow = krv::win::makeWindowObject(cls);
    if (!runTimeWindow->CreateEx(exStyle, cls, control.mContents.c_str(), style, rect, mHDlg,
                                 static_cast<UINT>(control.mResId)))
      return false;
    created = runTimeWindow.get();
  }
  created->SetFont(mHDlg->GetFont());
  if (kind == ckComboBox) {
    if (auto* combo = dynamic_cast<CComboBox*>(created)) {
      Krv_StringArray items = control.mComboItems;
      if (control.mType == ctCutCombo) {
        items = Krv_StringArray{dialString(1395), dialString(1396), dialString(1397),
                                dialString(1398), dialString(kMixedValuesText)};
      } else if (items.isEmpty()) {
        control.getComboItemsFromFile(items);
      }
      for (const Krv_String& item : items) combo->AddString(item.c_str());
      const int found =
          items.isEmpty() ? CB_ERR : combo->FindStringExact(-1, control.mContents.c_str());
      if (found != CB_ERR)
        combo->SetCurSel(found);
      else
        combo->SetWindowText(control.mContents.c_str());
      if (control.mType == ctCutCombo) setComboValue(control, combo, control.mContents);
    }
  } else if (control.mType == ctVarCheck) {
    setCheckValue(created, control.mComboList);
  } else if (control.mType == ctFlexButton) {
    setBtnIcon(created);
  }
  if (drawn) {
    mTracker->add(drawn.get());
    mDrawnCtrls.append(drawn.release());
  } else {
    mRunTimeCtrls.push_back(std::move(runTimeWindow));
  }
  return true;
}

void Krv_DlgDesignerData::redrawAllControls() {
  if (mDesignMode) {
    if (mTracker) mTracker->clearSelection();
    removeAllDrawnCtrls();
  } else {
    sortAllControls();
    removeRunTimeCtrls();
  }
  for (const Krv_DesignerControl& c : mControls) drawControl(c);
}

void Krv_DlgDesignerData::removeRunTimeCtrls() {
  for (auto& window : mRunTimeCtrls)
    if (window->GetSafeHwnd()) window->DestroyWindow();
  mRunTimeCtrls.clear();
}

bool Krv_DlgDesignerData::findCtrlFromResource(int resId, int& index) const {
  if (resId <= 0) return false;
  for (int i = 0; i < mControls.length(); ++i) {
    if (mControls[i].mResId == resId) {
      index = i;
      return true;
    }
  }
  return false;
}

bool Krv_DlgDesignerData::getCtrlPtr(int index, CWnd*& window) const {
  window = nullptr;
  if (!mControls.isValid(index) || mControls[index].mResId <= 0 || !mHDlg || !IsWindow(mHDlg))
    return false;
  return mControls[index].getCtrlPtr(mHDlg, window);
}

bool Krv_DlgDesignerData::isADynControl(int resId) const {
  int index = -1;
  CWnd* window = nullptr;
  return findCtrlFromResource(resId, index) && getCtrlPtr(index, window);
}

bool Krv_DlgDesignerData::getDynControlType(int resId, int& type) const {
  int index = -1;
  if (!findCtrlFromResource(resId, index)) return false;
  type = mControls[index].mType;
  return true;
}

bool Krv_DlgDesignerData::isTypeBoltCount(int resId) const {
  int type = -1;
  return getDynControlType(resId, type) && Krv_DesignerControl::isTypeBoltCount(type);
}

bool Krv_DlgDesignerData::findEditCtrlWithContents(const Krv_String& name, int& index) const {
  for (int i = 0; i < mControls.length(); ++i) {
    const Krv_DesignerControl& c = mControls[i];
    if ((c.mType == ctVarEdit || c.mType == ctVarCombo) && c.mContents == name) {
      index = i;
      return true;
    }
  }
  return false;
}

bool Krv_DlgDesignerData::getFocusedDynControl(int& resId) const {
  resId = 0;
  CWnd* focus = CWnd::GetFocus();
  // The edit field of a combo box holds the focus for its combo box.
  for (int depth = 0; focus && depth < 2; ++depth, focus = focus->GetParent()) {
    if (focus == mHDlg) break;
    if (isADynControl(focus->GetDlgCtrlID())) {
      resId = focus->GetDlgCtrlID();
      return true;
    }
  }
  return false;
}

// ---------------------------------------------------------------------------
// Values

bool Krv_DlgDesignerData::getCtrlValue(int resId, Krv_String& value) const {
  int index = -1;
  CWnd* window = nullptr;
  if (!findCtrlFromResource(resId, index) || !getCtrlPtr(index, window)) return false;
  const Krv_DesignerControl& c = mControls[index];
  if (c.mType == ctVarCheck) return getCheckValue(window, value);
  if (c.mType == ctCutCombo) return getComboValue(c, window, value);
  value = window->GetWindowText();
  return true;
}

bool Krv_DlgDesignerData::setCtrlValue(int resId, const Krv_String& value) {
  int index = -1;
  CWnd* window = nullptr;
  if (!findCtrlFromResource(resId, index) || !getCtrlPtr(index, window)) return false;
  const Krv_DesignerControl& c = mControls[index];
  if (c.mType == ctCellButtonFixed || c.mType == ctCellButtonLinked) return true;
  if (c.mType == ctVarCheck) return setCheckValue(window, value);
  if (c.mType == ctCutCombo) return setComboValue(c, window, value);
  window->SetWindowText(value.c_str());
  return true;
}

bool Krv_DlgDesignerData::setCtrlReadOnly(int resId, bool readOnly) {
  int index = -1;
  CWnd* window = nullptr;
  if (!findCtrlFromResource(resId, index) || !getCtrlPtr(index, window)) return false;
  const int type = mControls[index].mType;
  if (type != ctVarEdit && type != ctVarCombo) return false;
  if (static_cast<bool>(window->IsWindowEnabled()) == readOnly) window->EnableWindow(!readOnly);
  return true;
}

bool Krv_DlgDesignerData::getComboValue(const Krv_DesignerControl& control, CWnd* window,
                                        Krv_String& value) const {
  auto* combo = dynamic_cast<CComboBox*>(window);
  if (!combo) return false;
  if (control.mType == ctCutCombo)
    value = Krv_String(combo->GetCurSel(), 0);
  else
    value = combo->GetWindowText();
  return true;
}

bool Krv_DlgDesignerData::setComboValue(const Krv_DesignerControl& control, CWnd* window,
                                        const Krv_String& value) {
  auto* combo = dynamic_cast<CComboBox*>(window);
  if (!combo) return false;
  if (control.mType == ctCutCombo) {
    const double n = leadingNumber(value);
    combo->SetCurSel(n >= 0 && n < combo->GetCount() ? static_cast<int>(n) : -1);
  } else {
    combo->SetWindowText(value.c_str());
  }
  return true;
}

bool Krv_DlgDesignerData::getCheckValue(CWnd* window, Krv_String& value) const {
  auto* button = dynamic_cast<CButton*>(window);
  if (!button) return false;
  const int check = button->GetCheck();
  value = check == BST_INDETERMINATE ? dialString(kMixedValuesText)
                                     : Krv_String(check == BST_CHECKED ? L"1" : L"0");
  return true;
}

bool Krv_DlgDesignerData::setCheckValue(CWnd* window, const Krv_String& value) {
  auto* button = dynamic_cast<CButton*>(window);
  if (!button) return false;
  const bool mixed = value == dialString(kMixedValuesText);
  const UINT type = mixed ? BS_AUTO3STATE : BS_AUTOCHECKBOX;
  button->SetButtonStyle((button->GetButtonStyle() & ~BS_TYPEMASK) | type, TRUE);
  button->SetCheck(mixed ? BST_INDETERMINATE
                         : (leadingNumber(value) > 0 ? BST_CHECKED : BST_UNCHECKED));
  return true;
}

bool Krv_DlgDesignerData::setBtnIcon(CWnd* window) {
  auto* button = dynamic_cast<CButton*>(window);
  if (!button) return false;
  // Loaded once; icons stay with the resource module that holds them.
  if (!mFlexIcon)
    mFlexIcon =
        LoadIcon(AfxFindResourceHandle(kFlexIconId, krv::win::ResourceKind::Icon), kFlexIconId);
  if (!mFlexIcon) return false;
  button->SetIcon(mFlexIcon);
  return true;
}

// ---------------------------------------------------------------------------
// Keyboard

bool Krv_DlgDesignerData::handleTabKey(UINT key, Krv_TabMsgHandle& outcome) {
  outcome = tabNotHandled;
  if (key != VK_TAB || !mInitialized || !containsEditableCtrls()) return false;
  int resId = 0, index = -1;
  if (!getFocusedDynControl(resId) || !findCtrlFromResource(resId, index)) return false;
  const int t = mControls[index].mTabOrder;
  int next = -1;
  if (GetKeyState(VK_SHIFT) < 0) {
    if (t <= 1 || !findCtrlWithTabOrder(t - 1, next)) {
      outcome = tabBeforeFirst;
      return true;
    }
  } else if (!findCtrlWithTabOrder(t + 1, next)) {
    outcome = tabPastLast;
    return true;
  }
  setFocusToCtrl(next);
  outcome = tabHandled;
  return true;
}

bool Krv_DlgDesignerData::setFocusToCtrl(bool first) {
  if (!containsEditableCtrls()) return false;
  int index = -1;
  if (first) {
    if (!findCtrlWithTabOrder(1, index)) return false;
  } else {
    int highest = 0;
    for (int i = 0; i < mControls.length(); ++i) {
      if (mControls[i].mTabOrder > highest) {
        highest = mControls[i].mTabOrder;
        index = i;
      }
    }
    if (index < 0) return false;
  }
  return setFocusToCtrl(index);
}

bool Krv_DlgDesignerData::setFocusToCtrl(int index) {
  CWnd* window = nullptr;
  if (!getCtrlPtr(index, window)) return false;
  window->SetFocus();
  if (auto* edit = dynamic_cast<CEdit*>(window)) edit->SetSel(0, -1);
  return true;
}

// ---------------------------------------------------------------------------
// Flex button states

bool Krv_DlgDesignerData::getSetFlexBtnStatus(bool set, int index, int& status) {
  CWnd* window = nullptr;
  if (!mControls.isValid(index) || mControls[index].mType != ctFlexButton ||
      !getCtrlPtr(index, window))
    return false;
  auto* button = dynamic_cast<CButton*>(window);
  if (!button) return false;
  if (set)
    button->SetCheck(status == 2 ? BST_UNCHECKED : status);
  else
    status = button->GetCheck();
  return true;
}

bool Krv_DlgDesignerData::getFlexBtnStatus(int index, int& status) {
  return getSetFlexBtnStatus(false, index, status);
}

bool Krv_DlgDesignerData::setFlexBtnStatus(const Krv_String& group, const Krv_String& contents,
                                           int status) {
  int index = -1;
  return findFlexButton(group, contents, index) && getSetFlexBtnStatus(true, index, status);
}

void Krv_DlgDesignerData::hideAllFlexBtns(const Krv_String& group) {
  if (!mHDlg || !IsWindow(mHDlg)) return;
  for (const Krv_DesignerControl& c : mControls)
    if (c.mType == ctFlexButton && c.mFlexGroup == group && c.mResId > 0)
      ShowOrHideCtrl(mHDlg, c.mResId, 0);
}
