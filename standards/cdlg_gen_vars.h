#pragma once
// CDlgGenVars: the general variables dialog (template 256, remembered size
// "DLG_GENVARS", resizable). Two editable tables edit the record mData:
//
//   drawings (over frame 1434): 1 name, 2 value, 3 filter, 4 a "..." button
//   standards (over frame 1444): 1 name, 2 value, 3 override, 4 filter,
//                                5 a "..." button
//
// Per table an Add and a Remove button and a move-up and move-down button
// (icons 257 and 258) act on the table's active row. The "..." button of a
// row lets the person choose drawing files and folders below the library's
// "Macros\" folder; they are appended to the row's filter, relative to that
// folder. OK reads every column back into mData; the caller's record is
// copied only when the person confirmed (StartDlgGenVars).
#include <vector>

#include "platform/core/vt_auto_standards_data.h"
#include "platform/win/dialog.h"
#include "platform/win/tool_tip_ctrl.h"
#include "spread/krv_spread.h"

class CDlgGenVars : public CDialog {
 public:
  static constexpr UINT IDD = 256;
  static constexpr wchar_t kSizeName[] = L"DLG_GENVARS";
  enum Item {
    kDwgSheet = 1434,
    kDwgAdd = 1435,
    kDwgRemove = 1436,
    kDwgGroup = 1437,
    kDwgUp = 1438,
    kDwgDown = 1439,
    kStdUp = 1440,
    kStdDown = 1441,
    kStdRemove = 1442,
    kStdAdd = 1443,
    kStdSheet = 1444,
    kStdGroup = 1445,
  };
  // Column counts; the last column holds the "..." buttons.
  static constexpr int kDwgCols = 4, kStdCols = 5;
  // The filter column of each table.
  static constexpr int kDwgFilterCol = 3, kStdFilterCol = 4;

  explicit CDlgGenVars(CWnd* parent = nullptr);

  BOOL OnInitDialog() override;
  BOOL OnCommand(WPARAM wParam, LPARAM lParam) override;
  BOOL PreTranslateMessage(MSG* msg) override;
  void OnOK() override;
  void OnSize(UINT type, int cx, int cy) override;
  void OnDestroy() override;

  // Makes the last column of `sheet` a column of "..." buttons.
  static void refresh(Krv_Spread& sheet);
  // The "..." of `row`: lets the person choose drawings and folders and
  // appends those below the "Macros\" folder to the row's filter cell.
  // False when cancelled or when nothing was added.
  bool chooseFilter(Krv_Spread& sheet, int row);

  // The smallest client size (the template's).
  CSize minimumClientSize() const { return mMinClient; }

  VtAutoStandardsData mData;
  Krv_Spread mDwgSheet;
  Krv_Spread mStdSheet;
  CToolTipCtrl mToolTips;

 private:
  void fill();
  void readBack();
  void layout(int cx, int cy);
  Krv_Spread* sheetOf(int id);

  // Where each control sat at the template's size, and how it follows a
  // change of the client size (in halves of the change).
  struct Placement {
    int id;
    CRect rect;
    int moveX, moveY, growX, growY;
  };
  std::vector<Placement> mPlacements;
  CSize mMinClient;
  CSize mInitialClient;
  bool mLayoutReady = false;
  bool mInLayout = false;
};
