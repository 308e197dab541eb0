#pragma once
// CToolTipCtrl: tips for tools, each a window or a rectangle of a window,
// with a text.
//
// The owner relays its mouse messages (RelayEvent, usually from
// PreTranslateMessage). When the mouse rests on a tool for the initial delay
// (the event loop's clock, 500 ms unless set), the tip window shows the
// tool's text next to the mouse; it goes away after the auto-pop delay
// (5000 ms), when the mouse leaves the tool or a button is pressed, or when
// the control is deactivated. Another tool reached while a tip shows shows
// its own tip at once. A tool added with LPSTR_TEXTCALLBACK asks its
// window's parent for the text with TTN_GETDISPINFO each time it shows.
#include <string>
#include <vector>

#include "platform/win/wnd.h"

inline const LPWSTR LPSTR_TEXTCALLBACK = reinterpret_cast<LPWSTR>(static_cast<std::intptr_t>(-1));
constexpr DWORD TTDT_AUTOMATIC = 0, TTDT_RESHOW = 1, TTDT_AUTOPOP = 2, TTDT_INITIAL = 3;
constexpr UINT TTF_IDISHWND = 0x0001;
constexpr UINT TTN_NEEDTEXT = TTN_GETDISPINFO;

struct NMTTDISPINFO {
  NMHDR hdr;
  LPWSTR lpszText = nullptr;
  WCHAR szText[80] = {};
  HINSTANCE hinst = nullptr;
  UINT uFlags = 0;
  LPARAM lParam = 0;
};

class CToolTipCtrl : public CWnd {
 public:
  // Creates the (hidden) tip window owned by the top-level window of `parent`.
  BOOL Create(CWnd* parent, DWORD style = 0);

  // Adds or replaces a tool: the whole `window` when `rect` is null (its
  // identifier is then the window), else the rectangle (client coordinates
  // of `window`) with identifier `toolId`. False for a dead window or when
  // the control is not created.
  BOOL AddTool(CWnd* window, LPCWSTR text = LPSTR_TEXTCALLBACK, LPCRECT rect = nullptr,
               UINT_PTR toolId = 0);
  // As above with the text of string resource `textId` of the current module.
  BOOL AddTool(CWnd* window, UINT textId, LPCRECT rect = nullptr, UINT_PTR toolId = 0);
  void DelTool(CWnd* window, UINT_PTR toolId = 0);
  void UpdateTipText(LPCWSTR text, CWnd* window, UINT_PTR toolId = 0);
  void UpdateTipText(UINT textId, CWnd* window, UINT_PTR toolId = 0);
  // The tool's text; empty when there is no such tool.
  void GetText(std::wstring& text, CWnd* window, UINT_PTR toolId = 0) const;
  int GetToolCount() const { return static_cast<int>(mTools.size()); }

  void Activate(BOOL activate);
  bool isActive() const { return mActive; }
  void SetDelayTime(UINT initialMs) { SetDelayTime(TTDT_INITIAL, static_cast<int>(initialMs)); }
  void SetDelayTime(DWORD which, int ms);
  int GetDelayTime(DWORD which) const;
  // Hides the tip now.
  void Pop();

  void RelayEvent(MSG* msg);

  // The tip showing now (its text is the window text), for renderers and
  // tests.
  bool isShowing() const { return IsWindowVisible() != FALSE; }

  void OnTimer(UINT_PTR id) override;

 private:
  struct Tool {
    CWnd* window = nullptr;
    UINT_PTR id = 0;
    bool wholeWindow = true;
    CRect rect;
    std::wstring text;
    bool callback = false;
  };
  Tool* find(CWnd* window, UINT_PTR toolId);
  const Tool* find(CWnd* window, UINT_PTR toolId) const;
  int toolAt(const MSG& msg) const;
  std::wstring textOf(const Tool& tool);
  void show(int tool);
  void hide();

  std::vector<Tool> mTools;
  bool mActive = true;
  int mInitialDelay = 500;
  int mAutoPopDelay = 5000;
  int mReshowDelay = 100;
  int mHover = -1;       // tool under the mouse
  int mShown = -1;       // tool whose tip shows
  int mSuppressed = -1;  // tool clicked on; shows no tip until the mouse leaves it
  CPoint mMouse;         // last mouse position, screen coordinates
};
