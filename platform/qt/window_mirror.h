#pragma once
// WindowMirror: keeps Qt widgets in step with headless window trees.
//
// Each mirrored window gets a MirrorWidget at the geometry the window
// system computed (pixels; dialog units were converted when the template
// was built), shown and enabled as the window is, stacked in its z-order;
// every change of the window (text, state, items, selection, font, focus,
// rectangle, children created or destroyed) reaches its widget. A disabled
// top-level window (the owner of a running modal dialog) has a disabled
// widget, so that Qt gives none of its windows input. A mirror
// follows either the trees it is given (mirror()) or every top-level window
// of the process (followAllWindows(), the desktop).
//
// The mouse goes past the widgets of windows that let it through (see
// letsMouseThrough) to the widget beneath, as a rule the parent's, which
// gets the press at its own client point.
//
// The mirror never changes a window. Destroying the mirror removes its
// widgets and detaches it from the windows.
#include <QPointer>
#include <QWidget>
#include <functional>
#include <memory>
#include <unordered_map>
#include <vector>

#include "platform/qt/mirror_widget.h"
#include "platform/win/window_observer.h"

namespace krv::qt {

// Whether the mouse goes past `window` to the window beneath it: a
// disabled child window, a static text without SS_NOTIFY and a group box
// take no mouse input of their own (a click on a disabled control reaches
// the dialog, as in the dialog designer, whose controls are disabled).
bool letsMouseThrough(const CWnd& window);

class WindowMirror : public WindowObserver {
 public:
  WindowMirror();
  ~WindowMirror() override;
  WindowMirror(const WindowMirror&) = delete;
  WindowMirror& operator=(const WindowMirror&) = delete;

  // Mirrors the tree of `root` (a top-level window) into a new top-level
  // widget, which is given back; it is not shown until show() is called
  // on it (pictures render it hidden).
  MirrorWidget* mirror(CWnd& root);
  // Follows every top-level window of the process: each becomes a Qt
  // window when it is created, shown when the window is visible, and goes
  // away with it. Windows that exist already are mirrored at once.
  void followAllWindows();

  // The widget of a window; null when the window is not mirrored.
  MirrorWidget* widgetFor(const CWnd* window) const;
  std::size_t widgetCount() const { return mWidgets.size(); }

  // Called when a top-level widget is made in followAllWindows() mode
  // (the desktop uses it to place and decorate the window).
  std::function<void(CWnd&, MirrorWidget&)> onTopLevelCreated;

  void windowChanged(CWnd& window, WindowChange change) override;

 private:
  MirrorWidget* build(CWnd& window, MirrorWidget* parentWidget);
  void place(CWnd& window, MirrorWidget& widget);
  void restack(CWnd& parent);
  void drop(CWnd& window);
  void syncTopLevel(CWnd& window, MirrorWidget& widget);

  std::unordered_map<const CWnd*, QPointer<MirrorWidget>> mWidgets;
  std::vector<CWnd*> mRoots;  // observed roots (mirror() mode)
  bool mFollowAll = false;
};

// The geometry of a window's widget inside its parent widget.
QRect widgetGeometry(const CWnd& window);

}  // namespace krv::qt
