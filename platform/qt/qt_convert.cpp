#include "platform/qt/qt_convert.h"

#include <QApplication>
#include <cstdlib>

namespace krv::qt {

QString toQString(const std::wstring& text) { return QString::fromStdWString(text); }

std::wstring toWide(const QString& text) { return text.toStdWString(); }

QColor toQColor(COLORREF colour) {
  // A colour with the high bit set names a system colour by its index.
  if (colour & 0x80000000u) colour = GetSysColor(static_cast<int>(colour & 0xFFu));
  return QColor(GetRValue(colour), GetGValue(colour), GetBValue(colour));
}

QRect toQRect(const RECT& rect) {
  return QRect(QPoint(rect.left, rect.top), QSize(rect.right - rect.left, rect.bottom - rect.top));
}

QPoint toQPoint(const POINT& point) { return QPoint(point.x, point.y); }

CPoint toCPoint(const QPoint& point) { return CPoint(point.x(), point.y()); }

QFont toQFont(const LOGFONTW& lf) {
  QFont font = QApplication::font();
  std::wstring face(lf.lfFaceName);
  if (!face.empty()) font.setFamily(QString::fromStdWString(face));
  if (lf.lfHeight != 0) font.setPixelSize(std::abs(static_cast<int>(lf.lfHeight)));
  if (lf.lfWeight != FW_DONTCARE)
    font.setWeight(lf.lfWeight >= FW_BOLD ? QFont::Bold : QFont::Normal);
  font.setItalic(lf.lfItalic != 0);
  font.setUnderline(lf.lfUnderline != 0);
  font.setStrikeOut(lf.lfStrikeOut != 0);
  return font;
}

}  // namespace krv::qt
