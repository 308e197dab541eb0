#include "platform/qt/tab_renderer.h"

#include <QFontMetrics>
#include <QStyleOptionTab>
#include <QStyleOptionTabWidgetFrame>

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
    QStyle& style = controlStyle();
    QStyleOptionTabWidgetFrame frame;
    initOption(frame, window, widget);
    const QRect client = clientRectOf(window, widget);
    const int count = tabs ? tabs->GetItemCount() : 0;
    const int tabsBottom = count > 0 ? tabRect(*tabs, widget, 0).bottom() : client.top();
    frame.rect = QRect(client.left(), tabsBottom, client.width(), client.bottom() - tabsBottom + 1);
    frame.shape = QTabBar::RoundedNorth;
    frame.lineWidth = 1;
    frame.state &= ~QStyle::State_HasFocus;
    style.drawPrimitive(QStyle::PE_FrameTabWidget, &frame, &painter, &widget);
    if (!tabs) return;
    const int selected = tabs->GetCurSel();
    // The selected tab is drawn last, over its neighbours.
    for (int pass = 0; pass < 2; ++pass) {
      for (int i = 0; i < count; ++i) {
        if ((i == selected) != (pass == 1)) continue;
        QStyleOptionTab option;
        initOption(option, window, widget);
        option.rect = tabRect(*tabs, widget, i);
        option.shape = QTabBar::RoundedNorth;
        option.position = count == 1 ? QStyleOptionTab::OnlyOneTab
                          : i == 0   ? QStyleOptionTab::Beginning
                          : i == count - 1 ? QStyleOptionTab::End
                                           : QStyleOptionTab::Middle;
        option.selectedPosition = selected == i - 1   ? QStyleOptionTab::PreviousIsSelected
                                  : selected == i + 1 ? QStyleOptionTab::NextIsSelected
                                                      : QStyleOptionTab::NotAdjacent;
        if (i == selected)
          option.state |= QStyle::State_Selected;
        else
          option.state &= ~QStyle::State_HasFocus;
        const QFontMetrics metrics(widget.font());
        option.text = metrics.elidedText(toQString(tabs->itemText(i)), Qt::ElideRight,
                                         option.rect.width() - 4);
        style.drawControl(QStyle::CE_TabBarTab, &option, &painter, &widget);
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
  void mouseMove(CWnd&, MirrorWidget&, QMouseEvent&) const override {}
};

}  // namespace

const ControlRenderer& tabRenderer() {
  static const TabRenderer renderer;
  return renderer;
}

}  // namespace krv::qt
