#pragma once
// ControlRenderer: how one kind of window is drawn and how a person's mouse
// and keys on it become krv::win::Person actions.
//
// A renderer draws only from the window's headless state (text, styles,
// check state, items, selection, font, cell document, ...) and changes that
// state only through Person actions or the messages a person's action would
// send, so that the dialog sees exactly what it sees in the tests. After
// every input event the mirror runs the window system's posted messages.
//
// rendererFor() picks the renderer of a window by its class name and
// styles; windows of unknown classes (dialogs, custom windows) get the
// generic renderer, which fills the background and replays what the
// window's own OnPaint drew.
#include <QMouseEvent>
#include <QPainter>

#include "platform/win/wnd.h"

class QKeyEvent;
class QWheelEvent;

namespace krv::qt {

class MirrorWidget;

class ControlRenderer {
 public:
  virtual ~ControlRenderer() = default;
  // Draws the whole window (its non-client border too) into `painter`,
  // whose origin is the window's top-left corner.
  virtual void paint(QPainter& painter, CWnd& window, MirrorWidget& widget) const = 0;
  // Mouse input in window coordinates (the widget's own). The defaults send
  // each step of the person's hand to the window as it happens: the left
  // press as Person::mouseDown, the second press of a double click as
  // Person::mouseDown(again), moves (with or without the button held) as
  // Person::mouseMove, the left release as Person::mouseUp, and a right
  // click as Person::rightClickAt at the release. A drag therefore reaches
  // a custom window (a tracker's owner, a drag source) move by move.
  virtual void mousePress(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const;
  virtual void mouseRelease(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const;
  virtual void mouseDoubleClick(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const;
  virtual void mouseMove(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const;
  virtual void wheel(CWnd& window, MirrorWidget& widget, QWheelEvent& event) const;
  // A key: the default presses it (Person::pressKey on the window's
  // top-level window, so it reaches the focused control through
  // PreTranslateMessage) and types its text into the focused window;
  // Backspace is pressed and then typed ("\b"), as the keyboard does.
  virtual void keyPress(CWnd& window, MirrorWidget& widget, QKeyEvent& event) const;
  // Whether the widget wants keyboard focus when clicked.
  virtual bool takesFocus(const CWnd& window) const;
  // Called by the mirror after it placed the widget (geometry, visibility,
  // font): a renderer may shape it. The default does nothing.
  virtual void placed(CWnd& window, MirrorWidget& widget) const;
};

// The renderer of a window; never null.
const ControlRenderer& rendererFor(const CWnd& window);

// The generic renderer (background and replayed OnPaint drawing).
const ControlRenderer& genericRenderer();

// The window system's virtual key of a Qt key (0 when there is none).
UINT virtualKeyOf(int qtKey);

// Window coordinates of a widget point: the client coordinates of the
// window when the widget shows only its client area (a top-level window's
// widget), else the point minus the window's non-client insets.
CPoint clientPointOf(const MirrorWidget& widget, const QPoint& point);

}  // namespace krv::qt
