#include "platform/qt/control_paint.h"

#include <QApplication>
#include <QPainter>
#include <QStyleFactory>
#include <QStyleOption>
#include <memory>

#include "platform/qt/mirror_widget.h"
#include "platform/win/bitmap.h"
#include "platform/win/resource_modules.h"

namespace krv::qt {

QStyle& controlStyle() {
  static std::unique_ptr<QStyle> fusion(QStyleFactory::create("Fusion"));
  return fusion ? *fusion : *QApplication::style();
}

bool hasWindowFocus(const CWnd& window) { return CWnd::GetFocus() == &window; }

void initOption(QStyleOption& option, const CWnd& window, const MirrorWidget& widget) {
  option.initFrom(&widget);
  option.rect = widget.rect();
  option.palette = controlStyle().standardPalette();
  option.state = QStyle::State_None;
  if (window.IsWindowEnabled()) {
    option.state |= QStyle::State_Enabled | QStyle::State_Active;
    option.palette.setCurrentColorGroup(QPalette::Active);
  } else {
    option.palette.setCurrentColorGroup(QPalette::Disabled);
  }
  if (hasWindowFocus(window))
    option.state |= QStyle::State_HasFocus | QStyle::State_KeyboardFocusChange;
}

QRect clientRectOf(const CWnd& window, const MirrorWidget& widget) {
  const CRect in = window.nonClientInsets();
  return widget.rect().adjusted(in.left, in.top, -in.right, -in.bottom);
}

void drawControlBorder(QPainter& painter, const CWnd& window, const MirrorWidget& widget) {
  const QPalette palette = controlStyle().standardPalette();
  QRect r = widget.rect().adjusted(0, 0, -1, -1);
  painter.save();
  painter.setBrush(Qt::NoBrush);
  const DWORD style = window.GetStyle();
  const DWORD ex = window.GetExStyle();
  if (style & (WS_BORDER | WS_DLGFRAME | WS_THICKFRAME)) {
    painter.setPen(palette.color(QPalette::Dark));
    painter.drawRect(r);
    r.adjust(1, 1, -1, -1);
  }
  auto sunken = [&](const QColor& outer, const QColor& light) {
    painter.setPen(outer);
    painter.drawLine(r.topLeft(), r.topRight());
    painter.drawLine(r.topLeft(), r.bottomLeft());
    painter.setPen(light);
    painter.drawLine(r.bottomLeft(), r.bottomRight());
    painter.drawLine(r.topRight(), r.bottomRight());
    r.adjust(1, 1, -1, -1);
  };
  if (ex & WS_EX_CLIENTEDGE) {
    sunken(palette.color(QPalette::Mid), palette.color(QPalette::Light));
    sunken(palette.color(QPalette::Shadow), palette.color(QPalette::Midlight));
  }
  if (ex & WS_EX_STATICEDGE) sunken(palette.color(QPalette::Mid), palette.color(QPalette::Light));
  painter.restore();
}

QImage toImage(const krv::win::BitmapImage& picture,
               const std::optional<krv::win::BitmapImage>& mask) {
  if (picture.empty()) return QImage();
  QImage out(picture.width(), picture.height(), QImage::Format_ARGB32);
  for (int y = 0; y < picture.height(); ++y) {
    auto* line = reinterpret_cast<QRgb*>(out.scanLine(y));
    for (int x = 0; x < picture.width(); ++x) {
      const COLORREF c = picture.pixel(x, y);
      const bool clear = mask && mask->pixel(x, y) == RGB(255, 255, 255);
      line[x] = clear ? qRgba(0, 0, 0, 0) : qRgb(GetRValue(c), GetGValue(c), GetBValue(c));
    }
  }
  return out;
}

QImage bitmapPicture(HBITMAP bitmap) {
  if (!bitmap) return QImage();
  return toImage(CBitmap::FromHandle(bitmap)->image());
}

QImage iconPicture(HICON icon) {
  HINSTANCE instance = nullptr;
  UINT id = 0;
  if (!icon || !krv::win::ResourceModules::iconSource(icon, instance, id)) return QImage();
  const krv::win::ResourceModule* module = krv::win::ResourceModules::find(instance);
  if (!module) return QImage();
  const auto path = module->iconPath(id);
  if (path.empty()) return QImage();
  return QImage(QString::fromStdString(path.string()));
}

int mnemonicFlag(bool noPrefix) { return noPrefix ? 0 : Qt::TextShowMnemonic; }

}  // namespace krv::qt
