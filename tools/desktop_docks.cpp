#include "tools/desktop_docks.h"

#include <QCloseEvent>
#include <QTimer>
#include <algorithm>
#include <vector>

#include "platform/acad/control_bar.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/event_loop.h"
#include "platform/win/person.h"

namespace krv::tools {

namespace {

Qt::DockWidgetArea areaOf(UINT dockBarId) {
  switch (dockBarId) {
    case AFX_IDW_DOCKBAR_TOP:
      return Qt::TopDockWidgetArea;
    case AFX_IDW_DOCKBAR_RIGHT:
      return Qt::RightDockWidgetArea;
    case AFX_IDW_DOCKBAR_BOTTOM:
      return Qt::BottomDockWidgetArea;
    default:
      return Qt::LeftDockWidgetArea;
  }
}

UINT dockBarIdOf(Qt::DockWidgetArea area) {
  switch (area) {
    case Qt::TopDockWidgetArea:
      return AFX_IDW_DOCKBAR_TOP;
    case Qt::RightDockWidgetArea:
      return AFX_IDW_DOCKBAR_RIGHT;
    case Qt::BottomDockWidgetArea:
      return AFX_IDW_DOCKBAR_BOTTOM;
    default:
      return AFX_IDW_DOCKBAR_LEFT;
  }
}

Qt::DockWidgetAreas allowedAreas(DWORD sides) {
  Qt::DockWidgetAreas areas;
  if (sides & CBRS_ALIGN_LEFT) areas |= Qt::LeftDockWidgetArea;
  if (sides & CBRS_ALIGN_RIGHT) areas |= Qt::RightDockWidgetArea;
  if (sides & CBRS_ALIGN_TOP) areas |= Qt::TopDockWidgetArea;
  if (sides & CBRS_ALIGN_BOTTOM) areas |= Qt::BottomDockWidgetArea;
  return areas;
}

bool horizontalEdge(UINT dockBarId) {
  return dockBarId == AFX_IDW_DOCKBAR_TOP || dockBarId == AFX_IDW_DOCKBAR_BOTTOM;
}

// The live bar behind a handle, or null once it was destroyed.
CControlBar* liveBar(HWND bar) { return IsWindow(bar) ? dynamic_cast<CControlBar*>(bar) : nullptr; }

// The events of one dock: its close button closes the bar (WM_CLOSE), a
// resize of its content gives the bar its docked size, and the bar's
// widget stays in the content's corner whatever place the frame's layout
// gives it.
class DockEvents : public QObject {
 public:
  DockEvents(HWND bar, std::function<void()>* onResized, QObject* parent)
      : QObject(parent), mBar(bar), mOnResized(onResized) {}
  // Stops acting on the bar (its dock is going away).
  void detach() { mBar = nullptr; }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (!mBar) return QObject::eventFilter(watched, event);
    switch (event->type()) {
      case QEvent::Close:
        if (qobject_cast<QDockWidget*>(watched)) {
          event->ignore();
          if (CControlBar* bar = liveBar(mBar)) {
            krv::win::Person::close(bar);
            krv::win::EventLoop::instance().runPending();
          }
          return true;
        }
        break;
      case QEvent::Resize:
        if (watched->objectName() == "dockContent") resized(static_cast<QWidget&>(*watched));
        break;
      case QEvent::Move: {
        auto* widget = dynamic_cast<krv::qt::MirrorWidget*>(watched);
        if (widget && widget->pos() != QPoint(0, 0)) widget->move(0, 0);
        break;
      }
      default:
        break;
    }
    return QObject::eventFilter(watched, event);
  }

 private:
  void resized(QWidget& content) {
    CControlBar* bar = liveBar(mBar);
    if (!bar || !bar->IsDocked()) return;
    const int size = horizontalEdge(bar->dockSide()) ? content.height() : content.width();
    if (size > 0 && size != bar->dockedSize()) bar->setDockedSize(size);
    if (*mOnResized) (*mOnResized)();
  }
  HWND mBar;
  std::function<void()>* mOnResized;
};

}  // namespace

DesktopDocks::DesktopDocks(QMainWindow& mainWindow, krv::qt::WindowMirror& mirror, CFrameWnd& frame)
    : mMain(mainWindow), mMirror(mirror), mFrame(frame) {
  krv::win::addGlobalWindowObserver(this);
  sync();
}

DesktopDocks::~DesktopDocks() {
  krv::win::removeGlobalWindowObserver(this);
  std::vector<const CWnd*> bars;
  for (const auto& [bar, entry] : mDocks) bars.push_back(bar);
  for (const CWnd* bar : bars) removeDock(bar);
}

QDockWidget* DesktopDocks::dockFor(const CWnd* bar) const {
  auto it = mDocks.find(bar);
  return it == mDocks.end() ? nullptr : it->second.dock.data();
}

int DesktopDocks::sideContentHeight() const {
  int height = 0;
  for (const auto& [bar, entry] : mDocks) {
    if (!entry.dock || !entry.content || entry.dock->isHidden()) continue;
    const Qt::DockWidgetArea area = mMain.dockWidgetArea(entry.dock);
    if (area == Qt::LeftDockWidgetArea || area == Qt::RightDockWidgetArea)
      height = std::max(height, entry.content->height());
  }
  return height;
}

bool DesktopDocks::shownDocked(CControlBar& bar) const {
  return bar.GetParent() == &mFrame && bar.IsDocked() && bar.IsVisible() && !bar.IsFloating();
}

void DesktopDocks::windowChanged(CWnd& window, WindowChange change) {
  if (change == WindowChange::Destroyed) {
    if (mDocks.count(&window)) removeDock(&window);
    return;
  }
  if (!dynamic_cast<CControlBar*>(&window)) return;
  switch (change) {
    case WindowChange::Created:
    case WindowChange::Parent:
    case WindowChange::Visibility:
    case WindowChange::Style:
    case WindowChange::Text:
    case WindowChange::Rect:
      scheduleSync();
      break;
    default:
      break;
  }
}

void DesktopDocks::scheduleSync() {
  if (mSyncPending) return;
  mSyncPending = true;
  QTimer::singleShot(0, &mContext, [this] { sync(); });
}

void DesktopDocks::removeDock(const CWnd* bar) {
  auto it = mDocks.find(bar);
  if (it == mDocks.end()) return;
  Entry entry = it->second;
  mDocks.erase(it);
  // The bar's widget goes back to the frame's widget, where the mirror
  // made it (and drops it when it drops the bar).
  // The filter is held by its pointer: findChild cannot tell a class
  // without its own meta-object from the dock's other children.
  auto* events = static_cast<DockEvents*>(entry.events.data());
  if (events) events->detach();
  if (entry.barWidget) {
    if (events) entry.barWidget->removeEventFilter(events);
    entry.barWidget->hide();
    entry.barWidget->setParent(mMirror.widgetFor(&mFrame));
  }
  if (entry.dock) {
    mMain.removeDockWidget(entry.dock);
    entry.dock->deleteLater();
  }
}

DesktopDocks::Entry& DesktopDocks::makeDock(CControlBar& bar) {
  Entry& entry = mDocks[&bar];
  auto* dock = new QDockWidget(&mMain);
  dock->setObjectName(QString("dock-%1").arg(krv::qt::toQString(bar.GetWindowText())));
  // Floating belongs to the module (a double click on the bar floats it).
  dock->setFeatures(QDockWidget::DockWidgetClosable | QDockWidget::DockWidgetMovable);
  dock->setAllowedAreas(allowedAreas(bar.dockingSides()));
  auto* events = new DockEvents(&bar, &onLayoutChanged, dock);
  dock->installEventFilter(events);
  auto* content = new QWidget(dock);
  content->setObjectName("dockContent");
  content->installEventFilter(events);
  dock->setWidget(content);
  entry.dock = dock;
  entry.content = content;
  entry.events = events;
  const HWND handle = &bar;
  QObject::connect(dock, &QDockWidget::dockLocationChanged, dock,
                   [handle](Qt::DockWidgetArea area) {
                     CControlBar* live = liveBar(handle);
                     if (!live || area == Qt::NoDockWidgetArea) return;
                     const UINT id = dockBarIdOf(area);
                     if (live->dockSide() != id) live->dockAt(id);
                   });
  mMain.addDockWidget(areaOf(bar.dockSide()), dock);
  const bool across = horizontalEdge(bar.dockSide());
  mMain.resizeDocks({dock}, {bar.dockedSize()}, across ? Qt::Vertical : Qt::Horizontal);
  return entry;
}

void DesktopDocks::sync() {
  mSyncPending = false;
  if (mSyncing || !IsWindow(&mFrame)) return;
  mSyncing = true;
  std::vector<CControlBar*> bars;
  for (CWnd* child : mFrame.children())
    if (auto* bar = dynamic_cast<CControlBar*>(child)) bars.push_back(bar);

  // Docks of bars that are gone, float or left the frame.
  std::vector<const CWnd*> stale;
  for (const auto& [window, entry] : mDocks) {
    bool keep = false;
    for (CControlBar* bar : bars)
      if (bar == window && bar->IsDocked() && !bar->IsFloating()) keep = true;
    if (!keep) stale.push_back(window);
  }
  for (const CWnd* window : stale) removeDock(window);

  for (CControlBar* bar : bars) {
    if (!bar->IsDocked() || bar->IsFloating()) continue;
    auto it = mDocks.find(bar);
    if (!shownDocked(*bar)) {
      if (it != mDocks.end() && it->second.dock) it->second.dock->hide();
      continue;
    }
    Entry& entry = it == mDocks.end() ? makeDock(*bar) : it->second;
    if (!entry.dock) continue;
    entry.dock->setWindowTitle(krv::qt::toQString(bar->GetWindowText()));
    const Qt::DockWidgetArea area = areaOf(bar->dockSide());
    if (mMain.dockWidgetArea(entry.dock) != area) mMain.addDockWidget(area, entry.dock);
    // The mirror makes the bar's widget anew when the bar changes parent.
    krv::qt::MirrorWidget* widget = mMirror.widgetFor(bar);
    if (widget && widget != entry.barWidget) {
      entry.barWidget = widget;
      widget->setParent(entry.content);
      if (entry.events) widget->installEventFilter(entry.events);
      widget->move(0, 0);
      widget->show();
    }
    if (entry.dock->isHidden()) entry.dock->show();
  }
  mSyncing = false;
}

}  // namespace krv::tools
