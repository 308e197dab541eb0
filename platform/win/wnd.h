#pragma once
// CWnd: a window of the headless window system.
//
// A window has an identifier, a class name, a text, styles and extended
// styles, a rectangle, visible and enabled states, a parent and children in
// z-order (the first child is the top one; children created later lie
// below, so for dialogs z-order is the tab order), keyboard focus and a
// font. It is its own handle: HWND is CWnd*, valid from Create until
// DestroyWindow. Messages to a handle that is not (or no longer) a window
// fail cleanly with 0.
//
// Messages are dispatched as in the host framework: WindowProc looks in the
// class's message map (message_map.h), then calls the virtual handler of a
// common message (OnSize, OnLButtonDown, OnPaint, ...), whose default passes
// the message on to DefWindowProc, where the window class (a control) keeps
// its own behaviour.
//
// Child windows created by the system (controls of a dialog template) are
// owned by their parent and deleted when destroyed; window objects that the
// program constructs itself are only detached by DestroyWindow.
#include <memory>
#include <string>
#include <vector>

#include "platform/win/message_map.h"
#include "platform/win/win_messages.h"

class WindowObserver;

struct CREATESTRUCT {
  LPCWSTR lpszName = nullptr;
  LPCWSTR lpszClass = nullptr;
  DWORD style = 0;
  DWORD dwExStyle = 0;
  int x = 0, y = 0, cx = 0, cy = 0;
  HWND hwndParent = nullptr;
  UINT id = 0;
};
using LPCREATESTRUCT = CREATESTRUCT*;

// What changed in a window; passed to observers.
enum class WindowChange {
  Created,
  Destroyed,
  Text,
  Style,
  Rect,
  Visibility,
  Enabled,
  ZOrder,
  Parent,
  Focus,
  Font,
  ControlState,  // check state, items, selection, edit selection, images
  Invalidated,
};

class CWnd {
 public:
  CWnd();
  virtual ~CWnd();
  CWnd(const CWnd&) = delete;
  CWnd& operator=(const CWnd&) = delete;

  HWND m_hWnd = nullptr;
  HWND GetSafeHwnd() const { return m_hWnd; }
  operator HWND() const { return m_hWnd; }

  // The window of a handle, or nullptr when the handle is not a live window.
  static CWnd* FromHandle(HWND hWnd);
  static CWnd* FromHandlePermanent(HWND hWnd) { return FromHandle(hWnd); }

  // --- Creation and destruction -------------------------------------------
  // Creates the window with the given class name, text, style, rectangle
  // (parent client coordinates for a child, screen coordinates otherwise),
  // parent and identifier. Sends WM_CREATE (OnCreate may refuse with -1),
  // then WM_SIZE and, when visible, WM_SHOWWINDOW. False when already
  // created, when a child style has no live parent, or when refused.
  virtual BOOL Create(LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                      CWnd* parent, UINT id, void* context = nullptr);
  BOOL CreateEx(DWORD exStyle, LPCWSTR className, LPCWSTR windowName, DWORD style, const RECT& rect,
                CWnd* parent, UINT id, void* param = nullptr);
  // Destroys the window and its children (WM_DESTROY, then WM_NCDESTROY to
  // the children first). False when the window is not created or refuses
  // to be destroyed (see refuseDestroy).
  virtual BOOL DestroyWindow();
  // Test hook: while set, DestroyWindow of this window fails.
  void refuseDestroy(bool refuse) { mRefuseDestroy = refuse; }

  // --- Identity, text and styles -------------------------------------------
  int GetDlgCtrlID() const { return static_cast<int>(mId); }
  int SetDlgCtrlID(int id);
  const std::wstring& className() const { return mClassName; }
  void SetWindowText(LPCWSTR text);
  void SetWindowText(const std::wstring& text) { SetWindowText(text.c_str()); }
  std::wstring GetWindowText() const;
  int GetWindowText(LPWSTR buffer, int maxCount) const;
  int GetWindowTextLength() const;
  DWORD GetStyle() const { return mStyle; }
  DWORD GetExStyle() const { return mExStyle; }
  BOOL ModifyStyle(DWORD remove, DWORD add, UINT flags = 0);
  BOOL ModifyStyleEx(DWORD remove, DWORD add, UINT flags = 0);

  // --- Geometry --------------------------------------------------------------
  void GetWindowRect(LPRECT rect) const;  // screen coordinates
  void GetClientRect(LPRECT rect) const;  // (0, 0, client width, client height)
  void ClientToScreen(LPPOINT point) const;
  void ClientToScreen(LPRECT rect) const;
  void ScreenToClient(LPPOINT point) const;
  void ScreenToClient(LPRECT rect) const;
  // Position in the parent's client coordinates (screen for top-level windows).
  CRect windowRectInParent() const { return mRect; }
  BOOL SetWindowPos(const CWnd* insertAfter, int x, int y, int cx, int cy, UINT flags);
  void MoveWindow(int x, int y, int width, int height, BOOL repaint = TRUE);
  void MoveWindow(LPCRECT rect, BOOL repaint = TRUE);
  void CenterWindow(CWnd* alternateOwner = nullptr);
  // Pixels of frame around the client area at the left/top/right/bottom,
  // from the styles (border, dialog frame, sizing frame, caption, edges).
  CRect nonClientInsets() const;

  // --- Visibility, enabled state, painting ----------------------------------
  BOOL ShowWindow(int cmdShow);           // true when it was visible before
  BOOL IsWindowVisible() const;           // visible itself and all its parents
  BOOL EnableWindow(BOOL enable = TRUE);  // true when it was disabled before
  BOOL IsWindowEnabled() const { return m_hWnd && !(mStyle & WS_DISABLED); }
  void Invalidate(BOOL erase = TRUE);
  void InvalidateRect(LPCRECT rect, BOOL erase = TRUE);
  // Sends WM_ERASEBKGND (when erasing was asked) and WM_PAINT when the
  // window has an invalid area.
  void UpdateWindow();
  void RedrawWindow() {
    Invalidate();
    UpdateWindow();
  }
  bool needsPaint() const { return mInvalid; }
  // Starts painting: validates the window and tells whether the background
  // is to be erased first (a paint DC sends WM_ERASEBKGND when true).
  bool beginPaint();

  // --- Tree ------------------------------------------------------------------
  // The parent of a child window; the owner of a popup window.
  CWnd* GetParent() const;
  // The parent in the window tree (nullptr for top-level windows).
  CWnd* treeParent() const { return mParent; }
  CWnd* SetParent(CWnd* newParent);
  CWnd* GetOwner() const { return mOwner ? mOwner : mParent; }
  void SetOwner(CWnd* owner) { mOwner = owner; }
  CWnd* GetTopLevelParent() const;
  // The child with the identifier (direct children only); nullptr when none.
  CWnd* GetDlgItem(int id) const;
  CWnd* GetWindow(UINT relation) const;
  CWnd* GetNextWindow(UINT relation = GW_HWNDNEXT) const { return GetWindow(relation); }
  BOOL IsChild(const CWnd* window) const;
  const std::vector<CWnd*>& children() const { return mChildren; }
  // The next (or previous) enabled, visible WS_TABSTOP control after `control`.
  CWnd* GetNextDlgTabItem(CWnd* control, BOOL previous = FALSE) const;
  // The next (or previous) control of the WS_GROUP group of `control`.
  CWnd* GetNextDlgGroupItem(CWnd* control, BOOL previous = FALSE) const;
  // The controls of the group that `control` belongs to, in z-order.
  std::vector<CWnd*> groupOf(CWnd* control) const;

  // Dialog item helpers.
  void SetDlgItemText(int id, LPCWSTR text);
  std::wstring GetDlgItemText(int id) const;
  void SetDlgItemInt(int id, UINT value, BOOL isSigned = TRUE);
  UINT GetDlgItemInt(int id, BOOL* translated = nullptr, BOOL isSigned = TRUE) const;
  void CheckDlgButton(int id, UINT check);
  UINT IsDlgButtonChecked(int id) const;
  void CheckRadioButton(int firstId, int lastId, int checkId);
  int GetCheckedRadioButton(int firstId, int lastId) const;
  LRESULT SendDlgItemMessage(int id, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) const;

  // --- Focus and font ----------------------------------------------------------
  CWnd* SetFocus();  // gives the previous focus window
  static CWnd* GetFocus();
  void SetFont(CFont* font, BOOL redraw = TRUE);
  CFont* GetFont() const { return mFont; }

  // --- Messages ------------------------------------------------------------
  LRESULT SendMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  // Queues the message on the event loop; false when not a window.
  BOOL PostMessage(UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
  UINT_PTR SetTimer(UINT_PTR id, UINT elapse, TIMERPROC proc = nullptr);
  BOOL KillTimer(UINT_PTR id);
  int MessageBox(LPCWSTR text, LPCWSTR caption = nullptr, UINT type = MB_OK);

  virtual LRESULT WindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  virtual BOOL OnWndMsg(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result);
  // The window class's own behaviour; CWnd handles text, font, close.
  virtual LRESULT DefWindowProc(UINT message, WPARAM wParam, LPARAM lParam);
  // Passes the message being handled on to DefWindowProc.
  LRESULT Default();
  // Called for input messages (keys, mouse) before they are dispatched, for
  // the target window and then each parent; true stops the message.
  virtual BOOL PreTranslateMessage(MSG* msg);

  // Virtual handlers of the common messages.
  virtual BOOL OnCommand(WPARAM wParam, LPARAM lParam);
  virtual BOOL OnNotify(WPARAM wParam, LPARAM lParam, LRESULT* result);
  virtual int OnCreate(LPCREATESTRUCT createStruct);
  virtual void OnDestroy();
  virtual void OnClose();
  virtual void OnSize(UINT type, int cx, int cy);
  virtual void OnMove(int x, int y);
  virtual void OnShowWindow(BOOL show, UINT status);
  virtual void OnSetFocus(CWnd* oldWnd);
  virtual void OnKillFocus(CWnd* newWnd);
  virtual void OnPaint();
  virtual BOOL OnEraseBkgnd(CDC* dc);
  virtual HBRUSH OnCtlColor(CDC* dc, CWnd* wnd, UINT ctlColor);
  virtual BOOL OnSetCursor(CWnd* wnd, UINT hitTest, UINT message);
  virtual void OnTimer(UINT_PTR id);
  virtual void OnLButtonDown(UINT flags, CPoint point);
  virtual void OnLButtonUp(UINT flags, CPoint point);
  virtual void OnLButtonDblClk(UINT flags, CPoint point);
  virtual void OnRButtonDown(UINT flags, CPoint point);
  virtual void OnRButtonUp(UINT flags, CPoint point);
  virtual void OnMouseMove(UINT flags, CPoint point);
  virtual void OnKeyDown(UINT ch, UINT repCount, UINT flags);
  virtual void OnKeyUp(UINT ch, UINT repCount, UINT flags);
  virtual void OnChar(UINT ch, UINT repCount, UINT flags);
  // Called after the window is gone (WM_NCDESTROY); m_hWnd is already null.
  virtual void PostNcDestroy() {}

  // --- Observation and description ------------------------------------------
  // Observers see every change of this window and of its descendants.
  void addObserver(WindowObserver* observer);
  void removeObserver(WindowObserver* observer);
  // Control-specific state for the window dump ("checked=1", "sel=2 items=3").
  virtual std::wstring describeState() const { return {}; }
  // Tells the observers of this window and its ancestors about a change.
  void notifyChange(WindowChange change);

  // Takes over the window of the system-created child `id` of `parent`:
  // this object (a fresh, uncreated control of the same class) gets its
  // state and place, the old object is deleted. False when there is no such
  // child, this object is already a window, or the classes differ.
  BOOL SubclassDlgItem(UINT id, CWnd* parent);

  // Marks the object as owned by the window system (deleted on destroy).
  void setSystemOwned(bool owned) { mSystemOwned = owned; }

 protected:
  static const krv::win::MsgMap* GetThisMessageMap();
  virtual const krv::win::MsgMap* GetMessageMap() const;

  // Whether this object may take over the window `other` (SubclassDlgItem);
  // a control class accepts only objects of its own class.
  virtual bool canTakeOver(const CWnd& other) const;
  // Copies the window state of `other` (same class) into this object;
  // controls extend it with their own state.
  virtual void copyStateFrom(const CWnd& other);
  // Sends WM_COMMAND with this control's identifier and `code` to the parent.
  void notifyParent(UINT code);
  // Sends WM_NOTIFY with `header` (idFrom, hwndFrom filled in) to the parent.
  LRESULT notifyParent(NMHDR& header);

  void setRectNoNotify(const CRect& r) { mRect = r; }

 private:
  void destroyTree();
  void placeInParent(CWnd* insertAfter);
  void removeFromParent();

  UINT mId = 0;
  std::wstring mClassName;
  std::wstring mText;
  DWORD mStyle = 0;
  DWORD mExStyle = 0;
  CRect mRect;  // in the parent's client coordinates, or screen coordinates
  CWnd* mParent = nullptr;
  CWnd* mOwner = nullptr;
  std::vector<CWnd*> mChildren;  // z-order, top first
  CFont* mFont = nullptr;
  bool mInvalid = false;
  bool mEraseRequested = false;
  bool mRefuseDestroy = false;
  bool mSystemOwned = false;
  bool mDestroying = false;
  std::vector<WindowObserver*> mObservers;
};

// The handle-based functions of the window system.
BOOL IsWindow(HWND hWnd);
LRESULT SendMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
BOOL PostMessage(HWND hWnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0);
BOOL DestroyWindow(HWND hWnd);
HWND GetFocus();
HWND SetFocus(HWND hWnd);
BOOL IsWindowVisible(HWND hWnd);
BOOL IsWindowEnabled(HWND hWnd);
BOOL EnableWindow(HWND hWnd, BOOL enable);
BOOL ShowWindow(HWND hWnd, int cmdShow);
HWND GetParent(HWND hWnd);
HWND GetDlgItem(HWND hWnd, int id);
int GetDlgCtrlID(HWND hWnd);
int GetClassName(HWND hWnd, LPWSTR buffer, int maxCount);

namespace krv::win {
// The virtual screen that top-level windows are placed on.
CRect screenRect();
// Every live top-level window, in creation order.
std::vector<CWnd*> topLevelWindows();
// Observers of every window of the process (a renderer of all dialogs).
void addGlobalWindowObserver(WindowObserver* observer);
void removeGlobalWindowObserver(WindowObserver* observer);
// Number of live windows (for leak checks in tests).
std::size_t liveWindowCount();
// Creates a control object of the right class for a window class name
// ("BUTTON", "EDIT", "COMBOBOX", ...); a plain CWnd for unknown names.
std::unique_ptr<CWnd> makeWindowObject(const std::wstring& className);
}  // namespace krv::win
