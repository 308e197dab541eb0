#pragma once
// MirrorWidget: the Qt widget of one headless window. It draws through the
// window's ControlRenderer and hands mouse and keys to it; it never keeps
// state of its own that the window does not have.
//
// A top-level window's widget shows its client area (the frame is the real
// window manager's, or drawn around it in a picture); every other window's
// widget covers its whole window rectangle, non-client border included.
// The window may go away while Qt still delivers events to the widget:
// cwnd() is then null and the widget ignores them.
#include <QWidget>
#include <vector>

#include "platform/win/dc.h"
#include "platform/win/wnd.h"

namespace krv::qt {

class ControlRenderer;

class MirrorWidget : public QWidget {
 public:
  MirrorWidget(CWnd& window, bool clientOnly, QWidget* parent);

  CWnd* cwnd() const { return mWindow; }
  void forgetWindow() { mWindow = nullptr; }
  // True for the widget of a top-level window (shows the client area only).
  bool clientOnly() const { return mClientOnly; }
  // Where the window's client area starts inside this widget.
  QPoint clientOrigin() const;

  // The class name, text and state the widget shows, for tests and tools
  // that look at what a person sees.
  QString windowClass() const;
  QString windowText() const;

  // What the window's own OnPaint drew the last time it painted.
  const std::vector<krv::win::DrawOp>& paintedOps() const { return mOps; }
  void setPaintedOps(std::vector<krv::win::DrawOp> ops) { mOps = std::move(ops); }

 protected:
  void paintEvent(QPaintEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  bool focusNextPrevChild(bool next) override;
  void closeEvent(QCloseEvent* event) override;

 private:
  // Runs what the input posted, then lets the mirror catch up.
  void afterInput();

  CWnd* mWindow;
  bool mClientOnly;
  std::vector<krv::win::DrawOp> mOps;
};

}  // namespace krv::qt
