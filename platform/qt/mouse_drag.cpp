#include "platform/qt/mouse_drag.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>

#include "platform/qt/mirror_widget.h"
#include "platform/win/event_loop.h"

namespace krv::qt {

MouseDrag::MouseDrag(std::function<void(QPoint)> onMove) : mOnMove(std::move(onMove)) {}

bool MouseDrag::run(QPoint from, QPoint& lastGlobal) {
  mLast = from;
  qApp->installEventFilter(this);
  const bool done = mLoop.exec() == 1;
  qApp->removeEventFilter(this);
  if (done) krv::win::KeyboardState::setDown(VK_LBUTTON, false);
  lastGlobal = mLast;
  return done;
}

bool MouseDrag::eventFilter(QObject* object, QEvent* event) {
  switch (event->type()) {
    case QEvent::MouseMove:
    case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
      if (!object->isWidgetType()) return false;  // seen again at the widget
      auto* mouse = static_cast<QMouseEvent*>(event);
      mLast = mouse->globalPosition().toPoint();
      if (event->type() == QEvent::MouseMove) {
        if (mOnMove) mOnMove(mLast);
      } else if (event->type() == QEvent::MouseButtonRelease && mouse->button() == Qt::LeftButton) {
        mLoop.exit(1);
      } else if (mouse->button() == Qt::RightButton) {
        mLoop.exit(0);
      }
      return true;
    }
    case QEvent::KeyPress:
      if (static_cast<QKeyEvent*>(event)->key() == Qt::Key_Escape) mLoop.exit(0);
      return true;
    case QEvent::KeyRelease:
    case QEvent::Wheel:
      return true;
    default:
      return false;
  }
}

MirrorWidget* mirrorWidgetAt(const QPoint& global) {
  const QWidgetList tops = QApplication::topLevelWidgets();
  // Later top-level widgets were made later and lie above the earlier ones.
  for (auto it = tops.rbegin(); it != tops.rend(); ++it) {
    QWidget* top = *it;
    if (!top->isVisible() || !dynamic_cast<MirrorWidget*>(top)) continue;
    const QPoint local = top->mapFromGlobal(global);
    if (!top->rect().contains(local)) continue;
    for (QWidget* w = top->childAt(local); w; w = w->parentWidget())
      if (auto* mirror = dynamic_cast<MirrorWidget*>(w)) return mirror;
    return static_cast<MirrorWidget*>(top);
  }
  return nullptr;
}

}  // namespace krv::qt
