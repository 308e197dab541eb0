#pragma once
// Krv_DesignerControl: one control of a dialog design. Its rectangle is
// kept as factors of the background image's size (0.0 the left or top edge,
// 1.0 the right or bottom edge), so a design scales with its picture.
//
// Each control type creates one child window of a window kind; the kind
// selects the window class, and the type adds styles to the base style
// WS_CHILD (see the kind table below).
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"
#include "platform/win/win_types.h"

class CWnd;
class CButton;
class CComboBox;
class CEdit;
class Krv_PropertiesList;

// The control types. The value is stored as an int in the design file and
// is also the index of the type's entry in the designer's type combo box.
// A value outside 0..30 is kept as read and treated as a STATIC text.
enum Krv_ControlType : int {
  ctText = 0,
  ctGroupBox = 1,
  ctVarEdit = 2,
  ctVarCombo = 3,
  ctBoltPattern = 4,
  ctBoltPatternCount = 5,
  ctBoltPatternButton = 6,
  ctBoltData1 = 7,
  ctBoltData2 = 8,
  ctBoltData3 = 9,
  ctBoltData4 = 10,
  ctBoltData5 = 11,
  ctBoltButton = 12,
  ctProfSection = 13,
  ctProfButton = 14,
  ctProfOffsetType = 15,
  ctProfRotation = 16,
  ctProfButton2 = 17,
  ctArrayField1 = 18,
  ctArrayField2 = 19,
  ctArrayField3 = 20,
  ctArrayField4 = 21,
  ctArrayField5 = 22,
  ctArrayEntry = 23,
  ctArrayButton = 24,
  ctCellButtonFixed = 25,
  ctCellButtonLinked = 26,
  ctTabListCombo = 27,
  ctCutCombo = 28,
  ctVarCheck = 29,
  ctFlexButton = 30,
};

// The number of control types (0..30).
constexpr int kDesignerControlTypeCount = 31;

// The window kinds a control type creates. SCROLLBAR is used by no type.
enum Krv_ControlKind : int {
  ckScrollBar = 0,
  ckStatic = 1,
  ckButton = 2,
  ckEdit = 3,
  ckListBox = 4,
  ckComboBox = 5,
};

class Krv_DesignerControl {
 public:
  Krv_DesignerControl() = default;
  virtual ~Krv_DesignerControl() = default;
  Krv_DesignerControl(const Krv_DesignerControl&) = default;
  Krv_DesignerControl& operator=(const Krv_DesignerControl&) = default;

  // --- The kind table ---------------------------------------------------
  // The window kind of a type; a type outside 0..30 is STATIC.
  static Krv_ControlKind kindOf(int type);
  // The window class name of a kind: "STATIC", "BUTTON", "EDIT",
  // "LISTBOX", "COMBOBOX" or "SCROLLBAR" (STATIC for an unknown kind).
  static const wchar_t* className(Krv_ControlKind kind);
  // The styles a type adds to WS_CHILD: BS_GROUPBOX for a group box;
  // ES_AUTOHSCROLL for single-line edits, ES_MULTILINE | ES_AUTOVSCROLL
  // for the bolt count types; CBS_DROPDOWN | CBS_AUTOHSCROLL for the combo
  // boxes with typing (3, 16), CBS_DROPDOWNLIST for the others, WS_VSCROLL
  // for every combo box; BS_AUTOCHECKBOX | BS_ICON | BS_VCENTER |
  // BS_PUSHLIKE for a flex button. The check box (29) gets its button
  // style when its value is set at run time, so it adds nothing here.
  static DWORD addedStyle(int type);
  // WS_EX_CLIENTEDGE for every type of kind EDIT, else 0.
  static DWORD addedExStyle(int type);
  // Types 4 and 5, the multi-line bolt count edits.
  static bool isTypeBoltCount(int type);

  Krv_ControlKind kind() const { return kindOf(mType); }

  // --- The design file --------------------------------------------------
  // Reads the control from the list's keys "type"+index, "topLeftX"+index,
  // "topLeftY"+index, "bottomRightX"+index, "bottomRightY"+index,
  // "contents"+index and "comboList"+index (the merged extended combo list,
  // split after the type is known). A missing key, or one of the wrong
  // value type, leaves the member as it was; a factor that is not a finite
  // number is read as 0.0. True when the list holds any key of the index.
  bool getFromPropList(const Krv_PropertiesList& list, int index);
  // Writes the seven keys of the control under the index, in that order.
  void setToPropList(Krv_PropertiesList& list, int index) const;

  // --- The extended combo list ------------------------------------------
  // The type's extra strings joined with ";" (no trailing separator):
  // type 30 the four flex parts; types 25 and 26 ext parts 1-4 and then
  // mComboList; every other type mComboList alone.
  Krv_String getMergedExtComboList() const;
  // Parses a merged list back: type 30 empties the four flex parts and
  // assigns parts 1-4 (more are ignored); types 25 and 26 empty the four
  // ext parts and mComboList and assign parts 1-5; every other type takes
  // the whole text, separators included, as mComboList and empties
  // mExtPart2. Missing parts stay empty. Always true.
  bool setSplitExtComboList(const Krv_String& text);

  // The item file mComboList names: a relative name (as the sample designs
  // write them, "Dialog Templates\Dialog Design\EndPlate\BoltGrades.lst")
  // is taken from the library folder (Krv_Settings::libDir()); an absolute
  // one (a leading separator or a drive letter) stays as it is. Empty when
  // mComboList is empty.
  Krv_String comboItemFilePath() const;
  // When mComboList names an existing file (comboItemFilePath), reads its
  // lines into items (replacing them) and returns true; otherwise leaves
  // items unchanged.
  bool getComboItemsFromFile(Krv_StringArray& items) const;

  // --- The live window --------------------------------------------------
  // The dialog's child window with the control's identifier; false (window
  // null) when the dialog is absent or has no such child.
  bool getCtrlPtr(const CWnd* dialog, CWnd*& window) const;
  // The combo box only for types 3, 13, 15 and 16.
  CComboBox* getComboPtr(const CWnd* dialog) const;
  // The button for every type of kind BUTTON; null for identifier 0.
  CButton* getButtonPtr(const CWnd* dialog) const;
  // The edit for every type of kind EDIT; null for identifier 0.
  CEdit* getEditPtr(const CWnd* dialog) const;

  // --- Members, in this order -------------------------------------------
  Krv_ControlType mType = ctText;
  // Disabled at run time and out of the tab order; set by the host, not
  // stored.
  bool mReadOnly = false;
  // The window identifier in the hosting dialog, given by append; not stored.
  int mResId = 0;
  // 1-based position in the tab order, given by sorting; not stored.
  int mTabOrder = 0;
  double mTopLeftX = 0.0;
  double mTopLeftY = 0.0;
  double mBottomRightX = 0.0;
  double mBottomRightY = 0.0;
  // Caption or bound name; after binding the value shown.
  Krv_String mContents;
  // By type: item file, cell name, array entry number or the fifth
  // extended part of types 25 and 26; at run time a check box's value.
  Krv_String mComboList;
  // The four extended parts of a flex button; the first is its group.
  Krv_String mFlexGroup;
  Krv_String mFlexPart2;
  Krv_String mFlexPart3;
  Krv_String mFlexPart4;
  // The first four extended parts of types 25 and 26.
  Krv_String mExtPart1;
  Krv_String mExtPart2;
  Krv_String mExtPart3;
  Krv_String mExtPart4;
  // Combo items given directly by the host; when empty they come from the
  // item file in mComboList. Not stored.
  Krv_StringArray mComboItems;
};
