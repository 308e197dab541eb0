// The document settings dialog of the spreadsheet editor.
#include "spread/dlg_ss_document_settings.h"

#include <optional>
#include <vector>

#include "platform/base/utf.h"
#include "platform/core/dial_string.h"
#include "platform/sheet/ss_api.h"
#include "platform/win/combo_box.h"
#include "platform/win/file_dialog.h"
#include "platform/win/message_box.h"
#include "spread/new_sheet_document.h"

namespace {

// Dialog string numbers: the caption, then the texts of the labelled
// controls in the order of kLabels.
constexpr int kCaption = 2770;
constexpr int kRefused = 2797, kSetNotLoaded = 2798, kNameFirst = 2799, kPictures = 2800;
constexpr int kNameHeader = 2795, kValueHeader = 2796;
constexpr std::pair<int, int> kLabels[] = {
    {1601, 2771}, {1603, 2772}, {1604, 2773}, {1610, 2774}, {1611, 2775}, {1613, 2776},
    {1620, 2777}, {1621, 2778}, {1623, 2779}, {1625, 2780}, {1627, 2781}, {1630, 2782},
    {1631, 2783}, {1634, 2784}, {1640, 2785}, {1641, 2786}, {1642, 2787}, {1643, 2788},
    {1644, 2789}, {1645, 2790}, {1646, 2791}, {1650, 2792}, {1652, 2793}, {1653, 2794},
};
constexpr int kMaxNumber = 999;
constexpr wchar_t kSeparator = L'\u00A4';

std::optional<int> wholeNumber(const std::wstring& text, int lowest) {
  if (text.empty() || text.size() > 3) return std::nullopt;
  int v = 0;
  for (wchar_t c : text) {
    if (c < L'0' || c > L'9') return std::nullopt;
    v = v * 10 + (c - L'0');
  }
  if (v < lowest || v > kMaxNumber) return std::nullopt;
  return v;
}

}  // namespace

CDlgSSDocumentSettings::CDlgSSDocumentSettings(const VtSSSettings& settings, CWnd* parent)
    : CDialog(IDD, parent), mSettings(settings) {}

BOOL CDlgSSDocumentSettings::OnInitDialog() {
  CDialog::OnInitDialog();
  SetWindowText(dialString(kCaption).c_str());
  for (const auto& [id, text] : kLabels) SetDlgItemText(id, dialString(text).c_str());
  SetDlgItemText(IDOK, dialString(1).c_str());
  SetDlgItemText(IDCANCEL, dialString(2).c_str());
  if (auto* sets = dynamic_cast<CComboBox*>(GetDlgItem(kSetCombo))) {
    const Krv_StringArray names = VtSSSettings::settingsSetNames();
    for (int i = 0; i < names.length(); ++i) sets->AddString(names[i].c_str());
  }
  if (auto* fonts = dynamic_cast<CComboBox*>(GetDlgItem(kFontCombo)))
    for (const wchar_t* font : kFonts) fonts->AddString(font);

  mVariables.attachToDlgItem(this, kVariablesFrame, true);
  mVariables.setDefaultLook(Krv_Spread::kLookEditable);
  mVariables.setMaxCols(2);
  mVariables.setEditFormat(-1, -1, -1, -1, 0x110000, 200);
  mVariables.setCellData(1, SS_HEADER, dialString(kNameHeader));
  mVariables.setCellData(2, SS_HEADER, dialString(kValueHeader));
  mVariables.document().setColWidth(0, 32);
  mVariables.setResizeMode(krv::spread::kResizeFitColumns);
  mVariables.applyResizeMode();
  show(mSettings);
  return TRUE;
}

void CDlgSSDocumentSettings::show(const VtSSSettings& s) {
  SetDlgItemText(kFontCombo, s.defaultFont().c_str());
  SetDlgItemInt(kHeightEdit, static_cast<UINT>(s.defaultTextHeight()), FALSE);
  SetDlgItemInt(kLeftEdit, static_cast<UINT>(s.marginLeft()), FALSE);
  SetDlgItemInt(kRightEdit, static_cast<UINT>(s.marginRight()), FALSE);
  SetDlgItemInt(kTopEdit, static_cast<UINT>(s.marginTop()), FALSE);
  SetDlgItemInt(kBottomEdit, static_cast<UINT>(s.marginBottom()), FALSE);
  SetDlgItemText(kHeaderEdit, s.headerFile().c_str());
  SetDlgItemText(kFooterEdit, s.footerFile().c_str());
  const std::pair<int, bool> checks[] = {
      {kSmartPrintCheck, s.smartPrint()},     {kColorsCheck, s.colors()},
      {kColHeaderCheck, s.colHeader()},       {kRowHeaderCheck, s.rowHeader()},
      {kSeparatorsCheck, s.cellSeparators()}, {kBorderCheck, s.border()},
  };
  for (const auto& [id, on] : checks) CheckDlgButton(id, on ? BST_CHECKED : BST_UNCHECKED);
  const Krv_StringArray& names = s.varNames();
  const Krv_StringArray& values = s.varValues();
  mVariables.setMaxRows(0);
  mVariables.setMaxRows(std::max(names.length(), 1));
  for (int i = 0; i < names.length(); ++i) {
    mVariables.setCellData(1, i + 1, names[i]);
    mVariables.setCellData(2, i + 1, i < values.length() ? values[i] : Krv_String());
  }
  mVariables.setActiveCell(1, 1);
}

bool CDlgSSDocumentSettings::collect(VtSSSettings& s) {
  const auto refuse = [this](int id, const std::wstring& why) {
    ::MessageBox(m_hWnd, (dialString(kRefused).str() + L"\n" + why).c_str(),
                 dialString(kCaption).c_str(), MB_OK | MB_ICONEXCLAMATION);
    if (CWnd* c = GetDlgItem(id)) GotoDlgCtrl(c);
    return false;
  };
  const auto number = [&](int id, int labelText, int lowest, void (VtSSSettings::*set)(int)) {
    const auto v = wholeNumber(GetDlgItemText(id), lowest);
    if (!v)
      return refuse(id, dialString(labelText).str() + L" " + std::to_wstring(lowest) + L" - " +
                            std::to_wstring(kMaxNumber));
    (s.*set)(*v);
    return true;
  };
  if (!number(kHeightEdit, 2776, 1, &VtSSSettings::setDefaultTextHeight) ||
      !number(kLeftEdit, 2778, 0, &VtSSSettings::setMarginLeft) ||
      !number(kRightEdit, 2779, 0, &VtSSSettings::setMarginRight) ||
      !number(kTopEdit, 2780, 0, &VtSSSettings::setMarginTop) ||
      !number(kBottomEdit, 2781, 0, &VtSSSettings::setMarginBottom))
    return false;

  const std::pair<int, int> texts[] = {
      {kFontCombo, 2775}, {kHeaderEdit, 2783}, {kFooterEdit, 2784}};
  for (const auto& [id, label] : texts)
    if (GetDlgItemText(id).find(kSeparator) != std::wstring::npos)
      return refuse(id, dialString(label).str() + L" \u00A4");
  s.setDefaultFont(Krv_String(GetDlgItemText(kFontCombo)));
  s.setHeaderFile(Krv_String(GetDlgItemText(kHeaderEdit)));
  s.setFooterFile(Krv_String(GetDlgItemText(kFooterEdit)));
  s.setSmartPrint(IsDlgButtonChecked(kSmartPrintCheck) == BST_CHECKED);
  s.setColors(IsDlgButtonChecked(kColorsCheck) == BST_CHECKED);
  s.setColHeader(IsDlgButtonChecked(kColHeaderCheck) == BST_CHECKED);
  s.setRowHeader(IsDlgButtonChecked(kRowHeaderCheck) == BST_CHECKED);
  s.setCellSeparators(IsDlgButtonChecked(kSeparatorsCheck) == BST_CHECKED);
  s.setBorder(IsDlgButtonChecked(kBorderCheck) == BST_CHECKED);

  // An open entry in the variables counts as typed.
  if (!mVariables.FinishEdit()) return false;
  Krv_StringArray names, values;
  Krv_String name, value;
  for (int row = 1; row <= mVariables.getMaxRows(); ++row) {
    mVariables.getCellString(1, row, name, Data);
    mVariables.getCellString(2, row, value, Data);
    if (name.str().find(kSeparator) != std::wstring::npos ||
        value.str().find(kSeparator) != std::wstring::npos) {
      mVariables.setActiveCell(1, row);
      return refuse(kVariablesFrame, dialString(2792).str() + L" " + name.str() + L" \u00A4");
    }
    if (name.isEmpty()) continue;
    names.append(name);
    values.append(value);
  }
  s.setVarNames(names);
  s.setVarValues(values);
  return true;
}

void CDlgSSDocumentSettings::OnOK() {
  VtSSSettings s = mSettings;
  if (!collect(s)) return;
  mSettings = s;
  CDialog::OnOK();
}

bool CDlgSSDocumentSettings::loadSet() {
  const Krv_String name(GetDlgItemText(kSetCombo));
  if (name.isEmpty()) {
    ::MessageBox(m_hWnd, dialString(kNameFirst).c_str(), dialString(kCaption).c_str(),
                 MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  VtSSSettings s = mSettings;
  if (!s.load(name)) {
    std::wstring text = dialString(kSetNotLoaded).str();
    if (auto at = text.find(L"{file}"); at != std::wstring::npos)
      text.replace(at, 6, VtSSSettings::settingsFileName(name).str());
    ::MessageBox(m_hWnd, text.c_str(), dialString(kCaption).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  show(s);
  return true;
}

bool CDlgSSDocumentSettings::saveSet() {
  const Krv_String name(GetDlgItemText(kSetCombo));
  if (name.isEmpty()) {
    ::MessageBox(m_hWnd, dialString(kNameFirst).c_str(), dialString(kCaption).c_str(),
                 MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  VtSSSettings s = mSettings;
  if (!collect(s)) return false;
  s.setValid(true);
  if (!s.save(name)) {
    ::MessageBox(
        m_hWnd, (dialString(kRefused).str() + L"\n" + krv::base::utf8ToWide(s.lastError())).c_str(),
        dialString(kCaption).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  if (auto* sets = dynamic_cast<CComboBox*>(GetDlgItem(kSetCombo));
      sets && sets->FindStringExact(-1, name.c_str()) < 0)
    sets->AddString(name.c_str());
  return true;
}

void CDlgSSDocumentSettings::addVariable() {
  mVariables.FinishEdit();
  const int row = mVariables.getMaxRows() + 1;
  mVariables.setMaxRows(row, true);
  mVariables.setActiveCell(1, row);
  mVariables.SetFocus();
}

void CDlgSSDocumentSettings::removeVariable() {
  int col = 0, row = 0;
  mVariables.document().setEditing(false);
  if (!mVariables.getActiveCell(col, row)) return;
  if (mVariables.getMaxRows() > 1) {
    mVariables.deleteRow(row);
    mVariables.setActiveCell(1, std::min(row, mVariables.getMaxRows()));
  } else {
    mVariables.setCellData(1, 1, Krv_String());
    mVariables.setCellData(2, 1, Krv_String());
  }
}

void CDlgSSDocumentSettings::browse(int editId) {
  const std::wstring filter =
      dialString(kPictures).str() + L" (*.bmp;*.png)|*.bmp;*.png|All files (*.*)|*.*||";
  const std::wstring current = GetDlgItemText(editId);
  CFileDialog dialog(TRUE, L"png", current.empty() ? nullptr : current.c_str(),
                     OFN_HIDEREADONLY | OFN_FILEMUSTEXIST, filter.c_str(), this);
  if (dialog.DoModal() == IDOK) SetDlgItemText(editId, dialog.GetPathName().c_str());
}

BOOL CDlgSSDocumentSettings::OnCommand(WPARAM wParam, LPARAM lParam) {
  if (HIWORD(wParam) == BN_CLICKED) {
    switch (LOWORD(wParam)) {
      case kLoadButton:
        loadSet();
        return TRUE;
      case kSaveAsButton:
        saveSet();
        return TRUE;
      case kHeaderBrowse:
        browse(kHeaderEdit);
        return TRUE;
      case kFooterBrowse:
        browse(kFooterEdit);
        return TRUE;
      case kAddButton:
        addVariable();
        return TRUE;
      case kRemoveButton:
        removeVariable();
        return TRUE;
      default:
        break;
    }
  }
  return CDialog::OnCommand(wParam, lParam);
}

bool editDocumentSettings(Krv_Spread& sheet, CWnd* parent) {
  VtSSSettings current;
  current.readFromSheet(&sheet);
  CDlgSSDocumentSettings dialog(current, parent);
  if (dialog.DoModal() != IDOK) return false;
  VtSSSettings chosen = dialog.settings();
  chosen.setValid(true);
  if (!chosen.writeToSheet(&sheet)) {
    ::MessageBox(
        parent ? parent->GetSafeHwnd() : nullptr,
        (dialString(kRefused).str() + L"\n" + krv::base::utf8ToWide(chosen.lastError())).c_str(),
        dialString(kCaption).c_str(), MB_OK | MB_ICONEXCLAMATION);
    return false;
  }
  applySettingsFont(sheet, chosen);
  sheet.setBoolOption(krv::spread::kOptionChanged, true);
  return true;
}
