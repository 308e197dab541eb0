#include "platform/qt/static_renderer.h"

#include <QStyleOption>

#include "platform/qt/control_paint.h"
#include "platform/qt/mirror_widget.h"
#include "platform/qt/qt_convert.h"
#include "platform/win/static_ctrl.h"

namespace krv::qt {

namespace {

// Static kinds (the low five bits of the style) beyond those named in the
// window system's headers.
constexpr DWORD kGrayRect = 0x5, kWhiteRect = 0x6, kBlackFrame = 0x7, kGrayFrame = 0x8,
                kWhiteFrame = 0x9, kSimple = 0xB, kOwnerDraw = 0xD, kEtchedHorz = 0x10,
                kEtchedVert = 0x11, kEtchedFrame = 0x12;
constexpr DWORD kNoPrefix = 0x80;

class StaticRenderer : public ControlRenderer {
 public:
  void paint(QPainter& painter, CWnd& window, MirrorWidget& widget) const override {
    const DWORD style = window.GetStyle();
    const DWORD kind = style & SS_TYPEMASK;
    if (kind == kOwnerDraw) {
      genericRenderer().paint(painter, window, widget);
      return;
    }
    QStyleOption option;
    initOption(option, window, widget);
    const QPalette& palette = option.palette;
    drawControlBorder(painter, window, widget);
    QRect r = clientRectOf(window, widget);
    if (style & SS_SUNKEN) {
      drawSunken(painter, r, palette);
      r.adjust(1, 1, -1, -1);
    }
    painter.save();
    switch (kind) {
      case SS_BLACKRECT:
        painter.fillRect(r, palette.color(QPalette::Shadow));
        break;
      case kGrayRect:
        painter.fillRect(r, palette.color(QPalette::Mid));
        break;
      case kWhiteRect:
        painter.fillRect(r, palette.color(QPalette::Light));
        break;
      case kBlackFrame:
      case kGrayFrame:
      case kWhiteFrame:
        painter.setPen(palette.color(kind == kBlackFrame  ? QPalette::Shadow
                                     : kind == kGrayFrame ? QPalette::Mid
                                                          : QPalette::Light));
        painter.drawRect(r.adjusted(0, 0, -1, -1));
        break;
      case kEtchedHorz:
        drawEtchedLine(painter, r.topLeft(), r.topRight(), QPoint(0, 1), palette);
        break;
      case kEtchedVert:
        drawEtchedLine(painter, r.topLeft(), r.bottomLeft(), QPoint(1, 0), palette);
        break;
      case kEtchedFrame:
        painter.setPen(palette.color(QPalette::Mid));
        painter.drawRect(r.adjusted(0, 0, -2, -2));
        painter.setPen(palette.color(QPalette::Light));
        painter.drawRect(r.adjusted(1, 1, -1, -1));
        break;
      case SS_BITMAP:
      case SS_ICON: {
        auto* control = dynamic_cast<CStatic*>(&window);
        QImage picture;
        if (control)
          picture = kind == SS_BITMAP ? bitmapPicture(control->GetBitmap())
                                      : iconPicture(control->GetIcon());
        if (picture.isNull()) break;
        QRect place(r.topLeft(), picture.size());
        if (style & SS_CENTERIMAGE) place.moveCenter(r.center());
        painter.setClipRect(r);
        painter.drawImage(place, picture);
        break;
      }
      default:
        drawText(painter, window, widget, r, palette);
        break;
    }
    painter.restore();
  }

  bool takesFocus(const CWnd&) const override { return false; }

 private:
  static void drawSunken(QPainter& painter, const QRect& r, const QPalette& palette) {
    painter.save();
    painter.setPen(palette.color(QPalette::Mid));
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(palette.color(QPalette::Light));
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    painter.restore();
  }

  static void drawEtchedLine(QPainter& painter, QPoint from, QPoint to, QPoint offset,
                             const QPalette& palette) {
    painter.setPen(palette.color(QPalette::Mid));
    painter.drawLine(from, to);
    painter.setPen(palette.color(QPalette::Light));
    painter.drawLine(from + offset, to + offset);
  }

  static void drawText(QPainter& painter, const CWnd& window, const MirrorWidget& widget,
                       const QRect& r, const QPalette& palette) {
    const DWORD style = window.GetStyle();
    const DWORD kind = style & SS_TYPEMASK;
    int flags = mnemonicFlag(style & kNoPrefix);
    if (kind == SS_CENTER)
      flags |= Qt::AlignHCenter | Qt::TextWordWrap;
    else if (kind == SS_RIGHT)
      flags |= Qt::AlignRight | Qt::TextWordWrap;
    else if (kind == SS_LEFTNOWORDWRAP || kind == kSimple)
      flags |= Qt::AlignLeft;
    else
      flags |= Qt::AlignLeft | Qt::TextWordWrap;
    flags |= (style & SS_CENTERIMAGE) ? Qt::AlignVCenter : Qt::AlignTop;
    painter.setFont(widget.font());
    painter.setPen(palette.color(QPalette::WindowText));
    painter.setClipRect(r);
    painter.drawText(r, flags, toQString(window.GetWindowText()));
  }
};

}  // namespace

const ControlRenderer& staticRenderer() {
  static const StaticRenderer renderer;
  return renderer;
}

}  // namespace krv::qt
