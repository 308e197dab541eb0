#pragma once
// MouseDrag: follows the person's mouse in a nested Qt event loop until the
// left button comes up, for drags that the window system's code waits for
// (tracker rectangles, rubber bands, drag and drop). Every mouse and key
// event meanwhile belongs to the drag and reaches no window. Escape or the
// right button cancels. When the left button came up, the window system's
// keyboard state shows it up too.
#include <QEventLoop>
#include <QObject>
#include <QPoint>
#include <functional>

namespace krv::qt {

class MirrorWidget;

class MouseDrag : public QObject {
 public:
  // `onMove` is called with the global position of every move.
  explicit MouseDrag(std::function<void(QPoint)> onMove = {});
  // Runs until the release (true) or a cancel (false); `lastGlobal` is
  // where the mouse was last seen (`from` when it did not move).
  bool run(QPoint from, QPoint& lastGlobal);

 protected:
  bool eventFilter(QObject* object, QEvent* event) override;

 private:
  std::function<void(QPoint)> mOnMove;
  QEventLoop mLoop;
  QPoint mLast;
};

// The window widget under a global point among the shown top-level mirror
// widgets (the topmost child there, as Qt finds children); null when none.
MirrorWidget* mirrorWidgetAt(const QPoint& global);

}  // namespace krv::qt
