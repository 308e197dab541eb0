#pragma once
// Conversions between the window system's values and Qt's: texts, colours,
// rectangles, points and fonts.
#include <QColor>
#include <QFont>
#include <QPoint>
#include <QRect>
#include <QString>
#include <string>

#include "platform/win/gdi.h"
#include "platform/win/win_types.h"

namespace krv::qt {

QString toQString(const std::wstring& text);
std::wstring toWide(const QString& text);
// A colour; one with the high bit set (0x8000000F) is the system colour of
// that index (GetSysColor).
QColor toQColor(COLORREF colour);
// A window rectangle (right and bottom exclusive) as a Qt rectangle.
QRect toQRect(const RECT& rect);
QPoint toQPoint(const POINT& point);
CPoint toCPoint(const QPoint& point);
// The font a window system font describes: face (the application's default
// when empty), pixel height (lfHeight's magnitude; the default when 0),
// weight, italic, underline and strike-out.
QFont toQFont(const LOGFONTW& font);

}  // namespace krv::qt
