#include "platform/qt/tool_tip_renderer.h"

#include <QFontMetrics>
#include <QPalette>

#include "platform/qt/control_paint.h"
#include "platform/qt/mirror_widget.h"
#include "platform/qt/qt_convert.h"

namespace krv::qt {

namespace {

class ToolTipRenderer : public ControlRenderer {
 public:
  void paint(QPainter& painter, CWnd& window, MirrorWidget& widget) const override {
    const QPalette palette = controlStyle().standardPalette();
    const QRect all = widget.rect();
    painter.fillRect(all, palette.color(QPalette::ToolTipBase));
    painter.setPen(palette.color(QPalette::ToolTipText));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(all.adjusted(0, 0, -1, -1));
    // The tip is sized for narrow characters: the text gets a size that fits.
    QFont font = widget.font();
    const QString text = toQString(window.GetWindowText());
    const QRect inside = all.adjusted(4, 1, -3, -1);
    for (int size = std::min(12, std::max(6, inside.height() - 4)); size > 6; --size) {
      font.setPixelSize(size);
      if (QFontMetrics(font).horizontalAdvance(text) <= inside.width()) break;
    }
    painter.setFont(font);
    painter.drawText(inside, Qt::AlignLeft | Qt::AlignVCenter | Qt::TextSingleLine,
                     QFontMetrics(font).elidedText(text, Qt::ElideRight, inside.width()));
  }
  void mousePress(CWnd&, MirrorWidget&, QMouseEvent&) const override {}
  void mouseRelease(CWnd&, MirrorWidget&, QMouseEvent&) const override {}
  void mouseDoubleClick(CWnd&, MirrorWidget&, QMouseEvent&) const override {}
  void mouseMove(CWnd&, MirrorWidget&, QMouseEvent&) const override {}
  bool takesFocus(const CWnd&) const override { return false; }
};

}  // namespace

const ControlRenderer& toolTipRenderer() {
  static const ToolTipRenderer renderer;
  return renderer;
}

}  // namespace krv::qt
