// Krv_DlgDesignerData in design mode: the controls as disabled windows over
// the background picture, tracked for selection, moving and resizing, the
// layout operations on the selection and the five property controls.
#include <cmath>
#include <cwchar>
#include <memory>

#include "designer/control_rect.h"
#include "designer/control_tracker.h"
#include "designer/krv_dlg_designer_data.h"
#include "designer/krv_dlg_prompt_string.h"
#include "platform/core/dial_string.h"
#include "platform/win/bitmap.h"
#include "platform/win/combo_box.h"
#include "platform/win/dc.h"
#include "platform/win/gdi.h"
#include "platform/win/wnd.h"

namespace {

constexpr int kNewContents = 171;
constexpr double kNewLeft = 0.2, kNewTop = 0.2;
constexpr double kNewWidth = 30, kNewHeight = 18;
constexpr double kCopyOffset = 20;

// A number at the start of the text; 0 when there is none.
double numberOf(const Krv_String& text) {
  const wchar_t* begin = text.c_str();
  wchar_t* end = nullptr;
  const double value = std::wcstod(begin, &end);
  return end == begin || !std::isfinite(value) ? 0.0 : value;
}

Krv_String joined(std::initializer_list<int> ids) {
  Krv_String text;
  for (int id : ids) {
    if (!text.isEmpty()) text += L";";
    text += dialString(id);
  }
  return text;
}

}  // namespace

// ---------------------------------------------------------------------------
// Set-up and the type names

bool Krv_DlgDesignerData::initializeDesignMode() {
  if (!mTracker)
    mTracker = new CControlTracker(mHDlg);
  else
    mTracker->setDialog(mHDlg);
  if (auto* combo = dynamic_cast<CComboBox*>(mHDlg->GetDlgItem(mIdTypeCombo))) {
    combo->ResetContent();
    for (int type = 0; type < kDesignerControlTypeCount; ++type)
      combo->AddString(typeName(type).c_str());
  }
  updatePropsOfCurSel();
  return true;
}

Krv_String Krv_DlgDesignerData::typeName(int type) {
  if (type >= 0 && type <= 3) return dialString(799 + type);
  if (type == ctBoltPattern || type == ctBoltPatternCount)
    return dialString(803) + (type == ctBoltPattern ? L" 1: " : L" 2: ") + dialString(2220);
  if (type >= 6 && type <= 25) return dialString(804 + type - 6);
  switch (type) {
    case ctCellButtonLinked:
      return dialString(1315);
    case ctTabListCombo:
      return dialString(1341);
    case ctCutCombo:
      return dialString(1404);
    case ctVarCheck:
      return dialString(1405);
    case ctFlexButton:
      return dialString(1428);
    default:
      return Krv_String();
  }
}

Krv_String Krv_DlgDesignerData::contentsCaption(int type) {
  switch (type) {
    case ctText:
    case ctGroupBox:
    case ctCellButtonFixed:
    case ctCellButtonLinked:
    case ctVarCheck:
      return dialString(827);
    case ctVarEdit:
    case ctVarCombo:
      return dialString(828);
    case ctBoltPattern:
    case ctBoltPatternCount:
    case ctBoltPatternButton:
      return dialString(829);
    case ctCutCombo:
      return dialString(1406);
    case ctFlexButton:
      return dialString(1429);
    default:
      break;
  }
  if (type >= ctProfSection && type <= ctProfButton2) return dialString(830);
  if (type >= ctArrayField1 && type <= ctArrayButton) return dialString(831);
  return Krv_String();
}

bool Krv_DlgDesignerData::hasExtList(int type) {
  switch (type) {
    case ctText:
    case ctGroupBox:
    case ctVarCombo:
    case ctArrayEntry:
    case ctCellButtonFixed:
    case ctCellButtonLinked:
    case ctTabListCombo:
    case ctVarCheck:
    case ctFlexButton:
      return true;
    default:
      return false;
  }
}

Krv_String Krv_DlgDesignerData::extListCaption(int type) {
  switch (type) {
    case ctText:
    case ctGroupBox:
      return dialString(1403);
    case ctVarCheck:
      return dialString(828);
    case ctVarCombo:
      return dialString(833);
    case ctArrayEntry:
      return dialString(834);
    case ctTabListCombo:
      return dialString(1342);
    case ctFlexButton:
      return joined({705, 1430, 1431});
    case ctCellButtonFixed:
      return joined({1316, 1317, 1318, 1319});
    case ctCellButtonLinked:
      return joined({1316, 1317, 1320, 1319});
    default:
      return Krv_String();
  }
}

// ---------------------------------------------------------------------------
// Drawn windows

void Krv_DlgDesignerData::removeAllDrawnCtrls() {
  for (const Krv_DesignerControl& c : mControls) removeDrawnCtrlOnly(c.mResId);
}

bool Krv_DlgDesignerData::removeDrawnCtrlOnly(int resId) {
  if (!mTracker) return false;
  for (int i = 0; i < mDrawnCtrls.length(); ++i) {
    CControlRect* drawn = mDrawnCtrls[i];
    if (drawn->id() != resId) continue;
    mTracker->remove(resId);
    mDrawnCtrls.removeAt(i);
    delete drawn;  // destroys the window
    return true;
  }
  return false;
}

bool Krv_DlgDesignerData::findDrawnCtrlFromResource(int resId, int& index, CRect& rect) const {
  for (int i = 0; i < mDrawnCtrls.length(); ++i) {
    if (mDrawnCtrls[i]->id() == resId) {
      index = i;
      rect = mDrawnCtrls[i]->m_rect;
      return true;
    }
  }
  return false;
}

AcArray<int> Krv_DlgDesignerData::selectedIds() const {
  return mTracker ? mTracker->selectedIds() : AcArray<int>();
}

void Krv_DlgDesignerData::repaintDialog() const {
  if (mHDlg && IsWindow(mHDlg)) mHDlg->Invalidate();
}

// ---------------------------------------------------------------------------
// Painting and mouse

BOOL Krv_DlgDesignerData::OnEraseBkgnd(CDC* dc) {
  if (!mInitialized || !mHDlg || !IsWindow(mHDlg) || !dc) return 0;
  if (mDesignMode) {
    CRect client;
    mHDlg->GetClientRect(&client);
    dc->FillSolidRect(&client, GetSysColor(COLOR_BTNFACE));
  }
  if (mBitmap && mMaskBitmap && mImageWidth > 0 && mImageHeight > 0) {
    // The mask keeps the dialog where the image is white; the image, black
    // there, adds its colours everywhere else.
    CDC memory;
    memory.CreateCompatibleDC(dc);
    CBitmap* old = memory.SelectObject(mMaskBitmap.get());
    dc->BitBlt(0, 0, mImageWidth, mImageHeight, &memory, 0, 0, SRCAND);
    memory.SelectObject(mBitmap.get());
    dc->BitBlt(0, 0, mImageWidth, mImageHeight, &memory, 0, 0, SRCPAINT);
    memory.SelectObject(old);
  }
  return 0;
}

void Krv_DlgDesignerData::OnPaint(CDC* paintDc) {
  if (mTracker && paintDc) mTracker->drawSelection(paintDc);
}

void Krv_DlgDesignerData::OnLButtonDown(UINT flags, CPoint point) {
  if (!mInitialized || !mTracker) return;
  mTracker->trackButtonDown(point, flags, true);
}

bool Krv_DlgDesignerData::OnSetCursor(CPoint point) {
  return mInitialized && mTracker && mTracker->setTrackerCursor(point);
}

// ---------------------------------------------------------------------------
// Layout

bool Krv_DlgDesignerData::addNewControl(int type) {
  if (!mTracker) return false;
  Krv_DesignerControl c;
  c.mType = static_cast<Krv_ControlType>(type);
  c.mContents = dialString(kNewContents);
  c.mTopLeftX = kNewLeft;
  c.mTopLeftY = kNewTop;
  c.mBottomRightX = kNewLeft + pixelsToFactor(true, kNewWidth);
  c.mBottomRightY = kNewTop + pixelsToFactor(false, kNewHeight);
  if (append(c) == 0) {  // every identifier is in use
    removeControl(getNrControls() - 1);
    return false;
  }
  drawControl(mControls[getNrControls() - 1]);
  return true;
}

bool Krv_DlgDesignerData::changeCtrlSize(bool horizontal) {
  const AcArray<int> ids = selectedIds();
  if (ids.isEmpty()) return false;
  getSizeFromAllControls();
  Krv_DlgPromptString prompt(mHDlg);
  prompt.setTitle(dialString(horizontal ? 90 : 744));
  prompt.setLabel(dialString(horizontal ? 825 : 826));
  prompt.setValue(horizontal ? L"30" : L"18");
  prompt.setOkText(dialString(1));
  prompt.setCancelText(dialString(2));
  if (prompt.DoModal() != IDOK || !prompt.accepted()) return false;
  const double pixels = numberOf(prompt.value());
  for (int id : ids) {
    int index = -1;
    if (findCtrlFromResource(id, index)) changeCtrlSize(index, horizontal, pixels);
  }
  redrawAllControls();
  selectCtrls(ids);
  return true;
}

bool Krv_DlgDesignerData::copyCurCtrls() {
  const AcArray<int> ids = selectedIds();
  if (ids.isEmpty()) return false;
  getSizeFromAllControls();
  AcArray<int> copies;
  for (int id : ids) {
    int index = -1;
    if (!findCtrlFromResource(id, index)) continue;
    const Krv_DesignerControl& source = mControls[index];
    Krv_DesignerControl copy = source;
    setTopLeftX(copy, getTopLeftX(source) + kCopyOffset);
    setTopLeftY(copy, getTopLeftY(source) + kCopyOffset);
    setBottomRightX(copy, getBottomRightX(source) + kCopyOffset);
    setBottomRightY(copy, getBottomRightY(source) + kCopyOffset);
    const int copyId = append(copy);
    if (copyId == 0) {  // every identifier is in use
      removeControl(getNrControls() - 1);
      break;
    }
    drawControl(mControls[getNrControls() - 1]);
    copies.append(copyId);
  }
  redrawAllControls();
  selectCtrls(copies);
  return true;
}

bool Krv_DlgDesignerData::outlineCurCtrls() {
  const AcArray<int> ids = selectedIds();
  if (ids.isEmpty()) return false;
  getSizeFromAllControls();
  int reference = -1;
  if (!findMostLeftCtrl(ids, reference)) return false;
  const double bottom = getBottomRightY(mControls[reference]);
  for (int id : ids) {
    int index = -1;
    if (!findCtrlFromResource(id, index) || index == reference) continue;
    Krv_DesignerControl& c = mControls[index];
    const double height = getHeight(c);
    setBottomRightY(c, bottom);
    setHeight(c, height);
  }
  redrawAllControls();
  selectCtrls(ids);
  return true;
}

bool Krv_DlgDesignerData::stickRightCurCtrls() {
  const AcArray<int> ids = selectedIds();
  if (ids.length() != 2) return false;
  getSizeFromAllControls();
  int reference = -1, other = -1;
  if (!findMostLeftCtrl(ids, reference)) return false;
  for (int id : ids) {
    int index = -1;
    if (findCtrlFromResource(id, index) && index != reference) other = index;
  }
  if (other < 0) return false;
  const Krv_DesignerControl& ref = mControls[reference];
  Krv_DesignerControl& c = mControls[other];
  const double width = getWidth(c);
  const double left = getBottomRightX(ref);
  setTopLeftX(c, left);
  setTopLeftY(c, getTopLeftY(ref));
  setBottomRightY(c, getBottomRightY(ref));
  setBottomRightX(c, left + width);
  redrawAllControls();
  selectCtrls(ids);
  return true;
}

bool Krv_DlgDesignerData::removeCurControls() {
  if (!mTracker) return false;
  const AcArray<int> ids = selectedIds();
  for (int id : ids) {
    removeDrawnCtrlOnly(id);
    int index = -1;
    if (findCtrlFromResource(id, index)) removeControl(index);
  }
  repaintDialog();
  return true;
}

void Krv_DlgDesignerData::selectCtrls(const AcArray<int>& resIds) {
  if (!mTracker) return;
  mTracker->clearSelection();
  for (int id : resIds) mTracker->select(id, false);
  repaintDialog();
}

// ---------------------------------------------------------------------------
// Property editing

int Krv_DlgDesignerData::getCurSel() const {
  if (!mTracker) return -1;
  int index = -1;
  return findCtrlFromResource(mTracker->singleSelectedId(), index) ? index : -1;
}

void Krv_DlgDesignerData::updateProps(int index) {
  if (!mDesignMode || !mHDlg || !IsWindow(mHDlg)) return;
  auto* combo = dynamic_cast<CComboBox*>(mHDlg->GetDlgItem(mIdTypeCombo));
  CWnd* contentsLabel = mHDlg->GetDlgItem(mIdContentsLabel);
  CWnd* contents = mHDlg->GetDlgItem(mIdContents);
  CWnd* extLabel = mHDlg->GetDlgItem(mIdExtLabel);
  CWnd* ext = mHDlg->GetDlgItem(mIdExt);
  if (!combo || !contents || !ext) return;
  const auto show = [](CWnd* w, const Krv_String& text, bool enable) {
    if (!w) return;
    w->SetWindowText(text.c_str());
    w->EnableWindow(enable);
  };
  const Krv_DesignerControl* c = getControl(index);
  if (!c) {
    combo->SetCurSel(-1);
    combo->EnableWindow(FALSE);
    for (CWnd* w : {contentsLabel, contents, extLabel, ext}) show(w, Krv_String(), false);
    return;
  }
  combo->SetCurSel(c->mType >= 0 && c->mType < kDesignerControlTypeCount ? c->mType : -1);
  combo->EnableWindow(TRUE);
  show(contentsLabel, contentsCaption(c->mType), true);
  show(contents, c->mContents, true);
  const bool withExt = hasExtList(c->mType);
  show(extLabel, withExt ? extListCaption(c->mType) : Krv_String(), withExt);
  show(ext, withExt ? c->getMergedExtComboList() : Krv_String(), withExt);
}

void Krv_DlgDesignerData::updatePropsOfCurSel() {
  mUpdating = true;
  const AcArray<int> ids = selectedIds();
  updateProps(getCurSel());
  if (mTracker) {
    mTracker->clearSelection();
    for (int id : ids) mTracker->select(id, false);
  }
  mUpdating = false;
}

void Krv_DlgDesignerData::readProps(int index) {
  Krv_DesignerControl* c = getControlWrite(index);
  if (!c || !mHDlg || !IsWindow(mHDlg)) return;
  // The extended list edit shows this control's list only for a type that
  // has one; otherwise it is empty and must not wipe the stored list.
  const bool extShown = hasExtList(c->mType);
  if (auto* combo = dynamic_cast<CComboBox*>(mHDlg->GetDlgItem(mIdTypeCombo))) {
    const int sel = combo->GetCurSel();
    if (sel >= 0 && sel < kDesignerControlTypeCount) c->mType = static_cast<Krv_ControlType>(sel);
  }
  if (mHDlg->GetDlgItem(mIdContents)) c->mContents = mHDlg->GetDlgItemText(mIdContents);
  if (extShown && mHDlg->GetDlgItem(mIdExt)) c->setSplitExtComboList(mHDlg->GetDlgItemText(mIdExt));
}

void Krv_DlgDesignerData::propsOfCurSelUpdated() {
  if (mUpdating || !mDesignMode) return;
  const int index = getCurSel();
  if (index < 0) return;
  const Krv_DesignerControl before = mControls[index];
  readProps(index);
  const Krv_DesignerControl& after = mControls[index];
  if (after.mContents != before.mContents) {
    CWnd* window = nullptr;
    if (getCtrlPtr(index, window)) {
      window->SetWindowText(after.mContents.c_str());
      window->Invalidate();
    }
  }
  if (after.mType != before.mType) {
    const int resId = after.mResId;
    getSizeFromAllControls();
    redrawAllControls();
    selectCtrls(AcArray<int>{resId});
  }
}
