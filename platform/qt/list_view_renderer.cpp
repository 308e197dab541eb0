#include "platform/qt/list_view_renderer.h"

#include <QFontMetrics>
#include <QStyleOption>

#include "platform/qt/control_paint.h"
#include "platform/qt/mirror_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/list_ctrl.h"

namespace krv::qt {

namespace {

QImage imageOf(const CImageList* images, int index) {
  const CImageList::Image* image = images ? images->image(index) : nullptr;
  if (!image) return QImage();
  if (image->icon) return iconPicture(image->icon);
  return toImage(image->picture, image->mask);
}

class ListViewRenderer : public ControlRenderer {
 public:
  void paint(QPainter& painter, CWnd& window, MirrorWidget& widget) const override {
    QStyleOption option;
    initOption(option, window, widget);
    const QRect client = clientRectOf(window, widget);
    painter.fillRect(client, option.palette.color(QPalette::Base));
    drawControlBorder(painter, window, widget);
    auto* list = dynamic_cast<CListCtrl*>(&window);
    if (!list) return;
    const bool iconView = (window.GetStyle() & LVS_TYPEMASK) == LVS_ICON;
    const CImageList* images = list->GetImageList(iconView ? LVSIL_NORMAL : LVSIL_SMALL);
    const bool focused = hasWindowFocus(window);
    const QPoint origin = client.topLeft();
    painter.save();
    painter.setClipRect(client);
    painter.setFont(widget.font());
    const QFontMetrics metrics(widget.font());
    for (int i = 0; i < list->GetItemCount(); ++i) {
      CRect iconRect, labelRect;
      list->GetItemRect(i, &iconRect, LVIR_ICON);
      list->GetItemRect(i, &labelRect, LVIR_LABEL);
      const QRect icon = toQRect(iconRect).translated(origin);
      const QRect label = toQRect(labelRect).translated(origin);
      const bool selected = list->GetItemState(i, LVIS_SELECTED) != 0;
      const QImage image = imageOf(images, list->itemImage(i));
      if (!image.isNull()) {
        QRect place(QPoint(0, 0), image.size());
        place.moveCenter(icon.center());
        painter.drawImage(place, image);
        if (selected) painter.fillRect(place, QColor(0, 84, 153, focused ? 90 : 40));
      }
      const QString text = toQString(list->GetItemText(i));
      const int flags = iconView ? Qt::AlignHCenter | Qt::AlignTop | Qt::TextWordWrap
                                 : Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine;
      QRect textRect = metrics.boundingRect(label.adjusted(2, 1, -2, -1), flags, text);
      textRect = textRect.intersected(label).adjusted(-1, 0, 1, 0);
      if (selected)
        painter.fillRect(textRect, focused ? option.palette.color(QPalette::Highlight)
                                           : option.palette.color(QPalette::Midlight));
      painter.setPen(
          option.palette.color(selected && focused ? QPalette::HighlightedText : QPalette::Text));
      painter.drawText(label.adjusted(2, 1, -2, -1), flags, text);
      if (focused && list->GetItemState(i, LVIS_FOCUSED)) {
        QPen pen(option.palette.color(selected ? QPalette::HighlightedText : QPalette::Text));
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(textRect.adjusted(0, 0, -1, -1));
      }
    }
    painter.restore();
  }
};

}  // namespace

const ControlRenderer& listViewRenderer() {
  static const ListViewRenderer renderer;
  return renderer;
}

}  // namespace krv::qt
