#include "platform/qt/list_box_renderer.h"

#include <QStyleOptionSlider>

#include "platform/qt/control_paint.h"
#include "platform/qt/item_rows.h"
#include "platform/qt/mirror_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/list_box.h"
#include "platform/win/person.h"

namespace krv::qt {

namespace {

using krv::win::Person;

struct Parts {
  QRect rows;
  QRect scrollBar;  // empty without one
};

Parts partsOf(const CWnd& window, const MirrorWidget& widget, int count) {
  Parts parts;
  parts.rows = clientRectOf(window, widget);
  const ItemRows probe(parts.rows, widget.font(), count, 0);
  if ((window.GetStyle() & WS_VSCROLL) && count > probe.visibleRows()) {
    const int extent = controlStyle().pixelMetric(QStyle::PM_ScrollBarExtent);
    parts.scrollBar = parts.rows;
    parts.scrollBar.setLeft(parts.rows.right() + 1 - extent);
    parts.rows.setRight(parts.scrollBar.left() - 1);
  }
  return parts;
}

class ListBoxRenderer : public ControlRenderer {
 public:
  void paint(QPainter& painter, CWnd& window, MirrorWidget& widget) const override {
    auto* list = dynamic_cast<CListBox*>(&window);
    const int count = list ? list->GetCount() : 0;
    QStyleOptionSlider option;
    initOption(option, window, widget);
    const Parts parts = partsOf(window, widget, count);
    painter.fillRect(clientRectOf(window, widget), option.palette.color(QPalette::Base));
    drawControlBorder(painter, window, widget);
    if (!list) return;
    const int caret = list->GetCurSel();
    const ItemRows rows(parts.rows, widget.font(), count, caret);
    ItemRows::Look look;
    look.text = [list](int i) { return toQString(list->itemText(i)); };
    look.selected = [list](int i) { return list->GetSel(i) > 0; };
    look.caret = caret < 0 ? 0 : caret;
    look.focused = hasWindowFocus(window);
    rows.draw(painter, option.palette, look);
    if (parts.scrollBar.isEmpty()) return;
    // A style lays a scroll bar out from its own origin.
    option.rect = QRect(QPoint(0, 0), parts.scrollBar.size());
    option.orientation = Qt::Vertical;
    option.minimum = 0;
    option.maximum = count - rows.visibleRows();
    option.sliderPosition = option.sliderValue = rows.firstRow();
    option.pageStep = rows.visibleRows();
    option.singleStep = 1;
    option.subControls = QStyle::SC_All;
    option.state &= ~QStyle::State_HasFocus;
    painter.save();
    painter.translate(parts.scrollBar.topLeft());
    controlStyle().drawComplexControl(QStyle::CC_ScrollBar, &option, &painter, &widget);
    painter.restore();
  }

  void mousePress(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override {
    if (event.button() != Qt::LeftButton) return;
    const int item = itemAt(window, widget, event.position().toPoint());
    if (item >= 0) Person::choose(&window, item);
  }

  void mouseRelease(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override {
    if (event.button() == Qt::RightButton) ControlRenderer::mouseRelease(window, widget, event);
  }

  void mouseDoubleClick(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override {
    if (event.button() != Qt::LeftButton) return;
    const int item = itemAt(window, widget, event.position().toPoint());
    if (item >= 0) Person::doubleClickItem(&window, item);
  }

 private:
  static int itemAt(CWnd& window, const MirrorWidget& widget, const QPoint& point) {
    auto* list = dynamic_cast<CListBox*>(&window);
    if (!list) return -1;
    const Parts parts = partsOf(window, widget, list->GetCount());
    return ItemRows(parts.rows, widget.font(), list->GetCount(), list->GetCurSel()).itemAt(point);
  }
};

}  // namespace

const ControlRenderer& listBoxRenderer() {
  static const ListBoxRenderer renderer;
  return renderer;
}

}  // namespace krv::qt
