#include "platform/qt/paint_capture.h"

#include <QImage>
#include <QPainter>

#include "platform/qt/qt_convert.h"
#include "platform/win/wnd.h"

namespace krv::qt {

namespace {
const CWnd* gCapturing = nullptr;

QImage toQImage(const krv::win::BitmapImage& image) {
  QImage out(image.width(), image.height(), QImage::Format_RGB32);
  for (int y = 0; y < image.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < image.width(); ++x) {
      const COLORREF c = image.pixel(x, y);
      line[x] = qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    }
  }
  return out;
}

QPen penOf(const krv::win::DrawOp& op) {
  if (op.penStyle == PS_NULL) return Qt::NoPen;
  QPen pen(toQColor(op.colour));
  pen.setWidth(std::max(1, op.penWidth));
  switch (op.penStyle) {
    case PS_DASH:
      pen.setStyle(Qt::DashLine);
      break;
    case PS_DOT:
      pen.setStyle(Qt::DotLine);
      break;
    case PS_DASHDOT:
      pen.setStyle(Qt::DashDotLine);
      break;
    default:
      break;
  }
  return pen;
}

QBrush brushOf(const krv::win::DrawOp& op) {
  if (op.brushStyle == BS_NULL) return Qt::NoBrush;
  if (op.brushStyle == BS_HATCHED) {
    static const Qt::BrushStyle hatches[] = {Qt::HorPattern,   Qt::VerPattern,
                                             Qt::FDiagPattern, Qt::BDiagPattern,
                                             Qt::CrossPattern, Qt::DiagCrossPattern};
    const int h = std::clamp(op.hatch, 0, 5);
    return QBrush(toQColor(op.brushColour), hatches[h]);
  }
  return QBrush(toQColor(op.brushColour));
}

int alignmentOf(UINT format) {
  int flags = 0;
  flags |= (format & DT_CENTER)  ? Qt::AlignHCenter
           : (format & DT_RIGHT) ? Qt::AlignRight
                                 : Qt::AlignLeft;
  if (format & DT_SINGLELINE)
    flags |= (format & DT_VCENTER)  ? Qt::AlignVCenter
             : (format & DT_BOTTOM) ? Qt::AlignBottom
                                    : Qt::AlignTop;
  else
    flags |= Qt::AlignTop;
  if (format & DT_WORDBREAK) flags |= Qt::TextWordWrap;
  return flags;
}
}  // namespace

std::vector<krv::win::DrawOp> capturePaint(CWnd& window) {
  std::vector<krv::win::DrawOp> captured;
  const CWnd* previous = gCapturing;
  gCapturing = &window;
  CDC::setPaintSink([&](CWnd* painted, const std::vector<krv::win::DrawOp>& ops) {
    if (painted == &window) captured.insert(captured.end(), ops.begin(), ops.end());
  });
  {
    // The background first, as the window system asks a window to erase it
    // before it paints: a window that paints its own background (a picture
    // under its controls) does so in OnEraseBkgnd.
    CClientDC erase(&window);
    window.SendMessage(WM_ERASEBKGND, reinterpret_cast<WPARAM>(&erase), 0);
  }
  window.Invalidate(FALSE);
  window.UpdateWindow();
  CDC::setPaintSink(nullptr);
  gCapturing = previous;
  return captured;
}

bool isCapturingPaint(const CWnd* window) { return window && window == gCapturing; }

void drawOps(QPainter& painter, const std::vector<krv::win::DrawOp>& ops) {
  using Kind = krv::win::DrawOp::Kind;
  for (const auto& op : ops) {
    const QRect r = toQRect(op.rect);
    painter.save();
    switch (op.kind) {
      case Kind::FillRect:
        painter.fillRect(
            r, brushOf(op).style() == Qt::NoBrush ? QBrush(toQColor(op.colour)) : brushOf(op));
        break;
      case Kind::Rectangle:
        painter.setPen(penOf(op));
        painter.setBrush(brushOf(op));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        break;
      case Kind::Line:
        painter.setPen(penOf(op));
        painter.drawLine(toQPoint(op.from), toQPoint(op.to));
        break;
      case Kind::Pixel:
        painter.setPen(toQColor(op.colour));
        painter.drawPoint(r.topLeft());
        break;
      case Kind::Text: {
        painter.setFont(toQFont(op.font));
        if (op.bkMode == OPAQUE && op.format == 0) {
          const QRect extent = painter.fontMetrics().boundingRect(toQString(op.text));
          painter.fillRect(QRect(r.topLeft(), extent.size()), toQColor(op.bkColour));
        }
        painter.setPen(toQColor(op.textColour));
        if (op.format == 0)
          painter.drawText(r.topLeft() + QPoint(0, painter.fontMetrics().ascent()),
                           toQString(op.text));
        else
          painter.drawText(r, alignmentOf(op.format), toQString(op.text));
        break;
      }
      case Kind::Blit:
        if (op.source && !op.source->empty()) {
          const QImage source = toQImage(*op.source);
          const QRect from(toQPoint(op.sourceOrigin), r.size());
          if (op.rop == SRCAND)
            painter.setCompositionMode(QPainter::RasterOp_SourceAndDestination);
          else if (op.rop == SRCPAINT)
            painter.setCompositionMode(QPainter::RasterOp_SourceOrDestination);
          else if (op.rop == SRCINVERT)
            painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
          painter.drawImage(r.topLeft(), source, from);
        }
        break;
      case Kind::PatBlt:
        if (op.rop == BLACKNESS)
          painter.fillRect(r, Qt::black);
        else if (op.rop == WHITENESS)
          painter.fillRect(r, Qt::white);
        else if (op.rop == DSTINVERT || op.rop == PATINVERT) {
          painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
          painter.fillRect(r, Qt::white);
        } else
          painter.fillRect(r, brushOf(op));
        break;
      case Kind::InvertRect:
        painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        painter.fillRect(r, Qt::white);
        break;
      case Kind::FocusRect: {
        QPen pen(Qt::black);
        pen.setStyle(Qt::DotLine);
        painter.setPen(pen);
        painter.setBrush(Qt::NoBrush);
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        break;
      }
    }
    painter.restore();
  }
}

}  // namespace krv::qt
