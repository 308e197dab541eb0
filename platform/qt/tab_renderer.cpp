#include "platform/qt/tab_renderer.h"

#include <QFontMetrics>
#include <QStyleOption>

#include "platform/qt/control_paint.h"
#include "platform/qt/mirror_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/person.h"
#include "platform/win/tab_ctrl.h"

namespace krv::qt {

namespace {

QRect tabRect(const CTabCtrl& tabs, const MirrorWidget& widget, int index) {
  CRect r;
  tabs.GetItemRect(index, &r);
  return toQRect(r).translated(widget.clientOrigin());
}

class TabRenderer : public ControlRenderer {
 public:
  void paint(QPainter& painter, CWnd& window, MirrorWidget& widget) const override {
    auto* tabs = dynamic_cast<CTabCtrl*>(&window);
    QStyleOption option;
    initOption(option, window, widget);
    const QPalette& palette = option.palette;
    const QRect client = clientRectOf(window, widget);
    const int count = tabs ? tabs->GetItemCount() : 0;
    const int tabsBottom = count > 0 ? tabRect(*tabs, widget, 0).bottom() + 1 : client.top();
    // The display area's frame.
    const QRect pane(client.left(), tabsBottom, client.width(), client.bottom() - tabsBottom + 1);
    painter.fillRect(pane.adjusted(1, 1, -1, -1), palette.color(QPalette::Window).lighter(104));
    painter.setPen(palette.color(QPalette::Mid));
    painter.drawRect(pane.adjusted(0, 0, -1, -1));
    if (!tabs) return;
    const int selected = tabs->GetCurSel();
    const bool focused = hasWindowFocus(window);
    const QFontMetrics metrics(widget.font());
    painter.setFont(widget.font());
    for (int i = 0; i < count; ++i) {
      QRect r = tabRect(*tabs, widget, i);
      const bool isSelected = i == selected;
      // The selected tab stands two pixels higher and wider and joins the pane.
      if (isSelected) r.adjust(-2, -2, 2, 1);
      painter.fillRect(r.adjusted(1, 1, -1, 0), isSelected
                                                    ? palette.color(QPalette::Window).lighter(104)
                                                    : palette.color(QPalette::Button).darker(104));
      painter.setPen(palette.color(QPalette::Mid));
      painter.drawLine(r.bottomLeft(), r.topLeft() + QPoint(0, 2));
      painter.drawLine(r.topLeft() + QPoint(2, 0), r.topRight() - QPoint(2, 0));
      painter.drawLine(r.topRight() + QPoint(0, 2), r.bottomRight());
      painter.drawPoint(r.topLeft() + QPoint(1, 1));
      painter.drawPoint(r.topRight() + QPoint(-1, 1));
      if (isSelected) {
        painter.setPen(palette.color(QPalette::Highlight));
        painter.drawLine(r.topLeft() + QPoint(2, 1), r.topRight() + QPoint(-2, 1));
      }
      const QRect label = r.adjusted(2, 2, -2, -1);
      painter.setPen(palette.color(QPalette::WindowText));
      painter.drawText(
          label, Qt::AlignCenter | Qt::TextSingleLine,
          metrics.elidedText(toQString(tabs->itemText(i)), Qt::ElideRight, label.width()));
      if (isSelected && focused) {
        QPen pen(palette.color(QPalette::WindowText));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.drawRect(label.adjusted(0, 1, -1, -2));
      }
    }
  }

  void mousePress(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override {
    auto* tabs = dynamic_cast<CTabCtrl*>(&window);
    if (!tabs || event.button() != Qt::LeftButton) return;
    for (int i = 0; i < tabs->GetItemCount(); ++i)
      if (tabRect(*tabs, widget, i).contains(event.position().toPoint())) {
        krv::win::Person::choose(&window, i);
        return;
      }
  }
  void mouseRelease(CWnd& window, MirrorWidget& widget, QMouseEvent& event) const override {
    if (event.button() == Qt::RightButton) ControlRenderer::mouseRelease(window, widget, event);
  }
  void mouseDoubleClick(CWnd&, MirrorWidget&, QMouseEvent&) const override {}
};

}  // namespace

const ControlRenderer& tabRenderer() {
  static const TabRenderer renderer;
  return renderer;
}

}  // namespace krv::qt
