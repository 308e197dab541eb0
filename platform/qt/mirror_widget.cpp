#include "platform/qt/mirror_widget.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <QWheelEvent>

#include "platform/qt/control_renderer.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/event_loop.h"
#include "platform/win/person.h"

namespace krv::qt {

MirrorWidget::MirrorWidget(CWnd& window, bool clientOnly, QWidget* parent)
    : QWidget(parent), mWindow(&window), mClientOnly(clientOnly) {
  setAttribute(Qt::WA_OpaquePaintEvent, false);
  setFocusPolicy(Qt::ClickFocus);
  // Moves without a button reach the window too (tool tips relay them).
  setMouseTracking(true);
  setObjectName(QString("window-%1").arg(window.GetDlgCtrlID()));
}

QPoint MirrorWidget::clientOrigin() const {
  if (mClientOnly || !mWindow) return QPoint(0, 0);
  const CRect in = mWindow->nonClientInsets();
  return QPoint(in.left, in.top);
}

QString MirrorWidget::windowClass() const {
  return mWindow ? toQString(mWindow->className()) : QString();
}

QString MirrorWidget::windowText() const {
  return mWindow ? toQString(mWindow->GetWindowText()) : QString();
}

void MirrorWidget::paintEvent(QPaintEvent*) {
  if (!mWindow) return;
  QPainter painter(this);
  rendererFor(*mWindow).paint(painter, *mWindow, *this);
}

void MirrorWidget::afterInput() { krv::win::EventLoop::instance().runPending(); }

void MirrorWidget::mousePressEvent(QMouseEvent* event) {
  if (!mWindow) return;
  rendererFor(*mWindow).mousePress(*mWindow, *this, *event);
  afterInput();
}

void MirrorWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!mWindow) return;
  rendererFor(*mWindow).mouseRelease(*mWindow, *this, *event);
  afterInput();
}

void MirrorWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!mWindow) return;
  rendererFor(*mWindow).mouseDoubleClick(*mWindow, *this, *event);
  afterInput();
}

void MirrorWidget::mouseMoveEvent(QMouseEvent* event) {
  if (!mWindow) return;
  rendererFor(*mWindow).mouseMove(*mWindow, *this, *event);
  afterInput();
}

void MirrorWidget::wheelEvent(QWheelEvent* event) {
  if (!mWindow) return;
  rendererFor(*mWindow).wheel(*mWindow, *this, *event);
  afterInput();
}

void MirrorWidget::keyPressEvent(QKeyEvent* event) {
  if (!mWindow) return;
  rendererFor(*mWindow).keyPress(*mWindow, *this, *event);
  afterInput();
}

bool MirrorWidget::focusNextPrevChild(bool) {
  // Tab belongs to the window system's dialog manager, not to Qt.
  return false;
}

void MirrorWidget::closeEvent(QCloseEvent* event) {
  // The window decides whether it closes (WM_CLOSE); the widget goes when
  // the window is destroyed or hidden.
  event->ignore();
  if (!mWindow) return;
  krv::win::Person::close(mWindow);
  afterInput();
}

}  // namespace krv::qt
