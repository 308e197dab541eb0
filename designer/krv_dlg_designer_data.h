#pragma once
// Krv_DlgDesignerData: a dialog design (a background bitmap and the
// controls placed on it) and its live controls on a hosting dialog.
//
// Designs live in the designer root folder (getDesignerRootFolder) or a
// subfolder of it, as a pair of files: the design file NAME.txt (a core
// properties list, keys below) and its background image NAME.bmp. A
// design's name is its path relative to the root folder, without extension.
//
// Design file keys, in this order: "nrOfControls", then per control i
// "type"i, "topLeftX"i, "topLeftY"i, "bottomRightX"i, "bottomRightY"i,
// "contents"i and "comboList"i (see Krv_DesignerControl).
//
// Coordinates: pixels are the background image's pixels. Before a bitmap
// is attached the image size is 0 x 0; every conversion then gives 0
// instead of dividing by zero.
#include <memory>
#include <vector>

#include "designer/krv_designer_control.h"
#include "frame/exported_functions.h"
#include "platform/acad/ac_array.h"
#include "platform/base/status.h"
#include "platform/core/krv_array.h"
#include "platform/core/krv_string.h"
#include "platform/win/win_types.h"

class Krv_PropertiesList;
class CBitmap;
class CDC;
class CWnd;
class CControlTracker;
class CControlRect;

// The designer root folder: the library folder (Krv_Settings::libDir())
// followed by "Dialog Templates\Dialog Design\".
Krv_String getDesignerRootFolder();
// Every design below the root folder: each "*.txt" file found recursively,
// its root folder prefix cut off and its extension removed ("Beam\Endplate"),
// sorted in natural order. Empty when the root folder does not exist.
void getModuleImages(Krv_StringArray& names);
// GetImageDlgCtrlNames (exported, frame/exported_functions.h) reads the
// design file without its bitmap and gives the contents of every ctVarEdit
// control, in control order; false when the design cannot be read (names
// are then empty).

// The outcome of handleTabKey.
enum Krv_TabMsgHandle : int {
  tabHandled = 0,
  tabNotHandled = 1,
  tabPastLast = 2,
  tabBeforeFirst = 3,
};

class Krv_DlgDesignerData {
 public:
  // Most controls a design file is read with; a design holds at most 100
  // controls with a window (identifiers 33000..33099), so this only bounds
  // absurd files.
  static constexpr int kMaxControlsRead = 1000;
  // The keys a control is stored under in a design file, each followed by
  // the control's index in decimal ("topLeftX12").
  static constexpr const wchar_t* kControlKeys[] = {L"type",         L"topLeftX",     L"topLeftY",
                                                    L"bottomRightX", L"bottomRightY", L"contents",
                                                    L"comboList"};
  // The index of the control a key of a design file belongs to; -1 for
  // any other key, an index with a leading zero ("type01") or one above
  // kMaxControlsRead.
  static int controlIndexOfKey(const Krv_String& key);
  // The number of controls a design's properties hold, as a design is
  // read: "nrOfControls" (0 when missing or negative), bounded by the
  // controls that keys name (given in `named`, when asked for) and by
  // kMaxControlsRead.
  static int controlCountOf(const Krv_PropertiesList& list, int* named = nullptr);
  // Replaces the controls by the first controlCountOf(list) controls of the
  // list, appended in order so that identifiers are assigned afresh.
  void setControlsFromList(const Krv_PropertiesList& list);

  Krv_DlgDesignerData();
  virtual ~Krv_DlgDesignerData();
  // A copy starts like a new object; assignment copies nothing.
  Krv_DlgDesignerData(const Krv_DlgDesignerData&);
  Krv_DlgDesignerData& operator=(const Krv_DlgDesignerData&) { return *this; }

  // --- Set-up -------------------------------------------------------------
  // Stores the dialog's window, the identifier range and the design-mode
  // flag and marks the object initialized; false when dialog is null. In
  // design mode it also stores the five property-control identifiers and
  // calls initializeDesignMode().
  bool initialize(CWnd* dialog, int firstResId, int lastResId, int idTypeCombo, int idContentsLabel,
                  int idContents, int idExtLabel, int idExt, bool designMode);
  // The dialog, only when initialized.
  CWnd* getDlgPtr() const { return mInitialized ? mHDlg : nullptr; }

  // --- Files --------------------------------------------------------------
  // Reads the design at `path` (see the file keys above). False, nothing
  // changed, when the file does not exist, lies outside the root folder or
  // is not a properties list. Otherwise the name and controls are replaced:
  // "nrOfControls" controls are read (a negative count is 0; at most
  // kMaxControlsRead, and none past the highest index that any control key
  // names) and appended in file order with fresh identifiers. With
  // withBitmap, the bitmap of the same name (".bmp") is attached. Live
  // windows are not removed; callers remove them first and redraw after.
  bool readFromFile(const Krv_String& path, bool withBitmap);
  // The same, saying why it failed.
  krv::base::Status readDesign(const Krv_String& path, bool withBitmap);
  // Writes the design to `path`. A path outside the root folder writes
  // nothing (false, name unchanged). Otherwise the name becomes the one of
  // `path`, the bitmap of the previous name is copied beside `path`
  // (".bmp", replacing an existing file; skipped when the names are equal
  // or the copy fails), the factors are refreshed from the live windows
  // when drawn, and the list is written atomically (a missing subfolder is
  // made). When the write fails the name is restored.
  bool writeToFile(const Krv_String& path);
  // The same, saying why it failed.
  krv::base::Status writeDesign(const Krv_String& path);
  // True when path lies in the root folder (letter case and separator
  // spelling ignored); name is then the path relative to it without
  // extension.
  static bool getNameFromFile(const Krv_String& path, Krv_String& name);
  // Loads the background image. A missing file changes nothing (false).
  // Otherwise the old image and size are dropped; an unreadable bitmap
  // leaves the design without image (false); else the image size becomes
  // the bitmap's, a mask is built that is white (transparent) where the
  // image is white, and those pixels are cleared (black) in the image, so
  // that drawing the mask with AND and the image with OR shows the dialog
  // through the white areas.
  bool attachBitmap(const Krv_String& path);

  // --- The control list ---------------------------------------------------
  // Gives the control the lowest identifier of mFirstResId..mLastResId not
  // used by any control (0 when all are used), appends a copy, and returns
  // the identifier.
  int append(const Krv_DesignerControl& control);
  int getNrControls() const { return mControls.length(); }
  // Null for an index outside 0..count-1.
  const Krv_DesignerControl* getControl(int index) const;
  Krv_DesignerControl* getControlWrite(int index);
  // The control with the identifier; null for an identifier <= 0 or none.
  Krv_DesignerControl* getControlFromRes(int resId);
  // False (nothing removed) for an index out of range.
  bool removeControl(int index);
  // The contents of every ctVarEdit control, in list order.
  void getAllCtrlNames(Krv_StringArray& names) const;
  // The image size; 0 and 0 before initialize.
  void getImageSize(int& width, int& height) const;

  // --- Coordinates --------------------------------------------------------
  // pixels / image width (horizontal) or height; 0 when that size is 0.
  double pixelsToFactor(bool horizontal, double pixels) const;
  // factor x image width (horizontal) or height.
  double factorToPixels(bool horizontal, double factor) const;
  // Edges in pixels; the setters take pixels and store factors.
  double getTopLeftX(const Krv_DesignerControl& control) const;
  double getTopLeftY(const Krv_DesignerControl& control) const;
  double getBottomRightX(const Krv_DesignerControl& control) const;
  double getBottomRightY(const Krv_DesignerControl& control) const;
  void setTopLeftX(Krv_DesignerControl& control, double pixels) const;
  void setTopLeftY(Krv_DesignerControl& control, double pixels) const;
  void setBottomRightX(Krv_DesignerControl& control, double pixels) const;
  void setBottomRightY(Krv_DesignerControl& control, double pixels) const;
  // right - left; setWidth keeps the left edge.
  double getWidth(const Krv_DesignerControl& control) const;
  void setWidth(Krv_DesignerControl& control, double pixels) const;
  // bottom - top; setHeight keeps the bottom edge.
  double getHeight(const Krv_DesignerControl& control) const;
  void setHeight(Krv_DesignerControl& control, double pixels) const;

  // Copies every drawn control's live window rectangle (in the dialog's
  // client pixels) back into its factors; only when every control is drawn.
  void getSizeFromAllControls();
  // The same for one control; false for an index out of range, when not
  // every control is drawn, or when its window is missing.
  bool getSizeFromControl(int index);

  // Among the controls with the identifiers, the one with the smallest left
  // edge (the earlier identifier on equal edges); false when none.
  bool findMostLeftCtrl(const AcArray<int>& resIds, int& index) const;
  // Sets the control's width (horizontal) or height in pixels, keeping its
  // left or top edge; an index out of range is ignored.
  void changeCtrlSize(int index, bool horizontal, double pixels);
  // Prints each control's contents and factors on the command line.
  void printPositions() const;

  // --- Tab order ----------------------------------------------------------
  // Numbers the controls that are not read-only and neither ctText nor
  // ctGroupBox from 1, row by row (sortNextRow) from the top; the others
  // keep their tab order.
  void sortAllControls();
  // Takes one row off the candidates: the leader is the candidate with the
  // smallest top (the earlier one on equal tops); the row is every
  // candidate whose top is at most the leader's bottom. The row, sorted by
  // left edge (stable), gets counter, counter + 1, ...; counter ends past
  // the last number given.
  void sortNextRow(AcArray<Krv_DesignerControl*>& candidates, int& counter);
  // The control with the tab order; false when none.
  bool findCtrlWithTabOrder(int tabOrder, int& index) const;
  // True when a control is not read-only.
  bool containsEditableCtrls() const;

  // --- Flex buttons (ctFlexButton; group mFlexGroup, variable mContents) --
  // The distinct group names, in order of first appearance.
  void getFlexBtnsGroups(Krv_StringArray& groups) const;
  // Empties both lists; for a non-empty group fills buttons with the index
  // of each of its buttons, in list order, and buttonsWithPart3 with those
  // whose mFlexPart3 is not empty. Always true.
  bool getFlexBtnsInGroup(const Krv_String& group, AcArray<int>& buttons,
                          AcArray<int>& buttonsWithPart3) const;
  // The group's button whose mContents equals contents; false when none.
  bool findFlexButton(const Krv_String& group, const Krv_String& contents, int& index) const;
  // The mContents of the group's buttons; false when the group has none.
  bool getAllFlexVarsOfGroup(const Krv_String& group, Krv_StringArray& names) const;
  // For a flex button with the identifier: its group and contents.
  bool getFlexBtnGroupName(int resId, Krv_String& group, Krv_String& contents) const;

  // --- Drawing (kind, class and styles from the kind table) ---------------
  // Creates the control's window as a visible child of the dialog with the
  // dialog's font: its rectangle in pixels (each edge rounded to a whole
  // pixel), its text mContents and identifier mResId; disabled when
  // read-only. At run time a combo box is at least 200 pixels high (its
  // dropped list) and a bolt count edit grows with designerTextScale()
  // (below 36 pixels). A combo box gets its items (type 28 its four
  // alternatives and the mixed-values text; others mComboItems, else the
  // item file) and selects mContents or shows it as text (type 28 selects
  // the item numbered by mContents); a check box takes its state from
  // mComboList; a flex button gets the flex icon (setBtnIcon).
  // In design mode every window but a STATIC is disabled (clicks reach the
  // designer), and the window comes in a CControlRect appended to
  // mDrawnCtrls and handed to the tracker (later controls lie on top).
  // False before initialize, without a dialog (or tracker in design mode)
  // or when the window cannot be created.
  bool drawControl(const Krv_DesignerControl& control);
  // At run time: sorts the tab order, removes the windows drawn before and
  // draws every control again in list order. In design mode: clears the
  // selection, removes the drawn windows and draws every control again.
  void redrawAllControls();
  // Design mode: removes every drawn window (removeDrawnCtrlOnly for each
  // control's identifier).
  void removeAllDrawnCtrls();
  // Design mode: stops tracking the control's window, destroys it and drops
  // its CControlRect from mDrawnCtrls. False without a tracker or when the
  // identifier has no drawn window.
  bool removeDrawnCtrlOnly(int resId);
  // The index in mDrawnCtrls and tracker rectangle of the drawn window with
  // the identifier; false when none.
  bool findDrawnCtrlFromResource(int resId, int& index, CRect& rect) const;
  // Destroys the windows drawn at run time. A host that shows another
  // design on the same dialog calls this first; the destructor calls it.
  void removeRunTimeCtrls();

  // --- Run time: look-up --------------------------------------------------
  // The list index of the control with the identifier; false for <= 0.
  bool findCtrlFromResource(int resId, int& index) const;
  // The identifier belongs to a control whose window is drawn.
  bool isADynControl(int resId) const;
  bool getDynControlType(int resId, int& type) const;
  // The control with the identifier is a bolt count edit (types 4, 5).
  bool isTypeBoltCount(int resId) const;
  // The first ctVarEdit or ctVarCombo control whose mContents is name.
  bool findEditCtrlWithContents(const Krv_String& name, int& index) const;
  // The identifier of the window with the keyboard focus (or of the
  // control holding it); true when it is a drawn designed control.
  bool getFocusedDynControl(int& resId) const;
  // The live window of the control at the index; false when none.
  bool getCtrlPtr(int index, CWnd*& window) const;

  // --- Run time: values, as text -----------------------------------------
  // Type 29: "0", "1" or the mixed-values text (dialString(695)) for the
  // third state; type 28: the selected index; others: the window text.
  // False when the identifier has no live window.
  bool getCtrlValue(int resId, Krv_String& value) const;
  // Types 25 and 26 ignore the value. Type 29: the mixed-values text makes
  // it a three-state check box in the third state, anything else a
  // two-state one, checked when the value read as a number is above 0
  // (only the button-type style bits change). Type 28 selects the item
  // numbered by the value. Others set the window text.
  bool setCtrlValue(int resId, const Krv_String& value);
  // Only types 2 and 3: enables or disables the window.
  bool setCtrlReadOnly(int resId, bool readOnly);

  // --- Run time: keyboard -------------------------------------------------
  // Moves the focus along the tab order on VK_TAB (backwards with Shift)
  // when the focus is on a designed control; see Krv_TabMsgHandle. False
  // (outcome tabNotHandled) when the key is not for the design.
  bool handleTabKey(UINT key, Krv_TabMsgHandle& outcome);
  // Focus to the control with tab order 1 (first) or the highest order;
  // false when no control is editable or there is none.
  bool setFocusToCtrl(bool first);

  // --- Run time: flex button states ---------------------------------------
  // Reads (set false) or sets the check state of the flex button at the
  // index; a status of 2 is set as 0. False without a live window.
  bool getSetFlexBtnStatus(bool set, int index, int& status);
  bool getFlexBtnStatus(int index, int& status);
  bool setFlexBtnStatus(const Krv_String& group, const Krv_String& contents, int status);
  // Hides every button of the group.
  void hideAllFlexBtns(const Krv_String& group);

  // --- Design mode: painting and mouse, forwarded by the host window ------
  // Paints nothing before initialize or without a dialog; in design mode
  // fills the client area with COLOR_BTNFACE first; then draws the
  // background image at the client origin, transparent where it is white.
  // Always 0.
  BOOL OnEraseBkgnd(CDC* dc);
  // Lets the tracker draw the handles of the selected controls.
  void OnPaint(CDC* paintDc);
  // Passes the press to the tracker (with the rubber band); nothing before
  // initialize.
  void OnLButtonDown(UINT flags, CPoint point);
  // The tracker's cursor for a mouse at the dialog client point; false
  // when the point is on no control (the host shows its default).
  bool OnSetCursor(CPoint point);

  // --- Design mode: layout (on the tracker's selection) -------------------
  // Appends and draws a control of the type with contents dialString(171),
  // its top-left at factors (0.2, 0.2), 30 x 18 pixels. False without a
  // tracker.
  bool addNewControl(int type);
  // Asks for the width (horizontal) or height in pixels of the selection
  // (Krv_DlgPromptString) and sets it on every selected control, keeping
  // the left or top edge; a text that is no number gives 0. Then redraws,
  // selects the same controls and repaints. False without a selection or
  // when the person cancels.
  bool changeCtrlSize(bool horizontal);
  // Copies each selected control (in selection order) 20 pixels right and
  // down with a new identifier; then exactly the copies are selected.
  // False without a selection.
  bool copyCurCtrls();
  // Moves every selected control vertically (keeping its height) so that
  // its bottom edge equals that of the left-most selected one. False
  // without a selection.
  bool outlineCurCtrls();
  // With exactly two selected: the one right of the left-most one keeps
  // its width and gets left = the reference's right edge and the
  // reference's top and bottom. False otherwise.
  bool stickRightCurCtrls();
  // Removes every selected control and its window. False without a tracker.
  bool removeCurControls();
  // Selects exactly the controls with the identifiers and repaints.
  void selectCtrls(const AcArray<int>& resIds);

  // --- Design mode: property editing --------------------------------------
  // The list index of the only selected control; -1 with none or several.
  int getCurSel() const;
  // Shows the control's type, contents caption and contents, and for the
  // types with an extended list the names of its entries and the merged
  // list, in the five property controls; an index out of range empties and
  // disables them.
  void updateProps(int index);
  // updateProps(getCurSel()) while mUpdating is set, keeping the selection.
  void updatePropsOfCurSel();
  // Copies the property controls into the control at the index.
  void readProps(int index);
  // After a property control changed: reads the properties into the
  // selected control; a new contents is shown in its window, a new type
  // redraws the controls (the window gets its new kind) and re-selects it.
  // Nothing while mUpdating or outside design mode.
  void propsOfCurSelUpdated();
  // The name of a type in the type combo (31 names, type order); empty for
  // a type outside 0..30.
  static Krv_String typeName(int type);
  // The caption of the contents of a type (empty when it has none) and the
  // names of its extended list's entries joined with ";" (empty when the
  // type has no extended list).
  static Krv_String contentsCaption(int type);
  static Krv_String extListCaption(int type);
  // The types whose extended list is edited.
  static bool hasExtList(int type);

  // The host's text scale factor (the macro dialog's OK button height / 20),
  // 1.0 until set; bolt count edits grow with it.
  static double& designerTextScale();

  // --- Members, in this order ---------------------------------------------
  HWND mHDlg = nullptr;
  HICON mFlexIcon = nullptr;
  // The live control windows of design mode, in the order of mControls;
  // owned here.
  AcArray<CControlRect*> mDrawnCtrls;
  // Selection and mouse tracking; only in design mode, owned here.
  CControlTracker* mTracker = nullptr;
  std::unique_ptr<CBitmap> mBitmap;
  std::unique_ptr<CBitmap> mMaskBitmap;
  int mImageWidth = 0;
  int mImageHeight = 0;
  int mFirstResId = 0;
  int mLastResId = 0;
  bool mDesignMode = false;
  int mIdTypeCombo = 0;
  int mIdContentsLabel = 0;
  int mIdContents = 0;
  int mIdExtLabel = 0;
  int mIdExt = 0;
  Krv_String mName;
  AcArray<Krv_DesignerControl> mControls;
  bool mInitialized = false;
  bool mUpdating = false;

 protected:
  // Called by initialize in design mode, after the identifiers are stored:
  // creates the tracker (once) on the dialog, fills the type combo with the
  // 31 type names and shows the current selection's properties. True.
  virtual bool initializeDesignMode();

  bool getComboValue(const Krv_DesignerControl& control, CWnd* window, Krv_String& value) const;
  bool setComboValue(const Krv_DesignerControl& control, CWnd* window, const Krv_String& value);
  bool getCheckValue(CWnd* window, Krv_String& value) const;
  bool setCheckValue(CWnd* window, const Krv_String& value);
  // Gives a flex button the flex icon (icon resource 239, loaded once into
  // mFlexIcon); false when no resource module holds it.
  bool setBtnIcon(CWnd* window);
  // Focus to the control at the index; an edit's text is selected whole.
  bool setFocusToCtrl(int index);

 private:
  // The selection as identifiers, read back before a redraw.
  AcArray<int> selectedIds() const;
  // Repaints the dialog (background and handles).
  void repaintDialog() const;

  // The windows drawn at run time, owned here (design-mode windows are in
  // mDrawnCtrls).
  std::vector<std::unique_ptr<CWnd>> mRunTimeCtrls;
};
