#pragma once
// DesktopDocks: shows the control bars docked in the host's frame window as
// Qt dock widgets of the desktop's main window.
//
// The frame window itself is not shown (the main window stands in for it);
// its mirrored widget lives in a hidden holder. Each bar of the frame that
// is docked and visible gets a QDockWidget at the same edge (left, right,
// top or bottom), titled with the bar's text, holding the bar's mirrored
// widget. A bar that floats is left to the mirror (its floating frame is a
// window of its own); a hidden bar hides its dock; a destroyed bar takes
// its dock with it. Resizing the dock gives the bar its new docked size;
// moving the dock to another edge docks the bar there (only at the edges
// the bar allows); the dock's close button closes the bar as its close box
// does (WM_CLOSE), so the module decides what closing means.
//
// It follows the window system through a global window observer and
// brings the docks up to date once the current Qt event has been handled
// (after the mirror has made or dropped the widgets).
#include <QDockWidget>
#include <QMainWindow>
#include <QPointer>
#include <functional>
#include <map>

#include "platform/qt/window_mirror.h"
#include "platform/win/window_observer.h"

class CControlBar;
class CFrameWnd;

namespace krv::tools {

class DesktopDocks : public WindowObserver {
 public:
  DesktopDocks(QMainWindow& mainWindow, krv::qt::WindowMirror& mirror, CFrameWnd& frame);
  ~DesktopDocks() override;
  DesktopDocks(const DesktopDocks&) = delete;
  DesktopDocks& operator=(const DesktopDocks&) = delete;

  // The dock of a bar, or null when the bar has none.
  QDockWidget* dockFor(const CWnd* bar) const;
  std::size_t dockCount() const { return mDocks.size(); }
  // The greatest height of the content of the docks at the left and right
  // edges (0 when there are none): the height the frame gives its bars.
  int sideContentHeight() const;

  // Called when a dock's content was resized.
  std::function<void()> onLayoutChanged;

  // Brings the docks up to date now (also called after every change).
  void sync();

  void windowChanged(CWnd& window, WindowChange change) override;

 private:
  struct Entry {
    QPointer<QDockWidget> dock;
    QPointer<QWidget> content;  // the bar's mirrored widget
    QPointer<krv::qt::MirrorWidget> barWidget;
    QPointer<QObject> events;  // the dock's event filter (DockEvents)
  };
  void scheduleSync();
  void removeDock(const CWnd* bar);
  Entry& makeDock(CControlBar& bar);
  // Whether the bar is live, belongs to the frame, is docked and visible.
  bool shownDocked(CControlBar& bar) const;

  QMainWindow& mMain;
  krv::qt::WindowMirror& mMirror;
  CFrameWnd& mFrame;
  std::map<const CWnd*, Entry> mDocks;
  QObject mContext;  // for the deferred updates; dropped with the object
  bool mSyncPending = false;
  bool mSyncing = false;
};

}  // namespace krv::tools
