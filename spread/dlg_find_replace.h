#pragma once
// CDlgFindReplace: the modeless find and replace dialog of a spreadsheet
// window (template 218, always on top): a find text, a replace text, and
// the buttons find next, replace, replace all and close. It is created and
// owned by its Krv_Spread, which it knows by window handle; when that
// window no longer exists, its operations do nothing.
//
// Opening switches the sheet's edit mode option on (remembering whether it
// was on) and kOptionOffWhileFinding off, and restores the size stored under
// "DLG_FINDREPLACE". Closing stores the size, switches edit mode off again when it was off
// before, and lets the sheet release the dialog.
#include "platform/core/krv_string.h"
#include "platform/win/dialog.h"

class Krv_Spread;

class CDlgFindReplace : public CDialog {
 public:
  static constexpr UINT IDD = 218;
  static constexpr int kFindEdit = 1207, kFindLabel = 1206, kReplaceEdit = 1209,
                       kReplaceLabel = 1208;
  static constexpr int kReplaceButton = 1204, kReplaceAllButton = 1205;

  explicit CDlgFindReplace(HWND sheet);

  // Finds the next cell (or the next occurrence in the cell being edited)
  // whose value text contains the find text, from the active cell on; when
  // nothing is found and `wrap`, asks whether to go on from the top.
  // True when something was found and selected.
  bool findNext(bool wrap);
  // Finds next (with wrapping); when that selects an occurrence of the find
  // text, replaces it by the replace text and leaves the caret after the
  // inserted text, where the next search starts. Nothing is replaced when
  // nothing is found. True when an occurrence was replaced.
  bool replace();
  // Replaces the find text in every cell from (1, 1) on and reports the
  // number of cells changed; gives that number.
  int replaceAll();

  Krv_String findText() const;
  Krv_String replaceText() const;
  void setFindText(const Krv_String& text);
  void setReplaceText(const Krv_String& text);
  bool optionWasOn() const { return mOption13WasOn; }

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void OnCancel() override;
  void OnOK() override;

 private:
  Krv_Spread* sheet() const;
  // Selects the first occurrence of the find text in the cell at (col, row)
  // and makes it the active cell being edited.
  void selectFound(Krv_Spread& s, int col, int row, const Krv_String& find);

  HWND mSheet;
  bool mOption13WasOn = false;
};
