#pragma once
// CDlgSSDocumentSettings: the settings of one sheet document (template 249),
// edited as a VtSSSettings:
//  - a settings set: a combo of the set names of the installation folder
//    (VtSSSettings::settingsSetNames; a new name may be typed), Load puts
//    the set's values into the dialog, Save as... writes the dialog's
//    values as that set (a message box says why either failed);
//  - the default font (a combo of common fonts, any name may be typed) and
//    text height;
//  - the print margins in millimetres;
//  - the header and footer picture files (an edit and a "..." button that
//    chooses a .bmp or .png file);
//  - the print switches: fit the columns to the page width (smart print),
//    colours, column header, row header, cell separators, border;
//  - the document variables: a two-column sheet (name, value) with Add
//    and Remove (the active row) buttons; rows without a name are dropped.
// OK takes the values into `settings()` and ends the dialog unless a value
// is refused: a margin or text height that is no whole number from 0 to
// 999 (height from 1), or a text holding the separator ¤ (the message says
// which); the dialog then stays open.
#include "platform/win/dialog.h"
#include "spread/krv_spread.h"
#include "spread/vt_ss_settings.h"

class CDlgSSDocumentSettings : public CDialog {
 public:
  static constexpr UINT IDD = 249;
  enum Item {
    kSetCombo = 1602,
    kLoadButton = 1603,
    kSaveAsButton = 1604,
    kFontCombo = 1612,
    kHeightEdit = 1614,
    kLeftEdit = 1622,
    kRightEdit = 1624,
    kTopEdit = 1626,
    kBottomEdit = 1628,
    kHeaderEdit = 1632,
    kHeaderBrowse = 1633,
    kFooterEdit = 1635,
    kFooterBrowse = 1636,
    kSmartPrintCheck = 1641,
    kColorsCheck = 1642,
    kColHeaderCheck = 1643,
    kRowHeaderCheck = 1644,
    kSeparatorsCheck = 1645,
    kBorderCheck = 1646,
    kVariablesFrame = 1651,
    kAddButton = 1652,
    kRemoveButton = 1653,
  };
  // The fonts the font combo offers.
  static constexpr const wchar_t* kFonts[] = {L"Tahoma",          L"Arial",       L"Verdana",
                                              L"Times New Roman", L"Courier New", L"Segoe UI",
                                              L"DejaVu Sans"};

  explicit CDlgSSDocumentSettings(const VtSSSettings& settings, CWnd* parent = nullptr);

  const VtSSSettings& settings() const { return mSettings; }
  Krv_Spread& variables() { return mVariables; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  void OnOK() override;

  // The buttons.
  bool loadSet();
  bool saveSet();
  void addVariable();
  void removeVariable();
  void browse(int editId);

 private:
  // Shows `s` in the controls.
  void show(const VtSSSettings& s);
  // The controls' values into `s`; false (after a message box) for a value
  // that is refused.
  bool collect(VtSSSettings& s);

  VtSSSettings mSettings;
  Krv_Spread mVariables;
};

// Lets a person edit the settings of the sheet's document: reads them from
// the sheet (VtSSSettings::readFromSheet), runs the dialog and, on OK,
// writes them into the sheet (the tag of its corner cell), gives the sheet
// the font (as a new document gets it) and sets the changed mark. True when
// OK was pressed and the settings were written; Cancel changes nothing.
bool editDocumentSettings(Krv_Spread& sheet, CWnd* parent = nullptr);
