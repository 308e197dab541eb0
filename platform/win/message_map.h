#pragma once
// Message maps: a class routes commands, notifications and its own messages
// to member functions with a table, without a switch in every window class.
//
//   class CMyDlg : public CDialog {
//     ...
//     DECLARE_MESSAGE_MAP()
//   };
//   BEGIN_MESSAGE_MAP(CMyDlg, CDialog)
//     ON_BN_CLICKED(IDC_APPLY, &CMyDlg::OnApply)
//     ON_CBN_SELCHANGE(IDC_KIND, &CMyDlg::OnKindChanged)
//     ON_NOTIFY(TCN_SELCHANGE, IDC_TABS, &CMyDlg::OnTabChanged)
//     ON_MESSAGE(WM_APP + 1, &CMyDlg::OnRefresh)
//   END_MESSAGE_MAP()
//
// A window looks up its own table first, then the tables of its base
// classes. The common window messages (WM_SIZE, mouse, keys, paint, timer,
// ...) always reach the virtual handlers of CWnd (OnSize, OnLButtonDown,
// ...), so the ON_WM_* entries are accepted for familiarity and add nothing.
#include "platform/win/win_messages.h"

class CWnd;

namespace krv::win {
enum class MsgKind : unsigned char { End, Message, Command, Notify };

struct MsgMapEntry {
  MsgKind kind = MsgKind::End;
  UINT message = 0;  // Message: the message number
  UINT code = 0;     // Command: notification code (0 = BN_CLICKED/menu); Notify: NMHDR code
  UINT idFirst = 0;  // Command and Notify: control identifier range
  UINT idLast = 0;
  // Calls the member function; gets the window, wParam and lParam and
  // gives the message's result.
  LRESULT (*call)(CWnd*, WPARAM, LPARAM) = nullptr;
};

struct MsgMap {
  const MsgMap* (*base)() = nullptr;
  const MsgMapEntry* entries = nullptr;
};

// Finds the first entry for the message (or command code and identifier)
// in `map` and its bases; nullptr when none.
const MsgMapEntry* findMessageEntry(const MsgMap* map, UINT message);
const MsgMapEntry* findCommandEntry(const MsgMap* map, UINT code, UINT id);
const MsgMapEntry* findNotifyEntry(const MsgMap* map, UINT code, UINT id);
}  // namespace krv::win

#define DECLARE_MESSAGE_MAP()                         \
 protected:                                           \
  static const krv::win::MsgMap* GetThisMessageMap(); \
  const krv::win::MsgMap* GetMessageMap() const override;

#define BEGIN_MESSAGE_MAP(theClass, baseClass)                                            \
  const krv::win::MsgMap* theClass::GetMessageMap() const { return GetThisMessageMap(); } \
  const krv::win::MsgMap* theClass::GetThisMessageMap() {                                 \
    using ThisClass [[maybe_unused]] = theClass;                                          \
    using TheBaseClass = baseClass;                                                       \
    static const krv::win::MsgMapEntry kEntries[] = {
#define END_MESSAGE_MAP()                                                         \
  krv::win::MsgMapEntry {}                                                        \
  }                                                                               \
  ;                                                                               \
  static const krv::win::MsgMap kMap{&TheBaseClass::GetThisMessageMap, kEntries}; \
  return &kMap;                                                                   \
  }

// Command handlers: void (Class::*)().
#define ON_CONTROL(code, id, memberFn)                                 \
  krv::win::MsgMapEntry{krv::win::MsgKind::Command,                    \
                        WM_COMMAND,                                    \
                        static_cast<UINT>(code),                       \
                        static_cast<UINT>(id),                         \
                        static_cast<UINT>(id),                         \
                        [](CWnd* w, WPARAM, LPARAM) -> LRESULT {       \
                          (static_cast<ThisClass*>(w)->*(memberFn))(); \
                          return 0;                                    \
                        }},
#define ON_COMMAND(id, memberFn) ON_CONTROL(0, id, memberFn)
// Range handlers: void (Class::*)(UINT id).
#define ON_CONTROL_RANGE(code, idFirst, idLast, memberFn)                        \
  krv::win::MsgMapEntry{krv::win::MsgKind::Command,                              \
                        WM_COMMAND,                                              \
                        static_cast<UINT>(code),                                 \
                        static_cast<UINT>(idFirst),                              \
                        static_cast<UINT>(idLast),                               \
                        [](CWnd* w, WPARAM wp, LPARAM) -> LRESULT {              \
                          (static_cast<ThisClass*>(w)->*(memberFn))(LOWORD(wp)); \
                          return 0;                                              \
                        }},
#define ON_COMMAND_RANGE(idFirst, idLast, memberFn) ON_CONTROL_RANGE(0, idFirst, idLast, memberFn)
#define ON_BN_CLICKED(id, memberFn) ON_CONTROL(BN_CLICKED, id, memberFn)
#define ON_BN_DOUBLECLICKED(id, memberFn) ON_CONTROL(BN_DOUBLECLICKED, id, memberFn)
#define ON_STN_CLICKED(id, memberFn) ON_CONTROL(STN_CLICKED, id, memberFn)
#define ON_EN_CHANGE(id, memberFn) ON_CONTROL(EN_CHANGE, id, memberFn)
#define ON_EN_UPDATE(id, memberFn) ON_CONTROL(EN_UPDATE, id, memberFn)
#define ON_EN_SETFOCUS(id, memberFn) ON_CONTROL(EN_SETFOCUS, id, memberFn)
#define ON_EN_KILLFOCUS(id, memberFn) ON_CONTROL(EN_KILLFOCUS, id, memberFn)
#define ON_CBN_SELCHANGE(id, memberFn) ON_CONTROL(CBN_SELCHANGE, id, memberFn)
#define ON_CBN_EDITCHANGE(id, memberFn) ON_CONTROL(CBN_EDITCHANGE, id, memberFn)
#define ON_CBN_EDITUPDATE(id, memberFn) ON_CONTROL(CBN_EDITUPDATE, id, memberFn)
#define ON_CBN_DROPDOWN(id, memberFn) ON_CONTROL(CBN_DROPDOWN, id, memberFn)
#define ON_CBN_CLOSEUP(id, memberFn) ON_CONTROL(CBN_CLOSEUP, id, memberFn)
#define ON_CBN_SELENDOK(id, memberFn) ON_CONTROL(CBN_SELENDOK, id, memberFn)
#define ON_CBN_KILLFOCUS(id, memberFn) ON_CONTROL(CBN_KILLFOCUS, id, memberFn)
#define ON_LBN_SELCHANGE(id, memberFn) ON_CONTROL(LBN_SELCHANGE, id, memberFn)
#define ON_LBN_DBLCLK(id, memberFn) ON_CONTROL(LBN_DBLCLK, id, memberFn)

// Notification handlers: void (Class::*)(NMHDR*, LRESULT*).
#define ON_NOTIFY_RANGE(code, idFirst, idLast, memberFn)                                          \
  krv::win::MsgMapEntry{krv::win::MsgKind::Notify,                                                \
                        WM_NOTIFY,                                                                \
                        static_cast<UINT>(code),                                                  \
                        static_cast<UINT>(idFirst),                                               \
                        static_cast<UINT>(idLast),                                                \
                        [](CWnd* w, WPARAM, LPARAM lp) -> LRESULT {                               \
                          LRESULT result = 0;                                                     \
                          (static_cast<ThisClass*>(w)->*(memberFn))(reinterpret_cast<NMHDR*>(lp), \
                                                                    &result);                     \
                          return result;                                                          \
                        }},
#define ON_NOTIFY(code, id, memberFn) ON_NOTIFY_RANGE(code, id, id, memberFn)

// Any message: LRESULT (Class::*)(WPARAM, LPARAM).
#define ON_MESSAGE(message, memberFn)                                               \
  krv::win::MsgMapEntry{krv::win::MsgKind::Message,                                 \
                        static_cast<UINT>(message),                                 \
                        0,                                                          \
                        0,                                                          \
                        0,                                                          \
                        [](CWnd* w, WPARAM wp, LPARAM lp) -> LRESULT {              \
                          return (static_cast<ThisClass*>(w)->*(memberFn))(wp, lp); \
                        }},

// The common window messages always reach their virtual handlers.
#define ON_WM_CREATE()
#define ON_WM_DESTROY()
#define ON_WM_CLOSE()
#define ON_WM_SIZE()
#define ON_WM_MOVE()
#define ON_WM_PAINT()
#define ON_WM_ERASEBKGND()
#define ON_WM_CTLCOLOR()
#define ON_WM_TIMER()
#define ON_WM_SETCURSOR()
#define ON_WM_LBUTTONDOWN()
#define ON_WM_LBUTTONUP()
#define ON_WM_LBUTTONDBLCLK()
#define ON_WM_RBUTTONDOWN()
#define ON_WM_RBUTTONUP()
#define ON_WM_MOUSEMOVE()
#define ON_WM_KEYDOWN()
#define ON_WM_KEYUP()
#define ON_WM_CHAR()
#define ON_WM_SETFOCUS()
#define ON_WM_KILLFOCUS()
#define ON_WM_SHOWWINDOW()
#define ON_WM_GETMINMAXINFO()
