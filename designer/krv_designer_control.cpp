#include "designer/krv_designer_control.h"

#include <cmath>
#include <filesystem>
#include <system_error>

#include "platform/core/file_paths.h"
#include "platform/core/krv_settings.h"
#include "platform/core/properties_list.h"
#include "platform/core/text_file.h"
#include "platform/core/text_functions.h"
#include "platform/win/button.h"
#include "platform/win/combo_box.h"
#include "platform/win/edit.h"
#include "platform/win/wnd.h"

namespace {

Krv_String key(const wchar_t* name, int index) { return Krv_String(name) + Krv_String(index, 0); }

bool isCellButton(int type) { return type == ctCellButtonFixed || type == ctCellButtonLinked; }

}  // namespace

Krv_ControlKind Krv_DesignerControl::kindOf(int type) {
  switch (type) {
    case ctGroupBox:
    case ctBoltPatternButton:
    case ctBoltButton:
    case ctProfButton:
    case ctProfButton2:
    case ctArrayButton:
    case ctCellButtonFixed:
    case ctCellButtonLinked:
    case ctVarCheck:
    case ctFlexButton:
      return ckButton;
    case ctVarEdit:
    case ctBoltPattern:
    case ctBoltPatternCount:
    case ctBoltData2:
    case ctBoltData3:
    case ctBoltData4:
    case ctBoltData5:
    case ctArrayField1:
    case ctArrayField2:
    case ctArrayField3:
    case ctArrayField4:
    case ctArrayField5:
    case ctArrayEntry:
      return ckEdit;
    case ctVarCombo:
    case ctBoltData1:
    case ctProfSection:
    case ctProfOffsetType:
    case ctProfRotation:
    case ctTabListCombo:
    case ctCutCombo:
      return ckComboBox;
    default:
      return ckStatic;  // ctText and every type outside 0..30
  }
}

const wchar_t* Krv_DesignerControl::className(Krv_ControlKind kind) {
  switch (kind) {
    case ckScrollBar:
      return L"SCROLLBAR";
    case ckButton:
      return L"BUTTON";
    case ckEdit:
      return L"EDIT";
    case ckListBox:
      return L"LISTBOX";
    case ckComboBox:
      return L"COMBOBOX";
    case ckStatic:
      break;
  }
  return L"STATIC";
}

DWORD Krv_DesignerControl::addedStyle(int type) {
  switch (type) {
    case ctGroupBox:
      return BS_GROUPBOX;
    case ctFlexButton:
      return BS_AUTOCHECKBOX | BS_ICON | BS_VCENTER | BS_PUSHLIKE;
    case ctVarCombo:
    case ctProfRotation:
      return CBS_DROPDOWN | CBS_AUTOHSCROLL | WS_VSCROLL;
    default:
      break;
  }
  switch (kindOf(type)) {
    case ckEdit:
      return isTypeBoltCount(type) ? (ES_MULTILINE | ES_AUTOVSCROLL) : ES_AUTOHSCROLL;
    case ckComboBox:
      return CBS_DROPDOWNLIST | WS_VSCROLL;
    default:
      return 0;
  }
}

DWORD Krv_DesignerControl::addedExStyle(int type) {
  return kindOf(type) == ckEdit ? WS_EX_CLIENTEDGE : 0;
}

bool Krv_DesignerControl::isTypeBoltCount(int type) {
  return type == ctBoltPattern || type == ctBoltPatternCount;
}

bool Krv_DesignerControl::getFromPropList(const Krv_PropertiesList& list, int index) {
  bool any = false;
  int type = 0;
  if (list.getProperty(key(L"type", index), type)) {
    mType = static_cast<Krv_ControlType>(type);
    any = true;
  }
  const auto readFactor = [&](const wchar_t* name, double& member) {
    double value = 0.0;
    if (!list.getProperty(key(name, index), value)) return;
    member = std::isfinite(value) ? value : 0.0;
    any = true;
  };
  readFactor(L"topLeftX", mTopLeftX);
  readFactor(L"topLeftY", mTopLeftY);
  readFactor(L"bottomRightX", mBottomRightX);
  readFactor(L"bottomRightY", mBottomRightY);
  if (list.getProperty(key(L"contents", index), mContents)) any = true;
  Krv_String merged;
  if (list.getProperty(key(L"comboList", index), merged)) {
    setSplitExtComboList(merged);
    any = true;
  }
  return any;
}

void Krv_DesignerControl::setToPropList(Krv_PropertiesList& list, int index) const {
  list.setProperty(key(L"type", index), static_cast<int>(mType));
  list.setProperty(key(L"topLeftX", index), mTopLeftX);
  list.setProperty(key(L"topLeftY", index), mTopLeftY);
  list.setProperty(key(L"bottomRightX", index), mBottomRightX);
  list.setProperty(key(L"bottomRightY", index), mBottomRightY);
  list.setProperty(key(L"contents", index), mContents);
  list.setProperty(key(L"comboList", index), getMergedExtComboList());
}

Krv_String Krv_DesignerControl::getMergedExtComboList() const {
  if (mType == ctFlexButton)
    return arrToStr(Krv_StringArray{mFlexGroup, mFlexPart2, mFlexPart3, mFlexPart4});
  if (isCellButton(mType))
    return arrToStr(Krv_StringArray{mExtPart1, mExtPart2, mExtPart3, mExtPart4, mComboList});
  return mComboList;
}

bool Krv_DesignerControl::setSplitExtComboList(const Krv_String& text) {
  if (mType == ctFlexButton || isCellButton(mType)) {
    const Krv_StringArray parts = strToArr(text);
    const auto nth = [&](int i) { return i < parts.length() ? parts[i] : Krv_String(); };
    if (mType == ctFlexButton) {
      mFlexGroup = nth(0);
      mFlexPart2 = nth(1);
      mFlexPart3 = nth(2);
      mFlexPart4 = nth(3);
    } else {
      mExtPart1 = nth(0);
      mExtPart2 = nth(1);
      mExtPart3 = nth(2);
      mExtPart4 = nth(3);
      mComboList = nth(4);
    }
    return true;
  }
  mComboList = text;
  mExtPart2.setEmpty();
  return true;
}

Krv_String Krv_DesignerControl::comboItemFilePath() const {
  if (mComboList.isEmpty()) return mComboList;
  const wchar_t first = mComboList[0];
  const bool absolute =
      first == L'\\' || first == L'/' || (mComboList.length() > 1 && mComboList[1] == L':');
  return absolute ? mComboList
                  : krv::core::withTrailingSeparator(Krv_Settings::libDir()) + mComboList;
}

bool Krv_DesignerControl::getComboItemsFromFile(Krv_StringArray& items) const {
  if (mComboList.isEmpty()) return false;
  const Krv_String path = comboItemFilePath();
  std::error_code ec;
  if (!std::filesystem::is_regular_file(krv::core::osPath(path), ec)) return false;
  Krv_StringArray lines;
  if (!ObjectExportReadFile(path, lines)) return false;
  items = lines;
  return true;
}

bool Krv_DesignerControl::getCtrlPtr(const CWnd* dialog, CWnd*& window) const {
  window = nullptr;
  if (!dialog || !dialog->GetSafeHwnd()) return false;
  window = dialog->GetDlgItem(mResId);
  return window != nullptr;
}

CComboBox* Krv_DesignerControl::getComboPtr(const CWnd* dialog) const {
  if (mType != ctVarCombo && mType != ctProfSection && mType != ctProfOffsetType &&
      mType != ctProfRotation)
    return nullptr;
  CWnd* window = nullptr;
  return getCtrlPtr(dialog, window) ? dynamic_cast<CComboBox*>(window) : nullptr;
}

CButton* Krv_DesignerControl::getButtonPtr(const CWnd* dialog) const {
  if (mResId == 0 || kind() != ckButton) return nullptr;
  CWnd* window = nullptr;
  return getCtrlPtr(dialog, window) ? dynamic_cast<CButton*>(window) : nullptr;
}

CEdit* Krv_DesignerControl::getEditPtr(const CWnd* dialog) const {
  if (mResId == 0 || kind() != ckEdit) return nullptr;
  CWnd* window = nullptr;
  return getCtrlPtr(dialog, window) ? dynamic_cast<CEdit*>(window) : nullptr;
}
