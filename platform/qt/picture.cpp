#include "platform/qt/picture.h"

#include <QBuffer>
#include <QByteArray>
#include <QPainter>

#include "platform/base/file_io.h"
#include "platform/qt/qt_application.h"
#include "platform/qt/qt_convert.h"
#include "platform/qt/window_mirror.h"
#include "platform/win/gdi.h"

namespace krv::qt {

void drawWindowFrame(QPainter& painter, const CWnd& window) {
  const CRect in = window.nonClientInsets();
  const CRect r = window.windowRectInParent();
  const QRect all(0, 0, r.Width(), r.Height());
  const QColor face = toQColor(GetSysColor(COLOR_BTNFACE));
  painter.fillRect(all, face);
  if (in.left > 0) {
    painter.setPen(QColor(100, 100, 100));
    painter.setBrush(Qt::NoBrush);
    painter.drawRect(all.adjusted(0, 0, -1, -1));
  }
  const int captionHeight = in.top - in.left;
  if (captionHeight <= 0) return;
  const QRect caption(in.left, in.left, all.width() - in.left - in.right, captionHeight);
  painter.fillRect(caption, QColor(0, 84, 153));
  QFont font = painter.font();
  font.setBold(true);
  font.setPixelSize(std::max(9, captionHeight - 8));
  painter.setFont(font);
  painter.setPen(Qt::white);
  painter.drawText(caption.adjusted(6, 0, -captionHeight - 4, 0), Qt::AlignVCenter | Qt::AlignLeft,
                   toQString(window.GetWindowText()));
  if (window.GetStyle() & WS_SYSMENU) {
    // The close box.
    const QRect box(caption.right() - captionHeight + 3, caption.top() + 3, captionHeight - 6,
                    captionHeight - 6);
    painter.setPen(QPen(Qt::white, 1.5));
    painter.drawLine(box.topLeft() + QPoint(3, 3), box.bottomRight() - QPoint(3, 3));
    painter.drawLine(box.topRight() + QPoint(-3, 3), box.bottomLeft() + QPoint(3, -3));
  }
}

QImage renderPicture(CWnd& window) {
  if (!IsWindow(window.GetSafeHwnd())) return QImage();
  ensureApplication(Display::Offscreen);
  const CRect r = window.windowRectInParent();
  QImage image(std::max(1, r.Width()), std::max(1, r.Height()), QImage::Format_RGB32);
  image.fill(toQColor(GetSysColor(COLOR_BTNFACE)));
  WindowMirror mirror;
  MirrorWidget* top = mirror.mirror(window);
  QPainter painter(&image);
  drawWindowFrame(painter, window);
  const CRect in = window.nonClientInsets();
  // Hidden widgets are drawn too: render() draws the tree as it is placed.
  top->render(&painter, QPoint(in.left, in.top), QRegion(),
              QWidget::DrawWindowBackground | QWidget::DrawChildren);
  painter.end();
  return image;
}

krv::base::Status savePicture(CWnd& window, const std::filesystem::path& file) {
  const QImage image = renderPicture(window);
  if (image.isNull()) return krv::base::Status::fileError(file, "there is no window to draw");
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  if (!image.save(&buffer, "PNG"))
    return krv::base::Status::fileError(file, "the picture could not be encoded as PNG");
  return krv::base::writeFileAtomic(file, std::string(bytes.constData(), bytes.size()));
}

}  // namespace krv::qt
